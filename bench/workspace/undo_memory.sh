#!/bin/sh
# Peak memory of painting on the largest image: File > New at 16384 by 16384 (1 GiB of
# pixels), ten short strokes, then Undo and Redo, all in batch mode; prints the peak resident
# size that /usr/bin/time -v reports. Undo steps share the tiles a stroke did not touch, so
# the peak should stay near two pictures (the workspace and one stored step), under 2.5 GB.
#   bench/workspace/undo_memory.sh [EXECUTABLE]   (default: the release build, build/bin/pixoral)
set -e
exe=${1:-build/bin/pixoral}
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
set -- --batch --data-dir "$data" --do "File>New" --answer 16384 --answer 16384
i=0
while [ $i -lt 10 ]; do
    x=$((1000 + i * 1400))
    y=$((800 + i * 1500))
    set -- "$@" --drag "$x,$y:$((x + 300)),$((y + 120)):$((x + 600)),$((y + 40))"
    i=$((i + 1))
done
set -- "$@" --do "Toolbar>Undo" --do "Toolbar>Undo" --do "Edit>Redo" --state -
QT_QPA_PLATFORM=offscreen /usr/bin/time -v "$exe" "$@" >"$data/state.json" 2>"$data/time.txt" || {
    cat "$data/time.txt"
    exit 1
}
grep -E "Maximum resident set size|Elapsed \(wall clock\)" "$data/time.txt"
kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$data/time.txt")
echo "peak: $((kb / 1024)) MiB ($(awk "BEGIN { printf \"%.2f\", $kb * 1024 / 1e9 }") GB)"
