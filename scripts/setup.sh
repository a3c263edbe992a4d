#!/usr/bin/env bash
# Installs the Debian packages that Talmiro is built and tested with. Quick when they are all
# there already. Optional groups: "fuzz" (clang and libFuzzer), "arm64" (the aarch64 compilers,
# Debian's arm64 Qt, and qemu-user to run what they build), "windows" (mingw-w64 and Wine,
# for 64 and 32 bits), "package" (a clean Debian 12 chroot to try the .deb in), "release" (the
# Windows installer's and the apt repository's tools, and the signing tools, a token's among
# them), "reproducible" (a faked clock and a file system that lists folders in random order),
# "throwaway-signer" (a software token and a time-stamp authority's runtime, for the signing
# tests).
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-translations-l10n fonts-arphic-uming fonts-arphic-ukai xdg-utils
    dpkg-dev desktop-file-utils appstream weston qt6-wayland xvfb xauth
    orca at-spi2-core dbus-x11 openbox xdotool procps)
for group in "$@"; do
    case "$group" in
        fuzz) packages+=(clang libclang-rt-14-dev) ;;
        arm64) packages+=(crossbuild-essential-arm64 qt6-base-dev:arm64 qt6-wayland:arm64 googletest
                          qemu-user-static) ;;
        windows) packages+=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64
                            wine32:i386 googletest zip) ;;
        package) packages+=(debootstrap x11-utils imagemagick lintian) ;;
        release) packages+=(wixl msitools git osslsigncode gpg libengine-pkcs11-openssl apt-utils) ;;
        reproducible) packages+=(faketime disorderfs fuse3 unzip) ;;
        throwaway-signer) packages+=(softhsm2 python3 openssl) ;;
        *) echo "setup.sh: unknown package group '$group'" >&2; exit 2 ;;
    esac
done

# The arm64 build's programs start as a Raspberry Pi would start them, through qemu-user registered
# with the kernel's binfmt_misc; registered here where it is not yet, as root.
arm64_programs_start() {
    [ -e /proc/sys/fs/binfmt_misc/qemu-aarch64 ] && return
    if [ "$(id -u)" -eq 0 ]; then
        mountpoint -q /proc/sys/fs/binfmt_misc ||
            mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null || true
        [ ! -w /proc/sys/fs/binfmt_misc/register ] ||
            cat /usr/lib/binfmt.d/qemu-aarch64.conf >/proc/sys/fs/binfmt_misc/register || true
    fi
    if [ ! -e /proc/sys/fs/binfmt_misc/qemu-aarch64 ]; then
        echo "setup.sh: this kernel cannot start arm64 programs. Register qemu-user with binfmt_misc" >&2
        echo "as root (systemctl restart systemd-binfmt), or run this again as root." >&2
        exit 1
    fi
}

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    [[ " $* " != *" arm64 "* ]] || arm64_programs_start
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null; then
    as_root=(sudo)
else
    echo "Talmiro needs these Debian packages; install them as root, then run this again:" >&2
    echo "  apt-get install ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
# 32-bit Wine comes from Debian's i386 architecture, the arm64 build's libraries from arm64.
for architecture in i386 arm64; do
    if [[ " ${missing[*]} " == *":$architecture "* ]] &&
        ! dpkg --print-foreign-architectures | grep -qx "$architecture"; then
        "${as_root[@]}" dpkg --add-architecture "$architecture"
    fi
done
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
[[ " $* " != *" arm64 "* ]] || arm64_programs_start
