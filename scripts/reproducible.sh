#!/usr/bin/env bash
# Builds the release of the current commit as one builder would, then once more for each thing
# that a second builder has otherwise: another user and group, locale, build path, time zone and
# clock, host name, and order in which the file system lists a folder. Fails on any byte that
# differs, naming the file and what was varied. Runs as root, which it needs to be another user,
# host and file system.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh windows release reproducible
commit=$(git rev-parse HEAD)  # each build's, whatever is committed meanwhile
owners() { stat -c '%U:%G %n' .git/objects/pack/* | sort; }
owners_before=$(owners)
work=$(mktemp -d)
chmod 755 "$work"  # for the other user
declare -A folders
mounted=()
cleanup() {
    for folder in "${mounted[@]}"; do
        fusermount3 -u "$folder" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
outputs=(dist/SHA256SUMS dist/talmiro_*_amd64.deb dist/Talmiro-*-windows-x64.zip
         dist/Talmiro-*-windows-x64.msi dist/Talmiro-*-windows-x86.zip
         dist/Talmiro-*-windows-x86.msi dist/Talmiro-*.buildinfo build/dist/linux/app/talmiro
         build/dist/windows/app/Talmiro.exe build/dist/windows-x86/app/Talmiro.exe)

# VARIATION FOLDER [COMMAND PREFIX...]: a clean clone in FOLDER, released through the prefix.
release() {
    local variation=$1 folder=$2
    shift 2
    mkdir -p "$(dirname "$folder")"
    # Copies of the objects, not hard links: the user variation gives its clone to another user.
    git clone -q --no-local . "$folder"
    git -C "$folder" checkout -q "$commit"
    if [ "$variation" = "file order" ]; then
        mv "$folder" "$folder.unordered"
        mkdir "$folder"
        disorderfs --shuffle-dirents=yes "$folder.unordered" "$folder" >/dev/null
        mounted+=("$folder")
    fi
    [ "$variation" = user ] && chown -R nobody:nogroup "$folder"
    folders[$variation]=$folder
    echo "building the release: $variation"
    (cd "$folder" && "$@" scripts/release.sh) >"$work/$variation.log" 2>&1 ||
        { tail -20 "$work/$variation.log"; exit 1; }
}

release control "$work/control/talmiro" env LC_ALL=C.UTF-8 TZ=UTC
release user "$work/user/talmiro" setpriv --reuid=nobody --regid=nogroup --clear-groups
release locale "$work/locale/talmiro" env LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8
release "build path" "$work/path/somewhere/else/talmiro"
release "time zone and clock" "$work/time/talmiro" env TZ=Pacific/Kiritimati faketime -f +397d
release "host name" "$work/host/talmiro" unshare --uts sh -c 'hostname another-builder && exec "$@"' sh
release "file order" "$work/order/talmiro"

differ=0
for variation in user locale "build path" "time zone and clock" "host name" "file order"; do
    folder=${folders[$variation]}
    for output in "${outputs[@]}"; do
        for built in "${folders[control]}"/$output; do
            name=${built#"${folders[control]}/"}
            if [ ! -f "$built" ]; then
                echo "reproducible.sh: the release made no $name" >&2
                differ=1
            elif ! cmp -s "$built" "$folder/$name"; then
                echo "reproducible.sh: $name differs when the $variation differs" >&2
                differ=1
            fi
        done
    done
done
if [ "$(owners)" != "$owners_before" ]; then
    echo "reproducible.sh: this repository's pack files changed owner" >&2
    differ=1
fi
[ "$differ" -eq 0 ] || exit 1
echo "the release is the same to the byte whatever the user, locale, build path, time zone and"
echo "clock, host name or file order:"
cat "${folders[control]}/dist/SHA256SUMS"
