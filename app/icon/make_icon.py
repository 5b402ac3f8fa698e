#!/usr/bin/env python3
"""Draws the application icon: a glowing blue ring on a dark ground.

32 x 32 pixels, 24 bits per pixel, every pixel opaque. Writes the PNG that Qt and
the Linux desktop use, the .ico that the Windows resource embeds, and the same
picture as an SVG for menus that draw icons larger than 32 pixels. The output
depends only on this file: pixels come from plain arithmetic, the PNG is stored
without compression and the .ico holds an uncompressed bitmap, so running it again
gives the same bytes.

    make_icon.py OUTPUT_DIR   -> OUTPUT_DIR/velbrin.{png,ico,svg}
"""
import math
import struct
import sys
import zlib
from pathlib import Path

SIZE = 32
GROUND = (8, 10, 22)
RING_RADIUS = 10.5


def pixel(x, y):
    dx = x + 0.5 - SIZE / 2
    dy = y + 0.5 - SIZE / 2
    distance = math.hypot(dx, dy)
    glow = math.exp(-((distance - RING_RADIUS) / 3.2) ** 2)  # soft halo
    core = math.exp(-((distance - RING_RADIUS) / 1.0) ** 2)  # bright band
    colour = (
        GROUND[0] + 30 * glow + 150 * core,
        GROUND[1] + 110 * glow + 120 * core,
        GROUND[2] + 210 * glow + 30 * core,
    )
    return tuple(min(255, int(round(c))) for c in colour)


def rows():
    return [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]


def png(image):
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in image)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 2, 0, 0, 0)  # 8-bit RGB, no alpha
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 0)) + chunk(b"IEND", b""))


def ico(image):
    # A bitmap inside an icon is stored bottom-up, BGR, with rows padded to 4 bytes,
    # followed by a 1-bit AND mask that is all zero: every pixel opaque.
    xor = b"".join(bytes(c for p in row for c in (p[2], p[1], p[0])) for row in reversed(image))
    mask_row = ((SIZE + 31) // 32) * 4
    mask = bytes(mask_row * SIZE)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 24, 0, len(xor) + len(mask), 0, 0, 0, 0)
    bitmap = info + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(bitmap), 6 + 16)
    return directory + entry + bitmap


def svg():
    # The same halo and band as pixel(): a blurred wide ring under a narrow bright one.
    def rgb(colour):
        return "#%02x%02x%02x" % tuple(min(255, int(round(c))) for c in colour)

    halo = rgb((GROUND[0] + 30, GROUND[1] + 110, GROUND[2] + 210))
    band = rgb((GROUND[0] + 180, GROUND[1] + 230, GROUND[2] + 240))
    centre = SIZE / 2
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" viewBox="0 0 {SIZE} {SIZE}">
  <defs>
    <filter id="glow" x="-50%" y="-50%" width="200%" height="200%">
      <feGaussianBlur stdDeviation="1.6"/>
    </filter>
  </defs>
  <rect width="{SIZE}" height="{SIZE}" fill="{rgb(GROUND)}"/>
  <circle cx="{centre}" cy="{centre}" r="{RING_RADIUS}" fill="none" stroke="{halo}" stroke-width="4.5" filter="url(#glow)"/>
  <circle cx="{centre}" cy="{centre}" r="{RING_RADIUS}" fill="none" stroke="{band}" stroke-width="1.6"/>
</svg>
""".encode()


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    image = rows()
    (out / "velbrin.png").write_bytes(png(image))
    (out / "velbrin.ico").write_bytes(ico(image))
    (out / "velbrin.svg").write_bytes(svg())


if __name__ == "__main__":
    main()
