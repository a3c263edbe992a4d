#!/usr/bin/env bash
# Builds the release of the current commit as one builder would, then once more for each thing
# that a second builder has otherwise: another user and group, locale, build path, time zone and
# clock, host name, kernel and number of CPUs, order in which the file system lists a folder, and
# the builder's own tools and flags. Fails on any byte that differs, naming the file and what was
# varied. Runs as root, which it needs to be another user, host and file system.
#
# Where the first builder signs (the signing variables of release.sh, as
# tests/signing/throwaway_signer.sh gives them), every other builder is a rebuilder without keys,
# given the first one's published signatures: their files must be the signed ones, byte for byte.
# Then the signatures are checked too: Authenticode on both exes (as in the zips) and both
# installers, timestamps included, against TALMIRO_SIGN_CA, and SHA256SUMS against the OpenPGP
# key, with gpgv; and a changed byte, value or line must make each check fail.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh windows arm64 release reproducible
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
outputs=(dist/SHA256SUMS dist/talmiro_*_amd64.deb dist/talmiro_*_arm64.deb
         build/dist/linux-arm64/app/talmiro dist/Talmiro-*-windows-x64.zip
         dist/Talmiro-*-windows-x64.msi dist/Talmiro-*-windows-x86.zip
         dist/Talmiro-*-windows-x86.msi dist/Talmiro-*.buildinfo build/dist/linux/app/talmiro
         build/dist/windows/app/Talmiro.exe build/dist/windows-x86/app/Talmiro.exe
         dist/talmiro.sources dist/apt/dists/stable/Release dist/apt/dists/stable/main/*/Packages.gz)

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
    local published=()
    [ "$variation" = control ] || [ -z "$signed" ] || published=(--signatures "$signed")
    (cd "$folder" && "$@" scripts/release.sh "${published[@]}") >"$work/$variation.log" 2>&1 ||
        { tail -20 "$work/$variation.log"; exit 1; }
}

# The builder's own tools and settings, none of which may reach the build: a cmake and a zip of
# its own first on the path, flag variables, and dpkg's system-wide build flags.
own=$work/own
mkdir -p "$own/bin"
for tool in cmake zip; do
    printf '#!/bin/sh\necho "the builder'"'"'s own %s ran" >&2\nexit 1\n' "$tool" >"$own/bin/$tool"
    chmod 755 "$own/bin/$tool"
done
cp -a /etc/dpkg "$own/dpkg"
printf 'APPEND CXXFLAGS -O0 -g3\nAPPEND LDFLAGS -Wl,--build-id=none\n' >"$own/dpkg/buildflags.conf"

signed=
if [ -n "${TALMIRO_SIGN_PKCS12:-}${TALMIRO_SIGN_PKCS11_MODULE:-}" ]; then
    signed=$work/control/talmiro/dist
    outputs+=(dist/*.sig dist/SHA256SUMS.asc dist/talmiro-release-key.gpg
              dist/apt/dists/stable/InRelease dist/apt/dists/stable/Release.gpg)
fi
release control "$work/control/talmiro" env LC_ALL=C.UTF-8 TZ=UTC
# A working tree with changes is not released: which commit made the files would be untrue.
echo "a change" >>"$work/control/talmiro/README.md"
if (cd "$work/control/talmiro" && scripts/release.sh) >"$work/changed.log" 2>&1 ||
    ! grep -q "the working tree has changes" "$work/changed.log"; then
    echo "reproducible.sh: a working tree with changes was released, or refused without reason:" >&2
    tail -5 "$work/changed.log" >&2
    exit 1
fi
git -C "$work/control/talmiro" checkout -q README.md
release user "$work/user/talmiro" setpriv --reuid=nobody --regid=nogroup --clear-groups
release locale "$work/locale/talmiro" env LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8
release "build path" "$work/path/somewhere/else/talmiro"
# The system's zone too: a copy of /etc whose localtime is another, bound over /etc in a private
# mount namespace (a mount over /etc/localtime itself would land on the zone file it links to).
cp -a /etc "$work/etc"
ln -sf /usr/share/zoneinfo/Pacific/Kiritimati "$work/etc/localtime"
release "time zone and clock" "$work/time/talmiro" unshare --mount sh -c \
    'mount --bind "$0" /etc && exec "$@"' "$work/etc" env TZ=Pacific/Kiritimati faketime -f +397d
release "host name, kernel and CPUs" "$work/host/talmiro" unshare --uts sh -c \
    'hostname another-builder && exec "$@"' sh setarch "$(uname -m)" --uname-2.6 taskset -c 0
release "file order" "$work/order/talmiro"
release "builder's tools and flags" "$work/own/talmiro" unshare --mount sh -c \
    'mount --bind "$0/dpkg" /etc/dpkg && exec "$@"' "$own" \
    env PATH="$own/bin:$PATH" CXXFLAGS=-O0 LDFLAGS=-s DEB_BUILD_OPTIONS=noopt DEB_CXXFLAGS_APPEND=-g3

differ=0
for variation in user locale "build path" "time zone and clock" "host name, kernel and CPUs" \
    "file order" "builder's tools and flags"; do
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
echo "clock, host name, kernel and CPUs, file order, or the builder's tools and flags:"
cat "${folders[control]}/dist/SHA256SUMS"
[ -n "$signed" ] || exit 0

fail() {
    echo "reproducible.sh: $*" >&2
    exit 1
}
# FILE OFFSET: FILE.changed, a copy of FILE with the byte at OFFSET changed.
changed() {
    local byte
    cp "$1" "$1.changed"
    byte=$(od -An -tu1 -j "$2" -N1 "$1" | tr -d ' ')
    printf "\\$(printf %o $(((byte + 1) % 256)))" |
        dd of="$1.changed" bs=1 seek="$2" conv=notrunc status=none
}
checks=$work/checks
mkdir "$checks"
for arch in x64 x86; do
    unzip -p "$signed"/Talmiro-*-windows-$arch.zip Talmiro.exe >"$checks/Talmiro-$arch.exe"
    cp "$signed"/Talmiro-*-windows-$arch.msi "$checks/"
done
verify() { osslsigncode verify -CAfile "$TALMIRO_SIGN_CA" -TSA-CAfile "$TALMIRO_SIGN_CA" -in "$1"; }
for file in "$checks"/*; do
    verify "$file" >"$file.log" 2>&1 || { cat "$file.log" >&2; fail "$file: its signature fails"; }
    grep -q "^Timestamp Server Signature verification: ok" "$file.log" || fail "$file: no timestamp"
    # In an exe, a byte of its code; in an installer, a value in its tables (a byte picked at
    # random may lie in a sector no stream uses, which the signature rightly leaves out).
    if [[ $file == *.msi ]]; then
        cp "$file" "$file.changed"
        msibuild "$file.changed" -q "UPDATE \`Property\` SET \`Value\` = '0' WHERE \`Property\` = 'ARPNOMODIFY'"
    else
        changed "$file" $(($(stat -c %s "$file") / 2))
    fi
    ! verify "$file.changed" >/dev/null 2>&1 || fail "$file: its signature still holds when changed"
done
# As a user checks it, with the key published beside it.
gpgv --keyring "$signed/talmiro-release-key.gpg" "$signed/SHA256SUMS.asc" "$signed/SHA256SUMS" \
    2>/dev/null || fail "the signature on SHA256SUMS fails with gpgv"
awk 'NR == 1 { $0 = (substr($0, 1, 1) == "0" ? "1" : "0") substr($0, 2) } 1' \
    "$signed/SHA256SUMS" >"$checks/SHA256SUMS"
! gpgv --keyring "$signed/talmiro-release-key.gpg" "$signed/SHA256SUMS.asc" "$checks/SHA256SUMS" \
    2>/dev/null ||
    fail "the signature on SHA256SUMS still holds with a line changed"
echo "signed: Authenticode with timestamps on both exes and both installers, and SHA256SUMS by"
echo "OpenPGP, all verified, and none holds once its file is changed; every rebuilder that attached"
echo "those signatures got the signed files"
