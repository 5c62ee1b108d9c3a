#!/usr/bin/env python3
"""Reads the gallery off a screenshot of the main window's client area (a binary PPM): for
each thumbnail in placement order, the number of the known picture whose colour it shows,
"?R.G.B" for a colour that is none of them, up to the first empty place.

usage: gallery_pictures.py SHOT.ppm FX FY COLOUR...   (COLOUR: "R,G,B" of picture 1, 2, ...;
FX, FY: where in a thumbnail to look, as fractions of its width and height)"""
import sys

ENTRY_W, ENTRY_H, PITCH_X, PITCH_Y, LEFT, TOP = 74, 58, 78, 62, 2, 3


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit(f"{path}: not an 8-bit binary PPM")
    return int(fields[1]), int(fields[2]), data[pos + 1:]


def main():
    path, fx, fy = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
    known = [tuple(int(c) for c in colour.split(",")) for colour in sys.argv[4:]]
    width, height, pixels = read_ppm(path)

    def at(x, y):
        i = 3 * (y * width + x)
        return tuple(pixels[i:i + 3])

    def near(a, b):
        return all(abs(p - q) <= 3 for p, q in zip(a, b))

    background = at(1, 1)
    columns = max(1, (width - LEFT) // PITCH_X)
    found, index = [], 0
    while True:
        x = LEFT + PITCH_X * (index % columns) + int(fx * ENTRY_W)
        y = TOP + PITCH_Y * (index // columns) + int(fy * ENTRY_H)
        if y >= height:
            break
        colour = at(x, y)
        if near(colour, background):
            break
        match = [n for n, k in enumerate(known, 1) if near(colour, k)]
        found.append(str(match[0]) if match else "?%d.%d.%d" % colour)
        index += 1
    print(" ".join(found))


main()
