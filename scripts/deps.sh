#!/usr/bin/env bash
# Installs, with apt-get, only the Debian packages that are not there yet.
# Usage: bash scripts/deps.sh [--test]
#   --test  also what only the tests use: a headless browser that opens the split-save page
#           and a PDF renderer that reads printed pages back (the test command passes it).
set -euo pipefail
packages=(
  cmake ninja-build g++ clang pkg-config
  qt6-base-dev libgl-dev
  libgif-dev libjpeg-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev
  xvfb xauth xdotool imagemagick fonts-dejavu-core fonts-liberation fonts-symbola
)
case "${1:-}" in
  --test) packages+=(chromium poppler-utils) ;;
  "") ;;
  *) echo "deps.sh: unknown option $1" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
