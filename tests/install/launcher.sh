#!/usr/bin/env bash
# Installs the game into a scratch root and starts it through its launcher
# as a new player would: the player's folder is prepared once, and a later
# start (as after an update) keeps the player's settings and scores.
#   launcher.sh BUILD_FOLDER
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
root="$work/root/usr"
for f in bin/zelvanos bin/zelvanos-beallitasok bin/zelvanos-questions lib/zelvanos/zelvanos \
         share/applications/zelvanos.desktop share/icons/hicolor/scalable/apps/zelvanos.svg \
         share/zelvanos/Questions/Default/01.lmk share/zelvanos/Questions/Single/labdarugas.lmk \
         share/zelvanos/Sounds/Main.mp3 share/zelvanos/Sounds/win5.mp3; do
  [ -e "$root/$f" ] || fail "$f is not installed"
done

export XDG_DATA_HOME="$work/xdg" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
start() { timeout 3 "$root/bin/zelvanos" >"$work/game.log" 2>&1 || [ $? -eq 124 ] || fail "the game failed: $(cat "$work/game.log")"; }
start
player="$work/xdg/zelvanos"
[ "$(stat -c %s "$player/Data/Config.cfg")" = 76 ] || fail "no factory settings in the player's folder"
[ "$(stat -c %s "$player/Data/HighScores.cfg")" = 730 ] || fail "no high-score list in the player's folder"
[ "$(readlink -f "$player/Questions")" = "$(readlink -f "$root/share/zelvanos/Questions")" ] || fail "Questions not linked"
[ "$(readlink -f "$player/Sounds")" = "$(readlink -f "$root/share/zelvanos/Sounds")" ] || fail "Sounds not linked"

"$root/bin/zelvanos-beallitasok" --nev "Teszt Elek" >/dev/null
printf 'x' | dd of="$player/Data/HighScores.cfg" bs=1 seek=1 conv=notrunc status=none
cp "$player/Data/Config.cfg" "$work/config" && cp "$player/Data/HighScores.cfg" "$work/scores"
start
cmp -s "$work/config" "$player/Data/Config.cfg" || fail "a later start overwrote the settings"
cmp -s "$work/scores" "$player/Data/HighScores.cfg" || fail "a later start overwrote the scores"
echo "installed, started twice; the player's folder kept its settings and scores"
echo "1 passed, 0 failed"
