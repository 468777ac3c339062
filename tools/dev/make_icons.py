#!/usr/bin/env python3
"""Draws the editions' icon sets (res/icons/<edition>/icon-<size>.png).

Run by hand when the icons change; the PNGs are committed. Each edition
has the same seven sizes and the same drawing (a statement sheet with
ruled lines over a rounded tile); only the tile colour differs.
"""
import os
import struct
import zlib

SIZES = [16, 24, 32, 48, 64, 128, 256]
EDITIONS = {"neo": (0x1F, 0x5F, 0xA8), "std": (0x2E, 0x8B, 0x57), "lumina": (0xB0, 0x5A, 0x1E)}


def png(width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def draw(size, colour):
    rows = []
    r = size * 0.18
    for y in range(size):
        row = []
        for x in range(size):
            # Rounded tile.
            cx = min(max(x + 0.5, r), size - r)
            cy = min(max(y + 0.5, r), size - r)
            inside = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r
            pixel = (0, 0, 0, 0)
            if inside:
                pixel = colour + (255,)
                # The sheet.
                sx0, sx1, sy0, sy1 = size * 0.25, size * 0.75, size * 0.16, size * 0.84
                if sx0 <= x < sx1 and sy0 <= y < sy1:
                    pixel = (255, 255, 255, 255)
                    line = (y - sy0) / (sy1 - sy0)
                    step = max(size // 8, 2)
                    if size >= 24 and int(y - sy0) % step == step - 1 and 0.15 < line < 0.9 and sx0 + size * 0.06 <= x < sx1 - size * 0.06:
                        pixel = colour + (255,)
            row.extend(pixel)
        rows.append(row)
    return rows


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.join(here, "..", "..", "res", "icons")
    for name, colour in EDITIONS.items():
        folder = os.path.join(root, name)
        os.makedirs(folder, exist_ok=True)
        for size in SIZES:
            with open(os.path.join(folder, "icon-%d.png" % size), "wb") as f:
                f.write(png(size, size, draw(size, colour)))


if __name__ == "__main__":
    main()
