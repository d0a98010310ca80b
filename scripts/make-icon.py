#!/usr/bin/env python3
"""Draws the program's icon (a green clock face on black) into an .ico file
with 16, 20, 24, 32, 40, 48 and 64 pixel images, and a 256 pixel one stored
as PNG (as Windows keeps its large icons), so that it is crisp at every
scale and in Explorer's large views. Run once; the icon is kept in the repo."""
import math
import struct
import sys
import zlib


def pixels(size):
    """Rows from the top, each pixel (r, g, b, a)."""
    rows = []
    c = (size - 1) / 2.0
    r_out = size * 0.47
    ring = max(1.0, size / 14.0)
    for y in range(size):
        row = []
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
            row.append((col[0], col[1], col[2], a))
        rows.append(row)
    return rows


def bmp(size):
    rows = pixels(size)
    xor = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(rows) for p in row)
    and_row = ((size + 31) // 32) * 4
    mask = bytes(and_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def png(size):
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in pixels(size))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(path):
    sizes = [16, 20, 24, 32, 40, 48, 64, 256]
    images = [png(s) if s == 256 else bmp(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        # 0 in the directory stands for 256.
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "src/app/res/ombrelo.ico")
