# Builds the Windows installer from Talmiro.exe, its icon, the licence and the third-party notices,
# with wixl and msibuild.
# Run with -DEXE=<Talmiro.exe> -DICON=<.ico> -DLICENSE=<licence> -DOUTPUT=<.msi> -DWORK=<folder>,
# -DARCH=<x64|x86> for the exe's width (x64 by default), and -DVERSION=<a.b.c.0> for a version
# other than this one's (the upgrade tests build older ones).
#
# The same inputs give the same bytes. wixl stamps the package's summary with the clock and a
# random package code, and its cabinet with the files' times: the summary is written afresh with
# the release's time (release_time.cmake) and derived codes, the product's from the version, the
# package's from everything that reaches its bytes (this script, the tables, the files, the time,
# the tools' versions), and the files are dated at the release's time too. wixl 0.101 also drops
# text outside ASCII while the database has no codepage, knows no condition on a feature, reads
# no file's version and numbers the HKMU root wrongly: the Chinese texts, the desktop shortcut's
# condition, the exe's version and the root are put in afterwards with msibuild.
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/VersionInfo.cmake)
if(NOT VERSION)
    set(VERSION ${TALMIRO_VERSION})
endif()
# Windows Installer compares only the first three fields of a product's version: a package newer
# in the fourth alone would install beside the older one instead of replacing it.
if(NOT VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.0$")
    message(FATAL_ERROR "make_msi: an installer's version is a.b.c.0, not ${VERSION}: Windows "
                        "Installer ignores the fourth field, so that package would install beside "
                        "the one before it. Raise the third field instead.")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/release_time.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/windows_text.cmake)
execute_process(COMMAND date -u -d @${release_epoch} "+%Y/%m/%d %H:%M:%S" OUTPUT_VARIABLE stamp
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY_FILE ${EXE} ${WORK}/Talmiro.exe)
windows_text(${LICENSE} ${WORK}/LICENSE.txt)
windows_text(${CMAKE_CURRENT_LIST_DIR}/windows/THIRD-PARTY-NOTICES.txt ${WORK}/THIRD-PARTY-NOTICES.txt)
file(COPY_FILE ${ICON} ${WORK}/talmiro.ico)
set(packed ${WORK}/Talmiro.exe ${WORK}/LICENSE.txt ${WORK}/THIRD-PARTY-NOTICES.txt ${WORK}/talmiro.ico)
execute_process(COMMAND touch -d @${release_epoch} ${packed} COMMAND_ERROR_IS_FATAL ANY)

# One product for each width, in its own Program Files; each takes the other's place (below), so
# that a computer never lists Talmiro twice.
if(NOT ARCH)
    set(ARCH x64)
endif()
if(ARCH STREQUAL x64)
    string(UUID MSI_PRODUCT_CODE NAMESPACE ${TALMIRO_UPGRADE_CODE} NAME "product ${VERSION}"
           TYPE SHA1 UPPER)
    set(MSI_WIN64 yes)
    set(MSI_PROGRAM_FILES ProgramFiles64Folder)
    set(MSI_PROGRAM_COMPONENT 0E3C6F1A-5D2B-4C8E-9A71-3B5D2C8E4F10)
    set(MSI_START_MENU_COMPONENT 7A2E9C41-0B6D-4F3A-8E15-C94D0A6B2E71)
    set(MSI_DESKTOP_COMPONENT B84F1D27-6C3E-4A09-9D52-E1F7A3C60B94)
    set(platform x64)
elseif(ARCH STREQUAL x86)
    string(UUID MSI_PRODUCT_CODE NAMESPACE ${TALMIRO_UPGRADE_CODE} NAME "product x86 ${VERSION}"
           TYPE SHA1 UPPER)
    set(MSI_WIN64 no)
    set(MSI_PROGRAM_FILES ProgramFilesFolder)
    set(MSI_PROGRAM_COMPONENT 5B7D3E90-2C4A-4F61-8D2E-6A1C9F3B7E05)
    set(MSI_START_MENU_COMPONENT C3E81A4F-9B25-4D7C-A6F0-2E5D8B1C4A93)
    set(MSI_DESKTOP_COMPONENT 2F9A6C1D-8E3B-4B50-9C74-D1A5E7F2B368)
    set(platform Intel)
else()
    message(FATAL_ERROR "make_msi: ARCH is x64 or x86, not ${ARCH}")
endif()
set(MSI_VERSION ${VERSION})
configure_file(${CMAKE_CURRENT_LIST_DIR}/talmiro.wxs.in ${WORK}/talmiro.wxs @ONLY)

# Tables to import, in UTF-8 once the database has that codepage.
file(WRITE ${WORK}/_ForceCodepage.idt "\r\n\r\n65001\t_ForceCodepage\r\n")
file(WRITE ${WORK}/LaunchCondition.idt
     "Condition\tDescription\r\ns255\tl255\r\nLaunchCondition\tCondition\r\n"
     "NOT WIX_DOWNGRADE_DETECTED\t已经安装了更新版本的 Talmiro，这个旧版本不能安装。\r\n")
