#!/usr/bin/env python3
"""Draws the program icon: one 64 x 64 image in 24-bit colour, written as
src/app/kestrin.ico. Run by hand when the design changes; the .ico is kept in
the repository so a build needs no Python."""

import struct
import sys

SIZE = 64
BACKGROUND = (0x2E, 0x3B, 0x4A)  # dark slate, as the list's first row
ROWS = [(0x30, 0x90, 0xCF), (0x50, 0x81, 0x51), (0xCF, 0xB6, 0x4E)]  # blue, green, ochre
WHITE = (0xFF, 0xFF, 0xFF)


def inside_rounded_square(x, y, radius=10):
    cx = min(max(x, radius), SIZE - 1 - radius)
    cy = min(max(y, radius), SIZE - 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def on_wings(x, y):
    # A bird of prey seen from below: wings swept up and out from a short body.
    centre = (SIZE - 1) / 2
    dx = abs(x - centre)
    if dx <= 26:
        wing_y = 27 - dx * 0.55 + max(0.0, dx - 16) * 0.5
        if abs(y - wing_y) <= 2.5 - dx * 0.05:
            return True
    return dx <= 3 - abs(y - 27) * 0.25 and 20 <= y <= 33  # body and tail


def pixel(x, y):
    if not inside_rounded_square(x, y):
        return None
    if on_wings(x, y):
        return WHITE
    for index, colour in enumerate(ROWS):
        top = 36 + index * 8
        if top <= y < top + 6 and 10 <= x < SIZE - 10:
            return colour
    return BACKGROUND


def main(path):
    colour_rows = []
    mask_rows = []
    for y in reversed(range(SIZE)):  # bitmaps run bottom-up
        colours = bytearray()
        mask = 0
        for x in range(SIZE):
            value = pixel(x, y)
            if value is None:
                colours += bytes(3)
                mask |= 1 << (SIZE - 1 - x)
            else:
                red, green, blue = value
                colours += bytes((blue, green, red))
        colour_rows.append(bytes(colours))
        mask_rows.append(mask.to_bytes(SIZE // 8, "big"))
    image = (struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 24, 0, 0, 0, 0, 0, 0)
             + b"".join(colour_rows) + b"".join(mask_rows))
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(image), 6 + 16)
    with open(path, "wb") as out:
        out.write(header + entry + image)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "src/app/kestrin.ico")
