#!/bin/sh
# Runs every benchmark of a release build; the build directory is the first argument.
set -e
BUILD="${1:-build/release}"
"$BUILD/bench/desktop_bench" 100000 "$BUILD/bench-data"
