#!/usr/bin/env python3
"""Draws the program icon and writes it as src/app/kestrin.ico: a kestrel
seen from below, white, over three coloured bars on a dark slate rounded
square, in the eight sizes Windows asks for (16, 20, 24, 32, 40, 48, 64 and
256 pixels), each drawn for its size, in 32-bit colour with alpha.

The three smallest (16, 20, 24) are pixel art, placed by hand below. From
32 pixels up the picture is computed: every shape's coverage of each pixel becomes its edge's
softness, and each size has a layout of its own in whole pixels, so the
square's sides, the bars and the bird's body and tail end fall on pixel
edges and stay sharp. The 256 image is kept as PNG inside the .ico, the
others as bitmaps with their transparency mask.

Run by hand when the design changes (stdlib only; the same bytes every
run); the .ico is kept in the repository so a build needs no Python.
  tools/make-icon.py [ICO] [--preview PNG]
--preview also writes every size side by side, enlarged, for a look.
"""

import math
import struct
import sys
import zlib
from collections import namedtuple

from usage import answer_help, expect_arguments, refuse

SLATE = (0x2E, 0x3B, 0x4A)  # dark slate, as the list's first row
BARS = [(0x30, 0x90, 0xCF), (0x50, 0x81, 0x51), (0xCF, 0xB6, 0x4E)]  # blue, green, ochre
WHITE = (0xFF, 0xFF, 0xFF)

# Pixel art for the sizes too small for soft edges, the colour of each pixel:
# 's' slate, 'W' white, '+' half white over slate, 'b', 'g' and 'o' the blue,
# green and ochre bars. Their corners are rounded as the computed sizes' are,
# with these radii.
PIXEL_ART_RADIUS = {16: 3, 20: 3, 24: 4}
PIXEL_ART = {
    16: """
        ssssssssssssssss
        sssssssWWsssssss
        ssssss+WW+ssssss
        ss+WWWWWWWWWW+ss
        s+WWWWWWWWWWWW+s
        sWW+ssWWWWss+WWs
        sW+sssWWWWsss+Ws
        sssssssWWsssssss
        ssssss+WW+ssssss
        ssssssssssssssss
        ssbbbbbbbbbbbbss
        ssssssssssssssss
        ssggggggggggggss
        ssssssssssssssss
        ssooooooooooooss
        ssssssssssssssss
    """,
    20: """
        ssssssssssssssssssss
        sssssssssWWsssssssss
        sssssssssWWsssssssss
        ssssssss+WW+ssssssss
        sss+WWWWWWWWWWWW+sss
        s+WWWWWWWWWWWWWWWW+s
        sWW++ss+WWWW+ss++WWs
        sW+sssssWWWWsssss+Ws
        ssssssss+WW+ssssssss
        ssssssssWWWWssssssss
        ssssssssssssssssssss
        sssbbbbbbbbbbbbbbsss
        sssbbbbbbbbbbbbbbsss
        ssssssssssssssssssss
        sssggggggggggggggsss
        sssggggggggggggggsss
        ssssssssssssssssssss
        sssoooooooooooooosss
        sssoooooooooooooosss
        ssssssssssssssssssss
    """,
    24: """
        ssssssssssssssssssssssss
        ssssssssssssssssssssssss
        ssssssssss+WW+ssssssssss
        ssssssssss+WW+ssssssssss
        sssssssss+WWWW+sssssssss
        sssss++WWWWWWWWWW++sssss
        ss+WWWWWWWWWWWWWWWWWW+ss
        s+WWWWWWWWWWWWWWWWWWWW+s
        sWW++sss+WWWWWW+sss++WWs
        sW+ssssss+WWWW+ssssss+Ws
        ssssssssss+WW+ssssssssss
        ssssssssssWWWWssssssssss
        sssssssss+WWWW+sssssssss
        ssssssssssssssssssssssss
        ssssbbbbbbbbbbbbbbbbssss
        ssssbbbbbbbbbbbbbbbbssss
        ssssssssssssssssssssssss
        ssssggggggggggggggggssss
        ssssggggggggggggggggssss
        ssssssssssssssssssssssss
        ssssoooooooooooooooossss
        ssssoooooooooooooooossss
        ssssssssssssssssssssssss
        ssssssssssssssssssssssss
    """,
}

