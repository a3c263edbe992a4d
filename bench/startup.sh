#!/usr/bin/env bash
# Start-up time (launch until the window is mapped and painted) and peak resident memory of
# Talmiro against yardstick windows of the same toolkit, launched in turn run by run on a private
# Xvfb display. Reports each program's medians, and Talmiro's ratio to each yardstick as the
# median of the runs' ratios, so that a drift of the machine during the run cancels out.
#   bench/startup.sh [RUNS]            the Qt program against a minimal Qt Widgets window, and
#                                      against the same controls, texts and faces in plain widgets
#   bench/startup.sh windows [RUNS]    Talmiro.exe against a minimal Win32 window with the same
#                                      manifest, under Wine
#   bench/startup.sh windows-x86 [RUNS]  the same for the 32-bit build, under 32-bit Wine
set -euo pipefail
cd "$(dirname "$0")/.."

target=linux
if [ "${1:-}" = windows ] || [ "${1:-}" = windows-x86 ]; then
    target=$1
    shift
fi
runs=${1:-30}

scripts/setup.sh package
cmake --preset release >/dev/null
cmake --build --preset release --target talmiro minimal_window same_faces_window launch_probe
probe=build/release/bench/launch_probe

display=:85
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
    kill "$xvfb_pid" 2>/dev/null || true
    [ "$target" != linux ] && wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1

if [ "$target" = linux ]; then
    programs=("Talmiro build/release/app/talmiro" "Minimal build/release/bench/minimal_window"
              "SameFaces build/release/bench/same_faces_window")
else
    scripts/setup.sh windows
    cmake --preset "$target" >/dev/null
    cmake --build --preset "$target" --target talmiro minimal_win32
    # A prefix of its own that draws on the X display, unlike the test prefix, with the loader
    # of the build's width.
    export WINEPREFIX="$PWD/build/$target/wineprefix-x11" WINEDEBUG=-all
    if [ "$target" = windows ]; then
        export TALMIRO_WINE=/usr/lib/wine/wine64
    else
        export TALMIRO_WINE=/usr/lib/wine/wine WINEARCH=win32
    fi
    scripts/wine-prefix.sh
    programs=("Talmiro $TALMIRO_WINE build/$target/app/Talmiro.exe"
              "Minimal $TALMIRO_WINE build/$target/bench/minimal_win32.exe")
fi

results=$(mktemp)
sample=$(mktemp)
for ((run = 1; run <= runs; ++run)); do
    for program in "${programs[@]}"; do
        read -r title command <<<"$program"
        # Into a file, not a pipe: a wineserver started on the way would hold a pipe open.
        $probe "$title" $command >"$sample" 2>/dev/null
        read -r ms peak resident private <"$sample"
        echo "$run $title $ms $peak $resident $private" >>"$results"
    done
done
rm -f "$sample"

median() {  # of the numbers on standard input
    sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
column() {  # title column: that program's figure in each run
    awk -v t="$1" -v c="$2" '$2 == t {print $c}' "$results"
}
ratios() {  # title column: Talmiro's figure over the title's, run by run
    awk -v t="$1" -v c="$2" '$2 == "Talmiro" {mine[$1] = $c} $2 == t {theirs[$1] = $c}
        END {for (run in mine) if (run in theirs) printf "%.4f\n", mine[run] / theirs[run]}' "$results"
}
echo "$target, $runs runs each, medians (memory in KiB; private is the process's own, the rest
of resident memory is shared library and font pages):"
format='  %-20s %12s %14s %14s %14s\n'
printf "$format" "" "start-up ms" "peak resident" "resident" "private"
for program in "${programs[@]}"; do
    read -r title _ <<<"$program"
    printf "$format" "$title" $(for c in 3 4 5 6; do column "$title" $c | median; done)
done
for program in "${programs[@]:1}"; do
    read -r title _ <<<"$program"
    printf "$format" "ratio to $title" \
        $(for c in 3 4 5 6; do ratios "$title" $c | median | awk '{printf "%.3fx\n", $1}'; done)
done
rm -f "$results"
