# The arena from the command line, as a developer tuning the levels uses it: headless, from a
# folder without the game's pictures, the same lines for the same seed, and one line and status 2
# for every bad word. Usage: e2e_arena.sh GLOWFRONT RUN_DIR
set -u
GAME=$(readlink -f "$1") WORK=$(mktemp -d) PASS=0 FAIL=0
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"
check() {
    local what=$1; shift
    if "$@"; then PASS=$((PASS + 1)); echo "ok   $what"; else FAIL=$((FAIL + 1)); echo "FAIL $what"; fi
}
# arena NAME ARGS...: runs the game with ARGS, keeping NAME.out, NAME.err and NAME.status.
arena() { local name=$1; shift; "$GAME" "$@" >"$name.out" 2>"$name.err"; echo $? >"$name.status"; }

arena hn --arena hard normal --matches 3 --seed 5
check "hard against normal: status 0, nothing on stderr" [ "$(cat hn.status)" = 0 ] && [ ! -s hn.err ]
check "a line for each of the 3 matches, then the tally" \
    [ "$(head -3 hn.out | grep -cE '^match [123]: (red wins|blue wins|draw) at tick [0-9]+$')" = 3 ]
red=$(grep -c 'red wins' hn.out) blue=$(grep -c 'blue wins' hn.out) draws=$(grep -c ': draw at' hn.out)
check "the tally counts the lines: $(tail -1 hn.out)" \
    [ "$(tail -1 hn.out)" = "red hard $red, blue normal $blue, draws $draws" ] && [ "$(wc -l <hn.out)" = 4 ]
check "no match lasts past 180000 ticks" \
    [ -z "$(grep -oE 'tick [0-9]+' hn.out | awk '$2 > 180000 || $2 < 1001')" ]
arena again --arena hard normal --matches 1 --seed 7
check "match I is seeded S + I - 1: the third from 5 is the first from 7" \
    [ "$(sed -n 3p hn.out | cut -d: -f2)" = "$(head -1 again.out | cut -d: -f2)" ]
check "no picture was needed" [ ! -e Data ]
arena easy --arena easy hard --matches 1
check "easy as red against hard: $(tail -1 easy.out)" \
    bash -c "[ \"\$(cat easy.status)\" = 0 ] && tail -1 easy.out | grep -qE '^red easy [01], blue hard [01], draws [01]$'"

# Each bad word: one line on stderr naming it, nothing on stdout, status 2.
bad() {
    local name=$1 word=$2; shift 2
    arena "$name" "$@"
    check "$* refused: $(cat $name.err)" bash -c "[ \"\$(cat $name.status)\" = 2 ] && [ ! -s $name.out ] &&
        [ \"\$(wc -l <$name.err)\" = 1 ] && grep -q -- '$word' $name.err"
}
bad level 'unknown level "medium"' --arena medium normal
bad blue 'unknown level "Hard"' --arena normal Hard
bad zero '"0" is not a number of matches' --arena easy normal --matches 0
bad negative '"-3" is not a number of matches' --arena easy normal --matches -3
bad words '"ten" is not a number of matches' --arena easy normal --matches ten
bad seed '"1x" is not a seed' --arena easy normal --seed 1x
bad minus '"-1" is not a seed' --arena easy normal --seed -1
bad map 'nowhere: no such file, nor a built-in map' --arena easy normal --map nowhere
bad menu 'unknown level "expert"' --level expert
echo "$PASS passed, $FAIL failed"
[ "$FAIL" -eq 0 ] && [ "$PASS" -gt 0 ]
