#!/usr/bin/env bash
# Sets up what is missing and builds everything a user downloads into dist/: the .debs for amd64
# and arm64 and the apt repository that serves them, the Windows zip and installer for 64-bit and
# for 32-bit Windows, the build information that says which toolchain made them, and SHA256SUMS
# over them all; signed where the builder gives keys.
# The same commit gives the same bytes, whoever builds it, wherever and whenever: every stamp is
# the release date, and the build starts in fresh folders with only the project's own flags.
# Runs from any folder, on a working tree without changes.
#
# Signing (see the README): Authenticode for both exes and both installers, from a PKCS#12 file
# (TALMIRO_SIGN_PKCS12) or a PKCS#11 token (TALMIRO_SIGN_PKCS11_MODULE, TALMIRO_SIGN_PKCS11_KEY,
# TALMIRO_SIGN_CERT), with TALMIRO_SIGN_PASSWORD_FILE and an optional TALMIRO_TIMESTAMP_URL; an
# OpenPGP signature of SHA256SUMS by TALMIRO_OPENPGP_KEY. Each signature is also written on its
# own into dist/, and --signatures DIR attaches such published signatures to this build instead.
# Usage: release.sh [--signatures DIR]
set -euo pipefail
self=$(realpath "$0")  # run again below, from the repository's root, whatever folder it began in
fail() {
    echo "release.sh: $*" >&2
    exit 1
}
signatures=
if [ "${1:-}" = --signatures ]; then
    [ -d "${2:-}" ] || fail "--signatures needs the folder that holds the signatures"
    signatures=$(realpath "$2")
