#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/ and runs it through CTest (end-to-end tests excluded: they drive
# the real program on an X server and are run by ./test; so are the install and
# package checks, which run no code of ours). Exits non-zero when a
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
# and turns the leak check back on here. scripts/lsan.supp is the place for
# leaks inside Qt or its font libraries; our own code gets fixed instead.
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="detect_leaks=1:suppressions=$root/scripts/lsan.supp:print_suppressions=0"

cd "$dir"
set +e
ctest --output-on-failure -LE 'e2e|package' -j "$jobs" 2>&1 | tee ctest.log
status=${PIPESTATUS[0]}
set -e
if grep -qE "runtime error:|ERROR: (AddressSanitizer|LeakSanitizer)" ctest.log; then
  echo "sanitize: a sanitizer reported an error (see $dir/ctest.log)" >&2
  status=1
fi
exit "$status"
