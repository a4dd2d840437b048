#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the game's icon (packaging/zelvanos.svg) into the PNG sizes of the
# hicolor icon theme, packaging/icons/SIZE/zelvanos.png, and the window's own
# icon. The PNG files are committed, so building needs no SVG renderer; run
# this after changing the SVG. Needs ImageMagick.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "$root/packaging/icons/${size}x${size}"
  convert -background none -density $((96 * size / 64 + 96)) "$root/packaging/zelvanos.svg" \
    -resize "${size}x${size}" -depth 8 -strip "PNG32:$root/packaging/icons/${size}x${size}/zelvanos.png"
done
