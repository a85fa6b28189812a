#!/usr/bin/python3
"""Renders the two pictures at the top of Zarvo's main window into res/images:

    emblem.png  301 x 301   a gas flame in a ring
    banner.png  1151 x 186  the name "Zarvo" with flow lines

Both are 8-bit RGBA with soft edges and a soft shadow, so the window blends them over its
background. Everything is drawn here from geometry (no fonts, no outside pictures), four
times larger and then reduced, which gives the edges their partial alpha. The rendered
files are kept in the repository; run this again only after changing the drawing:

    /usr/bin/python3 tools/art/render_pictures.py

It needs Pillow (python3-pil, which scripts/setup installs).
"""

import math
import os

from PIL import Image, ImageChops, ImageDraw, ImageFilter

SCALE = 4
HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "..", "..", "res", "images")

DEEP_BLUE = (16, 52, 120)
BRIGHT_BLUE = (30, 120, 200)
FLAME_DARK = (226, 84, 20)
FLAME_LIGHT = (255, 204, 64)


def vertical_gradient(size, top, bottom):
    width, height = size
    column = Image.new("RGB", (1, height))
    for y in range(height):
        t = y / max(1, height - 1)
        column.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return column.resize(size)


def fill(mask, top, bottom):
    """A layer of the gradient top..bottom wherever mask is set."""
    layer = vertical_gradient(mask.size, top, bottom).convert("RGBA")
    layer.putalpha(mask)
    return layer


def shadow(mask, offset, blur, strength):
    moved = ImageChops.offset(mask, offset, offset).filter(ImageFilter.GaussianBlur(blur))
    moved = moved.point(lambda v: round(v * strength))
    layer = Image.new("RGBA", mask.size, (0, 0, 40, 0))
    layer.putalpha(moved)
    return layer


def finish(canvas, size, name):
    picture = canvas.resize(size, Image.LANCZOS)
    os.makedirs(OUTPUT, exist_ok=True)
    picture.save(os.path.join(OUTPUT, name), optimize=True)


def flame_outline(cx, base, width, height, lean, steps=90):
    """A teardrop pointing up, its tip bent sideways by lean."""
    points = []
    for i in range(steps + 1):
        t = math.pi * i / steps
        # The body is round at the bottom and narrows to a tip at the top.
        x = math.sin(t) ** 1.6 * width / 2
        y = (1 - math.cos(t)) / 2
        tip = y ** 3 * lean
        points.append((cx - x + tip, base - y * height))
    for i in range(steps, -1, -1):
        t = math.pi * i / steps
        x = math.sin(t) ** 1.6 * width / 2
        y = (1 - math.cos(t)) / 2
        tip = y ** 3 * lean
        points.append((cx + x + tip, base - y * height))
    return points


def render_emblem():
    size = 301 * SCALE
    c = size / 2
    disc = Image.new("L", (size, size), 0)
    ring = Image.new("L", (size, size), 0)
    ImageDraw.Draw(disc).ellipse([c - 138 * SCALE, c - 138 * SCALE, c + 138 * SCALE, c + 138 * SCALE], fill=255)
    ImageDraw.Draw(ring).ellipse([c - 138 * SCALE, c - 138 * SCALE, c + 138 * SCALE, c + 138 * SCALE],
                                 outline=255, width=20 * SCALE)
    inner = ImageChops.subtract(disc, ring)

    canvas = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    canvas.alpha_composite(shadow(disc, 5 * SCALE, 4 * SCALE, 0.45))
    # A light, slightly see-through face inside the ring.
    face = fill(inner.point(lambda v: round(v * 0.92)), (250, 252, 255), (196, 220, 240))
    canvas.alpha_composite(face)
    canvas.alpha_composite(fill(ring, BRIGHT_BLUE, DEEP_BLUE))

    base = c + 96 * SCALE
    outer = Image.new("L", (size, size), 0)
    ImageDraw.Draw(outer).polygon(flame_outline(c, base, 150 * SCALE, 200 * SCALE, 18 * SCALE), fill=255)
    core = Image.new("L", (size, size), 0)
    ImageDraw.Draw(core).polygon(flame_outline(c + 4 * SCALE, base - 6 * SCALE, 84 * SCALE, 128 * SCALE,
                                               -10 * SCALE), fill=255)
    foot = Image.new("L", (size, size), 0)
    ImageDraw.Draw(foot).ellipse([c - 46 * SCALE, base - 30 * SCALE, c + 46 * SCALE, base + 4 * SCALE], fill=255)
    canvas.alpha_composite(shadow(outer, 3 * SCALE, 3 * SCALE, 0.35))
    canvas.alpha_composite(fill(outer, FLAME_LIGHT, FLAME_DARK))
    canvas.alpha_composite(fill(core, (255, 246, 200), FLAME_LIGHT))
    # The blue foot of a gas flame, half transparent.
    canvas.alpha_composite(fill(foot.point(lambda v: round(v * 0.7)), (90, 170, 255), BRIGHT_BLUE))
    finish(canvas, (301, 301), "emblem.png")


