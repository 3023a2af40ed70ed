#!/usr/bin/env bash
# Runs the benchmarks of a Release build: ./bench/run.sh build/bench
# The 100,000 generated game files are written once to BUILD/bench-data and
# reused. The figures are printed; a failing benchmark never fails the run.
set -u
build="${1:-build/bench}"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../tools/corpus.sh"
corpus="$(varnex_corpus_dir)"
[ -n "$corpus" ] || echo "bench: no corpus (set VARNEX_CORPUS_DIR or put it at shared/corpus beside the checkout); its figures are left out"
data="$build/bench-data"
count="${VARNEX_BENCH_FILES:-100000}"
# The header caches of the runs below stay in the build folder, never in the
# user's own cache folder.
export XDG_CACHE_HOME="$build/bench-cache"

if [ ! -x "$build/bench/varnex-gen-games" ]; then
    echo "bench: $build/bench has no benchmarks; configure with -DVARNEX_BUILD_BENCH=ON" >&2
    exit 0
fi

start=$(date +%s)
"$build/bench/varnex-gen-games" "$data" "$count" || echo "bench: generating the game files failed"
# The same tree with a third of the players in GB2312, Shift_JIS or EUC-KR
# (with CA) and a tenth in them without CA.
mixed="$build/bench-data-mixed"
"$build/bench/varnex-gen-games" "$mixed" "$count" --mixed-charsets || echo "bench: generating the mixed tree failed"

echo
echo "== core: reader, command-line info, document, collection file"
cli=()
[ -x "$build/src/cli/varnex-cli" ] && cli=("$build/src/cli/varnex-cli")
"$build/bench/varnex-bench-core" "$data" "$corpus" "${cli[@]}" || echo "bench: varnex-bench-core failed"

echo
echo "== the whole-game reader and its board"
"$build/bench/varnex-bench-game" "$corpus" || echo "bench: varnex-bench-game failed"

echo
echo "== position search: corpus games in their symmetries and cuts, as many as the benchmark's files"
"$build/bench/varnex-bench-pattern" "$corpus" "$count" || echo "bench: varnex-bench-pattern failed"

if [ "$count" -ge 100000 ]; then
    echo
    echo "== duplicates: Find Duplicates over 100,000 files, a tenth of them copies"
    "$build/bench/varnex-bench-dups" "$data" "$build/bench-data-copies" "${cli[@]}" || echo "bench: varnex-bench-dups failed"
fi

echo
echo "== one file of all the generated games against the files of one game each"
"$build/bench/varnex-bench-games-file" "$data" "$build/bench-games.sgf" || echo "bench: varnex-bench-games-file failed"
if [ -x "$build/src/cli/varnex-cli" ]; then
    for form in files file; do
        rm -f "$build/bench-$form.vnx"
        source="$data"
        [ "$form" = file ] && source="$build/bench-games.sgf"
        t0=$(date +%s%N)
        "$build/src/cli/varnex-cli" add --no-cache "$build/bench-$form.vnx" "$source" >/dev/null || echo "bench: add failed"
        t1=$(date +%s%N)
        lines=$("$build/src/cli/varnex-cli" list --no-cache "$build/bench-$form.vnx" | wc -l)
        echo "varnex-cli add, list --no-cache of the $form: $(( (t1 - t0) / 1000000 )) ms, $(( ($(date +%s%N) - t1) / 1000000 )) ms, $lines lines"
    done
fi

if [ -n "$corpus" ]; then
    echo
    echo "== duplicates: grouping cut copies of one long game, each the start of the longer ones"
    "$build/bench/varnex-bench-dup-chains" "$corpus" || echo "bench: varnex-bench-dup-chains failed"
fi

echo
echo "== display decoding: corpus records whose names show as text"
"$build/bench/varnex-bench-decode" "$corpus" || echo "bench: varnex-bench-decode failed"

echo
echo "== players: the players table of the tree's games, and ten times as many"
"$build/bench/varnex-bench-players" "$data" || echo "bench: varnex-bench-players failed"

echo
echo "== core functions in memory"
"$build/bench/varnex-bench-micro" --benchmark_min_time=0.2 || echo "bench: varnex-bench-micro failed"

if [ -x "$build/src/cli/varnex-cli" ]; then
    echo
    echo "== command line: varnex-cli add of the whole tree"
    rm -f "$build/bench-add.vnx"
    t0=$(date +%s%N)
    "$build/src/cli/varnex-cli" add "$build/bench-add.vnx" "$data" || echo "bench: varnex-cli add failed"
    echo "varnex-cli add (walk and read) of the tree: $(( ($(date +%s%N) - t0) / 1000000 )) ms"
    # list reads every file with --no-cache, builds the cache when there is
    # none, and takes the unchanged files from it when there is.
    timed_list() {
        local t0
        t0=$(date +%s%N)
        "$build/src/cli/varnex-cli" list "$build/bench-add.vnx" "$@" >/dev/null || echo "bench: list failed"
        echo "$(( ($(date +%s%N) - t0) / 1000000 )) ms"
    }
    echo "varnex-cli list --no-cache: $(timed_list --no-cache)"
    rm -rf "$XDG_CACHE_HOME"
    echo "varnex-cli list, no cache yet (builds it): $(timed_list)"
    echo "varnex-cli list with the cache: $(timed_list)"
    t0=$(date +%s%N)
    "$build/src/cli/varnex-cli" players "$build/bench-add.vnx" >/dev/null || echo "bench: players failed"
    echo "varnex-cli players with the cache (open, count, write): $(( ($(date +%s%N) - t0) / 1000000 )) ms"
    rm -f "$build/bench-add.vnx"
