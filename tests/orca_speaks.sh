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
# by line, to be read as Orca speaks, end a braille flash within the step that caused it, and
# echo no keys, which Orca's own settings decide and Orca 48 logs as it logs all it says.
log=$work/orca.log
mkdir -p "$HOME/.local/share/orca"
cat >"$HOME/.local/share/orca/orca-customizations.py" <<'PYTHON'
import orca.debug, orca.settings
orca.debug.debugFile.reconfigure(line_buffering=True)
orca.settings.brailleFlashTime = 300
orca.settings.enableKeyEcho = False
PYTHON
orca --debug-file="$log" >"$work/orca.out" 2>&1 &
started+=($!)

# All that Orca presented, in order, a line each: "speech: …" for each utterance and "braille: …"
# for each braille line that differs from the one before.
presented() {
    sed -n -e "s/^.* - SPEECH OUTPUT: '\(.*\)' \?[[{].*$/speech: \1/p" \
        -e "s/^.* - BRAILLE LINE:  '\(.*\)'$/braille: \1/p" "$log" |
        awk '!/^braille: / || $0 != last {print} /^braille: / {last = $0}'
}
checked=0  # lines of presented already compared
# Does what the arguments say (xdotool's words), waits until Orca has been silent for 1.5 s,
# and compares everything it presented since the step before with standard input, line by line.
# While typing, the braille line follows the box at Orca's own pace: "step --speech" compares the
# speech alone.
step() {
    local only=. what count quiet=0
    if [ "$1" = --speech ]; then
        only='^speech: '
        shift
    fi
    what=$1
    shift
    [ $# -eq 0 ] || xdotool "$@"
    count=$(presented | wc -l)
    for _ in $(seq 300); do
        sleep 0.1
        if [ "$(presented | wc -l)" -eq "$count" ] && [ "$count" -gt "$checked" ]; then
            quiet=$((quiet + 1))
            [ "$quiet" -lt 15 ] || break
        else
            quiet=0
            count=$(presented | wc -l)
        fi
    done
    if ! diff -u --label expected - --label "Orca, on $what" \
        <(presented | tail -n +$((checked + 1)) | grep -e "$only") >"$work/diff"; then
        echo "Orca did not present exactly what a pupil should perceive on $what:" >&2
        cat "$work/diff" >&2
        exit 1
    fi
    checked=$count
}
# Orca 43 ends its start with the first line, Orca 48 with the second.
wait_for grep -q -e "ORCA: Startup complete" -e "ORCA: Starting Atspi main event loop" "$log"
step "its start" <<'SAID'
speech: Screen reader on.
braille: Screen reader on.
SAID
# On a desktop, its accessibility setting tells Qt that a screen reader runs; here, this does.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$work/talmiro.log" 2>&1 &
started+=($!)

# Orca's own words (roles, states) are in the locale's language: English here. Debian 12's Orca 43
# and Debian 13's Orca 48 word and lay out some things differently; with Debian 13's Qt 6.8,
# Talmiro announces each answer through Qt, which Orca 48 presents as a plain message.
if [ "$(orca --version | sed -n 's/^\(Orca version \)\?\([0-9]*\).*/\2/p')" -ge 48 ]; then
    lead='' push_button=button description=' 输入化学式或名称后按回车键查询'
    typed_over='Text unselected.'
    answered() { printf '%s\n' "speech: $1" "braille: $1"; }
else
    lead=' ' push_button='push button' description=''
    typed_over='Selection deleted.'
    answered() {  # ending a sentence, unless it ends with its own mark
        local said=$1.
        [[ $1 != *[.!] ]] || said=$1
        printf '%s\n' "speech: notification." "speech: $said" "braille: $1"
    }
fi
# What it presents as the focus comes to a button, or to the input box with its text ($1) all
# selected:
button() {
    printf '%s\n' "braille: $lead$1 $push_button" "speech: $1 $push_button."
}
input_braille() {
    echo "braille: ${lead}化学式或名称 $1 \$l$description"
}
input_box() {
    input_braille "$1"
    printf '%s\n' "speech: 化学式或名称 text." "speech: $1 selected." "speech: 输入化学式或名称后按回车键查询."
}
# Back into the input box by the keyboard, which selects its text ($1), and typing $2 over it.
retype() {
    step "Shift+Tab to the help button" key shift+Tab < <(button 帮助)
    step "Tab back to the input box" key Tab < <(input_box "$1")
    step --speech "typing $2 over it" type "$2" <<<"speech: $typed_over"
}
prompt=在此输入你要查询的化学式或化学式名称
step "the window opening" < <(printf '%s\n' "braille: ${lead}Talmiro" "speech: Talmiro."; input_box $prompt)
step --speech "typing Fe3O4 over the prompt" type Fe3O4 <<<"speech: $typed_over"
step "Enter in the input box" key Return < <(answered 四氧化三铁; input_braille Fe3O4)
retype Fe3O4 Fe3O5
step "Enter on a formula not in the catalogue" key Return < <(answered 未找到记录!请与作者联系!
                                                             input_braille Fe3O5)
retype Fe3O5 NaCl
step "Tab to the lookup button" key Tab < <(button 查询)
step "Tab to the result box" key Tab <<SAID
braille: ${lead}查询结果 未找到记录!请与作者联系! \$l
speech: 查询结果 text.
speech: 未找到记录!请与作者联系! selected.
SAID
# Orca 43 speaks the text that replaces the selection in the box with the focus, and is not told
# the answer again; Orca 48 is, and shows it on the braille line for a moment.
result_box="braille: ${lead}查询结果 氯化钠(食盐) \$l"
if [ -n "$description" ]; then
    step "Enter in the result box" key Return < <(echo "$result_box"; answered "氯化钠(食盐)"
                                                  echo "$result_box")
else
    step "Enter in the result box" key Return < <(printf '%s\n' "speech: Text unselected." \
                                                  "$result_box" "speech: 氯化钠(食盐)")
fi
step "Shift+Tab to the lookup button" key shift+Tab < <(button 查询)
step "Shift+Tab to the input box" key shift+Tab < <(input_box NaCl)
step "Shift+Tab to the help button" key shift+Tab < <(button 帮助)
# Orca 43 puts the application's name before the box on the braille line, and says the window's
# name again when the focus goes back to it.
help=$(printf '%s\n' "speech: alert 帮助." "speech: 帮助  软件名: Talmiro  制作者: 林晓明 (小林)  在第一个输入框内输入你要查询的化学式（如Fe3O4，则下面出现的是四氧化三铁)，或在第一个方框内输入化学式名称，则在第二个框内出现的就是化学式。由于本软件制作的时间关系，有一些地方可能有纰漏，希望大家踊跃的给我提出意见，请联系我的QQ284517936 注意：1、化学式和化学方程式是不一样的，本软件暂时只能查询九年级常见的化学式。2、2.0版本修正了1.0版本的一些错误并且加入了一些化学式。")
if [ -n "$description" ]; then
    step "Space on the help button" key space < <(echo "braille: 帮助 alert"; echo "$help"
                                                  button 确定)
    step --speech "Enter on the help box" key Return <<<"speech: 帮助 button."
else
    step "Space on the help button" key space < <(echo "braille: Talmiro application 帮助 alert"
        echo "$help"; printf '%s\n' "braille: Talmiro application 帮助 alert 确定 push button" \
        "speech: 确定 push button.")
    # Where the focus goes back, Orca's braille line may show the window's last box first, or not.
    step --speech "Enter on the help box" key Return < <(printf '%s\n' "speech: Talmiro." \
                                                         "speech: 帮助 push button.")
fi
echo "Orca presented:"
presented
