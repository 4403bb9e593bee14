# Maps from the command line and from the title menu, as a player meets them.
# Usage: e2e_maps.sh GLOWFRONT RUN_DIR
. "$(dirname "$0")/xvfb_lib.sh"
S=$WORK
game() { (cd "$RUN" && "$GAME" "$@"); }
# black X Y: tile (X, Y) of the last screen is all rock.
black() { [ "$(avg $S/shot.png $(($1 * 32)) $(($2 * 32)) 32 32)" = "0 0 0" ]; }
warm() { local c; c=($(avg $S/shot.png $(($1 * 32)) $(($2 * 32)) 32 32)); [ $((c[0] - c[2])) -gt 40 ]; }

check "--list-maps names the seven, start first" \
    [ "$(game --list-maps | tr '\n' ' ')" = "start river hives field maze island center " ]
printf '; cut\n####\n' >$S/cut.map
out=$(game --map $S/cut.map 2>&1); status=$?
check "a map file that is not a map: one line, status 2 ($status)" \
    [ "$status:$out" = "2:glowfront: $S/cut.map: line 2: 4 characters, not 20" ]

# The file's map is played, read again for each match: gone bad, it is said and kept.
game --show-map field >$S/mine.map
start_game "$RUN" --map $S/mine.map; find_window; wait_title $S/title.png
press Return; sleep 1; shot $S/shot.png
check "a match on the file's map: a hive at (3, 2), floor for rock" eval 'warm 3 2 && ! black 10 4'
press Escape; wait_title $S/back.png
cp $S/cut.map $S/mine.map
press Return; sleep 1; shot $S/bad.png
check "the file gone bad is said on the screen" says $S/bad.png "$S/mine.map: line 2: 4 characters, not 20"
press Return; sleep 1; shot $S/shot.png
check "and the match is on the map as last read" eval 'warm 3 2 && ! black 10 4'
press Escape; wait_title $S/back.png
# The map entry, above Exit: Right from the file goes to start, then river.
press Down Down Down Down Right Right Up Up Up Up Return; sleep 1; shot $S/shot.png
check "Right twice on the map entry: river's thorns across a row of rock" eval 'black 1 0 && ! black 0 6'
press Escape; wait_title $S/back.png; choose_exit; wait_exit 5
check "Exit ends with status 0 (got $STATUS)" [ "$STATUS" = 0 ]
finish
