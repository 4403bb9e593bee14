# Shared by the end-to-end scripts: a private X server, the real game in it, keys the game can
# see, and looks at the screen. Sourced with the game binary and its run folder as $1 and $2.
# Nothing here passes for want of a look: a missing or failing tool, an unreadable screenshot or
# an empty measure is a fault, and any fault fails the script whatever its checks said.
set -u
GAME=$(readlink -f "$1") RUN=$(readlink -f "$2")
for t in Xvfb xdotool import convert compare; do command -v $t >/dev/null || { echo "FAIL: no $t"; exit 1; }; done
WORK=$(mktemp -d) XVFB_PID='' XVFB_PIDS='' GAME_PID='' WIN='' PASS=0 FAIL=0
# The orders' colours: orange for red, light blue for blue.
RED_MARK='r == 255 && g >= 127 && g <= 159 && b < 64' BLUE_MARK='b == 255 && g >= 127 && g <= 159 && r < 64'
fault() { echo "FAULT: $*" | tee -a "$WORK/faults" >&2; return 1; }
convert() { command convert "$@" || fault "convert $*"; }
import() { command import "$@" || fault "import $*"; }
xdotool() { command xdotool "$@" || fault "xdotool $*"; }
compare() { command compare "$@"; local s=$?; [ $s -le 1 ] || fault "compare $*"; return $s; }

stop_game() {
    [ -n "$GAME_PID" ] || return 0
    # Allegro's message box is a child of the game and outlives it.
    for child in $(ps -o pid= --ppid "$GAME_PID"); do kill "$child" 2>/dev/null; done
    kill "$GAME_PID" 2>/dev/null; wait "$GAME_PID" 2>/dev/null; GAME_PID=''
}
cleanup() { stop_game; for p in $XVFB_PIDS; do kill "$p" 2>/dev/null; done; rm -rf "$WORK"; }
trap cleanup EXIT
# The player's own settings and kept matches are not the tests' to read or fill.
export XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
trap 'exit 1' INT TERM HUP

# start_xvfb: one more private X server, of XVFB_SCREEN's size; sets XVFB_PID and NEW_DISPLAY.
# Xvfb picks a free display itself and names it once it accepts clients.
XVFB_SCREEN=${XVFB_SCREEN:-640x480x24}
start_xvfb() {
    local dfd file
    file=$(mktemp "$WORK/display.XXXX")
    exec {dfd}>"$file"
    Xvfb -displayfd "$dfd" -screen 0 "$XVFB_SCREEN" -nolisten tcp >"$file.log" 2>&1 &
    XVFB_PID=$! XVFB_PIDS="$XVFB_PIDS $!"
    exec {dfd}>&-
    for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.1; done
    [ -s "$file" ] || { echo "FAIL: Xvfb did not start"; cat "$file.log"; exit 1; }
    NEW_DISPLAY=:$(head -1 "$file")
}
start_xvfb; export DISPLAY=$NEW_DISPLAY

