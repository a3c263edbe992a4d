# The 32-bit Windows build (the windows-x86 preset), which runs on every Windows: x86, x64, and
# ARM64 through emulation.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TALMIRO_MINGW_TARGET i686-w64-mingw32)
set(TALMIRO_WINE_LOADER /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
