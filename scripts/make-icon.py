#!/usr/bin/env python3
"""Draws the program's icon (a green clock face on black) into an .ico file
with 16, 20, 24, 32, 40, 48 and 64 pixel images in 16 colours, and a 256 pixel one stored
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
    """A 16-colour image with its transparency mask: the drawing has four
    flat colours and no soft edges, so this is exact and a quarter of the
    size of a 32-bit image."""
    rows = list(reversed(pixels(size)))  # bottom-up
    palette = sorted({p[:3] for row in rows for p in row if p[3]})
    index = {c: i for i, c in enumerate(palette)}
    xor_row = ((size * 4 + 31) // 32) * 4
    and_row = ((size + 31) // 32) * 4
    xor = b""
    mask = b""
    for row in rows:
        nibbles = [index[p[:3]] if p[3] else 0 for p in row] + [0]
        line = bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, size, 2))
        xor += line.ljust(xor_row, b"\0")
        bits = 0
        for i, p in enumerate(row):
            if not p[3]:
                bits |= 1 << (and_row * 8 - 1 - i)
        mask += bits.to_bytes(and_row, "big")
    table = b"".join(bytes((c[2], c[1], c[0], 0)) for c in palette).ljust(16 * 4, b"\0")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    return header + table + xor + mask


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
        colours, bits = (0, 32) if s == 256 else (16, 4)
        out += struct.pack("<BBBBHHII", s % 256, s % 256, colours, 0, 1, bits, len(img), offset)
        offset += len(img)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "src/app/res/ombrelo.ico")
