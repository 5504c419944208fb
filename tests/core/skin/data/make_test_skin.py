#!/usr/bin/env python3
"""Writes the pictures of the test skin "TestSkin" (tests/core/skin/data/TestSkin).

Picture names the skin text uses with the "!" form or as the master bitmap are upper-case:
in a packed skin those are looked up as written against upper-cased entry names.

The BMP and PNG files are written here byte by byte; the two JPEG textures are made with
ImageMagick's `convert`. The files are committed, so the tests need none of this at run time.
Run from anywhere: python3 make_test_skin.py
"""
import os
import struct
import subprocess
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "TestSkin")

FUCHSIA = (255, 0, 255)
RED = (255, 0, 0)
GREY = (128, 128, 128)


def write_bmp24(path, w, h, pixel):
    """pixel(x, y) -> (r, g, b); y = 0 is the top row. Bottom-up 24-bit BI_RGB."""
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for x in range(w):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += b"\0" * (row - w * 3)
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def write_png_rgba(path, w, h, pixel):
    """pixel(x, y) -> (r, g, b, a)."""
    raw = bytearray()
    for y in range(h):
        raw.append(0)
        for x in range(w):
            raw += bytes(pixel(x, y))

    def chunk(kind, body):
        c = struct.pack(">I", len(body)) + kind + body
        return c + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def master(x, y):
    # Button border mask "^0000,0000,0024,0016": three 8 x 8 frames over their mask row, with a
    # fuchsia corner pixel in the first frame's top-left border.
    if (x, y) == (0, 0):
        return FUCHSIA
    # Kept close icon "@0064,0000,0080,0016,..." and a plain red block beside it (64..95, 0..15):
    # the icon must keep its red after a hue change, the block must not.
    if 64 <= x < 96 and y < 16:
        return RED
    # Texture "~0032,0000,0064,0032,...": a blue-green gradient.
    if 32 <= x < 64 and y < 32:
        return (0, 4 * (x - 32), 255 - 4 * y)
    return GREY


def main():
    os.makedirs(OUT, exist_ok=True)
    write_bmp24(os.path.join(OUT, "MASTER.BMP"), 128, 64, master)
    # Plain picture file form: 18 x 12, borders 18 div 9 = 2 and 12 div 6 = 2, no fuchsia.
    write_bmp24(os.path.join(OUT, "plain.bmp"), 18, 12, lambda x, y: (40, 80, 120))
    # "!" form with a lower-case ".bmp" name: must be ignored even though the file exists.
    write_bmp24(os.path.join(OUT, "lower.bmp"), 4, 4, lambda x, y: (1, 2, 3))
    # "!" form PNG glyph, 8 x 8, semi-transparent red.
    write_png_rgba(os.path.join(OUT, "GLYPH.PNG"), 8, 8, lambda x, y: (255, 0, 0, 32 * (x % 8)))
    # JPEG textures: 16 x 16 becomes an image, 1000 x 900 (900000 pixels) a pattern.
    subprocess.run(["convert", "-size", "16x16", "xc:#2050A0", "-quality", "95",
                    os.path.join(OUT, "small.jpg")], check=True)
    subprocess.run(["convert", "-size", "1000x900", "xc:#A05020", "-quality", "60",
                    os.path.join(OUT, "big.jpg")], check=True)


if __name__ == "__main__":
    main()
