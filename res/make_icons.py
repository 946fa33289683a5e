#!/usr/bin/env python3
"""Draws Vorelix's icons procedurally and writes them as .ico files (standard library only).

Run from anywhere: python3 res/make_icons.py  (writes res/*.ico beside this script).
Each picture is described in a 32x32 design space and sampled at every size with 4x4
supersampling, so the small and large sizes come from the same drawing.
"""
import math
import os
import struct

SIZES = {"vorelix": (16, 24, 32, 48, 64), "utils": (32, 48, 64), "view": (32, 48, 64), "play": (32, 48, 64)}


def inside_rounded_rect(x, y, x0, y0, x1, y1, r):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def inside_circle(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def inside_triangle(x, y, a, b, c):
    def side(p, q):
        return (x - q[0]) * (p[1] - q[1]) - (p[0] - q[0]) * (y - q[1])
    d1, d2, d3 = side(a, b), side(b, c), side(c, a)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def near_segment(x, y, a, b, width):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2


# Each painter returns (r, g, b, a) for a point of the 32x32 design space, or None for transparent.
def paint_film(x, y):
    """The application: a strip of film with a play mark, the program's "demo" sign."""
    if inside_rounded_rect(x, y, 2, 6, 30, 26, 3):
        if inside_rounded_rect(x, y, 3, 7, 29, 25, 2):
            holes = (7.5 <= y <= 9.5 or 22.5 <= y <= 24.5) and (int(x) % 4 in (1, 2)) and 4 <= x <= 28
            if holes:
                return (235, 235, 235, 255)
            if 11 <= y <= 21:
                if inside_triangle(x, y, (12, 12), (12, 20.5), (21, 16.25)):
                    return (255, 190, 40, 255)
                return (40, 90, 160, 255)
            return (30, 30, 36, 255)
        return (10, 10, 14, 255)
    return None


def paint_utils(x, y):
    """Useful utils: a wrench over a page."""
    if near_segment(x, y, (9, 23), (21, 11), 4.2):
        return (120, 128, 140, 255)
    if inside_circle(x, y, 22.5, 9.5, 5.2) and not inside_circle(x, y, 24.5, 7.5, 2.6):
        return (120, 128, 140, 255)
    if inside_circle(x, y, 8, 24, 3.2):
        return (90, 96, 108, 255)
    if inside_rounded_rect(x, y, 4, 3, 20, 29, 1.5):
        if inside_rounded_rect(x, y, 5, 4, 19, 28, 1):
            if int(y) % 4 == 0 and 7 <= y <= 25 and 7 <= x <= 17:
                return (150, 170, 200, 255)
            return (250, 250, 245, 255)
        return (60, 60, 70, 255)
    return None


def paint_view(x, y):
    """ViewDemo: an eye with pause bars beside it (viewing with play controls)."""
    eye = inside_circle(x, y - 0, 14, 27, 17) and inside_circle(x, y, 14, 5, 17) and 1 <= x <= 27
    if eye:
        if inside_circle(x, y, 14, 16, 5.5):
            if inside_circle(x, y, 14, 16, 2.6):
                return (10, 10, 14, 255)
            return (40, 110, 190, 255)
        edge = not (inside_circle(x, y, 14, 27.8, 16.2) and inside_circle(x, y, 14, 4.2, 16.2))
        return (20, 20, 26, 255) if edge else (255, 255, 255, 255)
    if 24 <= y <= 31 and (20 <= x <= 23 or 26 <= x <= 29):
        return (230, 80, 40, 255)
    return None


def paint_play(x, y):
    """PlayDemo: a green play triangle in a round badge."""
    if inside_circle(x, y, 16, 16, 14.5):
        if inside_triangle(x, y, (12, 8.5), (12, 23.5), (24.5, 16)):
            return (255, 255, 255, 255)
        if inside_circle(x, y, 16, 16, 13):
            return (40, 160, 70, 255)
        return (20, 90, 40, 255)
    return None


PAINTERS = {"vorelix": paint_film, "utils": paint_utils, "view": paint_view, "play": paint_play}


def render(painter, size, samples=4):
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) * 32.0 / size
                    y = (py + (sy + 0.5) / samples) * 32.0 / size
                    colour = painter(x, y)
                    if colour:
                        r += colour[0] * colour[3]
                        g += colour[1] * colour[3]
                        b += colour[2] * colour[3]
                        a += colour[3]
            n = samples * samples
            if a:
                row.append((r // a, g // a, b // a, a // n))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def bmp_entry(pixels):
    """One icon image: BITMAPINFOHEADER, 32-bit BGRA rows bottom-up, then the 1-bit AND mask."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for i, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[i // 8] |= 0x80 >> (i % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def write_ico(path, images):
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, blob in images:
        dim = 0 if size >= 256 else size
        data += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    with open(path, "wb") as f:
        f.write(data + b"".join(blobs))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, sizes in SIZES.items():
        images = [(size, bmp_entry(render(PAINTERS[name], size))) for size in sizes]
        write_ico(os.path.join(here, name + ".ico"), images)


if __name__ == "__main__":
    main()
