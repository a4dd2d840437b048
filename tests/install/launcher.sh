#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the game into a scratch root and starts it through its launcher
# as a new player would: the player's folder is prepared once, and a later
# start (as after an update) keeps the player's settings and scores. Then
# the launcher's help and version, its choice of the player's folder under
# odd environments (the XDG base-directory rules, an unusable HOME), a
# player's own question folder or link, and the README's recipe for one.
#   launcher.sh BUILD_FOLDER
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
root="$work/root/usr"
games=$root/$(cached ZELVANOS_INSTALL_GAMESDIR)
libexec=$root/$(cached ZELVANOS_INSTALL_LIBEXECDIR)
data=$root/$(cached ZELVANOS_INSTALL_GAMEDATADIR)
for f in "$games/zelvanos" "$games/zelvanos-beallitasok" "$games/zelvanos-questions" \
         "$libexec/zelvanos" "$libexec/zelvanos-replay" \
         "$data/Questions/Default/01.lmk" "$data/Questions/Single/labdarugas.lmk" \
         "$data/Sounds/Main.mp3" "$data/Sounds/win5.mp3" \
         "$root/share/applications/zelvanos.desktop" "$root/share/icons/hicolor/scalable/apps/zelvanos.svg" \
         "$root/share/icons/hicolor/48x48/apps/zelvanos.png" \
         "$root/share/metainfo/example.zelvanos.Zelvanos.metainfo.xml" \
         "$root/share/doc/zelvanos/copyright" "$root/share/doc/zelvanos/changelog.gz"; do
  [ -e "$f" ] || fail "${f#"$work"/root} is not installed"
done
for page in zelvanos zelvanos-beallitasok zelvanos-questions; do
  for folder in man6 hu/man6; do
    gzip -t "$root/share/man/$folder/$page.6.gz" 2>/dev/null || fail "no manual page $folder/$page.6.gz"
  done
done
[ ! -e "$games/zelvanos-replay" ] || fail "the replay tool is on the player's PATH"
grep -qx "Exec=/usr/$(cached ZELVANOS_INSTALL_GAMESDIR)/zelvanos" "$root/share/applications/zelvanos.desktop" ||
  fail "the desktop entry does not start the installed launcher"

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
launcher=$games/zelvanos

# Help and version, in Hungarian and English; nothing is prepared for them.
XDG_DATA_HOME="$work/none" "$launcher" --help >"$work/out"
grep -q "^Használat: zelvanos" "$work/out" && grep -q "^Usage: zelvanos" "$work/out" || fail "no help: $(cat "$work/out")"
XDG_DATA_HOME="$work/none" "$launcher" --version >"$work/out"
grep -q "^zelvanos [0-9]" "$work/out" && grep -q "Szabad szoftver" "$work/out" && grep -q "Free software" "$work/out" ||
  fail "no version: $(cat "$work/out")"
status=0
XDG_DATA_HOME="$work/none" "$launcher" --nosuch 2>"$work/err" || status=$?
[ $status -eq 64 ] && grep -q "unknown option: --nosuch" "$work/err" || fail "an unknown option gave $status: $(cat "$work/err")"
[ ! -e "$work/none" ] || fail "help, version or a wrong option prepared a player's folder"

# Starts the launcher in the scratch folder with the environment given as
# arguments and waits until the game runs: the launcher has handed over to
# it and it holds its folder's lock; a second later it must still run.
start() {
  local pid i
  (cd "$work" && exec env "$@" "$launcher") >"$work/game.log" 2>&1 &
  pid=$!
  for i in $(seq 200); do
    ls -l "/proc/$pid/fd" 2>/dev/null | grep -q "/Data/Zelvanos.lock$" && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  sleep 1
  if ! kill $pid 2>/dev/null; then
    local status=0
    wait $pid || status=$?
    fail "the game failed ($status): $(cat "$work/game.log")"
  fi
  wait $pid || true
}
start XDG_DATA_HOME="$work/xdg"
player="$work/xdg/zelvanos"
[ "$(stat -c %s "$player/Data/Config.cfg")" = 76 ] || fail "no factory settings in the player's folder"
[ "$(stat -c %s "$player/Data/HighScores.cfg")" = 730 ] || fail "no high-score list in the player's folder"
[ "$(readlink -f "$player/Questions")" = "$(readlink -f "$data/Questions")" ] || fail "Questions not linked"
[ "$(readlink -f "$player/Sounds")" = "$(readlink -f "$data/Sounds")" ] || fail "Sounds not linked"

XDG_DATA_HOME="$work/xdg" "$games/zelvanos-beallitasok" --nev "Teszt Elek" >/dev/null

# The names program, run before the game was ever started, prepares the
# same folder with the same links to the installed data.
(cd "$work" && XDG_DATA_HOME="$work/names-first" "$games/zelvanos-beallitasok" --nev Feri >/dev/null) ||
  fail "the names program could not prepare a new player's folder"
for d in Questions Sounds; do
  [ "$(readlink -f "$work/names-first/zelvanos/$d")" = "$(readlink -f "$data/$d")" ] ||
    fail "the names program linked $d to $(readlink "$work/names-first/zelvanos/$d")"
done
printf 'x' | dd of="$player/Data/HighScores.cfg" bs=1 seek=1 conv=notrunc status=none
cp "$player/Data/Config.cfg" "$work/config" && cp "$player/Data/HighScores.cfg" "$work/scores"
start XDG_DATA_HOME="$work/xdg"
cmp -s "$work/config" "$player/Data/Config.cfg" || fail "a later start overwrote the settings"
cmp -s "$work/scores" "$player/Data/HighScores.cfg" || fail "a later start overwrote the scores"
passed=1

