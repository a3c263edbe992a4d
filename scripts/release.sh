#!/usr/bin/env bash
# Sets up what is missing and builds everything a user downloads into dist/: the .deb, the
# Windows zip and installer for 64-bit and for 32-bit Windows, the build information that says
# which toolchain made them, and SHA256SUMS over them all. The same commit gives the same bytes,
# whoever builds it, wherever and whenever: every stamp is the commit's time, and the build starts
# in fresh folders with only the project's own flags. Runs from any folder.
set -euo pipefail
self=$(realpath "$0")  # run again below, from the repository's root, whatever folder it began in
cd "$(dirname "$self")/.."

# The builder's environment stays out: compiler and flag variables (CXX, CXXFLAGS, LDFLAGS,
# DEB_BUILD_OPTIONS, DEB_*_APPEND...), CMake's own, and dpkg-buildflags' per-user settings, which
# it reads below $HOME. Kept: the path, the release's time if given, and a faked clock's settings,
# which stand for the builder's clock.
if [ -z "${TALMIRO_RELEASE_ENVIRONMENT:-}" ]; then
    scripts/setup.sh windows release
    home=$(mktemp -d)
    trap 'rm -rf "$home"' EXIT
    kept=(PATH="$PATH")
    for name in SOURCE_DATE_EPOCH LD_PRELOAD FAKETIME FAKETIME_NO_CACHE; do
        [ -n "${!name:-}" ] && kept+=("$name=${!name}")
    done
    env -i "${kept[@]}" HOME="$home" LANG=C.UTF-8 TALMIRO_RELEASE_ENVIRONMENT=1 "$self"
    exit
fi
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH
umask 022  # as dpkg-buildpackage does: the modes packed are not the builder's
version=$(sed -n 's/^set(TALMIRO_VERSION \(.*\))$/\1/p' cmake/VersionInfo.cmake)

rm -rf build/dist
scripts/deb.sh build/dist/linux
for preset in windows windows-x86; do
    cmake --preset "$preset" -B "build/dist/$preset" -DTALMIRO_TESTS=OFF -DTALMIRO_BENCH=OFF
    cmake --build "build/dist/$preset" --target zip msi
done

rm -rf dist
mkdir dist
files=("talmiro_${version}_amd64.deb"
       "Talmiro-$version-windows-x64.zip" "Talmiro-$version-windows-x64.msi"
       "Talmiro-$version-windows-x86.zip" "Talmiro-$version-windows-x86.msi"
       "Talmiro-$version.buildinfo")
cp build/dist/linux/packages/"${files[0]}" build/dist/windows/packages/"${files[1]}" \
    build/dist/windows/packages/"${files[2]}" build/dist/windows-x86/packages/"${files[3]}" \
    build/dist/windows-x86/packages/"${files[4]}" dist/
# As Debian's .buildinfo: what a rebuilder needs to get the same bytes.
{
    echo "Source: talmiro"
    echo "Version: $version"
    echo "Commit: $(git rev-parse HEAD)"
    echo "Source-Date-Epoch: $SOURCE_DATE_EPOCH"
    echo "Build-Architecture: $(dpkg --print-architecture)"
    echo "Installed-Build-Depends:"
    dpkg-query -W -f=' ${Package} (= ${Version}),\n' g++-12 gcc-12 cpp-12 libstdc++-12-dev \
        libc6-dev binutils binutils-x86-64-linux-gnu g++-mingw-w64-x86-64-posix \
        gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
        g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 \
        mingw-w64-i686-dev cmake \
        ninja-build qt6-base-dev qt6-base-dev-tools libqt6core6 libqt6gui6 libpng16-16 zlib1g \
        dpkg dpkg-dev tar xz-utils gzip zip wixl msitools libmsi0 libgcab-1.0-0 | sed '$ s/,$//'
} >"dist/${files[-1]}"
(cd dist && sha256sum -- "${files[@]}" >SHA256SUMS && sha256sum -c SHA256SUMS)