elif [ $# -gt 0 ]; then
    fail "usage: release.sh [--signatures DIR]"
fi
cd "$(dirname "$self")/.."

# The build sees only the project's own settings: no compiler, flag or CMake variables of the
# builder's, no programs from outside Debian's folders. Kept: the locale and time zone, which
# must not matter, the release's time if given, and a faked clock's settings, which stand for the
# builder's clock. The signing tools alone get the builder's whole environment, which their
# tokens, agents and proxies may need.
if [ -z "${TALMIRO_RELEASE_ENVIRONMENT:-}" ]; then
    scripts/setup.sh windows arm64 release
    commit=$(git rev-parse --verify HEAD) || fail "git cannot name the commit to release"
    changes=$(git status --porcelain) || fail "git cannot tell whether the working tree has changes"
    [ -z "$changes" ] ||
        fail "the working tree has changes; a release is built from a commit alone. Commit or stash them."
    home=$(mktemp -d)
    trap 'rm -rf "$home"' EXIT
    env -0 >"$home/signer.env"
    kept=(PATH=/usr/sbin:/usr/bin:/sbin:/bin)
    for name in LANG LC_ALL TZ SOURCE_DATE_EPOCH LD_PRELOAD FAKETIME FAKETIME_NO_CACHE; do
        [ -n "${!name:-}" ] && kept+=("$name=${!name}")
    done
    env -i "${kept[@]}" HOME="$home" TALMIRO_RELEASE_ENVIRONMENT=1 TALMIRO_COMMIT="$commit" \
        TALMIRO_SIGNATURES="$signatures" "$self"
    exit
fi
mapfile -d '' signer_environment <"$HOME/signer.env"
as_signer() { env -i "${signer_environment[@]}" "$@"; }
signer() { as_signer printenv "$1" || true; }

fact() { sed -n "s/^set(TALMIRO_$1 \"\\?\\([^\"]*\\)\"\\?)$/\\1/p" cmake/VersionInfo.cmake; }
version=$(fact VERSION)
home_page=$(fact HOME_PAGE)
# One date for every stamp: the release's, which the changelog, the manual page and the AppStream
# metadata give too, as Debian takes its epoch from the changelog.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(date -u -d "$(fact RELEASE_DATE)" +%s)}
export SOURCE_DATE_EPOCH
umask 022  # as dpkg-buildpackage does: the modes packed are not the builder's

# How the Windows files get their Authenticode signatures: signed here, attached from published
# ones, or none.
pkcs12=$(signer TALMIRO_SIGN_PKCS12)
pkcs11_module=$(signer TALMIRO_SIGN_PKCS11_MODULE)
if [ -n "$TALMIRO_SIGNATURES" ]; then
    authenticode=attach
elif [ -n "$pkcs12" ] && [ -n "$pkcs11_module" ]; then
    fail "give either TALMIRO_SIGN_PKCS12 or TALMIRO_SIGN_PKCS11_MODULE, not both"
elif [ -n "$pkcs12" ]; then
    authenticode=sign
    key=(-pkcs12 "$pkcs12")
elif [ -n "$pkcs11_module" ]; then
    authenticode=sign
    key=(-pkcs11module "$pkcs11_module" -key "$(signer TALMIRO_SIGN_PKCS11_KEY)"
         -certs "$(signer TALMIRO_SIGN_CERT)")
    [ -n "${key[3]}" ] && [ -n "${key[5]}" ] ||
        fail "a token needs TALMIRO_SIGN_PKCS11_KEY (its key's URI) and TALMIRO_SIGN_CERT"
else
    authenticode=none
fi
if [ "$authenticode" = sign ]; then
    password_file=$(signer TALMIRO_SIGN_PASSWORD_FILE)
    [ -n "$password_file" ] && key+=(-readpass "$password_file")
    timestamp_url=$(signer TALMIRO_TIMESTAMP_URL)
    [ -n "$timestamp_url" ] && key+=(-ts "$timestamp_url")
fi
trusted=$(signer TALMIRO_SIGN_CA)
trusted=${trusted:-/etc/ssl/certs/ca-certificates.crt}
mkdir -p build/dist
rm -rf build/dist/signatures
mkdir build/dist/signatures

# FILE NAME: FILE signed in place, its signature kept as build/dist/signatures/NAME. Whether
# signed here or attached (which checks what it attaches), the signature and its timestamp must
# hold for FILE's bytes.
authenticode() {
    local file=$1 name=$2
    case $authenticode in
        none) return ;;
        sign)
            as_signer osslsigncode sign "${key[@]}" -h sha256 -n Talmiro -i "$home_page" \
                -in "$file" -out "$file.signed" >"$file.signing.log" 2>&1 ||
                { cat "$file.signing.log" >&2; fail "$file could not be signed"; }
            osslsigncode extract-signature -in "$file.signed" -out "build/dist/signatures/$name" \
                >/dev/null
            osslsigncode verify -CAfile "$trusted" -TSA-CAfile "$trusted" -in "$file.signed" \
                >"$file.signing.log" 2>&1 ||
                { cat "$file.signing.log" >&2; fail "the signature on $file does not verify against $trusted"; }
            ;;
        attach)
            [ -f "$TALMIRO_SIGNATURES/$name" ] || fail "no signature $name in $TALMIRO_SIGNATURES"
            cp "$TALMIRO_SIGNATURES/$name" build/dist/signatures/
            osslsigncode attach-signature -sigin "$TALMIRO_SIGNATURES/$name" \
                -CAfile "$trusted" -TSA-CAfile "$trusted" -in "$file" -out "$file.signed" \
                >"$file.signing.log" 2>&1 ||
                { cat "$file.signing.log" >&2; fail "$name does not sign this build's $file"; }
            ;;
    esac
    mv "$file.signed" "$file"
}

rm -rf build/dist/linux build/dist/linux-arm64 build/dist/windows build/dist/windows-x86
scripts/deb.sh build/dist/linux amd64
scripts/deb.sh build/dist/linux-arm64 arm64
for preset in windows windows-x86; do
    arch=$([ "$preset" = windows ] && echo x64 || echo x86)
    cmake --preset "$preset" -B "build/dist/$preset" -DTALMIRO_TESTS=OFF -DTALMIRO_BENCH=OFF
    cmake --build "build/dist/$preset" --target talmiro
    authenticode "build/dist/$preset/app/Talmiro.exe" "Talmiro-$version-windows-$arch.exe.sig"
    cmake --build "build/dist/$preset" --target zip msi
    authenticode "build/dist/$preset/packages/Talmiro-$version-windows-$arch.msi" \
        "Talmiro-$version-windows-$arch.msi.sig"
