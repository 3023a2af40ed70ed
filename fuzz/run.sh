#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds, from its seeds.
set -euo pipefail
build=$1
seconds=$2
here=$(cd "$(dirname "$0")/.." && pwd)
for target in text_reader binary_reader collection_loader delim_parse; do
    work="$build/corpus-$target"
    mkdir -p "$work"
    seeds=("$here/tests/fuzzseeds/$target")
    [ "$target" = text_reader ] && seeds+=("$here/../shared/corpus")
    echo "== fuzz_$target for ${seconds}s"
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 "$work" "${seeds[@]}"
done
