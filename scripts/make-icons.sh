#!/usr/bin/env bash
# Renders the one drawing of Fenwake's icon, packaging/fenwake.svg, into the
# files the window and the Windows program carry: PNGs for the window's icon
# (Qt may have no SVG plugin) and fenwake.ico for the .exe. Their output is
# committed in src/app/icons, so building needs neither tool; run this again
# after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib-deps.sh
fenwake_require_packages librsvg2-bin icoutils

out=src/app/icons
mkdir -p "$out"
rm -f "$out"/fenwake-*.png "$out/fenwake.ico"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" -o "$out/fenwake-$size.png" packaging/fenwake.svg
done
# Explorer's sizes; the largest is kept as PNG inside the .ico.
icotool -c -o "$out/fenwake.ico" "$out"/fenwake-{16,24,32,48,64}.png -r "$out/fenwake-256.png"
ls -l "$out"
