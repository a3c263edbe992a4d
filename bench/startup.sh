#!/usr/bin/env bash
# Start-up time (launch until the window is mapped and painted) and peak resident memory of
# Talmiro against a minimal window of the same toolkit, interleaved run by run on a private
# Xvfb display, reported as medians and ratios.
#   bench/startup.sh [RUNS]            the Qt program against a minimal Qt Widgets window
#   bench/startup.sh windows [RUNS]    Talmiro.exe against a minimal Win32 window, under Wine
set -euo pipefail
cd "$(dirname "$0")/.."

target=linux
if [ "${1:-}" = windows ]; then
    target=windows
    shift
fi
runs=${1:-30}

scripts/setup.sh package
cmake --preset release >/dev/null
cmake --build --preset release --target talmiro minimal_window launch_probe
probe=build/release/bench/launch_probe

display=:85
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
    kill "$xvfb_pid" 2>/dev/null || true
    [ "$target" = windows ] && wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1

if [ "$target" = linux ]; then
    programs=("Talmiro build/release/app/talmiro" "Minimal build/release/bench/minimal_window")
else
    scripts/setup.sh windows
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target talmiro minimal_win32
    # A prefix of its own that draws on the X display, unlike the test prefix.
    export WINEPREFIX="$PWD/build/windows/wineprefix-x11" WINEDEBUG=-all
    scripts/wine-prefix.sh
    programs=("Talmiro wine build/windows/app/Talmiro.exe"
              "Minimal wine build/windows/bench/minimal_win32.exe")
fi

results=$(mktemp)
sample=$(mktemp)
for ((run = 1; run <= runs; ++run)); do
    for program in "${programs[@]}"; do
        read -r title command <<<"$program"
        # Into a file, not a pipe: a wineserver started on the way would hold a pipe open.
        $probe "$title" $command >"$sample" 2>/dev/null
        read -r ms peak resident private <"$sample"
        echo "$title $ms $peak $resident $private" >>"$results"
    done
done
rm -f "$sample"

rows=("" "")
median() {  # title column
    awk -v t="$1" -v c="$2" '$1 == t {print $c}' "$results" | sort -n |
        awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
echo "$target, $runs runs each, medians (memory in KiB; private is the process's own, the rest
of resident memory is shared library and font pages):"
printf '  %-8s %12s %14s %14s %14s\n' "" "start-up ms" "peak resident" "resident" "private"
ratios=()
for column in 2 3 4 5; do
    talmiro=$(median Talmiro $column)
    minimal=$(median Minimal $column)
    rows[0]+=" $talmiro"
    rows[1]+=" $minimal"
    ratios+=("$(awk -v a="$talmiro" -v b="$minimal" 'BEGIN {printf "%.2fx", a / b}')")
done
printf '  %-8s %12s %14s %14s %14s\n' Talmiro ${rows[0]}
printf '  %-8s %12s %14s %14s %14s\n' Minimal ${rows[1]}
printf '  %-8s %12s %14s %14s %14s\n' ratio "${ratios[@]}"
rm -f "$results"
