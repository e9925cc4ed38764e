#!/usr/bin/python3
"""Draws the Quillet application icon and writes res/quillet.ico.

An open eye (awake) on a blue rounded square. Sizes 48 px and up are drawn
from geometry at 8x and box-filtered down; 16, 24 and 32 px are hand-placed
pixel maps, since a downscaled eye turns to mush at those sizes.

The ICO container is written here with struct, so its layout is exactly:
seven images 16, 24, 32, 48, 64, 128 (32-bit BGRA bitmaps with an AND mask)
and 256 (PNG, 8-bit RGBA). The output is the same bytes on every run.

Usage: /usr/bin/python3 res/icon/make_icon.py [--preview DIR]
"""

import os
import struct
import sys
import zlib

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
ICO_PATH = os.path.join(HERE, os.pardir, "quillet.ico")

SIZES = (16, 24, 32, 48, 64, 128, 256)
SUPERSAMPLE = 8

# Colours as (R, G, B).
TILE_TOP = (0x2F, 0x7B, 0xF0)
TILE_BOTTOM = (0x16, 0x4C, 0xC0)
WHITE = (0xFF, 0xFF, 0xFF)
IRIS = (0xF5, 0x9E, 0x0B)
PUPIL = (0x0B, 0x1B, 0x3F)


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


# Shape sizes as fractions of the icon: tile margin and corner radius, the
# eye's half-width and half-height, iris and pupil radii, and the highlight's
# offset from the centre and radius. The small sizes put edges on whole pixels.
GEOMETRY = {
    "default": dict(margin=1 / 32, corner=0.2, eye_a=0.37, eye_b=0.23, iris=0.17,
                    pupil=0.085, glint_dx=0.045, glint_dy=-0.045, glint=0.032),
    24: dict(margin=0, corner=5 / 24, eye_a=10.5 / 24, eye_b=6 / 24, iris=5 / 24,
             pupil=2 / 24, glint_dx=0.5 / 24, glint_dy=-0.5 / 24, glint=0.5 / 24),
    32: dict(margin=1 / 32, corner=6 / 32, eye_a=13 / 32, eye_b=8 / 32, iris=6 / 32,
             pupil=3 / 32, glint_dx=2 / 32, glint_dy=-2 / 32, glint=1 / 32),
}


def draw_geometric(size):
    """Renders the icon at size x size from its shapes, antialiased."""
    g = GEOMETRY.get(size, GEOMETRY["default"])
    s = size * SUPERSAMPLE
    # Colour everywhere (also outside the tile) so edge pixels keep the tile's
    # colour; the alpha channel alone cuts the shape out.
    rgb = Image.new("RGB", (s, s))
    paint = ImageDraw.Draw(rgb)
    for y in range(s):
        paint.line([(0, y), (s - 1, y)], fill=lerp(TILE_TOP, TILE_BOTTOM, y / (s - 1)))

    margin = s * g["margin"]
    alpha = Image.new("L", (s, s), 0)
    ImageDraw.Draw(alpha).rounded_rectangle(
        [margin, margin, s - 1 - margin, s - 1 - margin], radius=s * g["corner"], fill=255)

    # The eye: a lens made of two circular arcs.
    cx, cy = s / 2, s * 0.5
    a, b = s * g["eye_a"], s * g["eye_b"]
    r = (a * a + b * b) / (2 * b)
    upper = Image.new("L", (s, s), 0)
    lower = Image.new("L", (s, s), 0)
    ImageDraw.Draw(upper).ellipse([cx - r, cy + b - 2 * r, cx + r - 1, cy + b - 1], fill=255)
    ImageDraw.Draw(lower).ellipse([cx - r, cy - b, cx + r - 1, cy - b + 2 * r - 1], fill=255)
    lens = Image.new("L", (s, s), 0)
    lens.paste(upper, mask=lower)
    rgb.paste(WHITE, mask=lens)

    def disc(x, y, radius, colour):
        circle = Image.new("L", (s, s), 0)
        ImageDraw.Draw(circle).ellipse([x - radius, y - radius, x + radius - 1, y + radius - 1],
                                        fill=255)
        clipped = Image.new("L", (s, s), 0)
        clipped.paste(circle, mask=lens)
        rgb.paste(colour, mask=clipped)

    disc(cx, cy, s * g["iris"], IRIS)
    disc(cx, cy, s * g["pupil"], PUPIL)
    disc(cx + s * g["glint_dx"], cy + s * g["glint_dy"], s * g["glint"], WHITE)

    rgb = rgb.reduce(SUPERSAMPLE)
    alpha = alpha.reduce(SUPERSAMPLE)
    image = rgb.convert("RGBA")
    image.putalpha(alpha)
    return image


