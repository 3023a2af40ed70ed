#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds, from its seeds.
set -euo pipefail
build=$1
seconds=$2
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tools/corpus.sh"
corpus=$(varnex_corpus_dir)
for target in text_reader binary_reader collection_loader delim_parse collection_file settings_file; do
    work="$build/corpus-$target"
    mkdir -p "$work"
    seeds=("$here/tests/fuzzseeds/$target")
    # The file-opening collection target starts from the loader's seeds.
    if [ "$target" = collection_file ]; then seeds=("$here/tests/fuzzseeds/collection_loader"); fi
    if [ "$target" = text_reader ] && [ -n "$corpus" ]; then seeds+=("$corpus"); fi
    echo "== fuzz_$target for ${seconds}s"
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 "$work" "${seeds[@]}"
done
# The whole-game reader, from its own seeds and the real records.
work="$build/corpus-game_reader"
mkdir -p "$work"
seeds=("$here/tests/fuzzseeds/game_reader")
if [ -n "$corpus" ]; then seeds+=("$corpus"); fi
echo "== fuzz_game_reader for ${seconds}s"
"$build/fuzz/fuzz_game_reader" -max_total_time="$seconds" -print_final_stats=1 "$work" "${seeds[@]}"
# The game file reader through a real file, seeded from both readers' seeds.
work="$build/corpus-game_file"
mkdir -p "$work"
seeds=("$here/tests/fuzzseeds/text_reader" "$here/tests/fuzzseeds/binary_reader")
if [ -n "$corpus" ]; then seeds+=("$corpus"); fi
echo "== fuzz_game_file for ${seconds}s"
"$build/fuzz/fuzz_game_file" -max_total_time="$seconds" -print_final_stats=1 "$work" "${seeds[@]}"
# The list's root node against the game view's root, from both readers'
# text seeds.
work="$build/corpus-root_properties"
mkdir -p "$work"
seeds=("$here/tests/fuzzseeds/text_reader" "$here/tests/fuzzseeds/game_reader")
if [ -n "$corpus" ]; then seeds+=("$corpus"); fi
echo "== fuzz_root_properties for ${seconds}s"
"$build/fuzz/fuzz_root_properties" -max_total_time="$seconds" -print_final_stats=1 "$work" "${seeds[@]}"
# The targets over the header cache, duplicates, the report parsers, the
# command-line output and the display decoder, each from its own seeds (the
# duplicates and the board also from game records).
for target in header_cache duplicates report_parsers cli_output display_decoder; do
    work="$build/corpus-$target"
    mkdir -p "$work"
    seeds=("$here/tests/fuzzseeds/$target")
    if [ "$target" = cli_output ]; then seeds+=("$here/tests/fuzzseeds/game_reader"); fi
    if [ "$target" = duplicates ] && [ -n "$corpus" ]; then seeds+=("$corpus"); fi
    echo "== fuzz_$target for ${seconds}s"
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 "$work" "${seeds[@]}"
done
