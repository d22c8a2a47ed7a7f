#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Worst-case contrast of white label text against the window's background.

Reads every label's rectangle from the layout table the window is built from
(src/ui/layout_table.cpp), finds the brightest background pixel under each,
and prints the WCAG contrast ratio of white (#ffffff) against it. Exits 1 if
any ratio is below the threshold (default 7.0), or if no label is found.
Reads the picture the window shows at 1x, a binary PPM.

    tools/art/check_contrast.py [THRESHOLD]
"""
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BACKGROUND = ROOT / "src/ui/art/background.ppm"
LAYOUT = ROOT / "src/ui/layout_table.cpp"
LAYOUT_HEADER = ROOT / "src/ui/layout_table.h"

STRING_OR_COMMENT = re.compile(r'"(?:\\.|[^"\\])*"|//[^\n]*|/\*.*?\*/', re.S)
DESIGNATOR = re.compile(r"^\.(\w+)\s*=\s*")
GEOMETRY = ("left", "top", "width", "height")
INTEGER = re.compile(r"^\d+$")


def twips_to_pixels(twips):
    return (twips + 7) // 15  # as TwipsToPixels() in src/ui/layout_table.h


def matching_brace(code, opening):
    """Where the brace at `opening` closes (strings and comments already blanked)."""
    depth = 0
    for i in range(opening, len(code)):
        depth += {"{": 1, "}": -1}.get(code[i], 0)
        if depth == 0:
            return i
    return len(code)


def split_top_level(body):
    """The comma-separated items of a brace list's body, nested braces kept whole."""
    items, depth, start = [], 0, 0
    for i, c in enumerate(body):
        if c == "{":
            depth += 1
        elif c == "}":
            depth -= 1
        elif c == "," and depth == 0:
            items.append(body[start:i].strip())
            start = i + 1
    items.append(body[start:].strip())
    return [item for item in items if item]


def member_positions(header):
    """Where left, top, width and height sit in the row struct of the header, if it names them."""
    code = STRING_OR_COMMENT.sub(" ", header)
    for struct in re.finditer(r"struct\s+\w+\s*\{", code):
        names = []
        for declaration in code[struct.end():matching_brace(code, struct.end() - 1)].split(";"):
            if "(" in declaration or "static" in declaration:
                continue
            declaration = re.sub(r"\{[^}]*\}|=[^,]*", "", declaration)
            names += [m.group(1) for m in (re.search(r"(\w+)\s*$", part) for part in declaration.split(",")) if m]
        if all(name in names for name in GEOMETRY):
            return [names.index(name) for name in GEOMETRY]
    return None


def geometry(items, positions):
    """The row's twips rectangle, by member name where the row or the struct gives names,
    else its first four integers in a row, or a nested list of four."""
    named = {m.group(1): item[m.end():].strip() for item in items if (m := DESIGNATOR.match(item))}
    if all(INTEGER.match(named.get(name, "")) for name in GEOMETRY):
        return [int(named[name]) for name in GEOMETRY]
    if not named and positions and max(positions) < len(items):
        values = [items[i] for i in positions]
        if all(INTEGER.match(v) for v in values):
            return [int(v) for v in values]
    run = []
    for item in (DESIGNATOR.sub("", item) for item in items):
        if item.startswith("{"):
            inner = [DESIGNATOR.sub("", x) for x in split_top_level(item[1:-1])]
            if len(inner) == 4 and all(INTEGER.match(x) for x in inner):
                return [int(x) for x in inner]
        if INTEGER.match(item):
            run.append(int(item))
            if len(run) == 4:
                return run
        else:
            run = []
    return None


def layout_labels(source, header):
    """(name, left, top, width, height) in pixels for every label row of the table.

    A row is a brace list that opens with the control's name as a string; it is
    a label when the word Label appears in it outside strings."""
    strings = []

    def keep(match):
        if match.group(0).startswith('"'):
            strings.append(match.group(0))
            return f"\x00{len(strings) - 1}\x00"
        return " "

    code = STRING_OR_COMMENT.sub(keep, source)
    positions = member_positions(header)
    labels = []
    for opening in re.finditer(r"\{\s*(?:\.\w+\s*=\s*)?\x00(\d+)\x00", code):
        row = code[opening.start() + 1:matching_brace(code, opening.start())]
        if not re.search(r"\bLabel\b", row):
            continue
        rect = geometry(split_top_level(row), positions)
        if rect:
            name = strings[int(opening.group(1))].strip('"')
            labels.append((name, *(twips_to_pixels(t) for t in rect)))
    return labels


def linear(c8):
    c = c8 / 255.0
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def luminance(r, g, b):
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b)


def load_pixels(ppm):
    """(x, y) -> (r, g, b) from an 8-bit binary PPM as render.sh writes it."""
    data = ppm.read_bytes()
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    if not header:
        return {}
    width, height = int(header.group(1)), int(header.group(2))
    pixels = data[header.end():header.end() + 3 * width * height]
    return {(i % width, i // width): tuple(pixels[3 * i:3 * i + 3]) for i in range(len(pixels) // 3)}


def main():
    threshold = float(sys.argv[1]) if len(sys.argv) > 1 else 7.0
    labels = layout_labels(LAYOUT.read_text(encoding="utf-8"), LAYOUT_HEADER.read_text(encoding="utf-8"))
    if not labels:
        print(f"no label rows found in {LAYOUT}")
        return 1
    px = load_pixels(BACKGROUND)
    if not px:
        print(f"could not read {BACKGROUND}")
        return 1
    ok = True
    for (name, l, t, w, h) in labels:
        inside = [px[(x, y)] for y in range(t, t + h) for x in range(l, l + w) if (x, y) in px]
        if not inside:
            print(f"{name} ({l},{t},{w},{h}): outside the background")
            ok = False
            continue
        ratio = 1.05 / (max(luminance(*p) for p in inside) + 0.05)
        flag = "ok" if ratio >= threshold else "TOO LOW"
        ok &= ratio >= threshold
        print(f"{name} ({l},{t},{w},{h}): worst-case contrast {ratio:5.2f}:1  {flag}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
