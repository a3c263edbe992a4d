#!/usr/bin/env bash
# Sets up what is missing and builds everything a user downloads into dist/: the .deb, the
# Windows zip and installer, and SHA256SUMS over them. The same commit gives the same bytes,
# whoever builds it, wherever and whenever: every stamp is the commit's time.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh windows release
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH
umask 022  # as dpkg-buildpackage does: the modes packed are not the builder's

scripts/deb.sh
cmake --preset windows
cmake --build --preset windows --target talmiro
rm -rf build/windows/packages
(cd build/windows && TZ=UTC cpack)  # a zip keeps local times
cmake --build --preset windows --target msi

rm -rf dist
mkdir dist
cp build/release/packages/talmiro_*_amd64.deb build/windows/packages/Talmiro-*-windows-x64.zip \
    build/windows/packages/Talmiro-*-windows-x64.msi dist/
(cd dist && sha256sum -- * >SHA256SUMS && sha256sum -c SHA256SUMS)
