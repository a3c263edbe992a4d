#!/usr/bin/env bash
# Starts Talmiro natively on Wayland, under a headless Weston, and reads from the protocol what
# it asks of the compositor: a window titled "Talmiro", with its app id, fixed at 455 x 301.
# Usage: on_wayland.sh PROGRAM APP_ID
set -euo pipefail
program=$1
app_id=$2
runtime=$(mktemp -d)
chmod 700 "$runtime"
cleanup() {
    kill "${program_pid:-}" "${weston_pid:-}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$runtime"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$runtime
weston --backend=headless-backend.so --socket=talmiro-test --idle-time=0 >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$runtime/talmiro-test" ] && break
    sleep 0.1
done
WAYLAND_DISPLAY=talmiro-test QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
    "$program" >"$runtime/client.log" 2>&1 &
program_pid=$!
for _ in $(seq 100); do  # until the first frame is committed
    grep -q 'wl_buffer' "$runtime/client.log" && grep -q -- '-> wl_surface[@#][0-9]*\.commit()' \
        "$runtime/client.log" && break
    sleep 0.1
done
kill "$program_pid" 2>/dev/null || true
for request in 'set_title("Talmiro")' "set_app_id(\"$app_id\")" 'set_min_size(455, 301)' \
               'set_max_size(455, 301)' 'wl_surface[@#][0-9]*\.commit()'; do
    if ! grep -q "xdg_toplevel[@#][0-9]*\.$request\|-> $request" "$runtime/client.log"; then
        echo "on Wayland, Talmiro never sent $request" >&2
        grep -E 'xdg_toplevel|qt.qpa' "$runtime/client.log" >&2 || tail -5 "$runtime/client.log" >&2
        exit 1
    fi
done
echo "on Wayland: a window titled Talmiro, app id $app_id, fixed at 455 x 301"
