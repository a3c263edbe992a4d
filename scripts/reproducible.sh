#!/usr/bin/env bash
# Builds the release of the current commit twice, from two clean clones in different folders,
# the second with another umask and time zone and, being later, another clock; fails on any byte
# that differs, naming the file.
set -euo pipefail
cd "$(dirname "$0")/.."

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git clone -q . "$work/first"
git clone -q . "$work/elsewhere/second"
(cd "$work/first" && umask 022 && TZ=UTC scripts/release.sh) >"$work/first.log" 2>&1 ||
    { tail -20 "$work/first.log"; exit 1; }
(cd "$work/elsewhere/second" && umask 077 && TZ=Asia/Shanghai scripts/release.sh) \
    >"$work/second.log" 2>&1 || { tail -20 "$work/second.log"; exit 1; }

differ=0
for file in dist/SHA256SUMS dist/talmiro_*_amd64.deb dist/Talmiro-*-windows-x64.zip \
            dist/Talmiro-*-windows-x64.msi build/windows/app/Talmiro.exe build/release/app/talmiro; do
    for built in "$work"/first/$file; do
        name=${built#"$work/first/"}
        if ! cmp -s "$built" "$work/elsewhere/second/$name"; then
            echo "reproducible.sh: $name differs between the two builds" >&2
            differ=1
        fi
    done
done
[ "$differ" -eq 0 ] || exit 1
echo "the release, built twice, is the same to the byte:"
cat "$work/first/dist/SHA256SUMS"
