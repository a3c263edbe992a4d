# The 64-bit Windows build (the windows preset).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TALMIRO_MINGW_TARGET x86_64-w64-mingw32)
set(TALMIRO_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
