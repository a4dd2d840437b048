#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts Zelvanos as an installed game. (This is a template: the build fills
# in the @...@ values from the configured install folders.)
#
# The game keeps its files in its working folder, so each player gets a
# folder of their own, chosen by the XDG base-directory rule:
#
#   data home = $XDG_DATA_HOME when it is an absolute path (a relative or
#               empty one is ignored), else $HOME/.local/share, where HOME
#               must be set, non-empty and absolute (otherwise: one line on
#               standard error and exit 1, nothing created);
#   folder    = data home/zelvanos
#
# The names program (zelvanos-beallitasok) finds and prepares the same folder
# by the same rule, and the same code (zelvanos-factory-files --player, from
# shell/factory_files.cpp) does it for both. On every start the folder gets
# what it lacks:
#   Data/Config.cfg and Data/HighScores.cfg: the factory settings and the
#     reset high-score list, only where no such file is there (a player's
#     settings and scores are never overwritten);
#   Questions and Sounds: links to the installed question sets and sounds,
#     only where nothing by that name is there. A player's own folder or
#     link is kept; only a link left dangling by an earlier installation of
#     this game (one pointing at a missing .../zelvanos/Questions or
#     .../zelvanos/Sounds) is pointed at the current one.
#
# Exit codes: 0 done, 1 the player's folder cannot be used or prepared,
# 64 wrong usage; otherwise the game's own.
set -eu

version='@PROJECT_VERSION@'

fail() {
  printf 'zelvanos: %s\n' "$1" >&2
  exit 1
}

case "${1-}" in
  --help | -h | --sugo)
    cat <<EOF
Használat: zelvanos [--help | --version]

Elindítja a Legyen Ön is Zelvanos játékot a játékos saját mappájában:
\$XDG_DATA_HOME/zelvanos, ha az XDG_DATA_HOME abszolút útvonal, különben
~/.local/share/zelvanos. Az első induláskor ott létrejön a gyári beállítás
(Data/Config.cfg) és a kezdő dicsőséglista (Data/HighScores.cfg), a
Questions és a Sounds pedig a telepített kérdéssorokra és hangokra mutató
link lesz. A játékos beállításait, pontjait és saját Questions vagy Sounds
mappáját (vagy linkjét) egyetlen indítás sem írja felül.
A nevek beállítása: zelvanos-beallitasok. Bővebben: man zelvanos.

Usage: zelvanos [--help | --version]

Starts the quiz game "Legyen Ön is Zelvanos" in the player's own folder:
\$XDG_DATA_HOME/zelvanos when XDG_DATA_HOME is an absolute path, else
~/.local/share/zelvanos. The first start creates the factory settings
(Data/Config.cfg) and the reset high-score list (Data/HighScores.cfg) there,
and links Questions and Sounds to the installed question sets and sounds.
No start ever overwrites the player's settings, scores, or own Questions or
Sounds folder (or link).
Setting the names: zelvanos-beallitasok. More: man zelvanos.

Kilépési kód / exit code: 0, 1 (a mappa nem használható / the folder
cannot be used), 64 (rossz használat / wrong usage), or the game's own.
EOF
    exit 0 ;;
  --version | -V | --verzio)
    cat <<EOF
zelvanos $version
Szabad szoftver: GNU GPL 3-as vagy későbbi változat; a kérdéssorok, a hangok
és a képek: CC BY-SA 4.0. / Free software: GNU GPL version 3 or later; the
question sets, sounds and pictures: CC BY-SA 4.0.
EOF
    exit 0 ;;
esac
if [ $# -gt 0 ]; then
  printf 'zelvanos: ismeretlen kapcsoló / unknown option: %s (--help)\n' "$1" >&2
  exit 64
fi

# The installed folders, relative to this script's own (so that a copy
# installed under another prefix or DESTDIR finds its own files).
here=$(dirname -- "$(readlink -f -- "$0")")
share=$(cd -- "$here/@ZELVANOS_LAUNCHER_TO_DATA@" && pwd -P) ||
  fail "a telepített kérdéssorok és hangok hiányoznak / the installed question sets and sounds are missing: $here/@ZELVANOS_LAUNCHER_TO_DATA@"
libexec=$(cd -- "$here/@ZELVANOS_LAUNCHER_TO_LIBEXEC@" && pwd -P) ||
  fail "a telepített játék hiányzik / the installed game is missing: $here/@ZELVANOS_LAUNCHER_TO_LIBEXEC@"

case "${XDG_DATA_HOME-}" in
  /*) data_home=$XDG_DATA_HOME ;;
  *)
    case "${HOME-}" in
      /*) data_home=$HOME/.local/share ;;
      *) fail "a HOME nincs beállítva, üres vagy nem abszolút útvonal, így nincs hová tenni a játékos mappáját / HOME is unset, empty or not an absolute path, so there is no place for the player's folder" ;;
    esac ;;
esac
folder=$data_home/zelvanos

# The folder's files and links, by the rules the names program follows too.
"$libexec/zelvanos-factory-files" --player "$folder" "$share" || exit 1
cd -- "$folder"
exec "$libexec/zelvanos"
