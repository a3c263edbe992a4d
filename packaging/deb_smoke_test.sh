#!/usr/bin/env bash
# Installs the .deb into a clean Debian 12 (a debootstrap chroot, kept between runs in
# build/bookworm) with apt, so its dependencies are resolved as on a user's machine, then starts
# Talmiro from the installed desktop entry under Xvfb and waits for its window.
# Usage: deb_smoke_test.sh PACKAGE.deb SCREENSHOT.png
set -euo pipefail
deb=$(realpath "$1")
shot=$2
cache="$(dirname "$0")/../build/bookworm"
clean="$cache/clean"
run="$cache/run"
display=:87

if [ ! -f "$clean/.complete" ]; then
    rm -rf "$clean"
    mkdir -p "$cache"
    debootstrap --variant=minbase bookworm "$clean" http://deb.debian.org/debian >/dev/null
    touch "$clean/.complete"
fi

cleanup() {
    kill "${xvfb_pid:-}" "${app_pid:-}" 2>/dev/null || true
    for mount in "$run/tmp/.X11-unix" "$run/proc"; do
        mountpoint -q "$mount" && umount -l "$mount"
    done
    rm -rf "$run"
}
trap cleanup EXIT
rm -rf "$run"
cp -a "$clean" "$run"
mount -t proc proc "$run/proc"
cp /etc/resolv.conf "$run/etc/resolv.conf"
cp "$deb" "$run/tmp/talmiro.deb"
chroot "$run" apt-get update -qq
chroot "$run" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends /tmp/talmiro.deb >/dev/null

entry=$(ls "$run"/usr/share/applications/*.desktop)
command=$(sed -n 's/^Exec=//p' "$entry")
echo "starting '$command' from $(basename "$entry")"

Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
mkdir -p "$run/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$run/tmp/.X11-unix"
sleep 1
DISPLAY=$display chroot "$run" env LANG=C.UTF-8 $command &
app_pid=$!
for _ in $(seq 100); do
    if xwininfo -display "$display" -root -tree 2>/dev/null | grep -q '"Talmiro": ("talmiro"'; then
        sleep 1
        import -display "$display" -window root "$shot"
        echo "the window is up; screenshot in $shot"
        exit 0
    fi
    kill -0 "$app_pid" 2>/dev/null || { echo "talmiro exited early" >&2; exit 1; }
    sleep 0.2
done
echo "no Talmiro window within 20 s" >&2
exit 1
