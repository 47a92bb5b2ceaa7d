#!/usr/bin/env python3
"""Draws the program's own icon, the video cassette of VIDEO.ICO, for the desktop.

    tools/icongen/draw_program_icon.py [output folder]     (default: resources/desktop/icons)

Writes, in the layout of the desktop's icon theme folders:

    hicolor/48x48/apps/reelkeeper.png
    hicolor/256x256/apps/reelkeeper.png
    hicolor/scalable/apps/reelkeeper.svg

The PNGs are rendered from the same shapes as the .ICO files (draw_icons.py),
each size on its own with supersampling; the SVG holds the shapes themselves.
PNG layout: the signature, then IHDR (width, height, 8 bits, colour type 6 =
RGBA), one IDAT with the zlib-compressed rows (each row led by filter byte 0),
and IEND; every chunk is length, type, data and the CRC-32 of type and data.
"""

import os
import struct
import sys
import zlib

import draw_icons

PNG_SIZES = (48, 256)
NAME = "reelkeeper"


def chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def encode_png(rows):
    size = len(rows)
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def encode_svg(layers):
    size = int(draw_icons.DESIGN)
    lines = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
             'viewBox="0 0 %d %d">' % (size, size, size, size)]
    for inside, (r, g, b, a) in layers:
        opacity = "" if a == 255 else ' fill-opacity="%g"' % (a / 255.0)
        lines.append('  %s fill="#%02x%02x%02x"%s/>' % (inside.svg, r, g, b, opacity))
    lines.append("</svg>")
    return "\n".join(lines) + "\n"


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    print("wrote", os.path.normpath(path))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "..", "resources", "desktop", "icons")
    folder = sys.argv[1] if len(sys.argv) > 1 else default
    layers = draw_icons.video_cassette()
    for size in PNG_SIZES:
        path = os.path.join(folder, "hicolor", "%dx%d" % (size, size), "apps", NAME + ".png")
        write(path, encode_png(draw_icons.render(layers, size)))
    path = os.path.join(folder, "hicolor", "scalable", "apps", NAME + ".svg")
    write(path, encode_svg(layers).encode("ascii"))


if __name__ == "__main__":
    main()
