#!/usr/bin/env bash
# Makes the screenshots of docs/ (one per display style) from the sample
# collection, under Xvfb: ./tools/screenshots.sh build/release
# Needs xvfb and imagemagick. Each shot starts the program with fresh
# settings in a temporary folder that name the style; nothing of yours is
# read or written.
set -eu
build="${1:-build/release}"
here="$(cd "$(dirname "$0")/.." && pwd)"
sample="$build/sample"
"$build/tools/varnex-sample" "$sample"
vnx="$(cd "$sample" && pwd)/sample.vnx"
program="$(cd "$build/src/desktop" && pwd)/varnex"

shoot() {
    local style=$1 out=$2 sortColumn=${3:-3} sortBits=${4:-8} scratch
    scratch="$(mktemp -d)"
    mkdir -p "$scratch/config/Pellmore" "$scratch/tmp"
    # Sorted by Black unless told otherwise, so the first rows hold names of
    # several scripts; the details columns wide enough for whole names (nine
    # 32-bit widths).
    {
        printf '[Frame]\nStyle=%d\n[Misc]\nMy%%20Names=Tom Walker\n' "$style"
        printf '[Header]\nColSortCur=%d\nColSort=%d\nnWidth=9\n' "$sortColumn" "$sortBits"
        printf '%s\n' 'Width=@ByteArray(\x96\0\0\0\x78\0\0\0\x4b\0\0\0\x69\0\0\0\x46\0\0\0\x69\0\0\0\x46\0\0\0\x69\0\0\0\x5a\0\0\0)'
    } > "$scratch/config/Pellmore/Varnex.conf"
    XDG_CONFIG_HOME="$scratch/config" TMPDIR="$scratch/tmp" \
        xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
            "$1" "$2" & pid=$!
            sleep 5
            import -window root "$3"
            kill $pid; wait $pid 2>/dev/null || true' shoot "$program" "$vnx" "$scratch/shot.png"
    # A palette of 64 colours keeps the pictures small and the text sharp.
    convert "$scratch/shot.png" -trim +repage -colors 64 -strip "PNG8:$out"
    rm -rf "$scratch"
    echo "screenshots: $out"
}

shoot 0 "$here/docs/large-icons.png"
shoot 2 "$here/docs/small-icons.png"
shoot 3 "$here/docs/list.png"
shoot 1 "$here/docs/details.png"
# The newest games first: Chinese (GB2312), Japanese (Shift_JIS) and Korean
# (EUC-KR) records side by side, each decoded by its own charset.
shoot 1 "$here/docs/cjk-names.png" 2 0
# The preview beside the list: professional games of the shared corpus (read
# in place), the fourth row current, each game opened at move 120. Needs
# xdotool too; left out without a corpus.
. "$here/tools/corpus.sh"
corpus="$(varnex_corpus_dir)"
if [ -n "$corpus" ]; then
    scratch="$(mktemp -d)"
    mkdir -p "$scratch/config/Pellmore" "$scratch/tmp"
    "$build/src/cli/varnex-cli" add "$scratch/pro.vnx" "$corpus/ugoertz__kombilo/kombilo/tests/sgfs" > /dev/null
    printf '[Frame]\nStyle=1\n[Header]\nColSortCur=1\nColSort=0\n[Preview]\nAt=1\nMove=120\n' \
        > "$scratch/config/Pellmore/Varnex.conf"
    XDG_CONFIG_HOME="$scratch/config" TMPDIR="$scratch/tmp" \
        xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
            "$1" "$2" & pid=$!
            sleep 4
            xdotool search --sync --onlyvisible --name "Varnex" windowsize %@ 1240 760 windowmove %@ 0 0 || true
            sleep 1
            xdotool key Down Down Down Down
            sleep 2
            import -window root "$3"
            kill $pid; wait $pid 2>/dev/null || true' shoot "$program" "$scratch/pro.vnx" "$scratch/shot.png"
    convert "$scratch/shot.png" -trim +repage -colors 128 -strip "PNG8:$here/docs/preview.png"
    rm -rf "$scratch"
    echo "screenshots: $here/docs/preview.png"
fi
# The position search on strong games: the upper right corner drawn by
# the mouse with a stone on the 3-4 point, searched, then walked five moves
# deep by the letters of the most played continuations. The pattern board
# is found on a first look at the screen by its wood colour. Needs xdotool
# and python3; left out without a corpus.
if [ -n "$corpus" ]; then
    scratch="$(mktemp -d)"
    mkdir -p "$scratch/config/Pellmore" "$scratch/tmp"
    # The professional games and those of the strongest programs, whose
    # openings follow the joseki.
    "$build/src/cli/varnex-cli" add "$scratch/pro.vnx" "$corpus/ugoertz__kombilo/kombilo/tests/sgfs" \
        "$corpus/yenw__computer-go-dataset" > /dev/null
    printf '[Frame]\nStyle=1\n' > "$scratch/config/Pellmore/Varnex.conf"
    cat > "$scratch/points.py" <<'PY'
