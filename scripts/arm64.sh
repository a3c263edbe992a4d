#!/usr/bin/env bash
# Sets up what is missing, cross-builds Talmiro for arm64 Linux (build/linux-arm64), and runs the
# whole test suite on that build, under qemu-user.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh arm64
cmake --preset linux-arm64
cmake --build --preset linux-arm64
ctest --preset linux-arm64