# The computed sizes, all lengths in whole pixels: the square's corner
# radius; the bars' left edge (they are centred), height and gap, and the
# top of the first; the bird's top and bottom (head to tail end) and its
# half span (tip of a wing to the middle).
Layout = namedtuple("Layout", "radius bar_left bar_top bar_height bar_gap bird_top bird_bottom half_span")
LAYOUTS = {
    32: Layout(5, 5, 18, 3, 1, 3, 17, 13),
    40: Layout(6, 6, 22, 4, 1, 4, 21, 17),
    48: Layout(8, 7, 27, 4, 2, 5, 25, 20),
    64: Layout(10, 10, 36, 6, 2, 7, 33, 27),
    256: Layout(40, 40, 144, 24, 8, 28, 132, 108),
}

# The bird's outline, right half, in a box 26 units high with a half span of
# 26 units: x from the middle outwards, y from the top of the head down. It
# runs from the neck along the wing's leading edge (forward to the wrist,
# then swept back to the pointed tip) and back along its trailing edge to the
# body and the tail; the left half is its mirror image.
BIRD_HALF = [
    (0.0, 2.0), (2.5, 4.4), (3.6, 7.0),  # neck and shoulder
    (7.5, 6.0), (12.0, 5.6), (15.5, 6.4),  # leading edge to the wrist
    (19.5, 8.2), (23.0, 10.4), (26.0, 12.6),  # swept back to the tip
    (21.5, 12.9), (16.5, 13.6), (12.0, 14.6), (7.5, 16.0), (4.0, 17.2),  # trailing edge
    (2.8, 19.0), (4.4, 25.2), (3.6, 26.0), (0.0, 26.0),  # tail, slightly fanned
]
BIRD_HEAD = (0.0, 3.0, 2.5)  # centre x, centre y and radius, in the same units
BIRD_UNITS = 26.0

SUBROWS = 16  # sample rows per pixel; across a row each span's cover is exact


# Shapes answer one question: which parts of the horizontal line at `y` they cover.

def rounded_square_spans(size, radius, y):
    if not 0 <= y <= size:
        return []
    dy = max(radius - y, y - (size - radius), 0)
    if dy >= radius:
        return []
    inset = radius - math.sqrt(radius * radius - dy * dy)
    return [(inset, size - inset)]


def polygon_spans(points, y):
    crossings = []
    for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
        if (y0 <= y < y1) or (y1 <= y < y0):
            crossings.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
    crossings.sort()
    return list(zip(crossings[0::2], crossings[1::2]))


def circle_spans(cx, cy, r, y):
    if abs(y - cy) >= r:
        return []
    half = math.sqrt(r * r - (y - cy) ** 2)
    return [(cx - half, cx + half)]


def union(spans):
    merged = []
    for start, end in sorted(spans):
        if merged and start <= merged[-1][1]:
            merged[-1] = (merged[-1][0], max(merged[-1][1], end))
        else:
            merged.append((start, end))
    return merged


