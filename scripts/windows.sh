#!/usr/bin/env bash
# Sets up what is missing, cross-builds Talmiro.exe with mingw-w64 for 64-bit and for 32-bit
# Windows, and runs each build's tests under Wine with a loader and a prefix of its width. The
# exes land in build/windows/app/Talmiro.exe and build/windows-x86/app/Talmiro.exe.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh windows
prefixes=()
trap 'for prefix in "${prefixes[@]}"; do WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; done' EXIT
for build in "windows win64 /usr/lib/wine/wine64" "windows-x86 win32 /usr/lib/wine/wine"; do
    read -r preset arch loader <<<"$build"
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    export WINEPREFIX="$PWD/build/$preset/wineprefix" WINEARCH=$arch TALMIRO_WINE=$loader
    export WINEDEBUG=-all
    prefixes+=("$WINEPREFIX")
    scripts/wine-prefix.sh null
    ctest --preset "$preset"
done
