#!/usr/bin/env python3
"""Draws the Quillet application icon and writes res/quillet.ico.

An open eye (awake) on a blue rounded square. 16 px is a hand-placed pixel
map; 24 and 32 px are drawn from geometry tuned so that the iris and pupil
edges fall on whole pixels; 48 px and up from the same shapes in proportion.

Plain Python 3, no libraries: the shapes are rasterised here and the ICO
container is written here with struct, so its layout is exactly seven images,
16, 24, 32, 48, 64 and 128 px as 32-bit BGRA bitmaps with an AND mask, and
256 px as PNG (8-bit RGBA). Every run gives the same bytes.

Usage: python3 res/icon/make_icon.py [--preview DIR | --check]
  --preview DIR  also writes each size as a PNG, and 8x enlargements of the
                 small ones, to DIR
  --check        writes nothing; fails if res/quillet.ico is not what this
                 script draws (the PNG compared after decompression)
"""

import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ICO_PATH = os.path.normpath(os.path.join(HERE, os.pardir, "quillet.ico"))

SIZES = (16, 24, 32, 48, 64, 128, 256)

# Colours as (R, G, B).
TILE_TOP = (0x2F, 0x7B, 0xF0)
TILE_BOTTOM = (0x16, 0x4C, 0xC0)
WHITE = (0xFF, 0xFF, 0xFF)
IRIS = (0xF5, 0x9E, 0x0B)
PUPIL = (0x0B, 0x1B, 0x3F)


def mix(a, b, t):
    """Colour a moved the fraction t towards b."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def tile_colour(row, size):
    """The tile's top-to-bottom gradient."""
    return mix(TILE_TOP, TILE_BOTTOM, row / (size - 1))


# ---------------------------------------------------------------------------
# Geometric sizes.

# Shape sizes as fractions of the icon: tile margin and corner radius, the
# eye's half-width and half-height, iris and pupil radii, and the highlight's
# offset from the centre and radius.
GEOMETRY = {
    "default": dict(margin=1 / 32, corner=0.2, eye_a=0.37, eye_b=0.23, iris=0.17,
                    pupil=0.085, glint_dx=0.045, glint_dy=-0.045, glint=0.032),
    24: dict(margin=0, corner=5 / 24, eye_a=10.5 / 24, eye_b=6 / 24, iris=5 / 24,
             pupil=2 / 24, glint_dx=0.5 / 24, glint_dy=-0.5 / 24, glint=0.5 / 24),
    32: dict(margin=1 / 32, corner=6 / 32, eye_a=13 / 32, eye_b=8 / 32, iris=6 / 32,
             pupil=3 / 32, glint_dx=2 / 32, glint_dy=-2 / 32, glint=1 / 32),
}


def coverage(distance):
    """A pixel's share of a shape from the signed distance (in pixels) of its
    centre to the shape's edge: smooth edges without supersampling."""
    return min(max(0.5 - distance, 0.0), 1.0)


