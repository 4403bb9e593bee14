# The window on today's desktop: scaled by whole factors, full screen and back, pause, the key
# help, and a bad setting. Usage: e2e_display.sh GLOWFRONT RUN_DIR
XVFB_SCREEN=1920x1080x24
. "$(dirname "$0")/xvfb_lib.sh"
S=$WORK
geometry() { xdotool getwindowgeometry "$WIN" | awk '/Geometry/ { print $2 }'; }
# blocky FILE: pixels of the 1280 x 960 window not in a 2 x 2 block of one colour.
blocky() {
    convert "$1" -crop 1280x960+0+0 +repage -sample 50% -sample 200% $S/blocks.png &&
        differ "$1" $S/blocks.png 0 0 1280 960
}

start_game; find_window
check "a 1280 x 960 window on a 1920 x 1080 screen (got $(geometry))" [ "$(geometry)" = 1280x960 ]
sleep 2; press Return; sleep 3; shot $S/match.png
check "every pixel of the match is a 2 x 2 block" [ "$(blocky $S/match.png)" = 0 ]
check "and the match is there" [ "$(count $S/match.png 0 0 1280 960 'r + g + b > 60')" -gt 10000 ]
# An arrow on the rock under red's cursor is refused: the cursor is framed in yellow, a colour its
# flicker never takes, and the reason stands beside it for a second, then goes.
yellow() { count "$1" 0 0 640 160 'r == 255 && g == 230 && b == 0'; }
press y; shot $S/refused.png; sleep 1.5; shot $S/later.png
check "a refused order is framed and said in yellow" [ "$(yellow $S/refused.png)" -gt 600 ]
check "for a second" [ "$(yellow $S/later.png)" = 0 ]

press p; sleep 0.5; shot $S/paused1.png; sleep 1; shot $S/paused2.png
check "P freezes the match" [ "$(differ $S/paused1.png $S/paused2.png 0 0 1280 936)" = 0 ]
lum() { avg "$1" 64 64 192 192 | awk '{ print $1 + $2 + $3 }'; }
check "and dims it" [ "$(lum $S/paused1.png)" -lt $(($(lum $S/match.png) * 6 / 10)) ]
press p; sleep 1; shot $S/playing.png
check "P again plays on" [ "$(differ $S/paused2.png $S/playing.png 0 0 1280 936)" -gt 100 ]

press F1; sleep 0.5; shot $S/help.png
check "F1 shows the key help" [ "$(differ $S/playing.png $S/help.png 80 48 1120 864)" -gt 100000 ]
check "with red's keys in orange" [ "$(count $S/help.png 560 160 200 480 'r > 200 && g > 100 && g < 180 && b < 100')" -gt 200 ]
check "and blue's in light blue" [ "$(count $S/help.png 880 160 280 480 'b > 200 && r < 120')" -gt 200 ]
sleep 1; shot $S/help2.png
check "the match stands while it shows" [ "$(differ $S/help.png $S/help2.png 0 0 1280 960)" = 0 ]
press Escape; sleep 1; shot $S/after.png
check "Esc closes the help and not the match" [ "$(count $S/after.png 0 0 1280 960 'r + g + b > 60')" -gt 10000 ]
check "the help is gone" [ "$(differ $S/help.png $S/after.png 80 48 1120 864)" -gt 100000 ]

press F11; sleep 1.5; shot $S/full.png
# The full-screen mode draws into a window of its own that covers the screen.
check "F11 fills the screen" bash -c "xwininfo -root -children | grep -q ' 1920x1080+0+0'"
check "with the picture centred on black" [ "$(count $S/full.png 0 0 320 1080 'r + g + b > 0')" = 0 ]
check "down to the army bars" [ "$(count $S/full.png 320 996 1280 16 'g == 128 && r + b == 255')" -gt 1000 ]
check "in 2 x 2 blocks" [ "$(convert $S/full.png -crop 1280x960+320+60 +repage $S/middle.png && blocky $S/middle.png)" = 0 ]
press F11; sleep 1.5; find_window
check "F11 again brings the window back (got $(geometry))" [ "$(geometry)" = 1280x960 ]
press Escape; sleep 1; choose_exit; wait_exit 5
check "the game ends cleanly (got $STATUS)" [ "$STATUS" = 0 ]

cp -r "$RUN" $S/bad && printf '[Display]\nScale = 9\n' >$S/bad/glowfront.cfg
start_game $S/bad; find_window
check "a bad Scale keeps the automatic window (got $(geometry))" [ "$(geometry)" = 1280x960 ]
check "and says which setting" grep -q 'glowfront.cfg: \[Display\] Scale = "9"' $S/game.out
printf '[Display]\nScale = 1\n' >$S/bad/glowfront.cfg
choose_exit; wait_exit 5
start_game $S/bad; find_window
check "Scale = 1 gives 640 x 480 (got $(geometry))" [ "$(geometry)" = 640x480 ]
stop_game
printf '[Display]\nScale = 4\n' >$S/bad/glowfront.cfg
start_game $S/bad; find_window
check "Scale = 4 on a 1080-line screen falls back to 2 (got $(geometry))" [ "$(geometry)" = 1280x960 ]
check "saying so" grep -q '^glowfront: Scale = 4 makes a window larger than the 1920 x 1080 screen; showing it at 2.$' $S/game.out
stop_game
finish
