#!/usr/bin/env python3
"""Draws Blobsmith's icon and writes it as a Windows .ico (16, 24, 32 and 48
pixels, 32-bit colour with alpha). The picture: a round blue blob holding
three rows of bytes, the program's output in miniature.

    scripts/make-icon.py [OUTPUT]   (default src/app/program/blobsmith.ico)
"""
import os
import struct
import sys

SIZES = (16, 24, 32, 48)
SUPERSAMPLE = 4


def inside_blob(x, y):
    """The blob: a superellipse with a slight wobble, in the unit square."""
    cx, cy = x - 0.5, y - 0.52
    r = (abs(cx) / 0.46) ** 2.6 + (abs(cy) / 0.44) ** 2.6
    return r <= 1.0


def row_cell(x, y):
    """Three rows of 'bytes' (short bars) inside the blob; returns shade 0..1 or None."""
    rows = (0.34, 0.50, 0.66)
    widths = ((0.26, 0.40), (0.44, 0.58), (0.62, 0.74))
    pattern = ((1, 1, 1), (1, 0, 1), (1, 1, 0))
    for r, ry in enumerate(rows):
        if abs(y - ry) <= 0.055:
            for c, (x0, x1) in enumerate(widths):
                if x0 <= x <= x1 and pattern[r][c]:
                    return 1.0
    return None


def pixel(size, px, py):
    """Averaged RGBA for one pixel, drawn from SUPERSAMPLE^2 samples."""
    acc = [0.0, 0.0, 0.0, 0.0]
    n = SUPERSAMPLE
    for sy in range(n):
        for sx in range(n):
            x = (px + (sx + 0.5) / n) / size
            y = (py + (sy + 0.5) / n) / size
            if not inside_blob(x, y):
                continue
            if row_cell(x, y) is not None:
                rgb = (250, 250, 252)
            else:
                # Light from the top left.
                t = min(1.0, max(0.0, (x + y) / 1.6))
                rgb = (int(64 - 34 * t), int(150 - 70 * t), int(235 - 60 * t))
            acc[0] += rgb[0]
            acc[1] += rgb[1]
            acc[2] += rgb[2]
            acc[3] += 255
    count = n * n
    alpha = acc[3] / count
    if alpha == 0:
        return (0, 0, 0, 0)
    covered = acc[3] / 255
    return (round(acc[0] / covered), round(acc[1] / covered), round(acc[2] / covered), round(alpha))


def image(size):
    """A BITMAPINFOHEADER image: BGRA rows bottom-up, then the AND mask."""
    rows = []
    mask_rows = []
    mask_stride = ((size + 31) // 32) * 4
    for py in reversed(range(size)):
        row = bytearray()
        mask = bytearray(mask_stride)
        for px in range(size):
            r, g, b, a = pixel(size, px, py)
            row += bytes((b, g, r, a))
            if a == 0:
                mask[px // 8] |= 0x80 >> (px % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + b"".join(mask_rows)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "src", "app", "program", "blobsmith.ico")
    images = [image(s) for s in SIZES]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, body in zip(SIZES, images):
        dim = 0 if size == 256 else size
        data += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    data += b"".join(images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
