#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real game in a real X server: Xvfb, a window manager, keys typed with
# xdotool, pixels grabbed with ImageMagick. Skips (exit 77) only where Xvfb
# cannot start.
#   end_to_end.sh GAME QUESTIONS_TOOL STAGED_RUN_FOLDER
set -uo pipefail
game=$(realpath "$1") questions=$(realpath "$2") staged=$(realpath "$3")
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"  # X and SDL keep caches until exit

fail() { echo "FAIL: $*"; cleanup; exit 1; }
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"; }
work=$(mktemp -d)

command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
for tool in xdotool import convert openbox wmctrl; do
  command -v $tool >/dev/null || fail "$tool is missing"
done

# A free display.
for n in $(seq 91 120); do [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { display=:$n; break; }; done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getmouselocation >/dev/null 2>&1 || { echo "SKIP: Xvfb did not start: $(cat "$work/xvfb.log")"; cleanup; exit 77; }
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

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

sleep 5.6  # the title screen stays 5 000 ms
shot menu
has_colour menu 200 60 110 8 $yellow || fail "item 1 is not highlighted"
has_colour menu 200 70 110 8 $yellow && fail "item 2 is highlighted at start"
key Down
sleep 0.3
shot down
has_colour down 200 70 110 8 $yellow || fail "Down did not move the highlight to item 2"
has_colour down 200 60 110 8 $yellow && fail "item 1 still highlighted after Down"
echo "the highlight follows the arrow keys"

# Fullscreen and back: the window grows, and no key reaches the game.
key F11
sleep 0.8
full=$(xdotool getwindowgeometry "$window" | grep Geometry)
key F11
sleep 0.8
back=$(xdotool getwindowgeometry "$window" | grep Geometry)
echo "F11: $full, then $back"
[ "$full" != "$geometry" ] || fail "F11 did not make the window fullscreen"
shot after_f11
has_colour after_f11 200 70 110 8 $yellow || fail "the highlight moved during F11"
key Up
sleep 0.3
shot up
has_colour up 200 60 110 8 $yellow || fail "Up after F11 did not reach item 1"

# A game: the announcement, then the question screen.
key Return
sleep 3.8
shot question
has_colour question 95 48 1 1 $lightblue || fail "no question box in the frame colour"
has_colour question 100 53 24 8 $white || fail "no question text"
# Keys with Alt held reach nothing; a plain "a" answers.
key alt+a
sleep 1.3
shot alt
has_colour alt 96 86 228 13 $yellow && fail "Alt+a was taken as an answer"
key a
sleep 0.5
shot marked
has_colour marked 96 86 228 13 $yellow || fail "the answer was not marked"
echo "a game started, its question shown, Alt+a ignored, a marked"

# The close button, through the window manager.
sleep 2
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
echo "1 passed, 0 failed"
