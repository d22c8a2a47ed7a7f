#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Regenerate the raster artwork in src/ui/art/ from the SVG sources there.
# Needs rsvg-convert and netpbm (Debian/Ubuntu: apt-get install -y librsvg2-bin netpbm).
# Uses optipng to shrink the PNGs when it is installed. Then run
# check_contrast.py beside this script: the labels stay readable on the new art.
set -euo pipefail
cd "$(dirname "$0")/../../src/ui/art"

for tool in rsvg-convert pngtopnm; do
  command -v "$tool" >/dev/null || { echo "$tool not found (install librsvg2-bin netpbm)" >&2; exit 1; }
done

# The window's pictures are rendered at its size, 297 x 291, so that it draws
# them unscaled: just large enough to cover it, the drawing's shape kept, cut
# from the top left corner.
rsvg-convert -w 301 -h 291 background.svg | pngtopnm | pamcut -width 297 -height 291 >background.ppm
rsvg-convert -w 602 -h 582 background.svg | pngtopnm | pamcut -width 594 -height 582 |
  pnmtopng -compression 9 >background@2x.png
for s in 32 64 128 256; do
  rsvg-convert -w "$s" -h "$s" icon.svg -o "icon-$s.png"
done
# The window's own icons, as plain pixels with their transparency.
for s in 32 64; do
  pngtopam -alphapam "icon-$s.png" >"icon-$s.pam"
done

# The Windows programs' icon, in every size Explorer and the taskbar ask for.
if command -v convert >/dev/null; then
  convert icon-256.png -define icon:auto-resize=256,128,64,48,32,16 ../../../packaging/windows/corvane.ico
fi

if command -v optipng >/dev/null; then
  optipng -quiet -o5 -strip all background@2x.png icon-*.png
fi
echo "rendered: $(ls ./*.png ./*.ppm ./*.pam | tr '\n' ' ')"
