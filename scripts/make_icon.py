#!/usr/bin/env python3
"""Draws the application icon: a teal rounded square with a white V above a
brook of three wavy lines, in the ten sizes Windows picks from. Writes one
.ico file: 32-bit bitmaps, PNG for the 256-pixel image."""
import math
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 64, 72, 80, 96, 128, 256)


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def inside_rounded_square(x, y):
    radius, margin = 0.2, 0.03
    cx = min(max(x, margin + radius), 1 - margin - radius)
    cy = min(max(y, margin + radius), 1 - margin - radius)
    return math.hypot(x - cx, y - cy) <= radius


def in_mark(x, y):
    stroke = 0.075
    if distance_to_segment(x, y, 0.27, 0.2, 0.5, 0.57) <= stroke:
        return True
    if distance_to_segment(x, y, 0.73, 0.2, 0.5, 0.57) <= stroke:
        return True
    for row in (0.74, 0.85):
        wave = row + 0.025 * math.sin((x - 0.2) * 2 * math.pi * 2)
        if 0.2 <= x <= 0.8 and abs(y - wave) <= 0.028:
            return True
    return False


def pixel(x, y):
    """Colour at a point of the unit square, as (r, g, b, a)."""
    if not inside_rounded_square(x, y):
        return (0, 0, 0, 0)
    if in_mark(x, y):
        return (255, 255, 255, 255)
    shade = 1.0 - 0.35 * y
    return (int(0 * shade), int(128 * shade + 20), int(140 * shade + 30), 255)


def render(size):
    samples = 4 if size <= 64 else 3
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            r = g = b = a = 0.0
            for sj in range(samples):
                for si in range(samples):
                    pr, pg, pb, pa = pixel((i + (si + 0.5) / samples) / size, (j + (sj + 0.5) / samples) / size)
                    r, g, b, a = r + pr * pa, g + pg * pa, b + pb * pa, a + pa
            n = samples * samples
            alpha = a / n
            if a:
                row.append((round(r / a), round(g / a), round(b / a), round(alpha)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def bitmap_entry(size, rows):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    return header + pixels + bytes(mask_row * size)


def png_entry(size, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(path):
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, png_entry(size, rows) if size == 256 else bitmap_entry(size, rows)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1])
