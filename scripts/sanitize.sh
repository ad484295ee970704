#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/ and runs it through CTest, with one short session of the real
# program on a private X server (e2e_exit_signal: open a map, paint, signals,
# questions, exit). The long end-to-end run is left to ./test, and so are the
# install and package checks, which run no code of ours. Exits non-zero when a
# test fails or a sanitizer reports an error.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
dir=${GRIDFORGE_ASAN_DIR:-build-asan}
jobs=${GRIDFORGE_JOBS:-$(nproc)}

cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGRIDFORGE_SANITIZE=ON -DGRIDFORGE_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$jobs"

# UBSan stops at the first error with a stack. The tests set ASAN_OPTIONS
# themselves (leak checks off for plain builds); LSAN_OPTIONS is read after it
# and turns the leak check back on here (in the program the end-to-end test
# starts, too). scripts/lsan.supp is the place for leaks inside the system's
# libraries; our own code gets fixed instead.
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="detect_leaks=1:suppressions=$root/scripts/lsan.supp:print_suppressions=0"

cd "$dir"
set +e
ctest --output-on-failure -LE 'e2e|package' -j "$jobs" 2>&1 | tee ctest.log
status=${PIPESTATUS[0]}
ctest --output-on-failure -R '^e2e_exit_signal$' 2>&1 | tee -a ctest.log
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
set -e
if grep -qE "runtime error:|ERROR: (AddressSanitizer|LeakSanitizer)" ctest.log; then
  echo "sanitize: a sanitizer reported an error (see $dir/ctest.log)" >&2
  status=1
fi
exit "$status"
