# Both sides' cursors and orders on screen: two people at one keyboard, then the computer playing
# blue by itself. Usage: e2e_players.sh GLOWFRONT RUN_DIR. With GLOWFRONT_DOCS=FOLDER it also
# leaves there the README's pictures (docs/): title.png, two-players.png and match.png.
. "$(dirname "$0")/xvfb_lib.sh"
S=$WORK
FLOOR='r > 12 && r < 200 && r - b < 30 && r >= g && g >= b'   # grey stone, rock being black
# off_bases FILE EXPR: matching pixels on the map outside both bases, all rock at the start.
off_bases() {
    echo $(($(count "$1" 0 0 640 448 "$2") - $(count "$1" 32 32 96 96 "$2") - $(count "$1" 512 320 96 96 "$2")))
}
# marks FILE X Y EXPR: pixels of the tile in an order's colour; a Clear's cross has 49.
marks() { count "$1" $(($2 * 32)) $(($3 * 32)) 32 32 "$4"; }

start_game; find_window; wait_title $S/title.png; keep title.png 1
# The computer's level, beside its entry in the menu's yellow: normal first, Left and Right
# change it and stop at either end.
LEVEL='r == 255 && g == 220 && b == 120'
level() { shot $S/level.png; count $S/level.png 480 160 160 32 "$LEVEL"; }
normal=$(level); press Left Left; easy=$(level); press Right Right Right; hard=$(level); press Left
check "the level beside the entry: normal $normal, easy $easy, hard $hard pixels" \
    [ "$normal" -gt 0 ] && [ "$easy" -gt 0 ] && [ "$hard" -gt 0 ] && [ "$easy" != "$normal" ] && [ "$hard" != "$normal" ] && [ "$(level)" = "$normal" ]
press Down Return; shot $S/start.png
check "red cursor starts top-left" cursor_at $S/start.png 0 0 "$RED_CURSOR"
check "blue cursor starts bottom-right" cursor_at $S/start.png 19 13 "$BLUE_CURSOR"
press D D D D D S Left Up Up Up Up Up; shot $S/moved.png
check "D and S move red to (5, 1)" cursor_at $S/moved.png 5 1 "$RED_CURSOR"
check "red has left (0, 0)" [ "$(marks $S/moved.png 0 0 "$RED_CURSOR")" -eq 0 ]
check "Left and Up move blue to (18, 8)" cursor_at $S/moved.png 18 8 "$BLUE_CURSOR"
check "blue has left (19, 13)" [ "$(marks $S/moved.png 19 13 "$BLUE_CURSOR")" -eq 0 ]
# Rock away from both bases: no unit bounces off it, so the crosses stay.
press T KP_7; sleep 2; shot $S/cleared.png
check "T puts red's Clear on the rock" [ "$(marks $S/cleared.png 5 1 "$RED_MARK")" -ge 45 ]
check "keypad 7 puts blue's Clear on the rock" [ "$(marks $S/cleared.png 18 8 "$BLUE_MARK")" -ge 45 ]
check "nobody else gives blue orders" \
    [ "$(count $S/cleared.png 0 0 640 448 "$BLUE_MARK")" -eq "$(marks $S/cleared.png 18 8 "$BLUE_MARK")" ]
check "nor red orders" [ "$(count $S/cleared.png 0 0 640 448 "$RED_MARK")" -eq "$(marks $S/cleared.png 5 1 "$RED_MARK")" ]
keep two-players.png 10
press Escape
check "Esc returns to the title" wait_title $S/title.png

# Against the computer its cursor leaves the corner, it orders Clears on the rock around its base,
# and once enough of its units have bounced off one, a tunnel opens: 100 bounces take a minute or so.
press Up Return
left=no marked=0 dug=0 t0=$SECONDS
while [ $((SECONDS - t0)) -lt 150 ]; do
    sleep 2; shot $S/ai.png
    cursor_at $S/ai.png 19 13 "$BLUE_CURSOR"; [ $? = 1 ] && left=yes
    [ "$marked" -ge 45 ] || marked=$(off_bases $S/ai.png "$BLUE_MARK")
    dug=$(off_bases $S/ai.png "$FLOOR")
    [ $left = yes ] && [ "$marked" -ge 45 ] && [ "$dug" -ge 500 ] && break
done
keep match.png
check "the computer's cursor leaves (19, 13)" [ $left = yes ]
check "its Clears appear on rock ($marked pixels)" [ "$marked" -ge 45 ]
check "it digs out of its base after $((SECONDS - t0)) s ($dug pixels)" [ "$dug" -ge 500 ]
check "the new match put red's cursor back on (0, 0)" cursor_at $S/ai.png 0 0 "$RED_CURSOR"
finish
