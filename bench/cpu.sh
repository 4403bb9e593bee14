#!/usr/bin/env bash
# The game's processor use as a player meets it, against yardsticks measured over the same
# seconds: the real game in a 1280 x 960 window (scale 2, as on a 1920 x 1080 desktop), and
# beside it on one wide virtual screen two presentprobe windows of the same size:
#   probe  a still picture stretched whole to the window every frame at the game's pace, with the
#          library alone, as the game once showed every frame;
#   idle   a window that shows nothing but keeps the keyboard, the mouse and the timer as the
#          game does: what the library's own threads cost, the least the game can use.
# Each of the game's shares is printed beside the probe's and as their ratio, which carries from
# one machine to another, and from a quiet moment to a busy one, where bare percentages do not.
#
#   cpu.sh GLOWFRONT RUN_DIR READFPS PROBE [--seconds N] [--replay FILE]
#
# Paced (the default): the title; a match against the computer from 10 s in; with --replay, a
# recorded match from 2 s in (a busy one, started from a saved position, should be given: it
# must last the measure). Then the game alone and unpaced (FrameCap = 0), with the frame rate F2
# shows.
set -euo pipefail
GAME=$(readlink -f "$1") RUN=$(readlink -f "$2") READFPS=$(readlink -f "$3") PROBE=$(readlink -f "$4")
shift 4
SECONDS_EACH=10 REPLAY=''
while [ $# -gt 0 ]; do
    case $1 in
    --seconds) SECONDS_EACH=$2; shift 2 ;;
    --replay) REPLAY=$(readlink -f "$2"); shift 2 ;;
    *) echo "cpu.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
SCALE=2
WORK=$(mktemp -d) XVFB_PID='' PID='' PROBE_PID='' IDLE_PID=''
cleanup() {
    for p in $PID $PROBE_PID $IDLE_PID; do kill -9 "$p" 2>/dev/null; done
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
# Three windows side by side, none covering another.
exec {dfd}>"$WORK/display"
Xvfb -displayfd "$dfd" -screen 0 3840x1080x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
exec {dfd}>&-
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$WORK/display")

press() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep 0.3; }
# Processor seconds (user + system) a process has used so far, in clock ticks.
used() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
HZ=$(getconf CLK_TCK)
# share TICKS: that many clock ticks over SECONDS_EACH seconds, in percent of one core.
share() { awk -v t="$1" -v hz="$HZ" -v s="$SECONDS_EACH" 'BEGIN { printf "%.1f", t / hz / s * 100 }'; }
# measure GAME PROBE IDLE: the shares the three processes take over the same SECONDS_EACH
# seconds, into the variables of those names.
measure() {
    local g p i
    g=$(used "$PID") p=$(used "$PROBE_PID") i=$(used "$IDLE_PID")
    sleep "$SECONDS_EACH"
    printf -v "$1" '%s' "$(share $(($(used "$PID") - g)))"
    printf -v "$2" '%s' "$(share $(($(used "$PROBE_PID") - p)))"
    printf -v "$3" '%s' "$(share $(($(used "$IDLE_PID") - i)))"
}
ratio() { awk -v g="$1" -v p="$2" 'BEGIN { printf "%.2f", (p > 0 ? g / p : 0) }'; }
report() {
    printf '%-12s %5s%%   probe %5s%%  %s of it   idle %5s%%  %s of it\n' \
        "$1" "$2" "$3" "$(ratio "$2" "$3")" "$4" "$(ratio "$4" "$3")"
}
fps() {
    xdotool keydown F2; sleep 1.5
    import -window root -crop 200x40+0+0 +repage "$WORK/fps.png"; xdotool keyup F2
    convert "$WORK/fps.png" BMP3:"$WORK/fps.bmp"
    "$READFPS" "$WORK/fps.bmp" "$SCALE" || echo "?"
}
# end PID...: ends the processes. The library's handler of SIGTERM can deadlock when the signal
# lands inside an X call, waiting for the lock its own thread holds: one still there after 3 s
# is killed outright.
end() {
    kill "$@" 2>/dev/null || true
    for _ in $(seq 30); do kill -0 "$@" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$@" 2>/dev/null || true
    wait "$@" 2>/dev/null || true
}
stop() { end "$PID"; PID=''; }

# window NAME X: waits for the window of that name and moves it to (X, 0).
window() {
    local win; win=$(timeout 15 xdotool search --sync --name "^$1\$" | head -1)
    xdotool windowmove --sync "$win" "$2" 0
}
# start LABEL [FRAMECAP [OPTION...]]: the game in a run folder of its own, at scale 2; sets PID.
start() {
    local dir=$WORK/$1
    mkdir -p "$dir" && cp -r "$RUN/Data" "$RUN/MaxUnits.cfg" "$dir/"
    printf '[Display]\nScale = %s\n' "$SCALE" >"$dir/glowfront.cfg"
    [ -n "${2:-}" ] && printf 'FrameCap = %s\n' "$2" >>"$dir/glowfront.cfg"
    (cd "$dir" && exec "$GAME" "${@:3}") >/dev/null 2>&1 &
    PID=$!
    local win; win=$(timeout 15 xdotool search --sync --name '^glowfront$' | head -1)
    xdotool windowmove --sync "$win" 0 0
    xdotool windowfocus --sync "$win"
}

"$PROBE" "$SCALE" "$RUN/Data/Title.bmp" >/dev/null 2>&1 &
PROBE_PID=$!
window presentprobe 1280
"$PROBE" "$SCALE" --idle >/dev/null 2>&1 &
IDLE_PID=$!
window 'presentprobe idle' 2560

echo "Processor use of one core by each process over the same ${SECONDS_EACH} s, windows of 1280 x 960:"
start paced; sleep 2
measure game probe idle; report title "$game" "$probe" "$idle"
press Return; sleep 10
measure game probe idle; report 'early match' "$game" "$probe" "$idle"
stop
if [ -n "$REPLAY" ]; then
    start busy '' --replay "$REPLAY"; sleep 2
    measure game probe idle; report 'busy match' "$game" "$probe" "$idle"
    stop
else
    echo "busy match   skipped: no recording given (cpu.sh ... --replay FILE)"
fi
end "$PROBE_PID" "$IDLE_PID"
PROBE_PID='' IDLE_PID=''

start unpaced 0; sleep 2
before=$(used "$PID"); sleep "$SECONDS_EACH"; title=$(share $(($(used "$PID") - before)))
press Return; sleep 2
before=$(used "$PID"); sleep "$SECONDS_EACH"; match=$(share $(($(used "$PID") - before)))
printf 'unpaced, alone: title %s%%  match %s%%  F2 %s frames a second\n' "$title" "$match" "$(fps)"
stop
