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
if(NOT entries STREQUAL "LICENSE.txt;Talmiro.exe")
    message(FATAL_ERROR "the zip should hold Talmiro.exe and LICENSE.txt alone, not: ${entries}")
endif()

execute_process(
    COMMAND ${CMAKE_COMMAND} -E env TALMIRO_EXE=Z:${unpacked}/Talmiro.exe
            ${EMULATOR} ${TESTS} --gtest_filter=Executable.*
    COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "${zip} holds an exe whose resources read back right")
