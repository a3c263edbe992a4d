#!/usr/bin/env bash
# Runs COMMAND in the Debian root ROOT (a debootstrap folder) with a clean environment, in mount
# and process namespaces of its own: whatever happens, what it mounts and starts ends with it.
# Usage: in_root.sh ROOT COMMAND...
set -euo pipefail
root=$(realpath "$1")
shift
exec unshare --mount --pid --fork --kill-child bash -euc '
    root=$1
    shift
    mount --make-rprivate /
    mount --rbind /dev "$root/dev"
    mount -t proc proc "$root/proc"
    mount -t sysfs sysfs "$root/sys"
    exec chroot "$root" env -i HOME=/root LANG=C.UTF-8 PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        DEBIAN_FRONTEND=noninteractive "$@"' _ "$root" "$@"
