#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time from a copy
# of its seed corpus. A crash, leak, hang, sanitizer report or failed check
# stops the run with an error, and the input that caused it is kept in
# build-fuzz/findings/ (add it to the target's corpus once fixed).
#   tests/fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]      CI: a minute each
#   tests/fuzz/run.sh --minutes N [TARGET...]               before a release, e.g. --minutes 10
# Targets: settings highscores bank source keys (all by default).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=60
if [ "${1:-}" = "--minutes" ]; then
  seconds=$(( ${2:?--minutes takes a number} * 60 ))
  shift 2
elif [ -n "${1:-}" ] && [ -z "${1//[0-9]/}" ]; then
  seconds=$1
  shift
fi
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(settings highscores bank source keys)
build=${ZELVANOS_FUZZ_BUILD_DIR:-$root/build-fuzz}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DZELVANOS_FUZZ=ON -DZELVANOS_TESTS=OFF \
  -DZELVANOS_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${targets[@]/#/fuzz_}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$build/findings"
for target in "${targets[@]}"; do
  cp -r "$root/tests/fuzz/corpus/$target" "$work/$target"
  echo "== fuzz_$target for $seconds s"
  status=0
  (cd "$work" && "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target-" "$work/$target") >"$work/$target.log" 2>&1 || status=$?
  grep -E "^Done|stat::number_of_executed_units|stat::new_units_added" "$work/$target.log" || true
  if [ $status -ne 0 ]; then
    tail -n 60 "$work/$target.log"
    echo "fuzz_$target failed (exit $status); the input is in $build/findings/"
    exit 1
  fi
done
