#!/usr/bin/env bash
# Sets up what is missing and proves each .deb: lintian finds nothing to report, and installed
# with apt into a clean Debian 12 chroot of its architecture, Talmiro starts from its desktop entry
# and shows its window, and purging it leaves nothing behind. The .debs are the ones given (the
# release's, in dist/), or else an amd64 one built here with Debian's hardening flags.
# Usage: package.sh [PACKAGE.deb...]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh package
debs=()
for deb in "$@"; do
    debs+=("$(realpath "$deb")")
done
if [ ${#debs[@]} -eq 0 ]; then
    scripts/deb.sh
    debs=("$PWD"/build/release/packages/talmiro_*_amd64.deb)
fi
for deb in "${debs[@]}"; do
    lintian --fail-on error,warning --display-info --suppress-tags-from-file /dev/null "$deb"
    architecture=$(dpkg-deb -f "$deb" Architecture)
    [ "$architecture" = "$(dpkg --print-architecture)" ] || scripts/setup.sh arm64
    packaging/deb_smoke_test.sh "$deb" "build/installed-window-$architecture.png"
    echo "package: $deb"
done
