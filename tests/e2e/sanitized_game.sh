# The real game of the sanitizer build (AddressSanitizer with its leak check, and
# UndefinedBehaviorSanitizer) plays one short match against the computer under Xvfb, with ALSA
# writing its sound to a file: any sanitizer report, or a status other than 0, fails.
# Usage: sanitized_game.sh GLOWFRONT RUN_DIR, the game of a build with GLOWFRONT_SANITIZE.
. "$(dirname "$0")/xvfb_lib.sh"
S=$WORK HERE=$(cd "$(dirname "$0")" && pwd)
asan=$(ldd "$GAME" | awk '/libasan/ { print $3 }')
check "the game is the sanitizer build's" [ -n "$asan" ] || { finish; exit 1; }
# Allegro loads its drivers as modules and unloads them at its exit, before the leak check: see
# tests/lsan.supp. Preloaded (the sanitizer's runtime first, as it must be), they stay.
modules=$(ls /usr/lib/*/allegro/4.4*/alleg-*.so /usr/lib/allegro/4.4*/alleg-*.so 2>/dev/null | tr '\n' ' ')
check "Allegro's modules are found" [ -n "$modules" ]
quiet() { ! grep -qE 'Sanitizer|runtime error' "$1"; }

# The game alone runs with them; the tools that drive it do not.
(cd "$RUN" && exec env LD_PRELOAD="$asan $modules" ASAN_OPTIONS=detect_leaks=1 \
    LSAN_OPTIONS=suppressions="$HERE/../lsan.supp" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ALSA_CONFIG_PATH="$HERE/asound-file.conf" GLOWFRONT_SOUND_FILE=$S/heard.raw \
    "$GAME") >$S/game.out 2>&1 &
GAME_PID=$!
find_window
check "title picture shown" wait_title $S/title.png
press Return; sleep 4; shot $S/match.png
check "a match against the computer" [ "$(count $S/match.png 32 32 96 96 'r == 255 && g < 64 && b < 64')" -ge 27 ]
press Escape
check "Esc returns to the title" wait_title $S/back.png
choose_exit; wait_exit 30
check "the game ends with status 0 (got $STATUS)" [ "$STATUS" = 0 ]
check "and no sanitizer reports anything" quiet $S/game.out || head -60 $S/game.out
finish
