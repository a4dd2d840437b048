#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the game on this machine and prints the figures the README's
# performance section quotes. Not part of the tests: run it by hand after
# `scripts/test` has built everything.
#   tools/bench/measure.sh [BUILD_FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$root/build}")
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$work"' EXIT

echo "== machine"
echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(free -g | awk '/Mem:/ {print $2}') GiB"

echo "== drawing and the key queue (headless)"
"$build/zelvanos-bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null | grep -E "_median"

if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:97
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
  openbox >/dev/null 2>&1 &
  pids+=($!)
  sleep 0.5
fi
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

echo "== the real window ($DISPLAY)"
"$build/zelvanos-window-bench"

echo "== sound"
"$build/zelvanos-sound-soak" 100

echo "== resident memory of the real game after a full game with sound"
cp -r "$build/run" "$work/game"
printf '? Melyik betű az első?\n+ A\n- B\n- C\n- D\n' >"$work/a.txt"
for bank in $(cd "$work/game" && find Questions -name '*.lmk'); do "$build/zelvanos-questions" compile "$work/a.txt" "$work/game/$bank"; done
(cd "$work/game" && exec "$build/zelvanos") >/dev/null 2>&1 &
game=$!
pids+=($game)
window=$(timeout 20 xdotool search --sync --name "^Legyen On is Zelvanos$" | head -n1)
sleep 5.5
key() { xdotool windowactivate --sync "$window" >/dev/null 2>&1; xdotool key --window "$window" "$@"; }
key Return
for level in 1 2 3 4 5 6 7 8 9 10; do
  sleep 3.6
  key a
  sleep 5
  key n
done
sleep 3
echo "after ten questions, the top prize and the list: $(grep VmRSS /proc/$game/status | awk '{print $2, $3}')"
key Escape
sleep 0.5
key Escape
wait $game || true
