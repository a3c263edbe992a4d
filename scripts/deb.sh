#!/usr/bin/env bash
# Builds the release .deb, with Debian's hardening flags, into build/release/packages.
set -euo pipefail
cd "$(dirname "$0")/.."

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake --preset release \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build --preset release
rm -rf build/release/packages
(cd build/release && TZ=UTC cpack)  # as the zip: one zone for every stamp
