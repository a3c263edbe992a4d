# Packs the Windows zip, unpacks it afresh, and reads the version and icon resources back from
# the exe inside it. Run with -DEXE=<Talmiro.exe> -DLICENSE=<licence> -DWORK=<folder>
# -DTESTS=<test exe> -DEMULATOR=<wine>.
set(zip ${WORK}/zip-check.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -DEXE=${EXE} -DLICENSE=${LICENSE} -DOUTPUT=${zip}
                        -DWORK=${WORK}/zip-check-packing -P ${CMAKE_CURRENT_LIST_DIR}/make_zip.cmake
                COMMAND_ERROR_IS_FATAL ANY)
set(unpacked ${WORK}/zip-check)
file(REMOVE_RECURSE ${unpacked})
file(ARCHIVE_EXTRACT INPUT ${zip} DESTINATION ${unpacked})

file(GLOB entries RELATIVE ${unpacked} ${unpacked}/*)
if(NOT entries STREQUAL "LICENSE.txt;THIRD-PARTY-NOTICES.txt;Talmiro.exe")
    message(FATAL_ERROR "the zip should hold Talmiro.exe, LICENSE.txt and THIRD-PARTY-NOTICES.txt "
                        "alone, not: ${entries}")
endif()
# Read as bytes, a pair of hex digits and a blank each: CMake's text reading drops CRs.
foreach(text LICENSE.txt THIRD-PARTY-NOTICES.txt)
    file(READ ${unpacked}/${text} bytes HEX)
    string(REGEX REPLACE "(..)" "\\1 " bytes "${bytes}")
    string(REPLACE "0d 0a " "" bare "${bytes}")
    string(REGEX MATCH "(^| )0a " lone_line_feed "${bare}")
    if(lone_line_feed OR bare STREQUAL bytes)
        message(FATAL_ERROR "${text} in the zip does not end its lines as Windows does (CR LF)")
    endif()
endforeach()

execute_process(
    COMMAND ${CMAKE_COMMAND} -E env TALMIRO_EXE=Z:${unpacked}/Talmiro.exe
            ${EMULATOR} ${TESTS} --gtest_filter=Executable.*
    COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "${zip} holds an exe whose resources read back right")
