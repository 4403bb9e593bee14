#!/usr/bin/env bash
# The game's processor use as a player meets it: the real game on a 1920 x 1080 virtual screen,
# at the title and in a match against the computer, paced (the default) and unpaced
# (FrameCap = 0), with the frame rate F2 shows. Usage: cpu.sh GLOWFRONT RUN_DIR READFPS [SECONDS]
set -euo pipefail
GAME=$(readlink -f "$1") RUN=$(readlink -f "$2") READFPS=$(readlink -f "$3") SECONDS_EACH=${4:-10}
WORK=$(mktemp -d) XVFB_PID='' GAME_PID=''
cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
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
# Processor seconds (user + system) the game has used so far, in clock ticks.
used() { awk '{ print $14 + $15 }' "/proc/$GAME_PID/stat"; }
# percent SECONDS: the game's share of one core over that many seconds.
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

measure() {
    local label=$1 cap=$2
    mkdir -p "$WORK/$label" && cp -r "$RUN/Data" "$RUN/MaxUnits.cfg" "$WORK/$label/"
    [ -n "$cap" ] && printf '[Display]\nFrameCap = %s\n' "$cap" >"$WORK/$label/glowfront.cfg"
    (cd "$WORK/$label" && exec "$GAME") >/dev/null 2>&1 &
    GAME_PID=$!
    local win; win=$(timeout 15 xdotool search --sync --name '^glowfront$' | head -1)
    xdotool windowfocus --sync "$win"; sleep 2
    local scale=$(( $(xdotool getwindowgeometry "$win" | awk '/Geometry/ { split($2, g, "x"); print g[1] }') / 640 ))
    local title; title=$(percent "$SECONDS_EACH")
    press Return; sleep 2
    local match; match=$(percent "$SECONDS_EACH")
    local rate; rate=$(fps "$scale")
    printf '%-8s window x%d  title %5s%%  match %5s%%  F2 %s frames a second\n' "$label" "$scale" "$title" "$match" "$rate"
    kill "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true; GAME_PID=''
}

echo "Processor use of one core, game process only, ${SECONDS_EACH} s each:"
measure paced ""
measure unpaced 0
