# Shared by fuzz.sh and monkey.sh (sourced, not run): the sanitizer build in build-fuzz/
# (clang, AddressSanitizer and UndefinedBehaviorSanitizer with the fuzzer's coverage hooks,
# every undefined-behaviour report fatal; line tables only, which is all a report needs and
# builds much faster) and the sanitizer settings of a run.
FUZZ_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
FUZZ_BUILD=$FUZZ_ROOT/build-fuzz

# Configures build-fuzz when it is not yet, then builds the given targets.
fuzz_build() {
  if [[ ! -f $FUZZ_BUILD/build.ninja ]]; then
    cmake -S "$FUZZ_ROOT" -B "$FUZZ_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DPIXORAL_FUZZ=ON -DBUILD_TESTING=OFF -DPIXORAL_BENCH=OFF -DCMAKE_CXX_FLAGS=-fno-sanitize-recover=all \
      "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only" \
      $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake --build "$FUZZ_BUILD" -j2 --target "$@"
}

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
# Leaks of the system's font and display libraries at exit are theirs, not ours.
export LSAN_OPTIONS=suppressions=$FUZZ_ROOT/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
