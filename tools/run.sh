#!/usr/bin/env bash
# make run: writes the sample collection into the build folder and starts the
# desktop program of a Release build on it: ./tools/run.sh build/release
# The program keeps its settings in BUILD/sample/config and the sample's
# header cache in BUILD/sample/cache, so a first run never touches your own
# folders; VARNEX_RUN_OWN_SETTINGS=1 uses yours instead.
set -eu
build="${1:-build/release}"
sample="$build/sample"

for program in "$build/tools/varnex-sample" "$build/src/desktop/varnex"; do
    if [ ! -x "$program" ]; then
        echo "run: $program is not built" >&2
        exit 1
    fi
done
"$build/tools/varnex-sample" "$sample"

if [ "${VARNEX_RUN_OWN_SETTINGS:-0}" != 1 ]; then
    export XDG_CONFIG_HOME
    XDG_CONFIG_HOME="$(cd "$sample" && pwd)/config"
    settings="$XDG_CONFIG_HOME/Pellmore/Varnex.conf"
    # The club games are Tom Walker's own, so the Opponent column has
    # something to show; the list starts in the details style (1), where a
    # newcomer sees the game information at once.
    if [ ! -e "$settings" ]; then
        mkdir -p "$(dirname "$settings")"
        printf '[Frame]\nStyle=1\n\n[Misc]\nMy%%20Names=Tom Walker\n' > "$settings"
    fi
    echo "run: settings in $settings"
    export XDG_CACHE_HOME
    XDG_CACHE_HOME="$(cd "$sample" && pwd)/cache"
    echo "run: header cache in $XDG_CACHE_HOME/Pellmore/Varnex"
fi
exec "$build/src/desktop/varnex" "$sample/sample.vnx"
