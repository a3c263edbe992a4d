#!/usr/bin/env bash
# Builds the release .deb, with Debian's hardening flags and without the benchmarks, into
# BUILD/packages.
# Usage: deb.sh [BUILD]   (the folder to build in; build/release by default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}

# What Debian 12's dpkg-buildflags gives with hardening=+all, written here rather than asked of
# it: it also reads the builder's /etc/dpkg/buildflags.conf and per-user settings.
cxxflags="-g -O2 -ffile-prefix-map=$PWD=. -fstack-protector-strong -Wformat -Werror=format-security"
cppflags="-Wdate-time -D_FORTIFY_SOURCE=2"
ldflags="-Wl,-z,relro -Wl,-z,now"
cmake --preset release -B "$build" -DTALMIRO_BENCH=OFF -DCMAKE_CXX_FLAGS="$cppflags $cxxflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
cmake --build "$build"
rm -rf "$build/packages"
(cd "$build" && TZ=UTC cpack)  # as the zip: one zone for every stamp
