#!/usr/bin/env bash
# Redraws the reference pictures (tests/reference/) with the current code: the Qt window's at 96
# and 144 dpi, and the icons at each size. Lists the ones that changed. A changed picture is
# committed only with a message that says why the window or the icon now looks different.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target window_tests
TALMIRO_UPDATE_REFERENCES=1 ctest --preset dev -R 'AtTheScreensDpi|qt_window_at_144_dpi|Icon.IsDrawn'
git status --short tests/reference
