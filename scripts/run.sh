#!/usr/bin/env bash
# Set up, build and start Pixoral.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DPIXORAL_BENCH=OFF
cmake --build build
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Pixoral on a virtual one (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1280x800x24" build/bin/pixoral "$@"
fi
exec build/bin/pixoral "$@"
