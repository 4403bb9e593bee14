# Matches kept and watched again as a player meets them: a match from the menu leaves its
# recording; watching it, a paused replay moved ten seconds forward and back shows the same
# moment; a recording that differs says so; the end waits. Usage: e2e_replay.sh GLOWFRONT RUN_DIR
. "$(dirname "$0")/xvfb_lib.sh"
S=$WORK
KEPT=$XDG_DATA_HOME/glowfront/replays
# changed A B: pixels of the map that differ between two screenshots.
changed() { differ "$1" "$2" 0 0 640 448; }
# moved A B: pixels inside the tiles (their edges, where the cursors are, left out) that show a
# unit in one screenshot and none in the other. The orders' marks and the cursors flicker from
# frame to frame; the units stand still while the replay does.
moved() {
    measure "units moved between $1 and $2" '^[0-9]+$' bash -c "paste -d' ' \
        <(command convert '$1' -crop 640x448+0+0 +repage -depth 8 rgb:- | od -An -v -tu1 -w3) \
        <(command convert '$2' -crop 640x448+0+0 +repage -depth 8 rgb:- | od -An -v -tu1 -w3) |
        awk '{ i = NR - 1; x = i % 640 % 32; y = int(i / 640) % 32 }
             x == 0 || x == 31 || y == 0 || y == 31 { next }
             { a = (\$1 == 255 && \$2 < 64 && \$3 < 64) || (\$3 == 255 && \$1 < 64 && \$2 < 64)
               b = (\$4 == 255 && \$5 < 64 && \$6 < 64) || (\$6 == 255 && \$4 < 64 && \$5 < 64)
               n += a != b }
             END { print n + 0 }'"
}

start_game; find_window; wait_title $S/title.png
press Return; sleep 1; press d s y; sleep 20; press Escape; sleep 1; choose_exit; wait_exit 5
files=$(ls "$KEPT" 2>/dev/null)
check "a match from the menu leaves one recording ($files)" [ "$(ls "$KEPT" | grep -c '^[0-9_-]*\.rec$')" = 1 ]
check "and nothing half written" [ "$(ls "$KEPT" | grep -c part)" = 0 ]
REC=$KEPT/$(ls "$KEPT" | head -1)
out=$(cd "$RUN" && "$GAME" --verify "$REC" 2>&1)
check "which verifies ($out)" grep -q '^replay ok: [0-9]* ticks' <<<"$out"

# The menu lists it, newest first, and Enter on it watches it.
start_game; find_window; wait_title $S/title.png
press Down Down Down Down Down Return; sleep 1; shot $S/list.png
keep replays.png
check "Watch a replay lists the kept match" [ "$(count $S/list.png 32 90 576 16 'r == 60 && g == 50 && b == 30')" -gt 1000 ]
press Return; sleep 2; shot $S/watched.png
check "Enter watches it" [ "$(count $S/watched.png 560 0 80 16 'r == 255 && g == 255 && b == 255')" -gt 20 ]
press Escape; sleep 1; shot $S/list2.png
check "Esc goes back to the list" [ "$(differ $S/list.png $S/list2.png 0 0 640 480)" = 0 ]
press Escape; sleep 0.5; choose_exit; wait_exit 5

# Paused two seconds in; ten seconds forward, then back: the moment comes again. Only the
# flicker of the cursors and the orders differs between two frames of one moment.
start_game "$RUN" --replay "$REC"; find_window; sleep 2; press space; sleep 0.5
shot $S/a.png; sleep 0.3; shot $S/a2.png
press Right; sleep 0.5; shot $S/b.png
press Left; sleep 0.5; shot $S/c.png
check "paused, the replay stands" [ "$(moved $S/a.png $S/a2.png)" = 0 ]
check "ten seconds on, the armies have moved ($(moved $S/a.png $S/b.png) pixels)" \
    [ "$(moved $S/a.png $S/b.png)" -gt 100 ]
check "and back, the same moment" [ "$(moved $S/a.png $S/c.png)" = 0 ]
check "the timeline says where: back where it was" [ "$(differ $S/a.png $S/c.png 100 456 440 12)" = 0 ]
keep replay.png
# Faster, to the end, where it waits on its last frame.
press space Up Up Up; sleep 4; shot $S/end.png
check "at its end: 'end of replay'" [ "$(count $S/end.png 200 200 240 30 'r == 255 && g == 255 && b == 255')" -gt 300 ]
press Escape; wait_exit 5
check "Esc leaves it (status $STATUS)" [ "$STATUS" = 0 ]

# The same match from another random state: it differs from tick 100, says so, and plays on.
v=$("$GAME" --version | cut -d' ' -f2)
at=$((8 + 2 + 1 + ${#v} + 4 + 1))
{ head -c $at "$REC"; printf '\x99\x99\x99\x99'; tail -c +$((at + 5)) "$REC"; } >$S/bent.rec
start_game "$RUN" --replay $S/bent.rec; find_window; sleep 3; shot $S/bent.png
check "a bent recording says where it differs" grep -qx 'replay differs at tick 100' $WORK/game.out
check "in a banner on the screen" [ "$(count $S/bent.png 100 20 440 17 'r == 120 && g == 0 && b == 0')" -gt 500 ]
sleep 1; shot $S/bent2.png
check "and watching goes on" [ "$(changed $S/bent.png $S/bent2.png)" -gt 200 ]
press Escape; wait_exit 5
finish
