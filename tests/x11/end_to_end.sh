#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real game in a real X server: Xvfb, a window manager, keys typed with
# xdotool, pixels grabbed with ImageMagick. Each step waits for what it
# expects on screen (polling, up to a bound) rather than for a fixed time.
# The X server picks its own free display and is shut down, leaving no lock
# file; the window manager writes into a scratch home. Skips (exit 77) only
# where Xvfb cannot start.
#   end_to_end.sh GAME QUESTIONS_TOOL STAGED_RUN_FOLDER
set -uo pipefail
game=$(realpath "$1") questions=$(realpath "$2") staged=$(realpath "$3")
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"  # X and SDL keep caches until exit

fail() { echo "FAIL: $*"; cleanup; exit 1; }
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait "${pids[@]}" 2>/dev/null
  stop_xvfb
  rm -rf "$work"
}
work=$(mktemp -d)
source "$(dirname "$0")/xserver.sh"

command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
for tool in xdotool import convert openbox wmctrl; do
  command -v $tool >/dev/null || fail "$tool is missing"
done

start_xvfb || { echo "SKIP: Xvfb did not start: $(cat "$work/xvfb.log")"; cleanup; exit 77; }
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
poll 10 eval 'wmctrl -m >/dev/null 2>&1' || fail "the window manager did not start: $(cat "$work/openbox.log")"

# The game's folder, with question banks whose right answer is always A.
cp -r "$staged" "$work/game"
printf '? Melyik betű az első az ábécében?\n+ A betű\n- B betű\n- C betű\n- D betű\n' >"$work/a.txt"
for bank in $(cd "$work/game" && find Questions -name '*.lmk'); do
  "$questions" compile "$work/a.txt" "$work/game/$bank" || fail "cannot make $bank"
done
cp "$work/game/Data/Config.cfg" "$work/config.before"
cp "$work/game/Data/HighScores.cfg" "$work/scores.before"

(cd "$work/game" && exec "$game") >"$work/game.log" 2>&1 &
game_pid=$!
pids+=($game_pid)
window=$(timeout 20 xdotool search --sync --name "^Legyen On is Zelvanos$" 2>/dev/null | head -n1)
[ -n "$window" ] || fail "no window"
title=$(xdotool getwindowname "$window")
[ "$title" = "Legyen On is Zelvanos" ] || fail "window title is '$title'"
geometry=$(xdotool getwindowgeometry "$window" | grep Geometry)
echo "window $window: $title, $geometry"

shot() { import -window "$window" "$work/$1.png" || fail "cannot grab the window"; }
# Does the area (x, y, w, h) of a shot hold the colour (hex, as #RRGGBB)?
has_colour() {
  convert "$work/$1.png" -crop "$4x$5+$2+$3" +repage -unique-colors txt:- | grep -qi "$6"
}
key() { xdotool windowactivate --sync "$window" >/dev/null 2>&1; xdotool key --window "$window" "$@"; }
yellow='#FCFC54' lightblue='#5454FC' white='#FCFCFC'

# Is item (1 at y 60, 2 at y 70) highlighted in a fresh shot named NAME?
highlighted() { shot "$1" && has_colour "$1" 200 "$2" 110 8 $yellow; }
geometry_now() { xdotool getwindowgeometry "$window" | grep Geometry; }

poll 30 highlighted menu 60 || fail "item 1 is not highlighted (the title screen stays 5 000 ms)"
has_colour menu 200 70 110 8 $yellow && fail "item 2 is highlighted at start"
key Down
poll 10 highlighted down 70 || fail "Down did not move the highlight to item 2"
has_colour down 200 60 110 8 $yellow && fail "item 1 still highlighted after Down"
echo "the highlight follows the arrow keys"

# Fullscreen and back: the window grows, and no key reaches the game.
key F11
poll 10 eval '[ "$(geometry_now)" != "$geometry" ]' || fail "F11 did not make the window fullscreen"
full=$(geometry_now)
key F11
poll 10 eval '[ "$(geometry_now)" != "$full" ]' || fail "F11 again did not leave fullscreen"
echo "F11: $full, then $(geometry_now)"
shot after_f11
has_colour after_f11 200 70 110 8 $yellow || fail "the highlight moved during F11"
key Up
poll 10 highlighted up 60 || fail "Up after F11 did not reach item 1"

# A game: the announcement, then the question screen.
question_shown() { shot question && has_colour question 95 48 1 1 $lightblue && has_colour question 100 53 24 8 $white; }
key Return
poll 30 question_shown || fail "no question box in the frame colour with its text"
# Keys with Alt held reach nothing; a plain "a" answers. (That nothing
# happened can only be seen after a while: a second, longer than the game
# takes to mark an answer.)
key alt+a
sleep 1
shot alt
has_colour alt 96 86 228 13 $yellow && fail "Alt+a was taken as an answer"
key a
poll 10 eval 'shot marked && has_colour marked 96 86 228 13 $yellow' || fail "the answer was not marked"
echo "a game started, its question shown, Alt+a ignored, a marked"

# The close button, through the window manager.
wmctrl -c "Legyen On is Zelvanos" || fail "wmctrl could not close the window"
for _ in $(seq 100); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $game_pid 2>/dev/null && fail "the game is still running after its window was closed"
wait $game_pid
code=$?
[ $code -eq 0 ] || fail "exit code $code after closing the window: $(cat "$work/game.log")"
cmp -s "$work/config.before" "$work/game/Data/Config.cfg" || fail "the settings file changed"
cmp -s "$work/scores.before" "$work/game/Data/HighScores.cfg" || fail "the high-score file changed"
echo "closing the window ended the game with exit code 0; settings and scores intact"
cleanup
check_leftovers || exit 1
echo "1 passed, 0 failed"