# wixl's upgrade rows, but with this version itself counted as older (513: features migrated,
# maximum included), so that the other width's package of the same version is replaced; the
# same package again is this product, which Windows never counts as related.
file(WRITE ${WORK}/Upgrade.idt
     "UpgradeCode\tVersionMin\tVersionMax\tLanguage\tAttributes\tRemove\tActionProperty\r\n"
     "s38\tS20\tS20\tS255\ti4\tS255\ts72\r\n"
     "Upgrade\tUpgradeCode\tVersionMin\tVersionMax\tLanguage\tAttributes\r\n"
     "{${TALMIRO_UPGRADE_CODE}}\t\t${VERSION}\t\t513\t\tWIX_UPGRADE_DETECTED\r\n"
     "{${TALMIRO_UPGRADE_CODE}}\t${VERSION}\t\t\t2\t\tWIX_DOWNGRADE_DETECTED\r\n")
file(WRITE ${WORK}/Condition.idt
     "Feature_\tLevel\tCondition\r\ns38\ti2\tS255\r\nCondition\tFeature_\tLevel\r\n"
     "DesktopShortcut\t1\tDESKTOPSHORTCUT = 1\r\n")
# Windows caches a package by its code and takes two packages with one code for the same: the
# code changes with any byte of what the package is made of, and with what else reaches its
# bytes: the release's time and the versions of the tools that write it.
execute_process(COMMAND dpkg-query -W "-f=\${Package}=\${Version} " wixl msitools libmsi0
                        libgcab-1.0-0 libgsf-1-114 OUTPUT_VARIABLE tools COMMAND_ERROR_IS_FATAL ANY)
set(hashes "${stamp} ${tools}")
foreach(input IN LISTS packed ITEMS ${WORK}/talmiro.wxs ${WORK}/_ForceCodepage.idt
              ${WORK}/LaunchCondition.idt ${WORK}/Upgrade.idt ${WORK}/Condition.idt
              ${CMAKE_CURRENT_LIST_FILE})
    file(SHA256 ${input} hash)
    string(APPEND hashes " ${hash}")
endforeach()
string(UUID package_code NAMESPACE ${TALMIRO_UPGRADE_CODE}
       NAME "package ${VERSION}${hashes}" TYPE SHA1 UPPER)
file(WRITE ${WORK}/_SummaryInformation.idt
     "PropertyId\tValue\r\ni2\tl255\r\n_SummaryInformation\tPropertyId\r\n"
     "1\t65001\r\n2\tTalmiro\r\n3\t${TALMIRO_FILE_DESCRIPTION}\r\n4\t${TALMIRO_COMPANY_NAME}\r\n"
     "5\tInstaller\r\n7\t${platform};2052\r\n9\t{${package_code}}\r\n12\t${stamp}\r\n13\t${stamp}\r\n"
     "14\t500\r\n15\t2\r\n18\twixl\r\n19\t2\r\n")

file(REMOVE ${OUTPUT})
# The cabinet and the summary keep their times as local times: one zone for every builder.
set(in_utc ${CMAKE_COMMAND} -E env TZ=UTC)
execute_process(COMMAND ${in_utc} wixl --arch ${ARCH} --output ${OUTPUT} talmiro.wxs
                WORKING_DIRECTORY ${WORK} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${in_utc} msibuild ${OUTPUT} -i ${WORK}/_ForceCodepage.idt
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(
    COMMAND ${in_utc} msibuild ${OUTPUT}
            -q "UPDATE `Property` SET `Value` = '${TALMIRO_COMPANY_NAME}' WHERE `Property` = 'Manufacturer'"
            -q "UPDATE `Shortcut` SET `Description` = '${TALMIRO_FILE_DESCRIPTION}'"
            # wixl 0.101 writes HKMU as root 4, which Windows does not know: it is -1.
            -q "UPDATE `Registry` SET `Root` = -1 WHERE `Root` = 4"
            # A versioned file, as its resources say, so that Windows replaces an older copy.
            -q "UPDATE `File` SET `Version` = '${TALMIRO_VERSION}', `Language` = '2052' WHERE `File` = 'TalmiroExe'"
            -q "DELETE FROM `MsiFileHash` WHERE `File_` = 'TalmiroExe'"
            # Passed on to an elevated install, as a lab's deployment runs it.
            -q "UPDATE `Property` SET `Value` = 'DESKTOPSHORTCUT;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' WHERE `Property` = 'SecureCustomProperties'"
            -i ${WORK}/LaunchCondition.idt -i ${WORK}/Upgrade.idt -i ${WORK}/Condition.idt
            -i ${WORK}/_SummaryInformation.idt
    COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "${OUTPUT}: Talmiro ${VERSION}, product code {${MSI_PRODUCT_CODE}}")
