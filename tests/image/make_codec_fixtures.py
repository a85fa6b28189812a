#!/usr/bin/python3
"""Regenerates the BMP, GIF, ICO, TGA, PCX and WBMP fixtures of image_test.

Files come from Pillow's encoders (Debian package python3-pil) where it writes the
variant, and from the small writers below for variants it does not write (run-length
BMP, 16-bit and core-header BMP, icons with masks, 16-bit TGA, planar PCX).
The expected pixels of every file except the WBMP ones come from Pillow's decoder as
top-down RGBA bytes in <file>.rgba. Pillow has no WBMP reader; those expectations are
written from the pixel grid the file was made from, with 1 meaning white.

Run with /usr/bin/python3 from tests/image: ./make_codec_fixtures.py
"""
import io
import os
import struct

from PIL import Image

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures", "codecs")
W, H = 11, 6


def save_bytes(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def reference(name, frame=0, size=None):
    im = Image.open(os.path.join(HERE, name))
    if size is not None:
        im.size = size
    if frame:
        im.seek(frame)
    im.load()
    save_bytes(name + ".rgba", im.convert("RGBA").tobytes())


def palette_image(width, height, colours, fn):
    im = Image.new("P", (width, height))
    flat = [c for rgb in colours for c in rgb]
    im.putpalette(flat + [0] * (768 - len(flat)))
    im.putdata([fn(x, y) for y in range(height) for x in range(width)])
    return im


def rgb_image(width, height, fn):
    im = Image.new("RGB", (width, height))
    im.putdata([fn(x, y) for y in range(height) for x in range(width)])
    return im


def colour(x, y):
    return (x * 23 % 256, y * 41 % 256, (x * y * 7 + 50) % 256)


COLOURS16 = [(i * 16, 255 - i * 16, (i * 77) % 256) for i in range(16)]


# BMP -----------------------------------------------------------------------------

def bmp_file(info, palette, pixels):
    offset = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + palette + pixels


def info40(width, height, bits, compression=0, size=0, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, size, 2835, 2835, colours, 0)


def quads(colours):
    return b"".join(bytes((b, g, r, 0)) for r, g, b in colours)


def packed_rows(width, height, bits, fn, top_down=False):
    out = bytearray()
    stride = ((width * bits + 31) // 32) * 4
    rows = range(height) if top_down else range(height - 1, -1, -1)
    for y in rows:
        row = bytearray(stride)
        for x in range(width):
            v = fn(x, y)
            if bits == 4:
                row[x // 2] |= v << (4 if x % 2 == 0 else 0)
            elif bits == 8:
                row[x] = v
        out += row
    return bytes(out)


def make_bmp():
    index = lambda x, y: (x + 2 * y) % 16
    pal = palette_image(W, H, COLOURS16, index)
    pal.save(os.path.join(HERE, "p8.bmp"))
    pal.convert("1").save(os.path.join(HERE, "mono.bmp"))
    rgb_image(W, H, colour).save(os.path.join(HERE, "rgb24.bmp"))
    save_bytes("p4.bmp", bmp_file(info40(W, H, 4), quads(COLOURS16), packed_rows(W, H, 4, index)))
    save_bytes("p8_topdown.bmp", bmp_file(info40(W, -H, 8, colours=16), quads(COLOURS16),
                                          packed_rows(W, H, 8, index, top_down=True)))
    core = struct.pack("<IHHHH", 12, W, H, 1, 8) + b"".join(bytes((b, g, r)) for r, g, b in COLOURS16)
    data = packed_rows(W, H, 8, index)
    offset = 14 + len(core)
    save_bytes("core8.bmp", b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + core + data)
    # Run-length files stay within what Pillow's reader handles correctly: no deltas,
    # even absolute runs for RLE4, every row complete. Deltas and odd runs are unit tests.
    rle8 = bytes([11, 3, 0, 0,
                  2, 5, 0, 3, 7, 8, 9, 0, 6, 12, 0, 0,
                  0, 4, 1, 2, 3, 4, 7, 9, 0, 0,
                  11, 1, 0, 1])
    save_bytes("rle8.bmp", bmp_file(info40(W, 4, 8, 1, len(rle8), 16), quads(COLOURS16), rle8))
    rle4 = bytes([11, 0x12, 0, 0,
                  0, 6, 0x34, 0x56, 0x70, 0, 5, 0xAB, 0, 0,
                  11, 0xF0, 0, 1])
    save_bytes("rle4.bmp", bmp_file(info40(W, 3, 4, 2, len(rle4), 16), quads(COLOURS16), rle4))
    rows555 = bytearray()
    rows565 = bytearray()
    for y in range(H - 1, -1, -1):
        r555, r565 = bytearray(), bytearray()
        for x in range(W):
            r, g, b = colour(x, y)
            r555 += struct.pack("<H", ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))
            r565 += struct.pack("<H", ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3))
        pad = (-len(r555)) % 4
        rows555 += r555 + bytes(pad)
        rows565 += r565 + bytes(pad)
    save_bytes("rgb555.bmp", bmp_file(info40(W, H, 16), b"", bytes(rows555)))
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    save_bytes("rgb565.bmp", bmp_file(info40(W, H, 16, 3), masks, bytes(rows565)))
    for name in ["p8.bmp", "mono.bmp", "rgb24.bmp", "p4.bmp", "p8_topdown.bmp", "core8.bmp", "rle8.bmp",
                 "rle4.bmp", "rgb555.bmp", "rgb565.bmp"]:
        reference(name)


# ICO -----------------------------------------------------------------------------

def icon_entry(width, height, bits, colours, pixels, mask_fn):
    """pixels(x, y) gives an index or a (b, g, r[, a]) tuple; y counts from the top."""
    palette = quads(colours) if colours else b""
    stride = ((width * bits + 31) // 32) * 4
    body = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            v = pixels(x, y)
            if bits == 4:
                row[x // 2] |= v << (4 if x % 2 == 0 else 0)
            elif bits == 8:
                row[x] = v
            else:
                row[x * (bits // 8):(x + 1) * (bits // 8)] = bytes(v)
        body += row
    mstride = ((width + 31) // 32) * 4
    mask = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(mstride)
        for x in range(width):
            if mask_fn(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    info = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bits, 0, len(body), 0, 0, 0, 0)
    return (width, height, len(colours) % 256, bits), info + palette + bytes(body) + bytes(mask)


def icon_file(entries):
    head = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    directory, data = b"", b""
    for (w, h, n, bits), blob in entries:
        directory += struct.pack("<BBBBHHII", w, h, n, 0, 1, bits, len(blob), offset + len(data))
        data += blob
    return head + directory + data


def make_ico():
    masked = lambda x, y: (x + y) % 5 == 0
    e4 = icon_entry(8, 6, 4, COLOURS16, lambda x, y: (x + y) % 15, masked)
    e24 = icon_entry(9, 5, 24, [], lambda x, y: (255, 0, 255) if masked(x, y) else colour(x, y)[::-1],
                     masked)
    e32 = icon_entry(10, 4, 32, [], lambda x, y: colour(x, y)[::-1] + ((x * 25) % 256,), lambda x, y: x == 0)
    save_bytes("three.ico", icon_file([e4, e24, e32]))
    for name, size in [("three.ico", (8, 6))]:
        reference(name, size=size)
    save_bytes("icon24.ico", icon_file([e24]))
    reference("icon24.ico")
    save_bytes("icon32.ico", icon_file([e32]))
    reference("icon32.ico")


# TGA -----------------------------------------------------------------------------

def tga_header(image_type, width, height, depth, descriptor=0, map_length=0):
    map_type = 1 if map_length else 0
    return struct.pack("<BBBHHBHHHHBB", 0, map_type, image_type, 0, map_length, 24 if map_length else 0, 0, 0,
                       width, height, depth, descriptor)


def make_tga():
    rgb_image(W, H, colour).save(os.path.join(HERE, "rgb24_rle.tga"), compression="tga_rle")
    rgb_image(W, H, colour).save(os.path.join(HERE, "rgb24.tga"))
    palette_image(W, H, COLOURS16, lambda x, y: (x * y) % 16).save(os.path.join(HERE, "p8.tga"))
    Image.new("L", (W, H)).save(os.path.join(HERE, "grey_rle.tga"), compression="tga_rle")
    rgba = Image.new("RGBA", (W, H))
    rgba.putdata([colour(x, y) + ((x * 20 + y) % 256,) for y in range(H) for x in range(W)])
    rgba.save(os.path.join(HERE, "rgba32.tga"))
    px16 = b"".join(struct.pack("<H", (x * 997 + y * 1231) & 0x7FFF) for y in range(H) for x in range(W))
    save_bytes("rgb16_mirrored.tga", tga_header(2, W, H, 16, 0x10) + px16)
    for name in ["rgb24_rle.tga", "rgb24.tga", "p8.tga", "grey_rle.tga", "rgba32.tga", "rgb16_mirrored.tga"]:
        reference(name)


# PCX -----------------------------------------------------------------------------

def pcx_rle(data):
    out, i = bytearray(), 0
    while i < len(data):
        run = 1
        while i + run < len(data) and run < 63 and data[i + run] == data[i]:
            run += 1
        if run > 1 or data[i] >= 0xC0:
            out.append(0xC0 | run)
        out.append(data[i])
        i += run
    return bytes(out)


def make_pcx():
    palette_image(W, H, COLOURS16, lambda x, y: (3 * x + y) % 16).save(os.path.join(HERE, "p8.pcx"))
    rgb_image(W, H, colour).save(os.path.join(HERE, "rgb24.pcx"))
    Image.new("1", (W, H), 1).save(os.path.join(HERE, "mono.pcx"))
    bpl = 2
    header = bytearray(128)
    header[0:4] = bytes((10, 5, 1, 1))
    struct.pack_into("<HHHHHH", header, 4, 0, 0, W - 1, H - 1, 72, 72)
    for i, (r, g, b) in enumerate(COLOURS16):
        header[16 + 3 * i:19 + 3 * i] = bytes((r, g, b))
    header[65] = 4
    struct.pack_into("<HH", header, 66, bpl, 1)
    data = bytearray()
    for y in range(H):
        for plane in range(4):
            line = bytearray(bpl)
            for x in range(W):
                if (((x + 5 * y) % 16) >> plane) & 1:
                    line[x // 8] |= 0x80 >> (x % 8)
            data += line
    save_bytes("planar4.pcx", bytes(header) + pcx_rle(bytes(data)))
    for name in ["p8.pcx", "rgb24.pcx", "mono.pcx", "planar4.pcx"]:
        reference(name)


# GIF -----------------------------------------------------------------------------

def make_gif():
    palette_image(W, H, COLOURS16, lambda x, y: (x + 3 * y) % 16).save(os.path.join(HERE, "p16.gif"))
    big = palette_image(40, 20, [(i, 255 - i, (i * 3) % 256) for i in range(256)],
                        lambda x, y: (x * 7 + y * 13) % 256)
    big.save(os.path.join(HERE, "p256_interlaced.gif"), interlace=True)
    keyed = palette_image(W, H, COLOURS16[:4], lambda x, y: (x + y) % 4)
    keyed.save(os.path.join(HERE, "keyed.gif"), transparency=2)
    frames = [palette_image(W, H, COLOURS16, lambda x, y, k=k: (x + y + 5 * k) % 16) for k in range(3)]
    frames[0].save(os.path.join(HERE, "three.gif"), save_all=True, append_images=frames[1:], duration=70,
                   loop=0, disposal=1)
    for name in ["p16.gif", "p256_interlaced.gif", "keyed.gif"]:
        reference(name)
    reference("three.gif", frame=1)
    os.replace(os.path.join(HERE, "three.gif.rgba"), os.path.join(HERE, "three.gif.frame1.rgba"))


# WBMP ----------------------------------------------------------------------------

def make_wbmp():
    for name, width, height in [("small.wbmp", 13, 5), ("wide.wbmp", 200, 3)]:
        bits = [[(x * y + x) % 3 == 0 for x in range(width)] for y in range(height)]
        data = bytearray((0, 0, width, height))
        for row in bits:
            line = bytearray((width + 7) // 8)
            for x, on in enumerate(row):
                if on:
                    line[x // 8] |= 0x80 >> (x % 8)
            data += line
        save_bytes(name, bytes(data))
        save_bytes(name + ".rgba", b"".join(bytes((255, 255, 255, 255)) if on else bytes((0, 0, 0, 255))
                                            for row in bits for on in row))


def main():
    os.makedirs(HERE, exist_ok=True)
    make_bmp()
    make_ico()
    make_tga()
    make_pcx()
    make_gif()
    make_wbmp()


if __name__ == "__main__":
    main()