def disc_distance(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def rounded_square_distance(x, y, lo, hi, r):
    """Signed distance to the square [lo, hi] x [lo, hi] with corners of radius r."""
    centre, half = (lo + hi) / 2, (hi - lo) / 2
    qx = abs(x - centre) - (half - r)
    qy = abs(y - centre) - (half - r)
    return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r


def draw_geometric(size):
    g = GEOMETRY.get(size, GEOMETRY["default"])
    margin, corner = size * g["margin"], size * g["corner"]
    c = size / 2
    # The eye is the lens where two discs of radius r overlap, a wide and b high.
    a, b = size * g["eye_a"], size * g["eye_b"]
    r = (a * a + b * b) / (2 * b)
    discs = (  # painted in order over the white of the eye, inside it only
        (c, c, size * g["iris"], IRIS),
        (c, c, size * g["pupil"], PUPIL),
        (c + size * g["glint_dx"], c + size * g["glint_dy"], size * g["glint"], WHITE),
    )
    image = []
    for py in range(size):
        y = py + 0.5
        tile = tile_colour(py, size)
        row = []
        for px in range(size):
            x = px + 0.5
            alpha = coverage(rounded_square_distance(x, y, margin, size - margin, corner))
            lens = coverage(max(disc_distance(x, y, c, c + r - b, r),
                                disc_distance(x, y, c, c - r + b, r)))
            colour = mix(tile, WHITE, lens)
            for dx, dy, radius, paint in discs:
                colour = mix(colour, paint, min(lens, coverage(disc_distance(x, y, dx, dy, radius))))
            row.append(colour + (round(255 * alpha),))
        image.append(row)
    return image


# ---------------------------------------------------------------------------
# Hand-placed sizes. Letters: . transparent, b tile, w white, o iris, p pupil;
# q, h and e are white over the tile at a quarter, 60 % and 85 % (the eye's
# smoothed rim); digits 1-9 are the tile at that many ninths of full opacity
# (the rounded corners). The tile follows the same gradient.
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

SOLID = {"w": WHITE, "o": IRIS, "p": PUPIL}
RIM = {"q": 0.25, "h": 0.6, "e": 0.85}


def draw_pixel_map(size, text):
    lines = [line.strip() for line in text.strip().splitlines()]
    assert len(lines) == size and all(len(line) == size for line in lines), size
    image = []
    for py, line in enumerate(lines):
        tile = tile_colour(py, size)
        row = []
        for ch in line:
            if ch == ".":
                row.append(tile + (0,))
            elif ch == "b":
                row.append(tile + (255,))
            elif ch.isdigit():
                row.append(tile + (round(255 * int(ch) / 9),))
            elif ch in RIM:
                row.append(mix(tile, WHITE, RIM[ch]) + (255,))
            else:
                row.append(SOLID[ch] + (255,))
        image.append(row)
    return image


def draw(size):
    """The icon at size x size: rows of (R, G, B, A) pixels, top row first."""
    if size in PIXEL_MAPS:
        return draw_pixel_map(size, PIXEL_MAPS[size])
    return draw_geometric(size)


# ---------------------------------------------------------------------------
# File formats.

def bmp_image(image):
    """A 32-bit DIB as an ICO stores it: header with doubled height, BGRA
    rows bottom-up, then the 1-bit AND mask (set where fully transparent)."""
    size = len(image)
    pixels = bytearray()
    mask = bytearray()
    mask_stride = (size + 31) // 32 * 4
    for row in reversed(image):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            pixels += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png_rows(image):
    """The PNG's uncompressed image data: each row with filter type 0."""
    return b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in image)


def png_image(image):
    """A minimal PNG: IHDR (8-bit RGBA), one IDAT, IEND; no metadata."""
    size = len(image)
    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr)
            + png_chunk(b"IDAT", zlib.compress(png_rows(image), 9)) + png_chunk(b"IEND", b""))


def ico_bytes(images):
    entries = []
    blobs = []
    offset = 6 + 16 * len(images)
    for image in images:
        size = len(image)
        blob = png_image(image) if size == 256 else bmp_image(image)
        # Width and height 0 stand for 256.
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                                   len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def ico_content(data):
    """What an ICO shows, independent of how zlib packed its PNG: per image
    the directory fields but size and offset, and the bitmap's bytes or the
    PNG's chunks with IDAT decompressed."""
    count = struct.unpack_from("<HHH", data, 0)[2]
    content = [data[:6]]
    for i in range(count):
        fields = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        blob = data[fields[7]:fields[7] + fields[6]]
        if blob.startswith(b"\x89PNG"):
            chunks, at = [], 8
            while at < len(blob):
                length, kind = struct.unpack_from(">I4s", blob, at)
                body = blob[at + 8:at + 8 + length]
                chunks.append((kind, zlib.decompress(body) if kind == b"IDAT" else body))
                at += 12 + length
            blob = chunks
        content.append((fields[:6], blob))
    return content


def main(argv):
    images = [draw(size) for size in SIZES]
    data = ico_bytes(images)
    if argv[1:] == ["--check"]:
        # For the test suite: the committed icon must be what this script draws.
        with open(ICO_PATH, "rb") as committed:
            if ico_content(committed.read()) == ico_content(data):
                return 0
        print("res/quillet.ico is not what res/icon/make_icon.py draws: "
              "run the script and commit the result", file=sys.stderr)
        return 1
    with open(ICO_PATH, "wb") as out:
        out.write(data)
    if len(argv) == 3 and argv[1] == "--preview":
        os.makedirs(argv[2], exist_ok=True)
        for image in images:
            size = len(image)
            with open(os.path.join(argv[2], "icon%d.png" % size), "wb") as out:
                out.write(png_image(image))
            if size <= 48:
                big = [[pixel for pixel in row for _ in range(8)] for row in image for _ in range(8)]
                with open(os.path.join(argv[2], "icon%d_x8.png" % size), "wb") as out:
                    out.write(png_image(big))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
