# Sourced by the run scripts. Prints the shared corpus of game records the
# way CMake finds it: VARNEX_CORPUS_DIR, else shared/corpus in the folder
# that holds the checkout. Prints nothing when neither exists.
varnex_corpus_dir() {
    local checkout beside
    checkout="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    if [ -n "${VARNEX_CORPUS_DIR:-}" ]; then
        [ -d "$VARNEX_CORPUS_DIR" ] && (cd "$VARNEX_CORPUS_DIR" && pwd)
        return 0
    fi
    beside="$(dirname "$checkout")/shared/corpus"
    [ -d "$beside" ] && echo "$beside"
    return 0
}
