#!/usr/bin/env bash
# The levels measured against each other: seeded arena matches of each pairing, two processes at
# a time (one per core), then the README's table. Usage: arena.sh GLOWFRONT NEWCOMER [MATCHES]
# MATCHES (50) is per pairing; normal against itself plays them once, seen from both sides.
set -euo pipefail
GAME=$(readlink -f "$1") NEWCOMER=$(readlink -f "$2") N=${3:-50}
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT
HALF=$(((N + 1) / 2))
# Each job: a file name and the command; long pairings are split in two halves by seed.
jobs() {
    for pair in "easy normal" "normal easy" "hard normal" "normal hard" "normal normal"; do
        set -- $pair
        echo "$1-$2-a $GAME --arena $1 $2 --matches $HALF --seed 1"
        echo "$1-$2-b $GAME --arena $1 $2 --matches $((N - HALF)) --seed $((HALF + 1))"
    done
    echo "newcomer-easy-a $NEWCOMER easy $N 1"
}
start=$SECONDS
jobs | xargs -P 2 -L 1 bash -c 'name=$0; nice -n 10 "$@" >"'"$OUT"'/$name.txt"'
seconds=$((SECONDS - start))

# One row a pairing: the outcomes and the median length, in ticks and in minutes of play.
echo "| red | blue | matches | red wins | blue wins | draws | median length |"
echo "|---|---|---|---|---|---|---|"
total=0
for pair in "easy normal" "normal easy" "hard normal" "normal hard" "normal normal" "newcomer easy"; do
    set -- $pair
    cat "$OUT/$1-$2"-*.txt | grep '^match' >"$OUT/lines" || true
    total=$((total + $(wc -l <"$OUT/lines")))
    n=$(wc -l <"$OUT/lines") r=$(grep -c 'red wins' "$OUT/lines" || true)
    b=$(grep -c 'blue wins' "$OUT/lines" || true) d=$(grep -c ': draw at' "$OUT/lines" || true)
    m=$(awk '{ print $NF }' "$OUT/lines" | sort -n | sed -n "$(((n + 1) / 2))p")
    printf '| %s | %s | %d | %d | %d | %d | %d ticks (%s min) |\n' "$1" "$2" "$n" "$r" "$b" "$d" \
        "$m" "$(awk -v m="$m" 'BEGIN { printf "%.1f", m / 6000 }')"
done
echo
echo "$total matches in $seconds s: $((total * 60 / (seconds > 0 ? seconds : 1))) a minute on $(nproc) cores"
