#!/usr/bin/env python3
"""Writes the programs' icons: src/app/kakehashi.ico (a red arch bridge over water under a blue
sky) and tools/practice_chat/practice_chat.ico (a speech bubble). Each holds 16, 32, 48 and
256 pixel images in 32-bit colour with alpha (16 and 32 as bitmaps, 48 and 256 as PNG), drawn from shapes and smoothed by sampling every
pixel 4 x 4 times, so that the files can be rebuilt: python3 tools/make_icon.py [ROOT]."""
import math
import os
import struct
import sys
import zlib

SIZES = (16, 32, 48, 256)
SAMPLES = 4


def rounded_square(u, v, radius=0.17):
    """Distance outside a rounded square that fills the unit square (negative inside)."""
    cx = min(max(u, radius), 1 - radius)
    cy = min(max(v, radius), 1 - radius)
    return math.hypot(u - cx, v - cy) - radius


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def bridge(u, v):
    """Colour of the Kakehashi icon at (u, v) in the unit square, y downwards; None outside."""
    edge = rounded_square(u, v)
    if edge > 0:
        return None
    if edge > -0.045:
        return (24, 40, 110)
    # The arch under the deck, and the posts that carry the deck on it.
    arch = math.hypot(u - 0.5, v - 1.08)
    if 0.50 <= arch <= 0.61 and v <= 0.78:
        return (214, 40, 36)
    if 0.39 <= v <= 0.47 and 0.05 <= u <= 0.95:
        return (130, 16, 20)
    if 0.47 < v <= 0.78 and arch > 0.61 and abs((u - 0.5) * 7.0 - round((u - 0.5) * 7.0)) < 0.14:
        return (214, 40, 36)
    if v > 0.78:
        return (70, 170, 205) if (v * 18.0) % 1.0 < 0.3 and (u * 3.0 + v * 9.0) % 1.0 < 0.6 else (18, 96, 140)
    if math.hypot(u - 0.76, v - 0.2) <= 0.08:
        return (255, 214, 40)
    return mix((40, 104, 210), (160, 210, 245), v / 0.78)


def bubble(u, v):
    """Colour of the practice chat's icon: a white speech bubble with three dots on green."""
    edge = rounded_square(u, v)
    if edge > 0:
        return None
    if edge > -0.045:
        return (16, 90, 50)
    ex, ey = (u - 0.5) / 0.37, (v - 0.44) / 0.27
    inside = ex * ex + ey * ey <= 1.0
    # The tail: a triangle from the bubble's lower left towards the corner.
    tail = 0.56 <= v <= 0.84 and 0.22 <= u <= 0.46 and (u - 0.22) >= (v - 0.56) * 0.25 and \
        (0.46 - u) >= (v - 0.56) * 0.75
    if inside or tail:
        for dot in (0.33, 0.5, 0.67):
            if math.hypot(u - dot, v - 0.44) <= 0.055:
                return (70, 80, 90)
        return (255, 255, 255)
    return mix((60, 180, 110), (20, 120, 70), v)


def render(shape, size):
    """Rows of (r, g, b, a) tuples, top row first."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = shape((x + (sx + 0.5) / SAMPLES) / size, (y + (sy + 0.5) / SAMPLES) / size)
                    if c is not None:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / SAMPLES ** 2)))
        rows.append(row)
    return rows


def bmp_image(rows):
    """An icon image as a 32-bit bottom-up bitmap with its AND mask."""
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(rows):
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (mask_stride * 8 - 1 - x)
        mask += bits.to_bytes(mask_stride, 'big')
    return header + pixels + mask


def png_image(rows):
    """An icon image as a PNG: the usual form of 256-pixel images, and smaller than a bitmap
    (Windows reads PNG images of any size from Vista on)."""
    size = len(rows)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

    raw = b''.join(b'\0' + bytes(v for px in row for v in px) for row in rows)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def write_icon(path, shape):
    images = [png_image(render(shape, s)) if s >= 48 else bmp_image(render(shape, s)) for s in SIZES]
    offset = 6 + 16 * len(images)
    directory = struct.pack('<HHH', 0, 1, len(images))
    for size, image in zip(SIZES, images):
        directory += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, 'wb') as f:
        f.write(directory + b''.join(images))


def main(root):
    write_icon(os.path.join(root, 'src', 'app', 'kakehashi.ico'), bridge)
    write_icon(os.path.join(root, 'tools', 'practice_chat', 'practice_chat.ico'), bubble)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
