#!/usr/bin/env python3
"""Draws the program icon, a stylised fingerprint, into a Windows .ico file.

Usage: make_icon.py OUTPUT.ico
"""
import math
import struct
import sys


def pixel(size, x, y):
    """The colour (b, g, r, a) of one pixel of the icon at the given size."""
    cx, cy = (size - 1) / 2.0, (size - 1) / 2.0
    r = size / 2.0
    # A rounded tile in the station's blue.
    corner = size * 0.22
    dx = max(abs(x - cx) - (r - corner), 0)
    dy = max(abs(y - cy) - (r - corner), 0)
    if math.hypot(dx, dy) > corner:
        return (0, 0, 0, 0)
    b, g, rr = 0x9C, 0x5A, 0x1E
    # Ridges: concentric ellipses around a core a little above the centre.
    fx = (x - cx) / (size * 0.30)
    fy = (y - cy - size * 0.05) / (size * 0.38)
    d = math.hypot(fx, fy)
    if d < 1.0:
        ridge = 0.5 + 0.5 * math.cos(d * math.pi * (5 if size >= 32 else 3) * 2)
        if ridge > 0.55:
            return (0xF5, 0xEE, 0xE8, 255)
    return (b, g, rr, 255)


def image(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        rows.append(b"".join(struct.pack("4B", *pixel(size, x, y)) for x in range(size)))
    xor = b"".join(rows)
    mask_stride = ((size + 31) // 32) * 4
    and_mask = b"\0" * (mask_stride * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def main():
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
