#!/bin/bash
# Fails, naming them, when source files differ from what clang-format makes
# of them with the repository's .clang-format, so every diff carries only
# its change. Usage: check-format.sh [SOURCE_DIR]
set -u
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2
command -v clang-format >/dev/null || { echo "clang-format is not installed"; exit 2; }
files=$(git ls-files -- '*.cpp' '*.h' ':!tests/fuzzseeds/*') || exit 2
differ=()
for f in $files; do
    clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || differ+=("$f")
done
if [ ${#differ[@]} -gt 0 ]; then
    echo "${#differ[@]} file(s) differ from clang-format (run clang-format -i on them):"
    printf '  %s\n' "${differ[@]}"
    exit 1
fi
echo "every source file is formatted"