# start_game [DIR [OPTION...]]: runs the game in DIR (default the run folder), with the options.
# A copy of the run folder brings its own executable, which is run instead: the game looks for
# its pictures beside itself too, and must find only the copy's.
start_game() {
    local dir=${1:-$RUN} exe=$GAME
    [ -x "$dir/glowfront" ] && exe=$dir/glowfront
    (cd "$dir" && exec "$exe" "${@:2}") >"$WORK/game.out" 2>&1 & GAME_PID=$!
}
# find_window: waits up to 15 s for the game's window and gives it the keyboard.
find_window() {
    WIN=$(timeout 15 xdotool search --sync --name '^glowfront$' | head -1)
    [ -n "$WIN" ] && xdotool windowfocus --sync "$WIN"
}
# wait_title FILE: the window shows before the keyboard is installed and the tiles are built;
# keys count only once the title picture is on screen. Leaves that screen in FILE.
wait_title() {
    for _ in $(seq 30); do
        shot "$1"; [ "$(differ "$1" "$RUN/Data/Title.bmp" 0 0 640 140)" = 0 ] && return 0; sleep 0.5
    done
    return 1
}
# press KEY...: the game looks at its key state once per pass, so a quick tap can fall between
# two looks; each key is held for a moment and the game is given time to act on it.
press() { for k in "$@"; do xdotool keydown "$k"; sleep 0.15; xdotool keyup "$k"; sleep 0.3; done; }
# cursor_at FILE X Y EXPR: the tile's whole top and left edges are in the cursor's colour; status 2
# when the picture cannot be measured, which says neither yes nor no. The cursors flicker through
# (255, v, v) and (v, v, 255).
RED_CURSOR='r == 255 && g == b' BLUE_CURSOR='b == 255 && r == g'
cursor_at() {
    local top left
    top=$(count "$1" $(($2 * 32)) $(($3 * 32)) 32 1 "$4") &&
        left=$(count "$1" $(($2 * 32)) $(($3 * 32)) 1 32 "$4") || return 2
    [ "$top" -eq 32 ] && [ "$left" -eq 32 ]
}
# choose_exit: from anywhere in the title menu, which does not wrap, to Exit, the last entry.
choose_exit() { press Down Down Down Down Down Down Return; }
# shot FILE: the screen, and a fault unless a picture of the whole screen can be read back from FILE.
shot() {
    rm -f "$1"; import -window root "$1"
    [ "$(command convert "$1" -format %wx%h info: 2>/dev/null)" = "${XVFB_SCREEN%x*}" ] ||
        fault "no screenshot in $1"
}
# keep NAME [SECONDS]: with GLOWFRONT_DOCS set, the screen after SECONDS is the picture NAME there.
keep() { [ -z "${GLOWFRONT_DOCS:-}" ] || { sleep "${2:-0}"; shot "$GLOWFRONT_DOCS/$1"; }; }
# measure WHAT PATTERN COMMAND...: the command's output if it matches the pattern; else a fault
# and nothing, so that no missing measure passes for a number.
measure() { local out; out=$("${@:3}") && [[ $out =~ $2 ]] && echo "$out" || fault "$1: '$out'"; }
# avg FILE X Y W H: mean colour of a rectangle as "r g b", 0..255.
avg() {
    measure "mean of $1" '^[0-9]+ [0-9]+ [0-9]+$' convert "$1" -crop "$4x$5+$2+$3" +repage \
        -scale '1x1!' -format '%[fx:round(255*r)] %[fx:round(255*g)] %[fx:round(255*b)]' info:
}
# count FILE X Y W H EXPR: pixels of a rectangle for which the awk EXPR on r, g, b (0..255) holds.
count() { measure "count in $1" '^[0-9]+$' pixels "$@"; }
pixels() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 rgb:- | od -An -v -tu1 -w3 |
        awk "{ r = \$1; g = \$2; b = \$3 } ($6) { n++ } END { if (NR) print n + 0 }"
}
# differ A B X Y W H: pixels of a rectangle that are not the same in the two pictures.
differ() { measure "difference of $1 and $2" '^[0-9]+$' differing "$@"; }
differing() {
    compare -metric AE "$1[$5x$6+$3+$4]" "$2[$5x$6+$3+$4]" null: 2>&1 |
        awk '$1 ~ /^[0-9][0-9.e+]*$/ { printf "%d", $1 }'
}
# says FILE TEXT: the message box's only white is one line of TEXT's length (8 pixels a letter),
# centred: white in its first and last letters, none outside it.
says() {
    local w='r == 255 && g == 255 && b == 255' x=$((320 - ${#2} * 4)) n=$((${#2} * 8))
    [ "$(count "$1" $x 220 8 8 "$w")" -gt 0 ] && [ "$(count "$1" $((x + n - 8)) 220 8 8 "$w")" -gt 0 ] &&
        [ "$(count "$1" $x 220 $n 8 "$w")" = "$(count "$1" 41 201 558 68 "$w")" ]
}
# wait_exit SECONDS: sets STATUS to the game's exit status, or to 124 if it still runs by then.
wait_exit() {
    local tenths=$(($1 * 10))
    while kill -0 "$GAME_PID" 2>/dev/null && [ $tenths -gt 0 ]; do sleep 0.1; tenths=$((tenths - 1)); done
    if kill -0 "$GAME_PID" 2>/dev/null; then STATUS=124; stop_game; return; fi
    wait "$GAME_PID"; STATUS=$?; GAME_PID=''
}
# check WHAT COMMAND...: one verdict, kept for the summary.
check() {
    local what=$1; shift
    if "$@"; then PASS=$((PASS + 1)); echo "ok   $what"; else FAIL=$((FAIL + 1)); echo "FAIL $what"; return 1; fi
}
# finish: the summary; every fault counts as a failed check.
finish() {
    FAIL=$((FAIL + $(cat "$WORK/faults" 2>/dev/null | wc -l)))
    echo "$PASS passed, $FAIL failed"; [ "$FAIL" -eq 0 ] && [ "$PASS" -gt 0 ]
}
