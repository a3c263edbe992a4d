# Cross-builds the Windows executable with Debian's mingw-w64 (POSIX threads, which GoogleTest
# needs) for Windows 7 and later, and runs what it builds under Wine: with the loader of the
# build's own width, since Debian's `wine` takes the 32-bit one for every program once both are
# installed. Included by a toolchain file that sets TALMIRO_MINGW_TARGET (the compilers' prefix)
# and TALMIRO_WINE_LOADER.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_CXX_COMPILER ${TALMIRO_MINGW_TARGET}-g++-posix)
set(CMAKE_C_COMPILER ${TALMIRO_MINGW_TARGET}-gcc-posix)
set(CMAKE_RC_COMPILER ${TALMIRO_MINGW_TARGET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TALMIRO_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${TALMIRO_WINE_LOADER})
