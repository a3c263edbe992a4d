#!/usr/bin/env bash
# Sets up what is missing, builds Talmiro and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target talmiro
exec build/dev/app/talmiro