def letter_z(draw, x, top, bottom, stroke, width):
    draw.polygon([(x, top), (x + width, top), (x + width, top + stroke),
                  (x + stroke * 1.3, bottom - stroke), (x + width, bottom - stroke), (x + width, bottom),
                  (x, bottom), (x, bottom - stroke), (x + width - stroke * 1.3, top + stroke), (x, top + stroke)],
                 fill=255)
    return x + width


def letter_a(draw, x, top, bottom, stroke):
    height = bottom - top
    draw.ellipse([x, top, x + height, bottom], outline=255, width=stroke)
    draw.rectangle([x + height - stroke, top, x + height, bottom], fill=255)
    return x + height


def letter_r(draw, x, top, bottom, stroke):
    height = bottom - top
    draw.rectangle([x, top, x + stroke, bottom], fill=255)
    draw.arc([x, top, x + height * 1.2, top + height * 1.2], 180, 290, fill=255, width=stroke)
    return x + height * 0.85


def letter_v(draw, x, top, bottom, stroke):
    width = (bottom - top) * 1.05
    middle = x + width / 2
    draw.polygon([(x, top), (x + stroke * 1.15, top), (middle, bottom - stroke * 1.6),
                  (x + width - stroke * 1.15, top), (x + width, top), (middle + stroke * 0.62, bottom),
                  (middle - stroke * 0.62, bottom)], fill=255)
    return x + width


def letter_o(draw, x, top, bottom, stroke):
    height = bottom - top
    draw.ellipse([x, top, x + height, bottom], outline=255, width=stroke)
    return x + height


def render_banner():
    width, height = 1151 * SCALE, 186 * SCALE
    word = Image.new("L", (width, height), 0)
    draw = ImageDraw.Draw(word)
    s = SCALE
    stroke = 27 * s
    cap_top, x_top, baseline = 22 * s, 62 * s, 160 * s
    gap = 16 * s
    x = 30 * s
    x = letter_z(draw, x, cap_top, baseline, stroke, 112 * s) + gap
    x = letter_a(draw, x, x_top, baseline, stroke) + gap
    x = letter_r(draw, x, x_top, baseline, stroke) + gap * 0.4
    x = letter_v(draw, x, x_top, baseline, stroke) + gap
    x = letter_o(draw, x, x_top, baseline, stroke)
    word_end = x

    # Flow lines to the right of the name, tapering and fading out.
    lines = Image.new("L", (width, height), 0)
    line_draw = ImageDraw.Draw(lines)
    for i, (y, thickness) in enumerate([(70, 14), (100, 18), (130, 14)]):
        start = word_end + (34 + 18 * i) * s
        end = width - (20 + 60 * i) * s
        y *= s
        half = thickness * s / 2
        line_draw.polygon([(start, y - half), (end, y - half * 0.15), (end, y + half * 0.15), (start, y + half)],
                          fill=255)
        line_draw.ellipse([start - half, y - half, start + half, y + half], fill=255)
    fade = Image.linear_gradient("L").rotate(90).resize((width, height))
    fade = ImageChops.invert(fade).point(lambda v: min(255, round(v * 1.25)))
    lines = ImageChops.multiply(lines, fade)

    canvas = Image.new("RGBA", (width, height), (0, 0, 0, 0))
    canvas.alpha_composite(shadow(word, 5 * s, 4 * s, 0.45))
    canvas.alpha_composite(fill(word, BRIGHT_BLUE, DEEP_BLUE))
    canvas.alpha_composite(fill(lines, FLAME_LIGHT, FLAME_DARK))
    finish(canvas, (1151, 186), "banner.png")


if __name__ == "__main__":
    render_emblem()
    render_banner()
