# The title menu, a match against the computer and back, leaving, and failing start-ups, as a
# player sees them. Usage: e2e_game.sh GLOWFRONT RUN_DIR
. "$(dirname "$0")/xvfb_lib.sh"
S=$WORK
# Tile (x, y) covers pixels 32x..32x+31, 32y..32y+31; colours come as three words, r g b.
tile_avg() { avg "$1" $(($2 * 32)) $(($3 * 32)) 32 32; }
bright() { echo $(($1 + $2 + $3)); }
warmth() { echo $(($1 - $3)); }   # honeycomb is orange, floor grey

start_game; find_window
check "title picture shown" wait_title $S/title.png
check "title picture below the menu" [ "$(differ $S/title.png "$RUN/Data/Title.bmp" 0 452 560 28)" = 0 ]
check "menu entries drawn over it" [ "$(convert $S/title.png -crop 640x230+0+150 -format '%[fx:standard_deviation>0.05]' info:)" = 1 ]
sleep 0.5; shot $S/title2.png
check "selected entry waves" [ "$(differ $S/title.png $S/title2.png 0 140 640 72)" -gt 500 ]
check "other entries keep still" [ "$(differ $S/title.png $S/title2.png 0 214 640 226)" = 0 ]

press Return; shot $S/start.png
check "Enter leaves the title" [ "$(differ $S/title.png $S/start.png 0 0 640 480)" -gt 100000 ]
for t in "10 4" "6 8" "13 2" "0 13"; do
    check "rock at ($t) is black" [ "$(tile_avg $S/start.png $t)" = "0 0 0" ]
done
check "red base lit, blue base dark" \
    [ "$(bright $(tile_avg $S/start.png 1 1))" -gt $((3 * $(bright $(tile_avg $S/start.png 18 12)) / 2)) ]
for t in "2 2" "17 11"; do check "hive at ($t)" [ "$(warmth $(tile_avg $S/start.png $t))" -gt 40 ]; done
for t in "1 1" "3 3" "16 10" "18 12"; do check "floor at ($t)" [ "$(warmth $(tile_avg $S/start.png $t))" -lt 25 ]; done
sleep 5; shot $S/match.png
check "red units on red base" [ "$(count $S/match.png 32 32 96 96 'r == 255 && g < 64 && b < 64')" -ge 27 ]
check "blue units on blue base" [ "$(count $S/match.png 512 320 96 96 'b == 255 && r < 64 && g < 64')" -ge 27 ]
check "red bar at rows 468-471" [ "$(avg $S/match.png 0 468 1 4)" = "255 128 0" ]
check "blue bar at rows 472-475" [ "$(avg $S/match.png 0 472 1 4)" = "0 128 255" ]
check "the larger side's bar spans the width" \
    [ "$(count $S/match.png 639 468 1 8 'r + b == 255 && g == 128')" -ge 4 ]
check "no frame rate without F2" [ "$(count $S/match.png 0 0 80 16 'r == 255 && g == 255 && b == 0')" = 0 ]
xdotool keydown F2; sleep 0.5; shot $S/fps.png; xdotool keyup F2
check "F2 held shows the frame rate in yellow" [ "$(count $S/fps.png 0 0 80 16 'r == 255 && g == 255 && b == 0')" -ge 20 ]

press Escape
check "Esc returns to the title" wait_title $S/back.png
check "with the same entry selected" [ "$(differ $S/title.png $S/back.png 0 214 640 226)" = 0 ]
choose_exit; wait_exit 5
check "Exit ends with status 0 (got $STATUS)" [ "$STATUS" = 0 ]

# A missing picture: Allegro shows the message with xmessage, which waits to be dismissed.
cp -r "$RUN" $S/broken && rm $S/broken/Data/Floor.bmp
start_game $S/broken
box=$(timeout 15 xdotool search --sync --class Xmessage | head -1)
check "a message box appears" [ -n "$box" ]
text=$(ps -o args= --ppid "$GAME_PID")
check "it names the file" grep -q 'Data/Floor.bmp' <<<"$text" || echo "$text"
[ -n "$box" ] && xdotool windowfocus --sync "$box" && press Return
wait_exit 10
check "missing picture ends with status 255 (got $STATUS)" [ "$STATUS" = 255 ] || tail -5 $S/game.out

# Pictures of unexpected sizes still make a working game: a 1 x 1 title, a 64 x 64 floor.
cp -r "$RUN" $S/odd && convert -size 1x1 xc:navy BMP3:$S/odd/Data/Title.bmp &&
    convert "$RUN/Data/Floor.bmp" -scale 200% BMP3:$S/odd/Data/Floor.bmp
start_game $S/odd; find_window; sleep 2; shot $S/odd.png
check "a 1 x 1 title still shows the menu" \
    [ "$(convert $S/odd.png -crop 640x230+0+150 -format '%[fx:standard_deviation>0.05]' info:)" = 1 ]
press Return; sleep 2; shot $S/oddmatch.png
check "a 64 x 64 floor is drawn as a tile" [ "$(bright $(tile_avg $S/oddmatch.png 1 1))" -gt 0 ]
press Escape; sleep 1; choose_exit; wait_exit 5
check "and the game ends cleanly (got $STATUS)" [ "$STATUS" = 0 ]

# No display at all: the message can only go to the terminal.
out=$(cd "$RUN" && env -u DISPLAY timeout 20 "$GAME" 2>&1); STATUS=$?
check "no display ends with status 255 (got $STATUS)" [ "$STATUS" = 255 ]
check "and says so" grep -q "Couldn't set 640x480 graphics mode. Cannot continure sorry." <<<"$out" ||
    echo "$out"
finish
