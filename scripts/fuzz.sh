#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz/ and runs one target, or each in turn, for SECONDS seconds. The corpus grows in
# build-fuzz/corpus/TARGET, seeded on every run from the shipped data files, the test files,
# fuzz/corpus/ and the golden drawings of tests/canvas/golden written as metafiles; crashes and leaks land in build-fuzz/artifacts/TARGET/.
#
# Usage: bash scripts/fuzz.sh TARGET|all SECONDS [extra libFuzzer options]
#   TARGET is the name without "fuzz_" (files_png, ui_presets, ...); "list" lists them.
# Prints one line per target: executions, and whether it found something. Exit status 1
# when a target found a fault.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/fuzz_common.sh
BUILD=$FUZZ_BUILD
target=${1:-}
seconds=${2:-60}
shift $(( $# < 2 ? $# : 2 ))

targets() { ls fuzz/fuzz_*.cpp | sed 's|fuzz/fuzz_||; s|\.cpp$||'; }
if [[ -z $target || $target == list ]]; then
  targets
  exit 0
fi

if [[ $target == all ]]; then list=$(targets); else list=$target; fi
build_targets=()
for t in $list; do build_targets+=("fuzz_$t"); done
# FUZZ_NO_BUILD=1: run what is built (while another run or build uses build-fuzz).
[[ -n ${FUZZ_NO_BUILD:-} ]] || fuzz_build "${build_targets[@]}"

# Files of the given name patterns from the shipped data and the tests.
seed_files() {
  local args=()
  for p in "$@"; do args+=(-o -iname "$p"); done
  find data tests fuzz/corpus -type f \( -false "${args[@]}" \) 2>/dev/null
}

# Fills DIR with the seeds of target T.
seed() {
  local t=$1 dir=$2 i=0 f
  rm -rf "$dir"
  mkdir -p "$dir"
  case $t in
    expr_parser) cp fuzz/corpus/expr/* "$dir"/ ;;
    # (head stops reading early; the finder's broken pipe is not a failure)
    files_bmp|workspace_patterns) { seed_files '*.bmp' || true; } | head -n 60 | while read -r f; do cp "$f" "$dir/$(echo "$f" | tr / _)"; done ;;
    files_png) seed_files '*.png' | while read -r f; do cp "$f" "$dir/$(echo "$f" | tr / _)"; done ;;
    files_gif|files_ico)
      local ext=${t#files_}
      seed_files "*.$ext" | while read -r f; do cp "$f" "$dir/$(echo "$f" | tr / _)"; done ;;
    files_wmf|files_emf)
      local ext=${t#files_}
      seed_files "*.$ext" | while read -r f; do cp "$f" "$dir/$(echo "$f" | tr / _)"; done
      cp "$golden"/*."$ext" "$dir"/ ;;
    files_jpeg) seed_files '*.jpg' '*.jpeg' | while read -r f; do cp "$f" "$dir/$(echo "$f" | tr / _)"; done ;;
    files_metafile_cuts)
      seed_files '*.wmf' '*.emf' | while read -r f; do cp "$f" "$dir/$(echo "$f" | tr / _)"; done
      cp "$golden"/*.wmf "$golden"/*.emf "$dir"/ ;;
    workspace_settings)
      seed_files '*.ini' | while read -r f; do cp "$f" "$dir/$(echo "$f" | tr / _)"; done
      printf '[Window]\nState=normal\nLeft=10\nTop=20\nWidth=640\nHeight=480\n\n[Recent Files]\nFile1=/tmp/a.bmp\nFile2=b.gif\n' >"$dir/pixoral.ini" ;;
    ui_presets)
      # The first byte picks the file kind, in the target's order.
      local kind=0
      for f in PixoralQB.txt PixoralFL.txt GraphPresets.tip Surf3DPresets.txt PixoralFrac.txt PixoralLib.tip; do
        { printf "\\x0$kind"; cat "data/$f"; } >"$dir/$f"
        kind=$((kind + 1))
      done ;;
    script_turtle)
      # The first byte picks the pixel format; the library's scripts are the seeds.
      while IFS= read -r line; do
        i=$((i + 1))
        { printf "\\x0$((i % 5))"; printf '%s' "${line#*=}" | tr -d '\r' | sed 's/~~/\r\n/g'; } >"$dir/lib$i"
      done <data/PixoralLib.tip
      seed_files '*.qvs' | while read -r f; do { printf '\x04'; cat "$f"; } >"$dir/$(echo "$f" | tr / _)"; done ;;
  esac
}

# The golden drawings of the canvas tests as metafiles.
golden=$BUILD/golden-metafiles
python3 fuzz/golden_metafiles.py tests/canvas/golden "$golden"

status=0
for t in $list; do
  corpus=$BUILD/corpus/$t seeds=$BUILD/seeds/$t artifacts=$BUILD/artifacts/$t
  mkdir -p "$corpus" "$artifacts"
  seed "$t" "$seeds"
  log=$BUILD/logs/$t.log
  mkdir -p "$BUILD/logs"
  set +e
  nice -n 19 "$BUILD/bin/fuzz_$t" -max_total_time="$seconds" -timeout=1200 -rss_limit_mb=3072 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$@" "$corpus" "$seeds" >"$log" 2>&1
  rc=$?
  set -e
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  if [[ $rc -eq 0 ]]; then
    echo "$t: ${execs:-?} executions, nothing found"
  else
    status=1
    echo "$t: FOUND A FAULT after ${execs:-?} executions (exit $rc); see $log and $artifacts/"
    grep -m3 -E 'ERROR: |runtime error|SUMMARY' "$log" | sed 's/^/  /' || true
  fi
done
exit $status
