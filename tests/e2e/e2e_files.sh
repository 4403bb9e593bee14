# Hostile files where a player may put them, and a lost display, through the real game: a picture
# is refused with a message naming it, settings give way to the defaults, a lost display ends the
# game; never a crash or a freeze. Usage: e2e_files.sh GLOWFRONT RUN_DIR
. "$(dirname "$0")/xvfb_lib.sh"
S=$WORK
# le VALUE BYTES: VALUE as BYTES bytes, little-endian.
le() {
    local s='' i; for ((i = 0; i < $2; i++)); do s+=$(printf '\\x%02x' $((($1 >> 8 * i) & 255))); done; printf "$s"
}
# bmp_header W H BITS COMPRESSION DATA_BYTES: a Windows BMP header, pixels right after it.
bmp_header() {
    printf BM; le $((54 + $5)) 4; le 0 4; le 54 4; le 40 4; le $1 4; le $2 4; le 1 2; le $3 2; le $4 4; le $5 4; le 0 16
}

# refused CASE WHY: the game in folder CASE stops at start-up with the message box naming its
# Data/Title.bmp, the reason on stderr, and status 255 once the box is dismissed.
refused() {
    start_game $S/$1
    box=$(timeout 10 xdotool search --sync --class Xmessage | head -1)
    check "$1: a message box appears" [ -n "$box" ]
    check "$1: it names the picture" grep -q 'Data/Title.bmp' <<<"$(ps -o args= --ppid "$GAME_PID")"
    [ -n "$box" ] && xdotool windowfocus --sync "$box" && press Return
    wait_exit 10
    check "$1: status 255 (got $STATUS)" [ "$STATUS" = 255 ]
    check "$1: stderr says why" grep -qxF "Data/Title.bmp: $2" $S/game.out || cat $S/game.out
}
for c in huge rle fifo; do cp -r "$RUN" $S/$c && rm $S/$c/Data/Title.bmp; done
bmp_header 65536 65536 8 0 0 >$S/huge/Data/Title.bmp
{ bmp_header 640 480 8 1 5; printf '\xff\x01\xff\x02\xff'; } >$S/rle/Data/Title.bmp    # runs past the row, cut short
mkfifo $S/fifo/Data/Title.bmp
refused huge "65536 x 65536 pixels, more than 640 x 480"
refused rle "run-length encoded"
refused fifo "not a regular file"

# settings CASE: with the MaxUnits.cfg written to folder cfg, the title shows within 3 s of the
# start all the same, and stderr names the file.
cp -r "$RUN" $S/cfg
settings() {
    start_game $S/cfg
    local start=$(date +%s%N) shown=no
    while [ $(($(date +%s%N) - start)) -lt 3000000000 ]; do
        shot $S/cfg.png && [ "$(differ $S/cfg.png "$RUN/Data/Title.bmp" 0 0 640 140)" = 0 ] && shown=yes && break
        sleep 0.1
    done
    check "$1: the title within 3 s" [ $shown = yes ]
    check "$1: stderr names the file" grep -q 'MaxUnits.cfg' $S/game.out || cat $S/game.out
    stop_game
}
CFG=$S/cfg/MaxUnits.cfg
printf '\xfd\x80\x80\x80\x80\x80' >$CFG; settings "a six-byte UTF-8 sequence"
x=8 noise=''     # a seed whose noise once froze the library's reader
for ((i = 0; i < 20000; i++)); do
    x=$(((x * 1103515245 + 12345) & 0x7fffffff)); printf -v h '\\x%02x' $((x >> 16 & 255)); noise+=$h
done
printf "$noise" >$CFG; settings "20 KB of noise"
{ printf '[Limits]\nMaxUnits = 900'; printf '%100000s\n' ''; } >$CFG; settings "a value and 100,000 spaces"
printf '[Limits]\nMaxUnits =\n' >$CFG; settings "an empty value"

# A recording that cannot be written: said at once in one line naming the file, the match played
# on all the same, and status 1 at the end.
start_game "$RUN" --record /dev/full; find_window; wait_title $S/title.png; press Return; sleep 2
shot $S/full.png
check "with /dev/full the match is played" [ "$(count $S/full.png 32 32 96 96 'r == 255 && g < 64 && b < 64')" -gt 0 ]
press Escape; sleep 1; choose_exit; wait_exit 5
check "a recording that cannot be written ends with status 1 (got $STATUS)" [ "$STATUS" = 1 ]
check "and says so in one line" [ "$(grep -c /dev/full $S/game.out) $(grep -c "^glowfront: cannot write the recording /dev/full: No space left on device$" $S/game.out)" = "1 1" ] ||
    cat $S/game.out

# A recording of 1000 ticks (two players, no keys), each claiming a million frames drawn before it,
# with a fingerprint of zeros every 100th tick: the frames are skipped, not drawn, so --replay shows
# the match at once and Esc leaves it at once, and --verify finds the first fingerprint wrong.
{
    v=$("$GAME" --version | cut -d' ' -f2)
    printf 'GLOWREC\n'; le 1 2; le ${#v} 1; printf %s "$v"; le 1500 4; le 1 1; le 1 4; le 0 6
    for ((t = 1; t <= 1000; t++)); do
        if ((t % 100)); then printf '\x03\xc0\x84\x3d'; else printf '\x13\xc0\x84\x3d'; le 0 8; fi
    done
    printf '\xff'; le 1000 4; le 0 8
} >$S/million.rec
out=$(cd "$RUN" && timeout 10 "$GAME" --verify $S/million.rec 2>&1); STATUS=$?
check "--verify of a million frames a tick ends at once, differing (status $STATUS)" \
    [ "$STATUS" = 1 ] && [ "$out" = "replay differs at tick 100" ]
start_game "$RUN" --replay $S/million.rec; find_window; sleep 2; shot $S/replay.png
check "--replay shows the match" [ "$(count $S/replay.png 560 0 80 16 'r == 255 && g == 255 && b == 255')" -gt 20 ]
press Escape; wait_exit 2
check "and Esc leaves it at once, with status 0 (got $STATUS)" [ "$STATUS" = 0 ]

# The window's client killed in a match, then the whole X server at the title.
start_game; find_window; wait_title $S/title.png; press Return; xkill -id "$WIN" >/dev/null; wait_exit 5
check "a client killed in a match ends with status 1 (got $STATUS)" [ "$STATUS" = 1 ]
start_game; find_window; wait_title $S/title.png; kill $XVFB_PID; XVFB_PID=''; wait_exit 5
check "a lost X server ends the game within 5 s with status 1 (got $STATUS)" [ "$STATUS" = 1 ]
check "and says so" grep -qx 'The connection to the display was lost; the game ends.' $S/game.out
finish
