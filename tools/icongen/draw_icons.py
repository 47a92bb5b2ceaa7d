#!/usr/bin/env python3
"""Draws the tree browses' icons and writes them as .ICO files.

    tools/icongen/draw_icons.py [output folder]     (default: resources/icons)

Each icon is a list of filled shapes in a 32 x 32 design space, painted back to
front. Every shape also knows its SVG element, so the same artwork can be
written as a scalable picture (draw_program_icon.py). Every size is rendered from the same shapes with 4 x 4 supersampling, so
the 16 x 16 image is a true small rendering rather than a scaled bitmap.

Layout of the .ICO file written here (all integers little-endian):

    header      6 bytes   reserved 0 (u16), type 1 = icon (u16), image count (u16)
    directory  16 bytes per image:
                          width (u8), height (u8), colour count 0 (u8), reserved 0 (u8),
                          planes 1 (u16), bits per pixel 32 (u16),
                          image size in bytes (u32), file offset of the image (u32)
    images     one after another, each:
                          BITMAPINFOHEADER (40 bytes): size 40, width, height * 2
                          (colour rows and mask rows together), planes 1, 32 bits,
                          no compression, image bytes, then four zero fields;
                          colour rows, bottom row first, 4 bytes per pixel B, G, R, A;
                          AND mask rows, bottom row first, 1 bit per pixel (1 = transparent),
                          each row padded to a multiple of 4 bytes.
"""

import math
import os
import struct
import sys

SIZES = (16, 32)
DESIGN = 32.0
SUBSAMPLES = 4


# Shapes: each answers whether a point of the design space lies inside it.

def rect(x0, y0, x1, y1, radius=0.0):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        if radius <= 0:
            return True
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
    inside.svg = '<rect x="%g" y="%g" width="%g" height="%g" rx="%g"' % (
        x0, y0, x1 - x0, y1 - y0, radius)
    return inside


