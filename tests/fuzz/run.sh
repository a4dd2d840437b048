#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time from a copy
# of its seed corpus. A crash, leak, sanitizer report or failed check stops
# the run with an error.
#   tests/fuzz/run.sh [SECONDS_PER_TARGET]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
build=${ZELVANOS_FUZZ_BUILD_DIR:-$root/build-fuzz}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DZELVANOS_FUZZ=ON -DZELVANOS_TESTS=OFF \
  -DZELVANOS_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzz_settings fuzz_highscores fuzz_bank fuzz_source
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in settings highscores bank source; do
  cp -r "$root/tests/fuzz/corpus/$target" "$work/$target"
  echo "== fuzz_$target for $seconds s"
  status=0
  (cd "$work" && "$build/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 "$work/$target") \
    >"$work/$target.log" 2>&1 || status=$?
  grep -E "^Done|stat::number_of_executed_units|stat::new_units_added" "$work/$target.log" || true
  if [ $status -ne 0 ]; then
    tail -n 60 "$work/$target.log"
    echo "fuzz_$target failed (exit $status)"
    exit 1
  fi
done
