#!/usr/bin/env bash
# Installs the build into a scratch folder and checks what a desktop finds there: the
# program, a valid desktop entry and AppStream metadata, and the icon at each theme size.
set -euo pipefail
build=$1
app_id=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
share="$root/usr/share"

test -x "$root/usr/bin/talmiro"
desktop-file-validate "$share/applications/$app_id.desktop"
appstreamcli validate --no-net --explain "$share/metainfo/$app_id.metainfo.xml"
grep -qx 'Comment=查询化学式的软件' "$share/applications/$app_id.desktop"
grep -q '<release version="2.0.0.0"' "$share/metainfo/$app_id.metainfo.xml"

for size in 32 48 64 128 256; do
    png="$share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    # A PNG's width and height stand as big-endian words at bytes 16 and 20.
    read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    if [ "$width" != "$size" ] || [ "$height" != "$size" ]; then
        echo "icon $png is ${width}x$height, expected ${size}x$size" >&2
        exit 1
    fi
done
echo "installed files check out"