def ellipse(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry

    def inside(x, y):
        return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0
    inside.svg = '<ellipse cx="%g" cy="%g" rx="%g" ry="%g"' % (cx, cy, rx, ry)
    return inside


def polygon(*points):
    def inside(x, y):
        crossings = False
        n = len(points)
        for i in range(n):
            (xa, ya), (xb, yb) = points[i], points[(i + 1) % n]
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                crossings = not crossings
        return crossings
    inside.svg = '<polygon points="%s"' % " ".join("%g,%g" % point for point in points)
    return inside


def colour(hex_rgb, alpha=255):
    return ((hex_rgb >> 16) & 0xFF, (hex_rgb >> 8) & 0xFF, hex_rgb & 0xFF, alpha)


# The artwork.

def video_cassette():
    """A tape cassette: dark shell, cream label with a red band, window with two reels."""
    layers = [
        (rect(1.5, 6.5, 30.5, 26.5, 2.5), colour(0x101010)),
        (rect(2.5, 7.5, 29.5, 25.5, 2.0), colour(0x383838)),
        (rect(5, 9, 27, 15), colour(0xF2E6B8)),
        (rect(5, 11.5, 27, 13), colour(0xC02020)),
        (rect(8, 16.5, 24, 23.5, 1.0), colour(0x8A96B4)),
    ]
    for cx in (12.5, 19.5):
        layers += [
            (ellipse(cx, 20, 3.0), colour(0xF8F8F8)),
            (ellipse(cx, 20, 1.2), colour(0x303030)),
        ]
    return layers


def performer():
    """A performer's head and shoulders."""
    return [
        (rect(6, 19, 26, 31, 6.0), colour(0x1E3F8C)),
        (rect(7.5, 20.5, 24.5, 31, 5.0), colour(0x3A6AD0)),
        (polygon((13, 19), (19, 19), (16, 24)), colour(0xF2F2F2)),
        (ellipse(16, 11, 6.5, 7.5), colour(0x5A3A1A)),
        (ellipse(16, 12.5, 5.5, 6.5), colour(0xF0C090)),
        (rect(10.5, 5, 21.5, 9.5, 2.0), colour(0x5A3A1A)),
        (ellipse(13.8, 12.5, 0.8), colour(0x202020)),
        (ellipse(18.2, 12.5, 0.8), colour(0x202020)),
        (rect(14, 16, 18, 16.8), colour(0xB05040)),
    ]


def clapperboard():
    """A film clapperboard: striped arm raised over a slate with chalk lines."""
    arm_bottom_left, arm_bottom_right = (3.5, 13.0), (28.5, 6.5)
    lift = (0.0, -5.0)

    def along(t, dy):
        (xa, ya), (xb, yb) = arm_bottom_left, arm_bottom_right
        return (xa + (xb - xa) * t + lift[0] * dy, ya + (yb - ya) * t + lift[1] * dy)

    layers = [
        (rect(3, 13.5, 29, 29, 1.5), colour(0x101010)),
        (rect(4.5, 15, 27.5, 27.5, 1.0), colour(0x2E2E2E)),
        (rect(4.5, 15, 27.5, 18), colour(0xF0F0F0)),
        (rect(7, 21, 25, 22), colour(0xD8D8D8)),
        (rect(7, 24.5, 19, 25.5), colour(0xD8D8D8)),
        (polygon(along(0, 0), along(1, 0), along(1, 1), along(0, 1)), colour(0x101010)),
    ]
    stripes = 5
    for i in range(stripes):
        t0, t1 = (i + 0.15) / stripes, (i + 0.55) / stripes
        layers.append((polygon(along(t0, 0.2), along(t1, 0.2), along(t1 + 0.06, 0.8),
                               along(t0 + 0.06, 0.8)), colour(0xF0F0F0)))
    layers.append((ellipse(4.5, 13.5, 1.6), colour(0xA0A0A0)))
    return layers


ICONS = {
    "ACT2.ICO": clapperboard,
    "ACTOR1.ICO": performer,
    "VIDEO.ICO": video_cassette,
}


# Rendering and encoding.

def render(layers, size):
    """Returns rows of (r, g, b, a) pixels, top row first."""
    scale = DESIGN / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SUBSAMPLES):
                for sx in range(SUBSAMPLES):
                    x = (px + (sx + 0.5) / SUBSAMPLES) * scale
                    y = (py + (sy + 0.5) / SUBSAMPLES) * scale
                    sample = (0.0, 0.0, 0.0, 0.0)
                    for inside, fill in layers:
                        if inside(x, y):
                            sample = fill
                    alpha = sample[3] / 255.0
                    r += sample[0] * alpha
                    g += sample[1] * alpha
                    b += sample[2] * alpha
                    a += alpha
            count = SUBSAMPLES * SUBSAMPLES
            if a > 0:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / count)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def encode_image(rows):
    size = len(rows)
    mask_stride = (size + 31) // 32 * 4
    colour_bytes = bytearray()
    mask_bytes = bytearray()
    for row in reversed(rows):
        mask_row = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            colour_bytes += bytes((b, g, r, a))
            if a == 0:
                mask_row[x // 8] |= 0x80 >> (x % 8)
        mask_bytes += mask_row
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(colour_bytes) + len(mask_bytes), 0, 0, 0, 0)
    return header + colour_bytes + mask_bytes


def encode_icon(layers):
    images = [(size, encode_image(render(layers, size))) for size in SIZES]
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "..", "resources", "icons")
    folder = sys.argv[1] if len(sys.argv) > 1 else default
    os.makedirs(folder, exist_ok=True)
    for name, artwork in ICONS.items():
        path = os.path.join(folder, name)
        with open(path, "wb") as f:
            f.write(encode_icon(artwork()))
        print("wrote", os.path.normpath(path))


if __name__ == "__main__":
    main()