fi

if [ -x "$build/src/cli/varnex-cli" ] && [ -x "$build/bench/varnex-gen-colliding" ]; then
    echo
    echo "== command line: 65,536 names sharing one bucket hash, against plain names"
    names="$build/bench-data-names"
    "$build/bench/varnex-gen-colliding" "$names" || echo "bench: generating the names failed"
    for kind in plain colliding; do
        rm -f "$build/bench-names.vnx"
        t0=$(date +%s%N)
        "$build/src/cli/varnex-cli" add "$build/bench-names.vnx" "$names/$kind" >/dev/null || echo "bench: add failed"
        t1=$(date +%s%N)
        "$build/src/cli/varnex-cli" list "$build/bench-names.vnx" --no-cache >/dev/null || echo "bench: list failed"
        t2=$(date +%s%N)
        echo "$kind names: varnex-cli add $(( (t1 - t0) / 1000000 )) ms, list --no-cache $(( (t2 - t1) / 1000000 )) ms"
    done
    rm -f "$build/bench-names.vnx"
fi

if [ -n "$corpus" ] && [ -x "$build/bench/varnex-gen-archive" ]; then
    echo
    echo "== position rows: an archive of $count games made from the corpus games"
    archive="$build/bench-data-archive"
    queries="$build/bench-archive-queries.txt"
    "$build/bench/varnex-gen-archive" "$archive" "$count" "$corpus" "$queries" ||
        echo "bench: generating the archive failed"
    if [ -x "$build/src/cli/varnex-cli" ]; then
        rm -f "$build/bench-archive.vnx"
        rm -rf "$XDG_CACHE_HOME"
        t0=$(date +%s%N)
        "$build/src/cli/varnex-cli" add "$build/bench-archive.vnx" "$archive" >/dev/null || echo "bench: add failed"
        echo "varnex-cli add of the archive, new cache (header values and position rows): $(( ($(date +%s%N) - t0) / 1000000 )) ms"
        # Position search as the command line runs it: the index loaded once
        # from the cache, then every query of the set.
        if [ -x "$build/bench/varnex-bench-pattern-archive" ]; then
            "$build/bench/varnex-bench-pattern-archive" "$build/bench-archive.vnx" "$XDG_CACHE_HOME/Pellmore/Varnex" "$queries" ||
                echo "bench: varnex-bench-pattern-archive failed"
        fi
        t0=$(date +%s%N)
        "$build/src/cli/varnex-cli" pattern "$build/bench-archive.vnx" --continuations --batch "$queries" >/dev/null ||
            echo "bench: pattern failed"
        echo "varnex-cli pattern --batch of the $(grep -c . "$queries") queries, whole process: $(( ($(date +%s%N) - t0) / 1000000 )) ms"
        if [ -x "$build/bench/pattern_bench" ]; then
            echo
            echo "== window: position search over the archive, from the key to the list and letters shown"
            QT_QPA_PLATFORM=offscreen "$build/bench/pattern_bench" "$build/bench-archive.vnx" "$queries" ||
                echo "bench: pattern_bench failed"
        fi
        rm -f "$build/bench-archive.vnx"
    fi
    "$build/bench/varnex-bench-position-rows" "$archive" "$build/bench-position-rows" ||
        echo "bench: varnex-bench-position-rows failed"
fi

if [ -x "$build/bench/desktop_bench" ]; then
    echo
    echo "== report view (with scrolling the large icons with board pictures)"
    QT_QPA_PLATFORM=offscreen "$build/bench/desktop_bench" "$count" "$data" "$build/src/cli/varnex-cli" ||
        echo "bench: desktop_bench failed"
fi

if [ -x "$build/bench/preview_bench" ]; then
    echo
    echo "== preview pane"
    QT_QPA_PLATFORM=offscreen "$build/bench/preview_bench" "$corpus" || echo "bench: preview_bench failed"
fi

if [ -x "$build/bench/players_bench" ]; then
    echo
    echo "== players dock"
    QT_QPA_PLATFORM=offscreen "$build/bench/players_bench" "$count" "$data" || echo "bench: players_bench failed"
    echo "-- the same with a third of the names in GB2312, Shift_JIS or EUC-KR"
    QT_QPA_PLATFORM=offscreen "$build/bench/players_bench" "$count" "$mixed" || echo "bench: players_bench failed"
fi

if [ -x "$build/bench/charset_bench" ]; then
    echo
    echo "== report view: names in legacy charsets"
    QT_QPA_PLATFORM=offscreen "$build/bench/charset_bench" "$count" "$data" "$mixed" || echo "bench: charset_bench failed"
fi

if [ -x "$build/bench/options_bench" ]; then
    echo
    echo "== options sheet"
    QT_QPA_PLATFORM=offscreen "$build/bench/options_bench" "$count" "$data" || echo "bench: options_bench failed"
fi

echo
echo "bench: done in $(( $(date +%s) - start )) s"
exit 0
