#!/usr/bin/env bash
# Runs the README's test command as a newcomer would on a fresh Debian of the given release:
# in a clean root (kept clean between runs in build/RELEASE), on a copy of this working tree, so
# that it installs what it needs itself, builds and runs the whole suite. The run's root stays
# until the next run, for a look at what failed (build/RELEASE/run/talmiro/build/dev/tests).
# Usage: test_in_clean_root.sh RELEASE   (trixie for Debian 13)
set -euo pipefail
cd "$(dirname "$0")/.."
release=$1
clean=build/$release/clean
run=$PWD/build/$release/run

scripts/setup.sh package
scripts/clean_root.sh "$release" "$clean"
rm -rf --one-file-system "$run"
cp -a "$clean" "$run"
cp /etc/resolv.conf "$run/etc/resolv.conf"
mkdir "$run/talmiro"
git ls-files -z --cached --others --exclude-standard | tar -c --null -T - | tar -x -C "$run/talmiro"

# Its own mount and process namespaces: whatever happens, its mounts and processes end with it.
unshare --mount --pid --fork --kill-child bash -euc '
    mount --make-rprivate /
    mount --rbind /dev "$1/dev"
    mount -t proc proc "$1/proc"
    mount -t sysfs sysfs "$1/sys"
    exec chroot "$1" env -i HOME=/root LANG=C.UTF-8 PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        DEBIAN_FRONTEND=noninteractive /talmiro/scripts/test.sh' _ "$run"
