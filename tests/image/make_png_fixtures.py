#!/usr/bin/python3
"""Regenerates the PNG fixtures of image_test and their expected pixels.

The PNG files are written by the small encoder below (every colour type, bit depth
and Adam7 interlacing, with no gamma or colour-space chunks). The expected pixels come
from an independent decoder, Pillow (Debian package python3-pil), as top-down RGBA
bytes in <name>.rgba. Files whose transparency the image library composites against a
background (grey with alpha at 8 bits, RGBA at 16 bits) get that composite, computed
the way libpng does it without gamma, over grey 192.

Run with /usr/bin/python3 from tests/image: ./make_png_fixtures.py
"""
import os
import struct
import zlib

from PIL import Image

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures")
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def pack_row(samples, depth):
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    if depth == 8:
        return bytes(samples)
    out, acc, bits = bytearray(), 0, 0
    for s in samples:
        acc = (acc << depth) | s
        bits += depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def write_png(name, width, height, color_type, depth, pixels, palette=None, trns=None, bkgd=None,
              interlace=False):
    """pixels[y][x] is a tuple of samples, top row first."""
    n = CHANNELS[color_type]
    raw = bytearray()
    passes = ADAM7 if interlace else [(0, 0, 1, 1)]
    for x0, y0, dx, dy in passes:
        xs = list(range(x0, width, dx))
        if not xs:
            continue
        for y in range(y0, height, dy):
            samples = [s for x in xs for s in pixels[y][x][:n]]
            raw += b"\0" + pack_row(samples, depth)
    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, color_type, 0, 0, int(interlace)))
    if palette:
        data += chunk(b"PLTE", bytes(c for rgb in palette for c in rgb))
    if trns is not None:
        data += chunk(b"tRNS", trns)
    if bkgd is not None:
        data += chunk(b"bKGD", bkgd)
    data += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    data += chunk(b"IEND", b"")
    with open(os.path.join(HERE, name + ".png"), "wb") as f:
        f.write(data)


def compose(value, alpha, background):
    t = value * alpha + background * (255 - alpha) + 128
    return (t + (t >> 8)) >> 8


def reference(name, mode):
    """Pillow's decode as top-down RGBA; mode says how to read what Pillow returns."""
    im = Image.open(os.path.join(HERE, name + ".png"))
    im.load()
    out = bytearray()
    w, h = im.size
    for y in range(h):
        for x in range(w):
            if mode == "grey16":
                v = im.getpixel((x, y)) >> 8
                out += bytes((v, v, v, 255))
            elif mode == "composite":
                r, g, b, a = im.convert("RGBA").getpixel((x, y))
                out += bytes((compose(r, a, 192), compose(g, a, 192), compose(b, a, 192), 255))
            else:
                out += bytes(im.convert("RGBA").getpixel((x, y)))
    with open(os.path.join(HERE, name + ".rgba"), "wb") as f:
        f.write(out)


def grid(width, height, fn):
    return [[fn(x, y) for x in range(width)] for y in range(height)]


def main():
    os.makedirs(HERE, exist_ok=True)
    w, h = 7, 5
    cases = [
        ("grey1", 0, 1, grid(w, h, lambda x, y: ((x + y) % 2,)), {}, "rgba"),
        ("grey2", 0, 2, grid(w, h, lambda x, y: ((x + 2 * y) % 4,)), {}, "rgba"),
        ("grey4", 0, 4, grid(w, h, lambda x, y: ((3 * x + y) % 16,)), {}, "rgba"),
        ("grey8", 0, 8, grid(w, h, lambda x, y: (x * 37 + y * 5,)), {}, "rgba"),
        ("grey16", 0, 16, grid(w, h, lambda x, y: (x * 9000 + y * 300 + 77,)), {}, "grey16"),
        ("greyalpha8", 4, 8, grid(w, h, lambda x, y: (x * 36, y * 60)), {}, "composite"),
        ("palette1", 3, 1, grid(w, h, lambda x, y: ((x * y) % 2,)),
         {"palette": [(200, 10, 20), (5, 250, 90)]}, "rgba"),
        ("palette2", 3, 2, grid(w, h, lambda x, y: ((x + y) % 4,)),
         {"palette": [(1, 2, 3), (250, 0, 0), (0, 250, 0), (0, 0, 250)]}, "rgba"),
        ("palette4", 3, 4, grid(w, h, lambda x, y: ((x + 3 * y) % 11,)),
         {"palette": [(i * 20, 255 - i * 20, i * 7) for i in range(11)]}, "rgba"),
        ("palette8alpha", 3, 8, grid(w, h, lambda x, y: ((x + 7 * y) % 40,)),
         {"palette": [(i * 6, 100, 255 - i * 6) for i in range(40)],
          "trns": bytes([0, 40, 80, 120, 160, 200])}, "rgba"),
        ("palette8key", 3, 8, grid(w, h, lambda x, y: ((x + y) % 3,)),
         {"palette": [(9, 9, 9), (100, 150, 200), (30, 60, 90)], "trns": bytes([0])}, "rgba"),
        ("rgb8", 2, 8, grid(w, h, lambda x, y: (x * 30, y * 50, 250 - x * 20)),
         {"bkgd": struct.pack(">HHH", 10, 20, 30)}, "rgba"),
        ("rgb16", 2, 16, grid(w, h, lambda x, y: (x * 9000 + 255, y * 12000 + 3, 65535 - x * 5000)), {}, "rgba"),
        ("rgba8", 6, 8, grid(w, h, lambda x, y: (x * 30, y * 50, 200, (x * 40 + y * 3) % 256)), {}, "rgba"),
        ("rgba16", 6, 16, grid(w, h, lambda x, y: (x * 9000, y * 12000, 40000, x * 10000 + y * 100)), {},
         "composite"),
        ("greyalpha16", 4, 16, grid(w, h, lambda x, y: (x * 9000, y * 16000)), {}, "rgba"),
    ]
    for name, color_type, depth, pixels, extra, mode in cases:
        write_png(name, w, h, color_type, depth, pixels, **extra)
        reference(name, mode)
    iw, ih = 9, 9
    interlaced = [
        ("rgba8_adam7", 6, 8, grid(iw, ih, lambda x, y: (x * 28, y * 28, (x * y) % 256, 255 - x * 20)), {},
         "rgba"),
        ("grey2_adam7", 0, 2, grid(iw, ih, lambda x, y: ((x * 3 + y) % 4,)), {}, "rgba"),
        ("palette4_adam7", 3, 4, grid(iw, ih, lambda x, y: ((x + 2 * y) % 16,)),
         {"palette": [(i * 16, i * 8, 255 - i * 16) for i in range(16)]}, "rgba"),
    ]
    for name, color_type, depth, pixels, extra, mode in interlaced:
        write_png(name, iw, ih, color_type, depth, pixels, interlace=True, **extra)
        reference(name, mode)


if __name__ == "__main__":
    main()
