#!/usr/bin/env bash
# Sets up what is missing and proves a .deb: lintian finds nothing to report, and installed with
# apt into a clean Debian 12 chroot, Talmiro starts from its desktop entry and shows its window,
# and purging it leaves nothing behind. The .deb is the one given (the release's, in dist/), or
# else one built here with Debian's hardening flags.
# Usage: package.sh [PACKAGE.deb]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh package
if [ $# -gt 0 ]; then
    deb=$(realpath "$1")
else
    scripts/deb.sh
    deb=$(ls "$PWD"/build/release/packages/talmiro_*_amd64.deb)
fi
lintian --fail-on error,warning --display-info --suppress-tags-from-file /dev/null "$deb"
packaging/deb_smoke_test.sh "$deb" build/installed-window.png
echo "package: $deb"