import sys
# The centre of board points on the screen: the topmost wood-coloured row
# of the right half is the top edge of the pattern board (labels included).
data = open(sys.argv[1], 'rb').read()
parts = data.split(b'\n', 3)
width, height = map(int, parts[1].split())
pixels = parts[3]
wood = bytes((222, 184, 110))
for y in range(height):
    row = pixels[y * width * 3:(y + 1) * width * 3]
    xs = [x for x in range(width // 2, width) if row[x * 3:x * 3 + 3] == wood]
    if len(xs) > 60:
        left, size = xs[0], xs[-1] - xs[0] + 1
        top = y
        break
cell = size / (19 + 1.6)
def at(x, y):
    return '%d %d' % (left + (1.3 + x) * cell, top + (1.3 + y) * cell)
print(at(12, 0), at(18, 6), at(16, 3))
PY
    XDG_CONFIG_HOME="$scratch/config" TMPDIR="$scratch/tmp" \
        xvfb-run -a -s "-screen 0 1400x900x24" bash -c '
            "$1" "$2" & pid=$!
            sleep 4
            xdotool search --sync --onlyvisible --name "Varnex" windowsize %@ 1380 880 windowmove %@ 0 0 || true
            sleep 1
            xdotool key ctrl+shift+f
            sleep 1
            import -window root -depth 8 "$3.ppm"
            set -- "$@" $(python3 "$4" "$3.ppm")
            xdotool mousemove "$5" "$6" mousedown 1 mousemove "$7" "$8" sleep 0.3 mouseup 1
            xdotool mousemove "$9" "${10}" click 1
            sleep 0.5
            xdotool key Return
            sleep 2
            for move in 1 2 3 4 5; do xdotool key a; sleep 1.5; done
            # The first game found, in the preview at its first hit.
            xdotool mousemove 120 76 click 1
            sleep 2
            import -window root "$3"
            kill $pid; wait $pid 2>/dev/null || true' shoot "$program" "$scratch/pro.vnx" "$scratch/shot.png" \
        "$scratch/points.py"
    convert "$scratch/shot.png" -trim +repage -colors 128 -strip "PNG8:$here/docs/pattern.png"
    rm -rf "$scratch"
    echo "screenshots: $here/docs/pattern.png"
fi
# The players dock over the professional games of the shared corpus: the
# players sorted by games, and the record of the one with the most, chosen
# by Enter in the dock's empty name filter. Needs xdotool; left out without
# a corpus.
if [ -n "$corpus" ]; then
    scratch="$(mktemp -d)"
    mkdir -p "$scratch/config/Pellmore" "$scratch/tmp"
    "$build/src/cli/varnex-cli" add "$scratch/pro.vnx" "$corpus/ugoertz__kombilo/kombilo/tests/sgfs" > /dev/null
    printf '[Frame]\nStyle=1\n[Preview]\nShown=0\n[Players]\nShown=1\n' > "$scratch/config/Pellmore/Varnex.conf"
    XDG_CONFIG_HOME="$scratch/config" TMPDIR="$scratch/tmp" \
        xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
            "$1" "$2" & pid=$!
            sleep 4
            xdotool search --sync --onlyvisible --name "Varnex" windowsize %@ 1240 760 windowmove %@ 0 0 || true
            sleep 1
            # The name filter is the first field of the dock, at its top left.
            xdotool mousemove 60 "$4" click 1
            xdotool key Return
            sleep 2
            xdotool mousemove 1200 740
            import -window root "$3"
            kill $pid; wait $pid 2>/dev/null || true' shoot "$program" "$scratch/pro.vnx" "$scratch/shot.png" \
        "${VARNEX_SHOT_FILTER_Y:-88}"
    convert "$scratch/shot.png" -trim +repage -colors 128 -strip "PNG8:$here/docs/players.png"
    rm -rf "$scratch"
    echo "screenshots: $here/docs/players.png"
fi
# Board Pictures: the large icons of the professional games of the shared
# corpus, each board at move 60 (the preview's "Open at" choice), the
# preview hidden so the list has the window. Left out without a corpus.
if [ -n "$corpus" ]; then
    scratch="$(mktemp -d)"
    mkdir -p "$scratch/config/Pellmore" "$scratch/tmp"
    "$build/src/cli/varnex-cli" add "$scratch/pro.vnx" "$corpus/ugoertz__kombilo/kombilo/tests/sgfs" > /dev/null
    printf '[Frame]\nStyle=0\nBoard%%20Pictures=1\n[Header]\nColSortCur=0\nColSort=1\n[Preview]\nShown=0\nAt=1\nMove=60\n' \
        > "$scratch/config/Pellmore/Varnex.conf"
    XDG_CONFIG_HOME="$scratch/config" TMPDIR="$scratch/tmp" XDG_CACHE_HOME="$scratch/cache" \
        xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
            "$1" "$2" & pid=$!
            sleep 4
            xdotool search --sync --onlyvisible --name "Varnex" windowsize %@ 900 560 windowmove %@ 0 0 || true
            sleep 3
            import -window root "$3"
            kill $pid; wait $pid 2>/dev/null || true' shoot "$program" "$scratch/pro.vnx" "$scratch/shot.png"
    convert "$scratch/shot.png" -trim +repage -colors 128 -strip "PNG8:$here/docs/board-pictures.png"
    rm -rf "$scratch"
    echo "screenshots: $here/docs/board-pictures.png"
fi