done

rm -rf dist
mkdir dist
files=("talmiro_${version}_amd64.deb" "talmiro_${version}_arm64.deb"
       "Talmiro-$version-windows-x64.zip" "Talmiro-$version-windows-x64.msi"
       "Talmiro-$version-windows-x86.zip" "Talmiro-$version-windows-x86.msi")
cp build/dist/linux/packages/"${files[0]}" build/dist/linux-arm64/packages/"${files[1]}" \
    build/dist/windows/packages/"${files[2]}" build/dist/windows/packages/"${files[3]}" \
    build/dist/windows-x86/packages/"${files[4]}" build/dist/windows-x86/packages/"${files[5]}" dist/
for signature in build/dist/signatures/*.sig; do
    if [ -f "$signature" ]; then
        cp "$signature" dist/
        files+=("$(basename "$signature")")
    fi
done
# The apt repository that keeps Debian machines up to date, and the source that apt reads it from.
scripts/publish_apt.sh index dist/apt "dist/${files[0]}" "dist/${files[1]}"
cat >dist/talmiro.sources <<SOURCES
Types: deb
URIs: $(fact APT_REPOSITORY)
Suites: stable
Components: main
Signed-By: /etc/apt/keyrings/talmiro.gpg
SOURCES
files+=(talmiro.sources)
(cd dist && ../scripts/buildinfo.sh "$version" "$TALMIRO_COMMIT" "${files[@]}") \
    >"dist/Talmiro-$version.buildinfo"
files+=("Talmiro-$version.buildinfo")
(cd dist && sha256sum -- "${files[@]}" >SHA256SUMS && sha256sum -c --quiet SHA256SUMS)

openpgp_key=$(signer TALMIRO_OPENPGP_KEY)
# The key that signs SHA256SUMS and the apt repository goes beside them, to be published apart
# from the downloads.
if [ -n "$TALMIRO_SIGNATURES" ] && [ -f "$TALMIRO_SIGNATURES/SHA256SUMS.asc" ]; then
    for signature in SHA256SUMS.asc apt/dists/stable/InRelease apt/dists/stable/Release.gpg \
        talmiro-release-key.gpg; do
        cp "$TALMIRO_SIGNATURES/$signature" "dist/$signature"
    done
    cmp -s "$TALMIRO_SIGNATURES/SHA256SUMS" dist/SHA256SUMS &&
        cmp -s "$TALMIRO_SIGNATURES/apt/dists/stable/Release" dist/apt/dists/stable/Release ||
        fail "this build's SHA256SUMS or apt Release is not the one the signatures sign"
elif [ -n "$openpgp_key" ]; then
    as_signer gpg --batch --yes --quiet --local-user "$openpgp_key!" --armor --detach-sign \
        --output dist/SHA256SUMS.asc dist/SHA256SUMS
    as_signer scripts/publish_apt.sh sign dist/apt
    as_signer gpg --batch --quiet --verify dist/SHA256SUMS.asc dist/SHA256SUMS 2>/dev/null ||
        fail "the signature on SHA256SUMS does not verify"
    as_signer gpg --batch --export --export-options export-minimal "$openpgp_key" \
        >dist/talmiro-release-key.gpg
fi

case $authenticode in
    none) echo "release.sh: the Windows files are unsigned: no key was given (see the README)" ;;
    sign) echo "release.sh: the Windows files are signed; their signatures are in dist/*.sig" ;;
    attach) echo "release.sh: the Windows files carry the signatures from $TALMIRO_SIGNATURES" ;;
esac
[ -f dist/SHA256SUMS.asc ] &&
    echo "release.sh: SHA256SUMS and the apt repository are signed (dist/SHA256SUMS.asc)" ||
    echo "release.sh: SHA256SUMS and the apt repository are unsigned: no TALMIRO_OPENPGP_KEY was given"
