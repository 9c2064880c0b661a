#!/usr/bin/env python3
"""Writes src/app/kakehashi.ico: the program's 32x32, 16-colour icon (a red arch bridge
over water under a blue sky), drawn pixel by pixel so that the file can be rebuilt."""
import math
import struct
import sys

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
NAVY, TEAL, GRAY, RED, BLUE, AQUA, WHITE, MAROON, YELLOW = 4, 6, 8, 9, 12, 14, 15, 1, 11


def pixel(x, y):
    """Colour index and opacity of pixel (x, y), y downwards."""
    # Rounded square: the corners are transparent.
    r = 4
    cx = min(max(x, r), 31 - r)
    cy = min(max(y, r), 31 - r)
    if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
        return 0, False
    if x in (0, 31) or y in (0, 31) or (x - cx) ** 2 + (y - cy) ** 2 > (r - 1) ** 2:
        return NAVY, True
    # The arch: a thick circle segment from x=3 to x=28.
    d = math.hypot(x - 15.5, y - 30.0)
    if 17.0 <= d <= 20.0 and y <= 24:
        return RED, True
    # Deck and its posts.
    if y in (12, 13) and 2 <= x <= 29:
        return MAROON, True
    if y in (9, 10, 11) and x % 4 == 1 and 3 <= x <= 28 and math.hypot(x - 15.5, y - 30.0) > 17.0:
        return RED, True
    if y >= 24:
        return (AQUA if (x + y) % 5 == 0 else TEAL), True
    if (x, y) in ((24, 4), (25, 4), (24, 5), (25, 5)):
        return YELLOW, True
    return (BLUE if y < 8 else GRAY if y > 21 else 12), True


def main(path):
    rows_xor, rows_and = [], []
    for y in range(31, -1, -1):  # bottom-up
        px = [pixel(x, y) for x in range(32)]
        xor = bytes((px[i][0] << 4) | px[i + 1][0] for i in range(0, 32, 2))
        mask = 0
        for x in range(32):
            if not px[x][1]:
                mask |= 1 << (31 - x)
        rows_xor.append(xor)
        rows_and.append(struct.pack('>I', mask))
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 4, 0, 16 * 32 + 4 * 32, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    image = header + palette + b''.join(rows_xor) + b''.join(rows_and)
    icondir = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(icondir + entry + image)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'src/app/kakehashi.ico')