# Hand-placed small sizes. Letters: . transparent, b tile, w white, o iris,
# p pupil; q, h and e are white over the tile at a quarter, 60 % and 85 %
# (the eye's antialiased rim); digits 1-9 are the tile at that many ninths of
# full opacity (the rounded corners). The tile follows the same gradient.
PIXEL_MAPS = {
    16: """
        .48bbbbbbbbbb84.
        4bbbbbbbbbbbbbb4
        8bbbbbbbbbbbbbb8
        bbbbbbbbbbbbbbbb
        bbbbqhewwehqbbbb
        bbbhwwoooowwhbbb
        bbewwoooooowwebb
        bewwwooppoowwweb
        bewwwooppoowwweb
        bbewwoooooowwebb
        bbbhwwoooowwhbbb
        bbbbqhewwehqbbbb
        bbbbbbbbbbbbbbbb
        8bbbbbbbbbbbbbb8
        4bbbbbbbbbbbbbb4
        .48bbbbbbbbbb84.
    """,
}

PALETTE = {"w": WHITE, "o": IRIS, "p": PUPIL}
RIM = {"q": 0.25, "h": 0.6, "e": 0.85}


def draw_pixel_map(size, rows):
    rows = [row.strip() for row in rows.strip().splitlines()]
    assert len(rows) == size and all(len(row) == size for row in rows), size
    image = Image.new("RGBA", (size, size))
    for y, row in enumerate(rows):
        tile = lerp(TILE_TOP, TILE_BOTTOM, y / (size - 1))
        for x, ch in enumerate(row):
            if ch == ".":
                pixel = tile + (0,)
            elif ch == "b":
                pixel = tile + (255,)
            elif ch.isdigit():
                pixel = tile + (round(255 * int(ch) / 9),)
            elif ch in RIM:
                pixel = lerp(tile, WHITE, RIM[ch]) + (255,)
            else:
                pixel = PALETTE[ch] + (255,)
            image.putpixel((x, y), pixel)
    return image


def draw(size):
    if size in PIXEL_MAPS:
        return draw_pixel_map(size, PIXEL_MAPS[size])
    return draw_geometric(size)


def bmp_image(image):
    """A 32-bit DIB as an ICO stores it: header with doubled height, BGRA
    rows bottom-up, then the 1-bit AND mask (set where fully transparent)."""
    w, h = image.size
    pixels = image.load()
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((w + 31) // 32) * 4
    for y in reversed(range(h)):
        bits = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = pixels[x, y]
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png_image(image):
    """A minimal PNG: IHDR (8-bit RGBA), one IDAT, IEND; no metadata."""
    w, h = image.size
    raw = bytearray()
    data = image.tobytes()
    for y in range(h):
        raw.append(0)  # filter: none
        raw += data[y * w * 4:(y + 1) * w * 4]
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr)
            + png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + png_chunk(b"IEND", b""))


def ico_bytes(images):
    entries = []
    blobs = []
    offset = 6 + 16 * len(images)
    for image in images:
        w, h = image.size
        blob = png_image(image) if w == 256 else bmp_image(image)
        # Width and height 0 stand for 256.
        entries.append(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def main(argv):
    images = [draw(size) for size in SIZES]
    with open(ICO_PATH, "wb") as out:
        out.write(ico_bytes(images))
    if len(argv) == 3 and argv[1] == "--preview":
        # Each size alone, plus an 8x enlargement of the small ones to judge pixels.
        os.makedirs(argv[2], exist_ok=True)
        for image in images:
            size = image.size[0]
            image.save(os.path.join(argv[2], "icon%d.png" % size))
            if size <= 48:
                big = image.resize((size * 8, size * 8), Image.NEAREST)
                big.save(os.path.join(argv[2], "icon%d_x8.png" % size))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
