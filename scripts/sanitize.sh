#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/ and runs it through CTest (end-to-end tests excluded: they drive
# the real program on an X server and are run by ./test). Exits non-zero when a
# test fails or a sanitizer reports an error.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
dir=${GRIDFORGE_ASAN_DIR:-build-asan}
jobs=${GRIDFORGE_JOBS:-$(nproc)}

cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGRIDFORGE_SANITIZE=ON -DGRIDFORGE_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$jobs"

# UBSan stops at the first error with a stack; ASan reports leaks of our code,
# while the few allocations Qt and fontconfig keep for the life of the process
# are listed in scripts/lsan.supp.
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_stack_use_after_return=1:strict_string_checks=1}"

cd "$dir"
set +e
ctest --output-on-failure -LE e2e -j "$jobs" 2>&1 | tee ctest.log
status=${PIPESTATUS[0]}
set -e
if grep -qE "runtime error:|ERROR: (AddressSanitizer|LeakSanitizer)" ctest.log; then
  echo "sanitize: a sanitizer reported an error (see $dir/ctest.log)" >&2
  status=1
fi
exit "$status"
