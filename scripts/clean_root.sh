#!/usr/bin/env bash
# Makes a clean Debian root (debootstrap's minbase) of the given release and architecture (this
# machine's by default) in FOLDER, from the Debian mirror that this machine's apt is set up with,
# unless one is there already. A foreign architecture's root runs under qemu-user (binfmt_misc).
# Usage: clean_root.sh RELEASE FOLDER [ARCHITECTURE]
set -euo pipefail
release=$1
folder=$2
architecture=${3:-$(dpkg --print-architecture)}
[ -f "$folder/.complete" ] && exit 0

# Any release lies on the same mirror as the one this machine runs.
mirror=${TALMIRO_DEBIAN_MIRROR:-$(apt-get indextargets --format '$(REPO_URI) $(COMPONENT) $(TARGET_OF)' \
    2>/dev/null | awk '$1 !~ /security/ && $2 == "main" && $3 == "deb" {print $1; exit}')}
if [ -z "$mirror" ]; then
    echo "clean_root.sh: this machine's apt knows no Debian mirror." >&2
    echo "Run 'apt-get update' if its sources name one, or give one:" >&2
    echo "  TALMIRO_DEBIAN_MIRROR=http://your.mirror/debian $0 $*" >&2
    exit 2
fi
rm -rf "$folder"
mkdir -p "$(dirname "$folder")"
debootstrap --variant=minbase --arch="$architecture" "$release" "$folder" "$mirror" >/dev/null
touch "$folder/.complete"
