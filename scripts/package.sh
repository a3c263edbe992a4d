#!/usr/bin/env bash
# Sets up what is missing, builds the release .deb, and proves it: installed with apt into a
# clean Debian 12 chroot, Talmiro starts from its desktop entry and shows its window.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh package
cmake --preset release
cmake --build --preset release
(cd build/release && cpack)
deb=$(ls build/release/packages/talmiro_*_amd64.deb)
packaging/deb_smoke_test.sh "$deb" build/release/packages/installed-window.png
echo "package: $deb"
