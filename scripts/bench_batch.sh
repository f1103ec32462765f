#!/usr/bin/env bash
# Batch grayscale of many JPEG files, three ways, in one run on this machine:
#   each      pixoral --each on two worker processes: File > Open, Image > Effects >
#             Grayscale, File > Save As FILE.jpg (the program's JPEG save, quality 25)
#   separate  one `pixoral --batch` process per file doing the same three steps
#   mogrify   ImageMagick `mogrify -colorspace Gray -quality 25` (its own threads, all cores)
# Every side reads the same JPEG files and writes JPEG files into a folder of its own.
#
#   bash scripts/bench_batch.sh [BUILD_DIR] [FILES]     (defaults: build-release, 200)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
count=${2:-200}

if [[ ! -x $build/bin/pixoral ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DPIXORAL_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target pixoral >/dev/null
pixoral=$PWD/$build/bin/pixoral
# The shell's convert may be a stand-in; the real one is under /usr/bin.
convert=/usr/bin/convert
[[ -x $convert ]] || convert=convert

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in" "$work/each" "$work/separate" "$work/mogrify" "$work/data"

# 1024 x 768 photographs stand-ins: one plasma picture, each file a different shift of it.
"$convert" -size 1024x768 plasma:fractal -seed 7 "$work/base.ppm"
for ((i = 1; i <= count; i++)); do
    "$convert" "$work/base.ppm" -roll "+$((i * 5))+$((i * 3))" -quality 90 "$(printf '%s/in/img%03d.jpg' "$work" "$i")"
done

now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }

t0=$(now)
"$pixoral" --data-dir "$work/data" --jobs 2 --each "$work/in/*.jpg" --do "Image>Effects>Grayscale" \
    --save "$work/each/%n.jpg"
t1=$(now)
for f in "$work"/in/*.jpg; do
    "$pixoral" --batch --data-dir "$work/data" --open "$f" --do "Image>Effects>Grayscale" \
        --save "$work/separate/$(basename "$f")"
done
t2=$(now)
cp "$work"/in/*.jpg "$work/mogrify/"
t3=$(now)
mogrify -colorspace Gray -quality 25 "$work"/mogrify/*.jpg
t4=$(now)

for side in each separate mogrify; do
    n=$(find "$work/$side" -name '*.jpg' | wc -l)
    [[ $n -eq $count ]] || { echo "$side wrote $n of $count files" >&2; exit 1; }
done
echo "| side | what runs | seconds for $count files |"
echo "|---|---|---|"
echo "| each | pixoral --each, 2 workers | $(seconds "$t0" "$t1") |"
echo "| separate | $count x pixoral --batch | $(seconds "$t1" "$t2") |"
echo "| mogrify | mogrify -colorspace Gray -quality 25 | $(seconds "$t3" "$t4") |"
