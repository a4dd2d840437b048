#!/bin/sh
# Starts Zelvanos as an installed game. The game keeps its files in its
# working folder, so each player gets a folder of their own under the XDG
# data directory: the settings and the high-score list are created there on
# the first start (factory settings, reset list) and never overwritten later,
# while the question sets and the sounds are used from the installation
# through links, so that an update brings new ones.
set -eu
here=$(dirname "$(readlink -f "$0")")
prefix=$(dirname "$here")
share="$prefix/share/zelvanos"
libexec="$prefix/lib/zelvanos"
home="${XDG_DATA_HOME:-$HOME/.local/share}/zelvanos"

mkdir -p "$home/Data"
"$libexec/zelvanos-factory-files" "$home/Data"
for part in Questions Sounds; do
  if [ ! -e "$home/$part" ] || [ -L "$home/$part" ]; then
    ln -sfn "$share/$part" "$home/$part"
  fi
done
cd "$home"
exec "$libexec/zelvanos"
