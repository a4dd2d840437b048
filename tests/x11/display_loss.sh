#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real game when its display goes away: the X server killed under it
# (a crash, a logout) and its window destroyed from outside
# (xdotool windowclose), at random moments of the title screen and the menu.
# Every time the game must end within a few seconds with exit code 0 or 1
# and at most one line on standard error: never a process left hanging.
# Skips (exit 77) only where Xvfb cannot start.
#   display_loss.sh GAME STAGED_RUN_FOLDER [KILLS] [CLOSES]
set -uo pipefail
game=$(realpath "$1") staged=$(realpath "$2")
kills=${3:-4} closes=${4:-6}
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"

work=$(mktemp -d)
xvfb=0
cleanup() { [ "$xvfb" != 0 ] && kill -9 "$xvfb" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
command -v xdotool >/dev/null || { echo "FAIL: xdotool is missing"; exit 1; }
cp -r "$staged" "$work/game"

# A free display number. A lock whose server is gone (one this script
# killed, or one of an earlier run) is cleared and its number reused.
free_display() {
  local n pid
  for n in $(seq 121 400); do
    if [ -e "/tmp/.X$n-lock" ]; then
      pid=$(tr -dc '0-9' <"/tmp/.X$n-lock" 2>/dev/null)
      [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && continue
      rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n" 2>/dev/null || continue
    fi
    [ -e "/tmp/.X11-unix/X$n" ] && continue
    echo ":$n"
    return 0
  done
  return 1
}

start_x() {
  display=$(free_display) || { echo "FAIL: no free X display number"; exit 1; }
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  export DISPLAY=$display
  for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

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
    kill) kill -9 "$xvfb"; wait "$xvfb" 2>/dev/null; xvfb=0 ;;
    term) kill -TERM "$xvfb"; wait "$xvfb" 2>/dev/null; xvfb=0 ;;
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
  start_x || { echo "SKIP: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 77; }
  if [ $((i % 2)) = 1 ]; then round kill; else round term; fi
done
start_x || { echo "SKIP: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 77; }
for _ in $(seq "$closes"); do round close; done

echo "rounds: $rounds, hung: $hung, wrong ending: $bad"
echo "endings (harm:exit/lines): $summary"
[ $hung = 0 ] && [ $bad = 0 ]
