# Packs the portable Windows download: the licence, the third-party notices and Talmiro.exe,
# nothing to install.
# Run with -DEXE=<Talmiro.exe> -DLICENSE=<licence> -DOUTPUT=<.zip> -DWORK=<folder>.
#
# The same inputs give the same bytes whoever packs them: the members in a fixed order, with fixed
# modes, dated at the release's time (release_time.cmake) in UTC, as a zip keeps local times, and
# without the packer's user and group (zip -X).
include(${CMAKE_CURRENT_LIST_DIR}/release_time.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/windows_text.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
windows_text(${LICENSE} ${WORK}/LICENSE.txt)
windows_text(${CMAKE_CURRENT_LIST_DIR}/windows/THIRD-PARTY-NOTICES.txt ${WORK}/THIRD-PARTY-NOTICES.txt)
file(COPY_FILE ${EXE} ${WORK}/Talmiro.exe)
file(CHMOD ${WORK}/LICENSE.txt ${WORK}/THIRD-PARTY-NOTICES.txt
     PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(CHMOD ${WORK}/Talmiro.exe PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
     GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
execute_process(COMMAND touch -d @${release_epoch} ${WORK}/LICENSE.txt
                        ${WORK}/THIRD-PARTY-NOTICES.txt ${WORK}/Talmiro.exe
                COMMAND_ERROR_IS_FATAL ANY)

file(REMOVE ${OUTPUT})
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -q ${OUTPUT} LICENSE.txt
                        THIRD-PARTY-NOTICES.txt Talmiro.exe
                WORKING_DIRECTORY ${WORK} COMMAND_ERROR_IS_FATAL ANY)
