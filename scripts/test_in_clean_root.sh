#!/usr/bin/env bash
# Runs the README's test command as a newcomer would on a fresh Debian of the given release:
# in a clean root (kept clean between runs in build/RELEASE), on a copy of this working tree, so
# that it installs what it needs itself, builds and runs the whole suite. The run's root stays
# until the next run, for a look at what failed (build/RELEASE/run/talmiro/build/dev/tests).
# Usage: test_in_clean_root.sh RELEASE   (trixie for Debian 13)
set -euo pipefail
cd "$(dirname "$0")/.."
release=$1
clean=build/$release/clean
run=$PWD/build/$release/run

scripts/setup.sh package
scripts/clean_root.sh "$release" "$clean"
rm -rf --one-file-system "$run"
cp -a "$clean" "$run"
cp /etc/resolv.conf "$run/etc/resolv.conf"
mkdir "$run/talmiro"
git ls-files -z --cached --others --exclude-standard | tar -c --null -T - | tar -x -C "$run/talmiro"

scripts/in_root.sh "$run" /talmiro/scripts/test.sh
