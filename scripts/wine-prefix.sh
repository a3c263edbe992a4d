#!/usr/bin/env bash
# Makes the Wine prefix $WINEPREFIX ready for Talmiro once: the Windows Chinese faces mapped to
# Debian's AR PL faces and, with "null", Wine's display-less graphics driver. Then starts a
# detached wineserver and warms it, so that programs run fast and no Wine process holds the
# caller's output open. The loader is $TALMIRO_WINE (64-bit by default; with the 32-bit one, set
# WINEARCH=win32 too).
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX}"
export WINEDEBUG=-all
wine=${TALMIRO_WINE:-/usr/lib/wine/wine64}

if [ ! -f "$WINEPREFIX/.talmiro-ready" ]; then
    echo "Preparing the Wine prefix in $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # No Mono or Gecko: the program needs neither, and their installers would ask.
    WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i </dev/null >/dev/null 2>&1
    if [ "${1:-}" = null ]; then
        "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
    fi
    # The program asks for the Windows Chinese faces by name.
    fonts="$WINEPREFIX/fonts.reg"
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
        printf '"宋体"="AR PL UMing CN"\r\n"SimSun"="AR PL UMing CN"\r\n'
        printf '"华文行楷"="AR PL UKai CN"\r\n"STXingkai"="AR PL UKai CN"\r\n'
    } | iconv -f UTF-8 -t UTF-16 >"$fonts"
    "$wine" regedit /S "$("$wine" winepath -w "$fonts" 2>/dev/null)" </dev/null >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.talmiro-ready"
fi
wineserver -p </dev/null >/dev/null 2>&1 || true  # one may be running already
"$wine" cmd /c exit </dev/null >/dev/null 2>&1
