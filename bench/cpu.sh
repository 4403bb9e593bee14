#!/usr/bin/env bash
# The game's processor use as a player meets it, against a yardstick taken in the same run: the
# real game on a 1920 x 1080 virtual screen, and presentprobe, which stretches one still picture
# whole to a window of the game's size every frame at the game's pace with the library alone.
# Each of the game's shares is printed beside the probe's and as their ratio, which carries
# from one machine to another where the bare percentages do not.
#
#   cpu.sh GLOWFRONT RUN_DIR READFPS PROBE [--seconds N] [--replay FILE]
#
# Paced (the default): the title; a match against the computer from 10 s in; with --replay, a
# recorded match from 2 s in (a busy one, started from a saved position, should be given: it
# must last the measure). Then the same game unpaced (FrameCap = 0), with the frame rate F2 shows.
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
WORK=$(mktemp -d) XVFB_PID='' PID=''
cleanup() {
    [ -n "$PID" ] && kill "$PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
exec {dfd}>"$WORK/display"
Xvfb -displayfd "$dfd" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
exec {dfd}>&-
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$WORK/display")

press() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep 0.3; }
# Processor seconds (user + system) the process has used so far, in clock ticks.
used() { awk '{ print $14 + $15 }' "/proc/$PID/stat"; }
# percent SECONDS: the process's share of one core over that many seconds.
percent() {
    local before after hz
    hz=$(getconf CLK_TCK); before=$(used); sleep "$1"; after=$(used)
    awk -v b="$before" -v a="$after" -v s="$1" -v hz="$hz" 'BEGIN { printf "%.1f", (a - b) / hz / s * 100 }'
}
fps() {
    xdotool keydown F2; sleep 1.5
    import -window root -crop 200x40+0+0 +repage "$WORK/fps.png"; xdotool keyup F2
    convert "$WORK/fps.png" BMP3:"$WORK/fps.bmp"
    "$READFPS" "$WORK/fps.bmp" "$1" || echo "?"
}
stop() { kill "$PID"; wait "$PID" 2>/dev/null || true; PID=''; }
ratio() { awk -v g="$1" -v p="$2" 'BEGIN { printf "%.2f", (p > 0 ? g / p : 0) }'; }

# start LABEL [FRAMECAP [OPTION...]]: the game in a run folder of its own; sets PID, WIN, SCALE.
start() {
    local dir=$WORK/$1
    mkdir -p "$dir" && cp -r "$RUN/Data" "$RUN/MaxUnits.cfg" "$dir/"
    [ -n "${2:-}" ] && printf '[Display]\nFrameCap = %s\n' "$2" >"$dir/glowfront.cfg"
    (cd "$dir" && exec "$GAME" "${@:3}") >/dev/null 2>&1 &
    PID=$!
    WIN=$(timeout 15 xdotool search --sync --name '^glowfront$' | head -1)
    xdotool windowfocus --sync "$WIN"
    SCALE=$(($(xdotool getwindowgeometry "$WIN" | awk '/Geometry/ { split($2, g, "x"); print g[1] }') / 640))
}
# probe SCALE VARIABLE: the yardstick's share at that scale, on the same screen.
probe() {
    "$PROBE" "$1" "$RUN/Data/Title.bmp" >/dev/null 2>&1 &
    PID=$!
    sleep 2
    printf -v "$2" '%s' "$(percent "$SECONDS_EACH")"
    stop
}

echo "Processor use of one core, each process alone, ${SECONDS_EACH} s each:"
start paced; sleep 2
title=$(percent "$SECONDS_EACH")
press Return; sleep 10
match=$(percent "$SECONDS_EACH")
stop
# The probe twice, apart, so that a change in the machine's load shows.
probe "$SCALE" probe1
if [ -n "$REPLAY" ]; then
    start busy '' --replay "$REPLAY"; sleep 2
    busy=$(percent "$SECONDS_EACH")
    stop
fi
probe "$SCALE" probe2
yard=$(awk -v a="$probe1" -v b="$probe2" 'BEGIN { printf "%.1f", (a + b) / 2 }')
printf 'probe        window x%d  %5s%%  (%s%% and %s%%: a still picture stretched whole, paced)\n' \
    "$SCALE" "$yard" "$probe1" "$probe2"
printf 'title        window x%d  %5s%%  %s of the probe\n' "$SCALE" "$title" "$(ratio "$title" "$yard")"
printf 'early match  window x%d  %5s%%  %s of the probe\n' "$SCALE" "$match" "$(ratio "$match" "$yard")"
if [ -n "$REPLAY" ]; then
    printf 'busy match   window x%d  %5s%%  %s of the probe\n' "$SCALE" "$busy" "$(ratio "$busy" "$yard")"
else
    echo "busy match   skipped: no recording given (cpu.sh ... --replay FILE)"
fi

start unpaced 0; sleep 2
title=$(percent "$SECONDS_EACH")
press Return; sleep 2
match=$(percent "$SECONDS_EACH")
printf 'unpaced      window x%d  title %5s%%  match %5s%%  F2 %s frames a second\n' \
    "$SCALE" "$title" "$match" "$(fps "$SCALE")"
stop
