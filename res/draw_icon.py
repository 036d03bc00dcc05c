#!/usr/bin/env python3
"""Draws Navolet's icon: a black camera body on its side with a white lens ring and a red
star-shaped burst at its lower right. Writes Navolet.ico with nine images: 48, 32 and 16
pixels at 4, 8 and 32 bits, each an uncompressed DIB with a one-bit mask.

Usage: python3 draw_icon.py [output.ico]
"""
import math
import struct
import sys

SIZES = (48, 32, 16)
DEPTHS = (4, 8, 32)
SAMPLES = 4  # supersampling per axis, for smooth edges in the 32-bit images

BLACK = (0, 0, 0)
GREY = (64, 64, 64)
WHITE = (255, 255, 255)
RED = (255, 0, 0)
YELLOW = (255, 255, 0)


def star_radius(angle, points, outer, inner):
    """Radius of a star outline at an angle: straight edges between the tips."""
    sector = 2 * math.pi / points
    a = (angle % sector) / sector  # 0 at a tip, 0.5 at a notch
    t = abs(a - 0.5) * 2           # 1 at a tip, 0 at a notch
    return inner + (outer - inner) * t


def colour_at(u, v):
    """Colour at a point of the unit square (u right, v down), or None if transparent."""
    # Red burst at the lower right, drawn over everything.
    bx, by = 0.76, 0.76
    dx, dy = u - bx, v - by
    r = math.hypot(dx, dy)
    if r < star_radius(math.atan2(dy, dx), 8, 0.24, 0.11):
        return YELLOW if r < 0.06 else RED
    # Camera body on its side: a tall box with the viewfinder hump on its left.
    lx, ly = 0.45, 0.47
    d = math.hypot(u - lx, v - ly)
    if d < 0.20:
        if d < 0.11:
            return GREY if d < 0.06 else BLACK
        return WHITE
    if 0.22 <= u <= 0.70 and 0.10 <= v <= 0.88:
        return BLACK
    if 0.10 <= u < 0.22 and 0.34 <= v <= 0.62:
        return BLACK
    # Shutter button on the far end of the body.
    if 0.58 <= u <= 0.70 and 0.04 <= v < 0.10:
        return BLACK
    return None


def render(size):
    """Rows of RGBA pixels, top row first, with coverage in the alpha channel."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            hits = {}
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((x + (sx + 0.5) / SAMPLES) / size, (y + (sy + 0.5) / SAMPLES) / size)
                    if c is not None:
                        hits[c] = hits.get(c, 0) + 1
            covered = sum(hits.values())
            if covered == 0:
                row.append((0, 0, 0, 0))
                continue
            rgb = [sum(c[i] * n for c, n in hits.items()) // covered for i in range(3)]
            row.append((rgb[0], rgb[1], rgb[2], 255 * covered // (SAMPLES * SAMPLES)))
        rows.append(row)
    return rows


def palette(depth):
    """The standard 16-colour palette; for 256 colours a 6x6x6 cube follows it."""
    base = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
            (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
            (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    if depth == 4:
        return base
    cube = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    greys = [(i * 255 // 39,) * 3 for i in range(1, 40)]
    return (base + cube + greys + [(0, 0, 0)] * 256)[:256]


def nearest(pal, rgb):
    return min(range(len(pal)), key=lambda i: sum((pal[i][k] - rgb[k]) ** 2 for k in range(3)))


def row_bytes(bits):
    return (bits + 31) // 32 * 4


def dib(size, depth):
    pixels = render(size)
    pal = palette(depth) if depth < 32 else []
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, depth, 0,
                         (row_bytes(size * depth) + row_bytes(size)) * size, 0, 0, 0, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in pal)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # bottom-up
        line = bytearray()
        if depth == 32:
            for r, g, b, a in row:
                line += struct.pack('<BBBB', b, g, r, a)
        else:
            indices = [nearest(pal, p[:3]) if p[3] >= 128 else 0 for p in row]
            if depth == 8:
                line += bytes(indices)
            else:
                for i in range(0, size, 2):
                    line.append(indices[i] << 4 | indices[i + 1])
        line += b'\0' * (row_bytes(size * depth) - len(line))
        xor += line
        bits = bytearray(row_bytes(size))
        for x, p in enumerate(row):
            if p[3] < 128:  # transparent where the picture barely covers the pixel
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colours + bytes(xor) + bytes(mask)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else 'Navolet.ico'
    images = [(size, depth, dib(size, depth)) for depth in DEPTHS for size in SIZES]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, depth, image in images:
        colours = 16 if depth == 4 else 0
        data += struct.pack('<BBBBHHII', size, size, colours, 0, 1, depth, len(image), offset)
        offset += len(image)
    data += b''.join(image for _, _, image in images)
    with open(out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()
