#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real game when its display goes away: the X server killed under it
# (a crash, a logout) and its window destroyed from outside
# (xdotool windowclose), at random moments of the title screen and the menu.
# Every time the game must end within a few seconds with exit code 0 or 1
# and at most one line on standard error: never a process left hanging.
# The killed servers' lock files are removed. Skips (exit 77) only where
# Xvfb cannot start.
#   display_loss.sh GAME STAGED_RUN_FOLDER [KILLS] [CLOSES]
set -uo pipefail
game=$(realpath "$1") staged=$(realpath "$2")
kills=${3:-4} closes=${4:-6}
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"

work=$(mktemp -d)
source "$(dirname "$0")/xserver.sh"
cleanup() { stop_xvfb KILL; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
command -v xdotool >/dev/null || { echo "FAIL: xdotool is missing"; exit 1; }
cp -r "$staged" "$work/game"

hung=0 bad=0 rounds=0 summary=""
# One round: start the game, wait for its window, wait a random moment, do
# the harm, and see how the game ends.
round() {
  local harm=$1
  rounds=$((rounds + 1))
  (cd "$work/game" && exec "$game") >/dev/null 2>"$work/err" &
  local pid=$!
  local window
  window=$(timeout 20 xdotool search --sync --name "^Legyen On is Zelvanos$" 2>/dev/null | head -n1)
  if [ -z "$window" ]; then
    echo "round $rounds: no window: $(cat "$work/err")"
    kill -9 $pid 2>/dev/null; wait $pid 2>/dev/null; bad=$((bad + 1)); return
  fi
  sleep "$(awk -v s=$RANDOM 'BEGIN { srand(s); printf "%.2f", 0.1 + rand() * 6.5 }')"
  case $harm in
    kill) stop_xvfb KILL ;;
    term) stop_xvfb TERM ;;
    close) xdotool windowclose "$window" 2>/dev/null ;;
  esac
  local waited=0
  while kill -0 $pid 2>/dev/null && [ $waited -lt 100 ]; do sleep 0.1; waited=$((waited + 1)); done
  if kill -0 $pid 2>/dev/null; then
    echo "round $rounds ($harm): still running 10 s later"
    kill -9 $pid; wait $pid 2>/dev/null
    hung=$((hung + 1)); return
  fi
  wait $pid
  local code=$? lines
  lines=$(wc -l <"$work/err")
  summary+="$harm:$code/$lines "
  if [ $code -gt 1 ] || [ "$lines" -gt 1 ]; then
    echo "round $rounds ($harm): exit $code with $lines lines:"; cat "$work/err"
    bad=$((bad + 1))
  fi
}

for i in $(seq "$kills"); do
  start_xvfb || { echo "SKIP: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 77; }
  if [ $((i % 2)) = 1 ]; then round kill; else round term; fi
done
start_xvfb || { echo "SKIP: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 77; }
for _ in $(seq "$closes"); do round close; done
stop_xvfb

echo "rounds: $rounds, hung: $hung, wrong ending: $bad"
echo "endings (harm:exit/lines): $summary"
check_leftovers && [ $hung = 0 ] && [ $bad = 0 ]
