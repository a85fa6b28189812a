#!/usr/bin/python3
"""Reads an image file with Pillow and compares it to the RGBA bytes our decoder-free
view of the same image gave (top-down rows). Usage: pillow_readback.py FILE RGBA WIDTH
HEIGHT MODE, where MODE is "rgba" (alpha compared) or "rgb". Colours of pixels whose
expected alpha is 0 are not compared: formats are free to store anything there.
Exit 0 on a match, 1 with the first differences on stderr, 2 when Pillow is missing."""
import sys

try:
    from PIL import Image
except ImportError:
    sys.exit(2)


def main():
    path, rgba_path, width, height, mode = sys.argv[1:6]
    width, height = int(width), int(height)
    expected = open(rgba_path, "rb").read()
    image = Image.open(path)
    image.load()
    if image.size != (width, height):
        print("size %r, expected %r" % (image.size, (width, height)), file=sys.stderr)
        return 1
    actual = image.convert("RGBA").tobytes()
    faults = []
    for i in range(width * height):
        want = expected[4 * i:4 * i + 4]
        got = actual[4 * i:4 * i + 4]
        if mode == "rgba" and want[3] != got[3]:
            faults.append((i % width, i // width, tuple(want), tuple(got)))
        elif want[3] != 0 and want[:3] != got[:3]:
            faults.append((i % width, i // width, tuple(want), tuple(got)))
    for x, y, want, got in faults[:5]:
        print("pixel (%d, %d): ours %r, Pillow %r" % (x, y, want, got), file=sys.stderr)
    return 1 if faults else 0


sys.exit(main())
