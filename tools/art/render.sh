#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Regenerate the raster artwork in src/ui/art/ from the SVG sources there.
# Needs rsvg-convert (Debian/Ubuntu: apt-get install -y librsvg2-bin).
# Uses optipng to shrink the PNGs when it is installed. Then run
# check_contrast.py beside this script: the labels stay readable on the new art.
set -euo pipefail
cd "$(dirname "$0")/../../src/ui/art"

command -v rsvg-convert >/dev/null || { echo "rsvg-convert not found (install librsvg2-bin)" >&2; exit 1; }

rsvg-convert -w 300 -h 290 background.svg -o background.png
rsvg-convert -w 600 -h 580 background.svg -o background@2x.png
for s in 32 64 128 256; do
  rsvg-convert -w "$s" -h "$s" icon.svg -o "icon-$s.png"
done

if command -v optipng >/dev/null; then
  optipng -quiet -o5 -strip all background.png background@2x.png icon-*.png
fi
# The program reads the 1x picture as plain pixels, which need no decoding.
command -v convert >/dev/null || { echo "convert not found (install imagemagick)" >&2; exit 1; }
convert background.png background.ppm
echo "rendered: $(ls *.png | tr '\n' ' ')"
