#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz/ with clang and runs each one for a
# bounded time on a copy of the seed corpus in fuzz/corpus/ (the corpus in the
# repository is never changed). Exits non-zero when a target crashes; the input
# that did it is left in build-fuzz/findings/.
#   FUZZ_SECONDS  time per target (default 60)
#   FUZZ_RUNS     most inputs per target (default 2000000)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${GRIDFORGE_FUZZ_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
runs=${FUZZ_RUNS:-2000000}
jobs=${GRIDFORGE_JOBS:-$(nproc)}

cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DGRIDFORGE_FUZZ=ON -DGRIDFORGE_BUILD_TESTS=OFF -DGRIDFORGE_BUILD_BENCH=OFF >/dev/null
targets=$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
# shellcheck disable=SC2086
cmake --build "$dir" -j "$jobs" --target $targets

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
mkdir -p "$dir/findings"
status=0
for target in $targets; do
  work="$dir/corpus-$target"
  rm -rf "$work"
  cp -r fuzz/corpus "$work"
  echo "== $target: ${seconds}s or $runs runs"
  if ! "$dir/$target" -max_total_time="$seconds" -runs="$runs" -max_len=16384 \
      -artifact_prefix="$dir/findings/$target-" -print_final_stats=1 "$work" \
      >"$dir/$target.log" 2>&1; then
    echo "$target: crashed; input in $dir/findings/, log in $dir/$target.log" >&2
    tail -n 40 "$dir/$target.log" >&2
    status=1
  else
    grep -E "^(#[0-9]+.*DONE|stat::number_of_executed_units)" "$dir/$target.log" || true
  fi
done
exit "$status"
