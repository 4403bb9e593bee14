# Two games on one machine, each on an X server of its own, play a network match over 127.0.0.1:
# the host red, the joiner blue. Usage: e2e_network.sh GLOWFRONT RUN_DIR
. "$(dirname "$0")/xvfb_lib.sh"
S=$WORK JOIN_PID=''
start_xvfb; declare -A X=([host]=$DISPLAY [join]=$NEW_DISPLAY)
trap 'GAME_PID=$JOIN_PID stop_game; cleanup' EXIT
on() { DISPLAY=$1 "${@:2}"; } # on X COMMAND...: the command on display X
# says FILE TEXT: the message box's only white is one line of TEXT's length (8 pixels a letter),
# centred: white in its first and last letters, none outside it.
says() {
    local w='r == 255 && g == 255 && b == 255' x=$((320 - ${#2} * 4)) n=$((${#2} * 8))
    [ "$(count "$1" $x 220 8 8 "$w")" -gt 0 ] && [ "$(count "$1" $((x + n - 8)) 220 8 8 "$w")" -gt 0 ] &&
        [ "$(count "$1" $x 220 $n 8 "$w")" = "$(count "$1" 41 201 558 68 "$w")" ]
}

# udp_port PID: the UDP port the process has bound, through its socket's inode in /proc/net/udp.
udp_port() {
    local inode
    for inode in $(ls -l /proc/$1/fd 2>/dev/null | sed -n 's/.*socket:\[\([0-9]*\)\]$/\1/p'); do
        awk -v i="$inode" '$10 == i { split($2, a, ":"); print a[2] }' /proc/net/udp
    done | head -1
}
# The host takes a port the system hands out, so that two runs at once keep apart.
start_game "$RUN" --host 0; find_window
port=''
for _ in $(seq 50); do port=$(udp_port $GAME_PID); [ -n "$port" ] && break; sleep 0.1; done
check "the host waits on a port of its own" [ -n "$port" ]
(cd "$RUN" && DISPLAY=${X[join]} exec "$GAME" --join 127.0.0.1:$((16#${port:-0}))) >$S/join.out 2>&1 &
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
finish
