#!/usr/bin/env bash
# Runs a command as a Wayland client of its own headless Weston, which ends with it.
# Usage: with_weston.sh COMMAND [ARGS...]
set -euo pipefail
runtime=$(mktemp -d)
chmod 700 "$runtime"
cleanup() {
    kill "${weston_pid:-}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$runtime"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=talmiro-test QT_QPA_PLATFORM=wayland
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 \
    >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$runtime/$WAYLAND_DISPLAY" ] && break
    sleep 0.1
done
"$@"
