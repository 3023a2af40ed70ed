#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds, from its seeds.
set -euo pipefail
build=$1
seconds=$2
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tools/corpus.sh"
corpus=$(varnex_corpus_dir)

# fuzz TARGET [--records] SEED-FOLDER...: --records adds the real game
# records of the corpus to the seeds, where there is one.
fuzz() {
    local target=$1
    shift
    local seeds=()
    for folder in "$@"; do
        if [ "$folder" = --records ]; then
            if [ -n "$corpus" ]; then seeds+=("$corpus"); fi
        else
            seeds+=("$here/tests/fuzzseeds/$folder")
        fi
    done
    local work="$build/corpus-$target"
    mkdir -p "$work"
    echo "== fuzz_$target for ${seconds}s"
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 "$work" "${seeds[@]}"
}

fuzz text_reader text_reader --records
fuzz binary_reader binary_reader
fuzz collection_loader collection_loader
fuzz delim_parse delim_parse
# The file-opening collection target starts from the loader's seeds.
fuzz collection_file collection_loader
fuzz settings_file settings_file
# The whole-game reader, from its own seeds and the real records.
fuzz game_reader game_reader --records
# The game file reader through a real file, seeded from both readers' seeds.
fuzz game_file text_reader binary_reader --records
# The list's root node against the game view's root.
fuzz root_properties text_reader game_reader --records
fuzz header_cache header_cache
fuzz duplicates duplicates --records
fuzz report_parsers report_parsers
# The board printing also from game records.
fuzz cli_output cli_output game_reader
fuzz display_decoder display_decoder
fuzz pattern_parser pattern_parser
fuzz position_row position_row
