# Makes the README's pictures anew: docs/title.png, docs/match.png, docs/two-players.png.
# Usage: tests/make_screenshots.sh GLOWFRONT RUN_DIR   (takes about two and a half minutes)
. "$(dirname "$0")/xvfb_lib.sh"
DOCS=$(cd "$(dirname "$0")/.." && pwd)/docs
# order_until X Y COLOUR KEY: a base tile takes orders only once its health is above 16, which
# comes a few seconds after the first units arrive, so the key is tried until it holds.
order_until() {
    for _ in $(seq 40); do
        press "$4"; shot $WORK/try.png; [ "$(count $WORK/try.png $(($1 * 32)) $(($2 * 32)) 32 32 "$3")" -gt 20 ] && return
        sleep 0.5
    done
    fault "no order at ($1, $2)"
}
start_game; find_window; wait_title $WORK/title.png && sleep 1 && shot "$DOCS/title.png" || exit 1
# The computer's first tunnels open after a minute or so: 100 bounces finish a Clear.
press Return; sleep 90; shot "$DOCS/match.png"
press Escape; wait_title $WORK/title.png || exit 1
# Red points its base east and digs two tunnels out of it; blue points north and digs two.
press Down Return D D S; order_until 2 1 "$RED_MARK" J || exit 1
press D D T S T Left Left Up Up Up; order_until 17 10 "$BLUE_MARK" KP_8 || exit 1
press Up KP_7 Left KP_7 Down Down KP_4
sleep 15; shot "$DOCS/two-players.png"
press Escape Down Return; wait_exit 5
[ -s "$WORK/faults" ] && exit 1; echo "pictures written to $DOCS"
