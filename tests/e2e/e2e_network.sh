# Two games on one machine, each on an X server of its own, play a network match over 127.0.0.1:
# the host red, the joiner blue. Usage: e2e_network.sh GLOWFRONT RUN_DIR
. "$(dirname "$0")/xvfb_lib.sh"
S=$WORK JOIN_PID=''
start_xvfb; declare -A X=([host]=$DISPLAY [join]=$NEW_DISPLAY)
trap 'GAME_PID=$JOIN_PID stop_game; cleanup' EXIT
on() { DISPLAY=$1 "${@:2}"; } # on X COMMAND...: the command on display X

# The host waits on a port the system chooses, and says which; both record the match.
start_game "$RUN" --host 0 --record $S/host.rec; find_window
for _ in $(seq 50); do PORT=$(sed -n 's/^glowfront: waiting for the other player on port \([0-9]*\)$/\1/p' $S/game.out); [ -n "$PORT" ] && break; sleep 0.1; done
check "the host says the port it waits on" [ -n "$PORT" ]
(cd "$RUN" && DISPLAY=${X[join]} exec "$GAME" --join 127.0.0.1:$PORT --record $S/join.rec) >$S/join.out 2>&1 &
JOIN_PID=$!
on ${X[join]} find_window; sleep 5
for s in host join; do
    on ${X[$s]} shot $S/$s.png
    check "$s: red units on red base" [ "$(count $S/$s.png 32 32 96 96 'r == 255 && g < 64 && b < 64')" -ge 27 ]
    check "$s: blue units on blue base" [ "$(count $S/$s.png 512 320 96 96 'b == 255 && r < 64 && g < 64')" -ge 27 ]
    check "$s: the bars" [ "$(avg $S/$s.png 0 468 1 4) $(avg $S/$s.png 0 472 1 4)" = "255 128 0 0 128 255" ]
done
# Each player moves their own side with either table: A is red's left, Right blue's.
on ${X[join]} press A; on ${X[host]} press Right
for s in host join; do
    on ${X[$s]} shot $S/$s-moved.png
    check "$s: A on the joiner moved blue to (18, 13)" cursor_at $S/$s-moved.png 18 13 "$BLUE_CURSOR"
    check "$s: Right on the host moved red to (1, 0)" cursor_at $S/$s-moved.png 1 0 "$RED_CURSOR"
done
on ${X[join]} press Escape; sleep 1; shot $S/left.png
check "Esc on the joiner: the host says the other player left" says $S/left.png "the other player left"
check "and the joiner is back at the title" on ${X[join]} wait_title $S/join-title.png
press Return
check "Enter takes the host back to the title" wait_title $S/host-title.png
choose_exit; wait_exit 5
check "the host ends with status 0 (got $STATUS)" [ "$STATUS" = 0 ]
on ${X[join]} choose_exit; GAME_PID=$JOIN_PID wait_exit 5; JOIN_PID=''
check "the joiner ends with status 0 (got $STATUS)" [ "$STATUS" = 0 ]
# Each recording replays to the end it recorded (the host may have run a tick or two further: the
# joiner's keys for them were already on their way when it left).
for s in host join; do
    out=$(cd "$RUN" && "$GAME" --verify $S/$s.rec 2>&1)
    check "the $s's recording verifies ($out)" grep -q '^replay ok: [1-9][0-9]* ticks' <<<"$out"
done
finish
