#!/usr/bin/env bash
# Installs the .deb with apt into a clean Debian 12 of its architecture (a debootstrap chroot, kept
# between runs in build/bookworm, or build/bookworm-arm64 run under qemu-user), so its
# dependencies are resolved as on a user's machine; starts Talmiro from
# the installed desktop entry under Xvfb, waits for its window and checks what a desktop reads of
# it; then purges it and checks that nothing of it is left behind.
# Usage: deb_smoke_test.sh PACKAGE.deb SCREENSHOT.png
set -euo pipefail
deb=$(realpath "$1")
shot=$2
rm -f "$shot"
architecture=$(dpkg-deb -f "$deb" Architecture)
cache="$(dirname "$0")/../build/bookworm"
[ "$architecture" = "$(dpkg --print-architecture)" ] || cache+="-$architecture"
clean="$cache/clean"
run="$cache/run"

"$(dirname "$0")/../scripts/clean_root.sh" bookworm "$clean" "$architecture"

display_file=$(mktemp)
# What a run, this one or one killed before, mounted in the chroot goes before anything in it is
# removed, and no removal crosses into a mount: the host's X socket folder is bound in there.
remove_run() {
    for mount in "$run/tmp/.X11-unix" "$run/proc"; do
        if mountpoint -q "$mount"; then umount -l "$mount"; fi
    done
    rm -rf --one-file-system "$run"
}
cleanup() {
    kill "${app_pid:-}" "${xvfb_pid:-}" 2>/dev/null || true
    wait 2>/dev/null || true
    remove_run
    rm -f "$display_file"
}
trap cleanup EXIT
remove_run
cp -a "$clean" "$run"
mount -t proc proc "$run/proc"
cp /etc/resolv.conf "$run/etc/resolv.conf"
cp "$deb" "$run/tmp/talmiro.deb"
in_chroot() { chroot "$run" env DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }
# What a purge must put back as it was; apt's and dpkg's own records and caches may differ.
files() {
    in_chroot find / -xdev \( -path /proc -o -path /tmp -o -path /var/cache -o -path /var/log \
        -o -path /var/lib/apt -o -path /var/lib/dpkg \) -prune -o -print | sort
}
in_chroot apt-get update -qq
files >"$cache/files-before"
in_chroot apt-get install -y -qq --no-install-recommends /tmp/talmiro.deb >/dev/null

entry=$(ls "$run"/usr/share/applications/*.desktop)
command=$(sed -n 's/^Exec=//p' "$entry")
echo "starting '$command' from $(basename "$entry")"
# Xvfb picks a free display and names it once it takes connections.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
display=":$(head -n1 "$display_file")"
mkdir -p "$run/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$run/tmp/.X11-unix"
mount -o remount,bind,ro "$run/tmp/.X11-unix"
# Started directly, not through a function, so that $! is the program itself.
DISPLAY=$display chroot "$run" env LANG=C.UTF-8 $command &
app_pid=$!
for _ in $(seq 300); do  # within 60 s: an arm64 one starts under emulation
    if xwininfo -display "$display" -root -tree 2>/dev/null | grep -q '"Talmiro": ("talmiro"'; then
        sleep 1
        import -display "$display" -window root "$shot"
        echo "the window is up; screenshot in $shot"
        break
    fi
    kill -0 "$app_pid" 2>/dev/null || { echo "talmiro exited early" >&2; exit 1; }
    sleep 0.2
done
[ -f "$shot" ] || { echo "no Talmiro window within 60 s" >&2; exit 1; }
# What a window manager reads to decorate it: fixed at 455 x 301, and no maximise among the
# Motif functions (bit 16) or decorations (bit 64).
hints=$(xprop -display "$display" -name Talmiro _MOTIF_WM_HINTS WM_NORMAL_HINTS)
read -r _ functions decorations _ < <(sed -n 's/^_MOTIF_WM_HINTS.* = //p' <<<"$hints" | tr -d ,)
if (( functions & 16 || decorations & 64 )) ||
    ! grep -q 'minimum size: 455 by 301' <<<"$hints" ||
    ! grep -q 'maximum size: 455 by 301' <<<"$hints"; then
    echo "the window may be maximised or resized:" >&2
    echo "$hints" >&2
    exit 1
fi
# What a dock or a task switcher reads to match the window to its menu entry and show its icon:
# the class the entry names, and the icon at every size the package installs in the theme.
wm_class=$(xprop -display "$display" -name Talmiro WM_CLASS | sed 's/.*= "[^"]*", "\(.*\)"$/\1/')
startup_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
if [ "$wm_class" != "$startup_class" ]; then
    echo "the window's class is '$wm_class', but its menu entry says '$startup_class'" >&2
    exit 1
fi
# _NET_WM_ICON holds each image as its width, its height, then its pixels. The larger ones come
# after the first frame: wait for them a while.
theme_sizes=$(ls "$run/usr/share/icons/hicolor" | sort -n)
for _ in $(seq 50); do
    icon_sizes=$(xprop -display "$display" -name Talmiro -notype 32c _NET_WM_ICON |
        sed 's/^[^=]*= //' | tr -d ' ' | tr , '\n' |
        awk 'NR == next_image {print $1 "x" $1; next_image += 2 + $1 * $1} BEGIN {next_image = 1}' |
        sort -n)
    [ "$icon_sizes" = "$theme_sizes" ] && break
    sleep 0.2
done
if [ "$icon_sizes" != "$theme_sizes" ]; then
    echo "the window's icon comes at $(echo $icon_sizes), the theme's at $(echo $theme_sizes)" >&2
    exit 1
fi
echo "the window's class and icon sizes ($(echo $icon_sizes)) match its menu entry and theme"
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true

in_chroot apt-get purge -y -qq --autoremove talmiro >/dev/null
files >"$cache/files-after"
if ! diff "$cache/files-before" "$cache/files-after"; then
    echo "purging talmiro left the files above behind" >&2
    exit 1
fi
echo "purged: nothing of it is left"
