# Packs the Windows zip, unpacks it afresh, and reads the version and icon resources back from
# the exe inside it. Run with -DBUILD=<build folder> -DCPACK=<cpack> -DTESTS=<test exe>
# -DEMULATOR=<wine>.
execute_process(COMMAND ${CPACK} -G ZIP WORKING_DIRECTORY ${BUILD} OUTPUT_QUIET
                COMMAND_ERROR_IS_FATAL ANY)
file(GLOB zip ${BUILD}/packages/Talmiro-*-windows-x64.zip)
set(unpacked ${BUILD}/zip-check)
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
