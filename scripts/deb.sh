#!/usr/bin/env bash
# Builds the release .deb for amd64, or cross-built for arm64, with Debian's hardening flags and
# without the benchmarks, into BUILD/packages.
# Usage: deb.sh [BUILD [ARCHITECTURE]]   (build/release and amd64 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
architecture=${2:-amd64}

# What Debian 12's dpkg-buildflags gives with hardening=+all, on amd64 and arm64 alike, written
# here rather than asked of it: it also reads the builder's /etc/dpkg/buildflags.conf and
# per-user settings.
cxxflags="-g -O2 -ffile-prefix-map=$PWD=. -fstack-protector-strong -Wformat -Werror=format-security"
cppflags="-Wdate-time -D_FORTIFY_SOURCE=2"
ldflags="-Wl,-z,relro -Wl,-z,now"
case $architecture in
    amd64) preset=(--preset release) ;;
    arm64) preset=(--preset linux-arm64 -DCMAKE_BUILD_TYPE=Release -DTALMIRO_TESTS=OFF) ;;
    *) echo "deb.sh: the architecture is amd64 or arm64, not '$architecture'" >&2; exit 2 ;;
esac
cmake "${preset[@]}" -B "$build" -DTALMIRO_BENCH=OFF -DCMAKE_CXX_FLAGS="$cppflags $cxxflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
cmake --build "$build"
rm -rf "$build/packages"
# As the zip: one zone for every stamp. dpkg-shlibdeps reads the libraries of the package's own
# architecture.
(cd "$build" && TZ=UTC DEB_HOST_ARCH=$architecture cpack)
