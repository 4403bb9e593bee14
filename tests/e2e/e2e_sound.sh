# The game heard as a player hears it, with ALSA's default device routed to a file by a test-only
# configuration: silence on the untouched title, sound from the menu's keys and from a match,
# silence after F3 and with Volume = 0. Usage: e2e_sound.sh GLOWFRONT RUN_DIR
. "$(dirname "$0")/xvfb_lib.sh"
command -v sox >/dev/null || { echo "FAIL no sox"; exit 1; }
S=$WORK
export ALSA_CONFIG_PATH=$(readlink -f "$(dirname "$0")/asound-file.conf")
export GLOWFRONT_SOUND_FILE=$S/heard.raw
# mark: the file's length now, in whole stereo frames; peak FROM: loudest sample after it, 0 to 1.
mark() { echo $(( $(stat -c %s $GLOWFRONT_SOUND_FILE) / 4 * 4 )); }
peak() {
    tail -c +$(($1 + 1)) $GLOWFRONT_SOUND_FILE >$S/part.raw
    [ -s $S/part.raw ] || { echo "error"; return; }
    sox -t raw -r 22050 -e signed -b 16 -c 2 -L $S/part.raw -n stat 2>&1 |
        awk '/Maximum amplitude/ { print $3 }'
}
loud() { awk -v p="$1" 'BEGIN { exit !(p != "error" && p > 0.02) }'; }
silent() { [ "$1" = "0.000000" ]; }

start_game; find_window; wait_title $S/title.png; sleep 2
check "the untouched title is silent (peak $(peak 0))" silent "$(peak 0)"
from=$(mark); press Down Up; sleep 1
check "the menu's keys are heard (peak $(peak $from))" loud "$(peak $from)"
press Return; sleep 1; from=$(mark); sleep 4
check "a match is heard (peak $(peak $from))" loud "$(peak $from)"
press F3; sleep 1; from=$(mark); sleep 3
check "F3 silences it (peak $(peak $from))" silent "$(peak $from)"
press F3; sleep 1; from=$(mark); sleep 4
check "F3 again brings it back (peak $(peak $from))" loud "$(peak $from)"
press Escape; sleep 1; choose_exit; wait_exit 5
check "the game ends cleanly (got $STATUS)" [ "$STATUS" = 0 ]

cp -r "$RUN" $S/quiet && printf '[Sound]\nVolume = 0\n' >$S/quiet/glowfront.cfg
rm -f $GLOWFRONT_SOUND_FILE
start_game $S/quiet; find_window; wait_title $S/title.png; press Down Up Return; sleep 5
check "Volume = 0 plays nothing (peak $(peak 0))" silent "$(peak 0)"
stop_game
unset ALSA_CONFIG_PATH
cp -r "$RUN" $S/nodevice
out=$(cd $S/nodevice && ALSA_CONFIG_PATH=/dev/null timeout 5 "$GAME" 2>&1)
check "no sound device: one line, and the game runs on" [ "$(grep -c -i 'sound' <<<"$out")" = 1 ]
finish
