#!/usr/bin/env bash
# Fails when a source includes a header of a layer above its own. The layers, bottom first, are
# the folders of src/ in the order CMakeLists.txt builds them (GLOWFRONT_LAYERS); a layer may
# include its own headers and those of every layer below it. Also fails on a source left
# directly in src/ (the process entry aside) and on two headers of one name.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
read -r -a LAYERS <<<"$(sed -n 's/^set(GLOWFRONT_LAYERS \(.*\))$/\1/p' "$ROOT/CMakeLists.txt")"
[ "${#LAYERS[@]}" -gt 1 ] || { echo "no GLOWFRONT_LAYERS in CMakeLists.txt"; exit 1; }
declare -A RANK LAYER_OF
for i in "${!LAYERS[@]}"; do RANK[${LAYERS[$i]}]=$i; done
bad=0
for path in "$ROOT"/src/*/*; do
    name=${path##*/} layer=$(basename "$(dirname "$path")")
    [ -n "${RANK[$layer]+x}" ] || { echo "src/$layer/ is no layer of GLOWFRONT_LAYERS"; bad=1; continue; }
    [ -z "${LAYER_OF[$name]+x}" ] || { echo "two files named $name: in $layer/ and ${LAYER_OF[$name]}/"; bad=1; }
    LAYER_OF[$name]=$layer
done
for path in "$ROOT"/src/*.*; do
    [ "${path##*/}" = Entry.cpp ] || { echo "src/${path##*/} belongs in a layer's folder"; bad=1; }
done
for path in "$ROOT"/src/*/*; do
    layer=$(basename "$(dirname "$path")")
    while read -r header; do
        [ -n "$header" ] || continue
        to=${LAYER_OF[$header]:-}
        if [ -z "$to" ]; then
            echo "${path#$ROOT/} includes \"$header\", which is in no layer"; bad=1
        elif [ "${RANK[$to]}" -gt "${RANK[$layer]}" ]; then
            echo "${path#$ROOT/} ($layer) includes $header from $to, a layer above it"; bad=1
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$path")
done
[ "$bad" = 0 ] && echo "layers: ${LAYERS[*]}: every include points down"
exit "$bad"
