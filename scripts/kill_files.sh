#!/bin/sh
# Kills the program's file writers at random moments, a hundred times for each file it
# rewrites (settings, pattern strip, preset and library files, saved images, seeding: 1,300
# kills), and checks that every file is left with its old or its new content.
#   scripts/kill_files.sh [BUILD_DIR] [KILLS_PER_FILE]
set -e
build=${1:-build-dev}
cmake --build "$build" --target test_shell file_rewriter
PIXORAL_KILLS=${2:-100} QT_QPA_PLATFORM=offscreen "$build/tests/shell/test_shell" --gtest_filter='CrashSafety.*'
