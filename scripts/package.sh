#!/usr/bin/env bash
# Sets up what is missing, builds the release .deb with Debian's hardening flags, checks it with
# lintian, and proves it: installed with apt into a clean Debian 12 chroot, Talmiro starts from
# its desktop entry and shows its window, and purging it leaves nothing behind.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh package
scripts/deb.sh
deb=$(ls build/release/packages/talmiro_*_amd64.deb)
lintian --fail-on error,warning --display-info --suppress-tags-from-file /dev/null "$deb"
packaging/deb_smoke_test.sh "$deb" build/release/packages/installed-window.png
echo "package: $deb"
