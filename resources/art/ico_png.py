#!/usr/bin/env python3
"""Writes one image of an icon file (32-bit images, as make_art.py writes
them) as a PNG file, for the icon theme the program installs its icon into.

    python3 resources/art/ico_png.py ICO SIZE OUT.png

Standard library only; exit 1 when the icon file holds no 32-bit image of
that size.
"""
import struct
import sys
import zlib


def image_rows(ico, size):
    """The RGBA rows, top first, of the icon's 32-bit image of `size` pixels."""
    _, kind, count = struct.unpack_from("<HHH", ico, 0)
    if kind != 1:
        return None
    for i in range(count):
        w, h, _, _, _, bits, length, offset = struct.unpack_from("<BBBBHHII", ico, 6 + 16 * i)
        if (w or 256) != size or (h or 256) != size or bits != 32:
            continue
        header = struct.unpack_from("<I", ico, offset)[0]
        pixels = offset + header
        rows = []
        for y in range(size - 1, -1, -1):  # stored bottom-up, BGRA
            row = ico[pixels + 4 * size * y:pixels + 4 * size * (y + 1)]
            rows.append(b"".join(bytes((row[x + 2], row[x + 1], row[x], row[x + 3])) for x in range(0, 4 * size, 4)))
        return rows
    return None


def png(size, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(argv):
    ico_path, size, out = argv[0], int(argv[1]), argv[2]
    with open(ico_path, "rb") as f:
        rows = image_rows(f.read(), size)
    if rows is None:
        print("%s: no 32-bit image of %d pixels" % (ico_path, size), file=sys.stderr)
        return 1
    with open(out, "wb") as f:
        f.write(png(size, rows))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
