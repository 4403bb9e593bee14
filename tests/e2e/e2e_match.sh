# A match as a newcomer meets it: keys that act once each however short, never late on another
# screen; keys of one's own; the strip under the map; the end of a match with its figures and a
# rematch; and a game started from any folder. Usage: e2e_match.sh GLOWFRONT RUN_DIR
. "$(dirname "$0")/xvfb_lib.sh"
S=$WORK
# tap KEY N: N taps of 30 ms, 30 ms apart: shorter than a frame at ten frames a second.
tap() { for _ in $(seq $2); do xdotool keydown $1; sleep 0.03; xdotool keyup $1; sleep 0.03; done; }
# shown FILE X Y W H: pixels of a rectangle that are not black.
shown() { count "$1" $2 $3 $4 $5 'r + g + b > 0'; }
own() { cp -r "$RUN" $S/$1; }

# At ten frames a second, eight short taps of D move red's cursor eight tiles.
own slow && printf '[Display]\nFrameCap = 10\n' >$S/slow/glowfront.cfg
start_game $S/slow; find_window; wait_title $S/title.png; press Return; sleep 1
tap d 8; sleep 0.5; shot $S/taps.png
check "eight 30 ms taps at FrameCap = 10 move eight tiles" cursor_at $S/taps.png 8 0 "$RED_CURSOR"
stop_game

# Esc at the title does nothing there, and nothing later: P in the match opens the pause.
start_game; find_window; wait_title $S/title.png
press Escape; sleep 0.5; press Return; sleep 2; press p; sleep 0.5; shot $S/paused.png
check "Esc at the title then P in a match: the match pauses" \
    [ "$(count $S/paused.png 200 180 240 60 'r == 255 && g == 255 && b == 255')" -gt 300 ]
press p; sleep 0.5; shot $S/resumed.png
check "and plays on" [ "$(count $S/resumed.png 0 448 640 32 'g == 128 && r + b == 255')" -gt 100 ]
# The strip: the clock past 0:02, both sides named, red's tile described.
check "the strip shows the clock" [ "$(shown $S/resumed.png 4 449 32 8)" -gt 20 ]
check "and red's tile" [ "$(count $S/resumed.png 0 458 320 8 'r == 255 && g == 150 && b == 70')" -gt 100 ]
keep strip.png
# An arrow on the rock red's cursor starts on: refused, and why.
press y; keep refusal.png 0.2
press Escape; sleep 1; choose_exit; wait_exit 5
check "and the game ends cleanly (got $STATUS)" [ "$STATUS" = 0 ]

# Keys of one's own: L moves red right instead of D; a bad entry is named and changes nothing.
own keys && printf '[Keys]\nRed.Right = L\nRed.Jump = Q\nBlue.North = Fred\n' >$S/keys/glowfront.cfg
start_game $S/keys; find_window; wait_title $S/title.png; press Down Return; sleep 1
press l l d; sleep 0.3; shot $S/keys.png
check "a remapped key moves the cursor" cursor_at $S/keys.png 2 0 "$RED_CURSOR"
check "an unknown entry is named" grep -qF 'glowfront.cfg: [Keys] Red.Jump = "Q" is no key of a side' $S/game.out
check "an unknown key keeps blue's defaults" \
    grep -qF 'glowfront.cfg: [Keys] Blue.North = "Fred" is no key'"'"'s name (the README lists them); blue keeps its default keys.' $S/game.out
press F1; sleep 0.5; shot $S/help.png; keep help.png
check "F1 opens with the goal" [ "$(count $S/help.png 60 54 520 8 'r == 255 && g == 220 && b == 120')" -gt 200 ]
check "and every line stays inside its box" [ "$(count $S/help.png 601 21 38 280 'r + g + b > 300')" = 0 ]
press Escape; press Escape; sleep 1; choose_exit; wait_exit 5

# With no units at all, the match ends after ten seconds on its end screen; Enter plays again.
own empty && printf '[Limits]\nMaxUnits = 0\n' >$S/empty/MaxUnits.cfg
start_game $S/empty; find_window; wait_title $S/title.png; press Return; sleep 12; shot $S/end.png
check "MaxUnits = 0: the end screen says no winner" [ "$(shown $S/end.png 160 24 320 32)" -gt 1000 ]
check "over its figures" [ "$(count $S/end.png 300 110 40 40 'r == 255 && g == 150 && b == 70')" -gt 10 ]
press Return; sleep 1; shot $S/again.png
check "Enter starts another match" cursor_at $S/again.png 0 0 "$RED_CURSOR"
press Escape; sleep 1; choose_exit; wait_exit 5

# For the README's end screen, a real one: a match about to be won, taken over from its replay.
if [ -n "${GLOWFRONT_DOCS:-}" ]; then
    "$(dirname "$RUN")/positionrecording" ending $S/ending.rec >/dev/null
    start_game "$RUN" --replay $S/ending.rec; find_window; sleep 2; press Return
    for _ in $(seq 60); do
        sleep 2; shot $S/won.png
        [ "$(differ $S/won.png "$RUN/Data/RedWins.bmp" 0 0 640 480)" -lt 1000 ] && break
    done
    press Escape; keep end.png 1
    press Escape; sleep 1; choose_exit; wait_exit 5
fi

# From another folder the game finds its pictures beside itself, and --verify needs none.
start_game "$RUN" --record $S/short.rec; find_window; wait_title $S/title.png
press Return; sleep 2; press Escape; sleep 1; choose_exit; wait_exit 5
start_game /; find_window
check "started from / the title shows" wait_title $S/title2.png
stop_game
out=$(cd / && "$GAME" --verify $S/short.rec 2>&1)
check "--verify from / ($out)" grep -q '^replay ok: [1-9][0-9]* ticks' <<<"$out"

# A failed start-up's message box goes when the game goes, however it goes.
own broken && rm $S/broken/Data/Floor.bmp
start_game $S/broken
box=$(timeout 15 xdotool search --sync --class Xmessage | head -1)
check "the message box appears" [ -n "$box" ]
kill -9 $GAME_PID; wait $GAME_PID 2>/dev/null; GAME_PID=''; sleep 1
check "and is gone with the killed game" [ -z "$(pgrep -f 'xmessage.*Data/Floor.bmp')" ]
finish
