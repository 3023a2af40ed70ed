#!/usr/bin/env bash
# make run: starts the desktop program of a Release build; until it is built,
# shows the command-line tool on a sample collection from the corpus.
set -eu
build="${1:-build/release}"
here="$(cd "$(dirname "$0")" && pwd)"
corpus="${VARNEX_CORPUS_DIR:-$here/../../shared/corpus}"

if [ -x "$build/src/desktop/varnex" ]; then
    exec "$build/src/desktop/varnex"
fi

cli="$build/src/cli/varnex-cli"
if [ ! -x "$cli" ]; then
    echo "run: $cli is not built" >&2
    exit 1
fi
echo "The desktop program is not built yet; showing the command-line tool on a sample collection"
sample="$build/sample.vnx"
rm -f "$sample"
# Adding never touches the settings; listing only reads them, so the sample
# is shown with your own columns, sort and names.
"$cli" add "$sample" "$corpus/jkk__eidogo" "$corpus/ugoertz__kombilo" "$corpus/sanderland__katrain"
echo
echo "varnex-cli list $sample:"
"$cli" list "$sample" | tr -d '\r' | expand -t 16 | cut -c1-160
