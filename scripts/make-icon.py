#!/usr/bin/env python3
"""Draws the program's icon (a green clock face on black) into an .ico file
with 16, 32 and 48 pixel images. Run once; the icon is kept in the repo."""
import math
import struct
import sys


def image(size):
    px = []
    c = (size - 1) / 2.0
    r_out = size * 0.47
    ring = max(1.0, size / 14.0)
    for y in range(size - 1, -1, -1):  # bottom-up rows
        for x in range(size):
            dx, dy = x - c, y - c
            d = math.hypot(dx, dy)
            a = 0
            col = (0, 0, 0)
            if d <= r_out:
                a = 255
                col = (16, 16, 16)
                if d >= r_out - ring:
                    col = (0, 220, 0)
                # minute hand to 12, hour hand to 3 (screen y grows downwards)
                if abs(dx) <= ring / 2 + 0.2 and -r_out * 0.75 <= dy <= 0:
                    col = (0, 255, 0)
                if abs(dy) <= ring / 2 + 0.2 and 0 <= dx <= r_out * 0.55:
                    col = (0, 255, 0)
            px.append(bytes((col[2], col[1], col[0], a)))
    xor = b"".join(px)
    and_row = ((size + 31) // 32) * 4
    mask = bytes(and_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def main(path):
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "src/win32/res/ombrelo.ico")
