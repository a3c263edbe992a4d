# Windows 7 is the oldest Windows served: every function the exe imports must be one that the
# mingw-w64 headers declare for it. A file that takes each one's address is compiled with
# _WIN32_WINNT and WINVER at Windows 7, where the headers hide what came later: their version
# gates decide, not a list of ours. (They gate most later functions, not every one:
# GetSystemTimePreciseAsFileTime, of Windows 8, they declare for all.) The C runtime's functions (msvcrt.dll) are left out:
# that DLL is in every Windows, and its headers gate nothing by Windows version.
# Run with -DEXE=<exe> -DOBJDUMP=<objdump> -DCXX=<compiler> -DWORK=<folder>.
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\n" ";" lines "${dump}")
set(dll "")
set(functions "")
foreach(line IN LISTS lines)
    if(line MATCHES "^\tDLL Name: (.+)$")
        string(TOLOWER "${CMAKE_MATCH_1}" dll)
    elseif(line MATCHES "^\t[0-9a-f]+\t +[0-9]+  ([A-Za-z_][A-Za-z0-9_]*)$" AND
           NOT dll STREQUAL "" AND NOT dll STREQUAL "msvcrt.dll")
        list(APPEND functions ${CMAKE_MATCH_1})
    elseif(line MATCHES "^$")
        set(dll "")
    endif()
endforeach()
list(LENGTH functions count)
if(count LESS 20)
    message(FATAL_ERROR "only ${count} imported functions read from ${EXE}: ${functions}")
endif()

set(source ${WORK}/windows7_imports.cpp)
set(text "#include <windows.h>\n\nvoid (*const imported[])() = {\n")
foreach(function IN LISTS functions)
    string(APPEND text "    reinterpret_cast<void (*)()>(&${function}),\n")
endforeach()
string(APPEND text "};\n")
file(WRITE ${source} "${text}")
execute_process(COMMAND ${CXX} -std=c++20 -fsyntax-only -D_WIN32_WINNT=0x0601 -DWINVER=0x0601
                        ${source}
                RESULT_VARIABLE failed ERROR_VARIABLE errors)
if(failed)
    message(FATAL_ERROR "${EXE} imports functions that Windows 7 lacks:\n${errors}")
endif()
message(STATUS "the ${count} functions that ${EXE} imports are all Windows 7's")
