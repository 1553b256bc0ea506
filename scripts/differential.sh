#!/usr/bin/env bash
# Differential runs of random command sequences: the same seeds through the
# in-memory forest natively and through the real tree-view under Wine
# (which checks the in-memory forest beside it after every step); the list
# files both save must be byte-identical. A failing seed is named with the
# commands that replay it.
#
#   scripts/differential.sh NATIVE_BUILD WINDOWS_BUILD FIRST COUNT
set -euo pipefail
native="$1/differential"
windows="$2/differential.exe"
first="$3"
count="$4"
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
if [ ! -x "$native" ] || [ ! -f "$windows" ]; then
    echo "differential: $native or $windows is missing (make native windows)" >&2
    exit 77
fi
out="$(mktemp -d "${TMPDIR:-/tmp}/velkin-differential.XXXXXX")"
trap 'rm -rf "$out"' EXIT

status=0
"$native" "$first" "$count" "$out/native" || status=1
"$source_dir/scripts/wine-run" "$windows" "$first" "$count" "Z:$(echo "$out/windows" | tr / '\\')" | tr -d '\r' ||
    status=1
differ=0
for ((seed = first; seed < first + count; ++seed)); do
    for file in list.xml active.xml done.xml; do
        if ! cmp -s "$out/native/$seed/$file" "$out/windows/$seed/$file"; then
            echo "seed $seed: $file differs between the native build and the tree-view under Wine"
            differ=$((differ + 1))
            status=1
            break
        fi
    done
    [ "$differ" -lt 10 ] || break
done
if [ "$status" != 0 ]; then
    echo "Replay a seed step by step with:"
    echo "  $native SEED 1 --verbose"
    echo "  $source_dir/scripts/wine-run $windows SEED 1 --verbose"
    exit 1
fi
echo "differential: $count sequences from seed $first saved the same files natively and on the tree-view"
