#!/usr/bin/env bash
# Builds the release .deb, with Debian's hardening flags, into BUILD/packages.
# Usage: deb.sh [BUILD]   (the folder to build in; build/release by default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake --preset release -B "$build" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$build"
rm -rf "$build/packages"
(cd "$build" && TZ=UTC cpack)  # as the zip: one zone for every stamp
