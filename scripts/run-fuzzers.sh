#!/usr/bin/env bash
# Runs every fuzz target of the fuzz preset for a bounded time each.
#
#   scripts/run-fuzzers.sh BUILD_DIR SECONDS
#
# Target NAME_fuzz starts from the kept seeds in tests/data/fuzz/NAME/ (and,
# for the list files, the list corpus) and grows a working corpus under
# BUILD_DIR/corpus/NAME. A crash stops the run with the target's report;
# its input is left in BUILD_DIR/crashes/ to become a regression case:
# copied into tests/data/fuzz/NAME/, it is a kept seed, and the native
# suite runs every kept seed of the list files through the fuzzer's check.
set -euo pipefail
build="$1"
seconds="$2"
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$build/crashes"
found=0
for target in "$build"/*_fuzz; do
    [ -x "$target" ] || continue
    name="$(basename "$target" _fuzz)"
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    seeds="$source_dir/tests/data/fuzz/$name"
    [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
    [ "$name" = listfile ] && cp -n "$source_dir"/tests/data/lists/*.xml "$corpus"/ 2>/dev/null || true
    echo "fuzzing $name for $seconds s"
    "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/crashes/$name-" \
        "$corpus" 2>"$build/$name.log" || {
        tail -60 "$build/$name.log"
        echo "Keep the input as a regression case: cp $build/crashes/$name-* $source_dir/tests/data/fuzz/$name/"
        exit 1
    }
    grep -E '^stat::number_of_executed_units' "$build/$name.log" || true
    found=$((found + 1))
done
echo "$found fuzz target(s) found nothing in $seconds s each."
