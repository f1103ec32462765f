#!/usr/bin/env bash
# A long monkey run under AddressSanitizer and UndefinedBehaviorSanitizer: COUNT random batch
# actions from SEED (the same seed gives the same walk). Builds pixoral_monkey in build-fuzz/
# and fills build-fuzz/monkey/SEED/. A crash or sanitizer report prints the shell line that
# repeats it with pixoral --batch; so does each action slower than the limit.
#
# Usage: bash scripts/monkey.sh SEED COUNT
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/fuzz_common.sh
seed=${1:?usage: monkey.sh SEED COUNT}
count=${2:?usage: monkey.sh SEED COUNT}
fuzz_build pixoral_monkey pixoral
folder=$FUZZ_BUILD/monkey/$seed
rm -rf "$folder"
nice -n 19 "$FUZZ_BUILD/bin/pixoral_monkey" "$seed" "$count" "$folder"