# A player's own question folder, and a link of their own (even a dangling
# one), are kept; a link left dangling by an earlier installation is
# pointed at this one.
rm "$player/Questions" "$player/Sounds"
mkdir "$player/Questions" && touch "$player/Questions/mine"
ln -s "$work/my-sounds" "$player/Sounds"
start XDG_DATA_HOME="$work/xdg"
[ -d "$player/Questions" ] && [ ! -L "$player/Questions" ] && [ -e "$player/Questions/mine" ] ||
  fail "the player's own Questions folder was replaced"
[ "$(readlink "$player/Sounds")" = "$work/my-sounds" ] || fail "the player's own Sounds link was replaced"
rm -r "$player/Questions" "$player/Sounds"
ln -s "$work/elsewhere/Questions" "$player/Questions"
ln -s /usr/share/zelvanos/Sounds-gone/zelvanos/Sounds "$player/Sounds"
start XDG_DATA_HOME="$work/xdg"
[ "$(readlink "$player/Questions")" = "$work/elsewhere/Questions" ] || fail "the player's own Questions link was replaced"
[ "$(readlink -f "$player/Sounds")" = "$(readlink -f "$data/Sounds")" ] || fail "an earlier installation's link was kept"
passed=$((passed + 1))

# The README's recipe for question sets of one's own, run as it is written:
# the installed sets it names are there; the player's copy of them, with a
# bank compiled into it, is kept by later starts until it is removed.
readme=$(dirname "$(realpath "$0")")/../../README.md
recipe=$(sed -n '/^### Your own questions in the installed game/,/^## /p' "$readme")
for named in $(grep -o '/usr/share/[^` )]*' <<<"$recipe"); do
  [ -e "$work/root$named" ] || fail "the recipe names $named, which the package does not install"
done
step1=$(sed -n '/^1\. /,/^2\. /p' <<<"$recipe" | sed -n 's/^       //p')
mapfile -t tool_steps < <(grep -o '`zelvanos-questions [^`]*`' <<<"$recipe" | tr -d '`')
[ -n "$step1" ] && [ ${#tool_steps[@]} -eq 3 ] || fail "the recipe's commands are not where they were"
start XDG_DATA_HOME="$work/recipe"
own=$work/recipe/zelvanos
(export XDG_DATA_HOME="$work/recipe" PATH="$games:$PATH" && bash -euc "$step1") >"$work/out" 2>&1 ||
  fail "the recipe's first step failed: $(cat "$work/out")"
[ -d "$own/Questions" ] && [ ! -L "$own/Questions" ] && cmp -s "$own/Questions/Single/szamtech.lmk" "$data/Questions/Single/szamtech.lmk" ||
  fail "the recipe did not leave a copy of the installed sets"
(cd "$own" && PATH="$games:$PATH" && eval "${tool_steps[0]}" &&
  sed -i '0,/^? .*/s//? Hány bit egy bájt?/' szamtech.txt &&
  eval "${tool_steps[1]}" && eval "${tool_steps[2]}") >"$work/out" 2>&1 || fail "the recipe's tool steps failed: $(cat "$work/out")"
start XDG_DATA_HOME="$work/recipe"
[ ! -L "$own/Questions" ] && ! cmp -s "$own/Questions/Single/szamtech.lmk" "$data/Questions/Single/szamtech.lmk" &&
  "$games/zelvanos-questions" dump "$own/Questions/Single/szamtech.lmk" "$work/dumped.txt" >/dev/null &&
  grep -q "Hány bit egy bájt" "$work/dumped.txt" || fail "the player's compiled bank was not kept"
rm -r "$own/Questions"
start XDG_DATA_HOME="$work/recipe"
[ "$(readlink -f "$own/Questions")" = "$(readlink -f "$data/Questions")" ] || fail "removing the copy did not bring the link back"
passed=$((passed + 1))

# The XDG rules: a relative or empty XDG_DATA_HOME is ignored (never a folder
# under the start folder, never an option to a command), HOME is used.
for xdg in relative/data -x ""; do
  rm -rf "${work:?}/home"
  start HOME="$work/home" XDG_DATA_HOME="$xdg"
  [ -e "$work/home/.local/share/zelvanos/Data/Config.cfg" ] || fail "XDG_DATA_HOME=\"$xdg\" did not fall back to HOME"
  [ ! -e "$work/relative" ] && [ ! -e "$work/-x" ] && [ ! -e "$work/zelvanos" ] ||
    fail "XDG_DATA_HOME=\"$xdg\" made a folder under the start folder"
done
passed=$((passed + 1))

# An unset, empty or relative HOME (with no usable XDG_DATA_HOME) is refused
# with one clear line, creating nothing.
for home in unset "" relative/home; do
  status=0
  if [ "$home" = unset ]; then
    (cd "$work" && env -u HOME -u XDG_DATA_HOME "$launcher") 2>"$work/err" || status=$?
  else
    (cd "$work" && env -u XDG_DATA_HOME HOME="$home" "$launcher") 2>"$work/err" || status=$?
  fi
  [ $status -eq 1 ] || fail "HOME=$home gave exit $status: $(cat "$work/err")"
  [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "HOME is unset, empty or not an absolute path" "$work/err" ||
    fail "HOME=$home: not one clear line: $(cat "$work/err")"
  [ ! -e "$work/relative" ] || fail "HOME=$home made a folder under the start folder"
done
passed=$((passed + 1))

echo "installed and started; folder kept, own links kept, XDG rules, unusable HOME refused"
echo "$passed passed, 0 failed"
