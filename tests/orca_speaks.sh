#!/usr/bin/env bash
# Drives Talmiro as a blind pupil would, with the keyboard, under Orca on a headless X display
# with a private D-Bus and home, and checks what Orca says: the SPEECH OUTPUT lines of its debug
# log, which Orca writes with no speech server. Exits 77 (skipped) where Orca already runs for
# this user, as a second one would not start.
# Usage: orca_speaks.sh PROGRAM
set -euo pipefail
program=$(realpath "$1")
if pgrep -x -u "$(id -u)" orca >/dev/null; then
    echo "Orca is already running for this user, and a second one would not start" >&2
    exit 77
fi
work=$(mktemp -d)
chmod 700 "$work"
started=()  # PIDs, in the order started
# A process and all it started in turn (the accessibility bus and its registry), parents first.
with_descendants() {
    local pid
    for pid in "$@"; do
        echo "$pid"
        with_descendants $(pgrep -P "$pid" || true)
    done
}
cleanup() {
    local pids
    pids=$(with_descendants "${started[@]}" | tac)
    [ -z "$pids" ] || kill $pids 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work/config LANG=C.UTF-8
export LC_ALL=C.UTF-8 LANGUAGE=
# Orca logs what it would say, so no speech server is needed: its autospawn is turned off.
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher"
echo DisableAutoSpawn >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"

# Each step waits up to 10 s for the one before to be ready.
wait_for() {
    for _ in $(seq 100); do
        "$@" >/dev/null 2>&1 && return
        sleep 0.1
    done
    echo "gave up waiting for: $*" >&2
    exit 1
}
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
started+=($!)
wait_for test -s "$work/display"
export DISPLAY=:$(head -1 "$work/display")
wait_for xdotool getdisplaygeometry
eval "$(dbus-launch --sh-syntax)"
started+=("$DBUS_SESSION_BUS_PID")
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/at-spi.log" 2>&1 &
started+=($!)
openbox --startup "touch $work/window-manager" >"$work/openbox.log" 2>&1 &
started+=($!)
wait_for test -e "$work/window-manager"
# Orca runs the user's customizations as it starts: here they have it write its debug log line
# by line, to be read as Orca speaks.
log=$work/orca.log
mkdir -p "$HOME/.local/share/orca"
echo 'import orca.debug; orca.debug.debugFile.reconfigure(line_buffering=True)' \
    >"$HOME/.local/share/orca/orca-customizations.py"
orca --debug-file="$log" >"$work/orca.out" 2>&1 &
started+=($!)

said=0  # SPEECH OUTPUT lines already checked
speech() { sed -n "s/^.* - SPEECH OUTPUT: \('.*'\){.*/\1/p" "$log"; }
# Waits up to 30 s for Orca to say a line matching the pattern, after what was checked before.
expect() {
    local what=$1 pattern=$2
    for _ in $(seq 300); do
        if speech | tail -n +$((said + 1)) | grep -q -- "$pattern"; then
            said=$(speech | grep -n -- "$pattern" | tail -1 | cut -d: -f1)
            return
        fi
        sleep 0.1
    done
    echo "Orca never said $what (looked for: $pattern). What it said:" >&2
    speech | tail -n +$((said + 1)) >&2
    exit 1
}
wait_for grep -q "ORCA: Startup complete" "$log"
# On a desktop, its accessibility setting tells Qt that a screen reader runs; here, this does.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$work/talmiro.log" 2>&1 &
started+=($!)

# Orca's own words (roles, states) are in the locale's language: English here.
prompt=在此输入你要查询的化学式或化学式名称
expect "the input box's name on opening" "^'化学式或名称 text\.'$"
expect "the prompt, the box's text" "^'$prompt selected\.'$"
expect "the hint" "^'输入化学式或名称后按回车键查询\.'$"
xdotool key ctrl+a type Fe3O4
xdotool key Return
expect "the answer after Enter" "^'notification 四氧化三铁\.'$"
# This lookup's answer shows that typing still reaches the input box: the focus stayed there.
xdotool key ctrl+a type Fe3O5
xdotool key Return
expect "the not-found message after Enter" "^'notification 未找到记录!请与作者联系!'$"
xdotool key ctrl+a type Fe3O4
xdotool key Return
expect "the answer again" "^'notification 四氧化三铁\.'$"
xdotool key Tab Tab
expect "the result box's name" "^'查询结果 text\.'$"
expect "the whole answer in the result box" "^'四氧化三铁 selected\.'$"
xdotool key shift+Tab shift+Tab
expect "the whole formula in the input box" "^'Fe3O4 selected\.'$"
xdotool key shift+Tab space
expect "the help box's text" "^'帮助  软件名: Talmiro .*2\.0版本修正了1\.0版本的一些错误并且加入了一些化学式。'$"
xdotool key Return

if [ "$(speech | grep -c -- "$prompt")" -ne 1 ]; then
    echo "Orca said the prompt more than once:" >&2
    speech | grep -- "$prompt" >&2
    exit 1
fi
echo "Orca said:"
speech
