#!/usr/bin/env python3
"""Worst-case contrast of white label text against background.png.

For every label rectangle, finds the brightest background pixel and prints
the WCAG contrast ratio of white (#ffffff) against it. Exits 1 if any ratio
is below the threshold (default 7.0). Reads pixels via ImageMagick `convert`.
"""
import re
import subprocess
import sys
from pathlib import Path

# (left, top, width, height) of the white bold labels in the main window
LABELS = [(120, 8, 140, 19), (120, 32, 110, 19), (56, 56, 73, 19),
          (48, 80, 121, 19), (168, 248, 121, 19)]


def linear(c8):
    c = c8 / 255.0
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def luminance(r, g, b):
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b)


def load_pixels(png):
    out = subprocess.run(["convert", str(png), "-alpha", "off", "-depth", "8", "txt:-"],
                         check=True, capture_output=True, text=True).stdout
    px = {}
    pat = re.compile(r"^(\d+),(\d+):\s*\(\s*(\d+),\s*(\d+),\s*(\d+)")
    for line in out.splitlines():
        m = pat.match(line)
        if m:
            x, y, r, g, b = map(int, m.groups())
            px[(x, y)] = (r, g, b)
    return px


def main():
    threshold = float(sys.argv[1]) if len(sys.argv) > 1 else 7.0
    px = load_pixels(Path(__file__).with_name("background.png"))
    if not px:
        print("could not read background.png")
        return 1
    ok = True
    for (l, t, w, h) in LABELS:
        lum = max(luminance(*px[(x, y)]) for y in range(t, t + h) for x in range(l, l + w))
        ratio = 1.05 / (lum + 0.05)
        flag = "ok" if ratio >= threshold else "TOO LOW"
        ok &= ratio >= threshold
        print(f"label ({l},{t},{w},{h}): worst-case contrast {ratio:5.2f}:1  {flag}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
