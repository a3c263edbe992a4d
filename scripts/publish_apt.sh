#!/usr/bin/env bash
# Keeps Talmiro's apt repository in FOLDER (made if new).
# - "index" adds .debs to its pool and writes its indexes afresh: each architecture's Packages and
#   the suite's Release, dated SOURCE_DATE_EPOCH if set (so that the same packages give the same
#   bytes), or else now.
#   Until it is signed, apt refuses it.
# - "sign" signs the Release with the OpenPGP key TALMIRO_OPENPGP_KEY (InRelease, Release.gpg),
#   from the GnuPG home (GNUPGHOME honoured).
# Usage: publish_apt.sh index FOLDER [PACKAGE.deb...] | publish_apt.sh sign FOLDER
set -euo pipefail
verb=$1
folder=$2
shift 2
suite=dists/stable
if [ "$verb" = sign ]; then
    : "${TALMIRO_OPENPGP_KEY:?publish_apt.sh: sign needs TALMIRO_OPENPGP_KEY}"
    for form in --clearsign:InRelease --detach-sign:Release.gpg; do
        gpg --batch --yes --quiet --local-user "$TALMIRO_OPENPGP_KEY!" --armor "${form%%:*}" \
            --output "$folder/$suite/${form#*:}" "$folder/$suite/Release"
    done
    exit
fi
[ "$verb" = index ] || { echo "publish_apt.sh: index or sign, not '$verb'" >&2; exit 2; }
mkdir -p "$folder/pool/main/t/talmiro"
[ $# -eq 0 ] || cp "$@" "$folder/pool/main/t/talmiro/"
cd "$folder"
rm -rf "$suite"
# The architectures that the pool holds packages for.
mapfile -t architectures < <(find pool -name '*.deb' | sed 's/.*_\(.*\)\.deb$/\1/' | LC_ALL=C sort -u)
for architecture in "${architectures[@]}"; do
    index=$suite/main/binary-$architecture
    mkdir -p "$index"
    # One package at a time, in a fixed order: not in the order the file system lists them.
    for deb in $(find pool -name "*_$architecture.deb" | LC_ALL=C sort); do
        apt-ftparchive packages "$deb"
    done >"$index/Packages"
    gzip -9n <"$index/Packages" >"$index/Packages.gz"
done
release=APT::FTPArchive::Release
apt-ftparchive -o "$release::Origin=Talmiro" -o "$release::Label=Talmiro" \
    -o "$release::Suite=stable" -o "$release::Codename=stable" \
    -o "$release::Architectures=${architectures[*]}" -o "$release::Components=main" \
    -o "$release::Description=Talmiro, chemical formula lookup" release "$suite" >"$suite/Release.new"
# apt-ftparchive dates a Release by the clock.
sed "s/^Date: .*/Date: $(LC_ALL=C date -u -R -d "@${SOURCE_DATE_EPOCH:-$(date +%s)}")/" \
    "$suite/Release.new" >"$suite/Release"
rm "$suite/Release.new"