def coverage(size, spans_at):
    """How much of each pixel, 0 to 1, the shape given by spans_at(y) covers."""
    cover = [[0.0] * size for _ in range(size)]
    for sub in range(size * SUBROWS):
        row = cover[sub // SUBROWS]
        for start, end in spans_at((sub + 0.5) / SUBROWS):
            start, end = max(start, 0.0), min(end, float(size))
            x = int(start)
            while x < end:
                row[x] += (min(end, x + 1) - max(start, x)) / SUBROWS
                x += 1
    return cover


def bird_spans(size, layout):
    """The bird's spans in pixels: its box from the layout, centred."""
    middle = size / 2
    sx = layout.half_span / BIRD_UNITS
    sy = (layout.bird_bottom - layout.bird_top) / BIRD_UNITS
    right = [(middle + x * sx, layout.bird_top + y * sy) for x, y in BIRD_HALF]
    left = [(2 * middle - x, y) for x, y in reversed(right)]
    outline = right + left
    hx, hy, hr = BIRD_HEAD
    head = (middle + hx * sx, layout.bird_top + hy * sy, hr * min(sx, sy))
    return lambda y: union(polygon_spans(outline, y) + circle_spans(*head, y))


def mix(under, over, amount):
    return tuple(round(u + (o - u) * amount) for u, o in zip(under, over))


def alpha(cover):
    return round(255 * min(cover, 1.0))


def computed_image(size):
    """Rows of (red, green, blue, alpha), top first."""
    layout = LAYOUTS[size]
    square = coverage(size, lambda y: rounded_square_spans(size, layout.radius, y))
    bird = coverage(size, bird_spans(size, layout))
    image = []
    for y in range(size):
        bar_index, offset = divmod(y - layout.bar_top, layout.bar_height + layout.bar_gap)
        in_bar = 0 <= bar_index < len(BARS) and offset < layout.bar_height
        row = []
        for x in range(size):
            colour = SLATE
            if in_bar and layout.bar_left <= x < size - layout.bar_left:
                colour = BARS[bar_index]
            colour = mix(colour, WHITE, min(bird[y][x], 1.0))
            row.append(colour + (alpha(square[y][x]),))
        image.append(row)
    return image


def pixel_art_image(size):
    colours = {"s": SLATE, "W": WHITE, "+": mix(SLATE, WHITE, 0.5), "b": BARS[0], "g": BARS[1], "o": BARS[2]}
    rows = PIXEL_ART[size].split()
    assert len(rows) == size and all(len(row) == size for row in rows), "pixel art of %d is not square" % size
    square = coverage(size, lambda y: rounded_square_spans(size, PIXEL_ART_RADIUS[size], y))
    return [[colours[c] + (alpha(square[y][x]),) for x, c in enumerate(row)] for y, row in enumerate(rows)]


def image_for(size):
    return pixel_art_image(size) if size in PIXEL_ART else computed_image(size)


# The file formats.

def bitmap_entry(image):
    """A 32-bit bottom-up DIB with its AND mask: set where the image is fully transparent."""
    size = len(image)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = b"".join(bytes((b, g, r, a)) for row in reversed(image) for r, g, b, a in row)
    mask_stride = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(image):
        bits = 0
        for x, (_, _, _, alpha) in enumerate(row):
            if alpha == 0:
                bits |= 1 << (mask_stride * 8 - 1 - x)
        mask += bits.to_bytes(mask_stride, "big")
    return header + colours + mask


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(image):
    """RGBA, 8 bits a channel, no filtering."""
    height, width = len(image), len(image[0])
    raw = b"".join(b"\0" + bytes(channel for pixel in row for channel in pixel) for row in image)
    return (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + png_chunk(b"IDAT", zlib.compress(raw, 9))
            + png_chunk(b"IEND", b""))


def icon_file(images):
    """An .ico of the images, smallest first; 256 and more as PNG."""
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for image in images:
        size = len(image)
        blob = png(image) if size >= 256 else bitmap_entry(image)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + entries + blobs


def preview(images, height=256, gap=8):
    """Every image enlarged by whole pixels to about `height`, side by side
    on a light grey ground, as PNG."""
    factors = [max(1, height // len(image)) for image in images]
    width = sum(len(image) * factor + gap for image, factor in zip(images, factors)) + gap
    ground = (0xC8, 0xC8, 0xC8)
    sheet = [[ground + (255,)] * width for _ in range(height + 2 * gap)]
    left = gap
    for image, factor in zip(images, factors):
        for y in range(len(image) * factor):
            for x in range(len(image) * factor):
                r, g, b, a = image[y // factor][x // factor]
                sheet[gap + y][left + x] = mix(ground, (r, g, b), a / 255) + (255,)
        left += len(image) * factor + gap
    return png(sheet)


def main(arguments):
    answer_help(__doc__, arguments)
    preview_path = None
    if "--preview" in arguments:
        index = arguments.index("--preview")
        if index + 1 == len(arguments) or arguments[index + 1].startswith("-"):
            refuse("--preview wants the file to write")
        preview_path = arguments[index + 1]
        del arguments[index:index + 2]
    arguments = expect_arguments(__doc__, arguments, 0, 1)
    path = arguments[0] if arguments else "src/app/kestrin.ico"
    images = [image_for(size) for size in (16, 20, 24, 32, 40, 48, 64, 256)]
    with open(path, "wb") as out:
        out.write(icon_file(images))
    if preview_path:
        with open(preview_path, "wb") as out:
            out.write(preview(images))


if __name__ == "__main__":
    main(sys.argv[1:])
