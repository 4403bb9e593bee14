#!/usr/bin/env bash
# The maps measured: seeded arena matches of the computer at level normal against itself on each
# built-in map, two processes at a time (one per core), as the README's table; then how random
# maps differ. Usage: maps.sh GLOWFRONT MAPPICTURE [MATCHES] (10 a map), in the run folder.
set -euo pipefail
GAME=$(readlink -f "$1") MAPPICTURE=$(readlink -f "$2") N=${3:-10}
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT
MAPS=$("$GAME" --list-maps)

echo "| map | matches | red wins | blue wins | draws | median length |"
echo "|---|---|---|---|---|---|"
# A game without the arena, whose usage does not name it, leaves the figures blank.
if "$GAME" --help | grep -q -- '--arena'; then
    start=$SECONDS
    for map in $MAPS; do echo "$map"; done |
        xargs -P 2 -I{} bash -c 'nice -n 10 "$0" --arena normal normal --matches '"$N"' \
            --map {} >"'"$OUT"'/{}.txt"' "$GAME"
    seconds=$((SECONDS - start))
    for map in $MAPS; do
        grep '^match' "$OUT/$map.txt" >"$OUT/lines" || true
        n=$(wc -l <"$OUT/lines") r=$(grep -c 'red wins' "$OUT/lines" || true)
        b=$(grep -c 'blue wins' "$OUT/lines" || true) d=$(grep -c ': draw at' "$OUT/lines" || true)
        m=$(awk '{ print $NF }' "$OUT/lines" | sort -n | sed -n "$(((n + 1) / 2))p")
        printf '| `%s` | %d | %d | %d | %d | %d ticks (%s min) |\n' "$map" "$n" "$r" "$b" "$d" \
            "${m:-0}" "$(awk -v m="${m:-0}" 'BEGIN { printf "%.1f", m / 6000 }')"
    done
    echo
    echo "$((N * $(wc -w <<<"$MAPS"))) matches in $seconds s on $(nproc) cores"
else
    for map in $MAPS; do printf '| `%s` | - | - | - | - | - |\n' "$map"; done
    echo
    echo "(this game has no --arena: no figures)"
fi
echo
"$MAPPICTURE" --survey 300
