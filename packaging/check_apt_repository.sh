#!/usr/bin/env bash
# Tries the release's apt repository with real apt in a clean Debian 12 root (a debootstrap kept in
# build/bookworm), served from 127.0.0.1, as a school's machine uses it: set up from the release's
# talmiro.sources and key, apt update checks the signature and apt install brings Talmiro, which
# starts; a newer build (the version raised in a scratch clone) published into the same repository
# arrives with apt upgrade; and apt update refuses the repository with its Packages changed after
# signing, and unsigned. Publishing the newer build signs with the release's key: run it where
# the release was signed (TALMIRO_OPENPGP_KEY and its GnuPG home).
# Usage: check_apt_repository.sh DIST   (the release's dist/ folder)
set -euo pipefail
dist=$(realpath "$1")
cd "$(dirname "$0")/.."
: "${TALMIRO_OPENPGP_KEY:?check_apt_repository.sh: publishing the newer build needs the release key}"
fail() {
    echo "check_apt_repository.sh: $*" >&2
    exit 1
}
work=$(mktemp -d)
run=$PWD/build/bookworm/apt-run
cleanup() {
    kill "${server_pid:-}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
    rm -rf --one-file-system "$run"
}
trap cleanup EXIT
scripts/clean_root.sh bookworm build/bookworm/clean
rm -rf --one-file-system "$run"
cp -a build/bookworm/clean "$run"
cp /etc/resolv.conf "$run/etc/resolv.conf"

# The repository as published: the web server serves a copy that the steps below change.
served=$work/served
cp -a "$dist/apt" "$served"
python3 -m http.server --bind 127.0.0.1 --directory "$served" 0 >"$work/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 100); do
    port=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$work/server.log")
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || fail "the web server did not start: $(cat "$work/server.log")"
mkdir -p "$run/etc/apt/keyrings"
cp "$dist/talmiro-release-key.gpg" "$run/etc/apt/keyrings/talmiro.gpg"
sed "s|^URIs: .*|URIs: http://127.0.0.1:$port/|" "$dist/talmiro.sources" \
    >"$run/etc/apt/sources.list.d/talmiro.sources"

in_root() { scripts/in_root.sh "$run" "$@"; }
# apt update, forgetting what it fetched from Talmiro's repository before, so that each of its
# indexes is fetched and checked afresh; its output in $work/update.log.
talmiro_update() {
    rm -f "$run"/var/lib/apt/lists/127.0.0.1[:_]*
    in_root apt-get update >"$work/update.log" 2>&1
}
echo "== apt update and install"
talmiro_update || fail "apt update refused the release's repository: $(cat "$work/update.log")"
grep 127.0.0.1 "$work/update.log"
in_root apt-get install -y -qq --no-install-recommends talmiro >"$work/install.log" 2>&1 ||
    fail "apt install talmiro failed: $(tail -5 "$work/install.log")"
grep -E "^(Get|Setting up):? .*talmiro" "$work/install.log" || true
# Running, as far as a machine with no display lets it: Qt's offscreen platform.
status=0
in_root env QT_QPA_PLATFORM=offscreen timeout 3 talmiro >"$work/run.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the installed talmiro ended ($status) before 3 s: $(cat "$work/run.log")"

echo "== a newer build published into the same repository, then apt upgrade"
git clone -q --no-local . "$work/newer"
sed -i 's/^set(TALMIRO_VERSION .*)$/set(TALMIRO_VERSION 2.0.1.0)/' "$work/newer/cmake/VersionInfo.cmake"
"$work/newer/scripts/deb.sh" >"$work/newer.log" 2>&1 || fail "the newer build failed: $(tail "$work/newer.log")"
scripts/publish_apt.sh index "$served" "$work"/newer/build/release/packages/talmiro_2.0.1.0_*.deb
scripts/publish_apt.sh sign "$served"
talmiro_update || fail "apt update refused the repository with the newer build: $(cat "$work/update.log")"
in_root apt-get upgrade -y >"$work/upgrade.log" 2>&1 || fail "apt upgrade failed: $(tail "$work/upgrade.log")"
grep -E "^(Unpacking|Setting up) talmiro" "$work/upgrade.log"
[ "$(in_root dpkg-query -W -f='${Version}' talmiro)" = 2.0.1.0 ] || fail "apt upgrade did not bring 2.0.1.0"

echo "== refused: Packages changed after signing"
packages=$served/dists/stable/main/binary-amd64/Packages
cp "$packages" "$work/Packages"
sed -i 's/^Version: 2.0.1.0$/Version: 2.0.2.0/' "$packages"
gzip -9n <"$packages" >"$packages.gz"
! talmiro_update || fail "apt update took a Packages changed after signing"
grep -E "^(E|W): " "$work/update.log"
grep -q "Hash Sum mismatch\|unexpected size" "$work/update.log" ||
    fail "apt update refused the changed Packages for another reason"
cp "$work/Packages" "$packages"
gzip -9n <"$packages" >"$packages.gz"

echo "== refused: unsigned"
rm "$served/dists/stable/InRelease" "$served/dists/stable/Release.gpg"
! talmiro_update || fail "apt update took an unsigned repository"
grep -E "^(E|W): " "$work/update.log"
grep -q "is not signed" "$work/update.log" || fail "apt update refused the unsigned repository for another reason"
echo "the apt repository: installed, upgraded to a newer build, and refused changed or unsigned"
