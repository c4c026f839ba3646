#!/usr/bin/env python3
"""Draws the opportunity start page's picture resources/bitmaps/opp_relation.bmp.

    python3 resources/art/opp_art.py           write the bitmap
    python3 resources/art/opp_art.py --check   exit 1 when the committed file differs

280 x 200 pixels, 24 bits, white background: a small tree whose root is the
opportunity (a star and 项目机会 with 基本信息 in brackets) and three branches,
each an icon and a caption: 工作计划或日志, 联系人, 客户单位.
Standard library only; captions come from the AR PL UMing font through ttf.py.
"""
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
import ttf  # noqa: E402

FONT_PATH = "/usr/share/fonts/truetype/arphic/uming.ttc"
W, H = 280, 200
WHITE = (255, 255, 255)
INK = (44, 56, 76)
LINE = (120, 136, 160)
GOLD = (240, 184, 40)
BLUE = (62, 118, 196)
GREEN = (58, 158, 84)
RED = (204, 64, 52)
PAPER = (250, 250, 240)


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[list(WHITE) for _ in range(w)] for _ in range(h)]

    def blend(self, x, y, colour, a):
        if 0 <= x < self.w and 0 <= y < self.h and a > 0:
            a = min(a, 1.0)
            p = self.px[y]
            p[x] = [p[x][i] * (1 - a) + colour[i] * a for i in range(3)]

    def shape(self, sdf, colour, box):
        """Fills where the signed distance sdf(x, y) is below 0, anti-aliased."""
        x0, y0, x1, y1 = box
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                d = sdf(x + 0.5, y + 0.5)
                self.blend(x, y, colour, 0.5 - d)

    def line(self, ax, ay, bx, by, width, colour):
        def sdf(x, y):
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            return math.hypot(x - ax - t * dx, y - ay - t * dy) - width / 2
        pad = int(width) + 2
        self.shape(sdf, colour, (int(min(ax, bx)) - pad, int(min(ay, by)) - pad,
                                 int(max(ax, bx)) + pad, int(max(ay, by)) + pad))

    def rect(self, x0, y0, x1, y1, colour, radius=0.0):
        cx, cy, hw, hh = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2

        def sdf(x, y):
            qx = abs(x - cx) - hw + radius
            qy = abs(y - cy) - hh + radius
            return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - radius
        self.shape(sdf, colour, (int(x0) - 2, int(y0) - 2, int(x1) + 3, int(y1) + 3))

    def circle(self, cx, cy, r, colour):
        self.shape(lambda x, y: math.hypot(x - cx, y - cy) - r, colour,
                   (int(cx - r) - 2, int(cy - r) - 2, int(cx + r) + 3, int(cy + r) + 3))

    def polygon(self, pts, colour):
        def inside(x, y):
            c = False
            for i in range(len(pts)):
                (x0, y0), (x1, y1) = pts[i], pts[i - 1]
                if (y0 > y) != (y1 > y) and x < (x1 - x0) * (y - y0) / (y1 - y0) + x0:
                    c = not c
            return c

        def sdf(x, y):
            d = min(seg(x, y, pts[i], pts[i - 1]) for i in range(len(pts)))
            return -d if inside(x, y) else d

        def seg(x, y, a, b):
            dx, dy = b[0] - a[0], b[1] - a[1]
            t = max(0.0, min(1.0, ((x - a[0]) * dx + (y - a[1]) * dy) / (dx * dx + dy * dy)))
            return math.hypot(x - a[0] - t * dx, y - a[1] - t * dy)
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        self.shape(sdf, colour, (int(min(xs)) - 2, int(min(ys)) - 2, int(max(xs)) + 3, int(max(ys)) + 3))

    def text(self, font, s, size, x, y, colour, centre=False):
        w, h, cov = ttf.render_text(font, s, size)
        if centre:
            x -= w / 2
        x, y = int(round(x)), int(round(y))
        for j in range(h):
            for i in range(w):
                self.blend(x + i, y + j, colour, cov[j][i])

    def bmp(self):
        row = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            line = bytearray()
            for x in range(self.w):
                r, g, b = (int(round(max(0, min(255, c)))) for c in self.px[y][x])
                line += bytes((b, g, r))
            line += b"\0" * (row - len(line))
            data += line
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return header + info + bytes(data)


def star(c, cx, cy, r, colour):
    pts = []
    for k in range(10):
        a = -math.pi / 2 + k * math.pi / 5
        rr = r if k % 2 == 0 else r * 0.45
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    c.polygon(pts, colour)


def notebook(c, cx, cy):
    c.rect(cx - 13, cy - 16, cx + 13, cy + 16, INK, 3)
    c.rect(cx - 11, cy - 14, cx + 11, cy + 14, PAPER, 2)
    for k in range(4):
        c.line(cx - 7, cy - 8 + 6 * k, cx + 7, cy - 8 + 6 * k, 1.4, BLUE)
    c.rect(cx - 15, cy - 12, cx - 11, cy + 12, GREEN, 1)


def person(c, cx, cy):
    c.circle(cx, cy - 8, 7, INK)
    c.circle(cx, cy - 8, 5.5, (246, 208, 164))
    c.rect(cx - 12, cy + 1, cx + 12, cy + 16, INK, 6)
    c.rect(cx - 10.5, cy + 2.5, cx + 10.5, cy + 14.5, BLUE, 5)


def building(c, cx, cy):
    c.rect(cx - 14, cy - 16, cx + 14, cy + 16, INK, 1)
    c.rect(cx - 12, cy - 14, cx + 12, cy + 16, (226, 232, 242), 0)
    for j in range(3):
        for i in range(3):
            c.rect(cx - 9 + 7 * i, cy - 11 + 8 * j, cx - 5 + 7 * i, cy - 6 + 8 * j, BLUE, 0)
    c.rect(cx - 3, cy + 9, cx + 3, cy + 16, RED, 0)


def draw():
    font = ttf.Font(FONT_PATH)
    c = Canvas(W, H)
    # Root: the opportunity.
    c.rect(70, 10, 210, 64, (255, 247, 214), 8)
    star(c, 96, 37, 17, GOLD)
    c.text(font, "项目机会", 17, 118, 17, INK)
    c.text(font, "（基本信息）", 12, 116, 39, LINE)
    # Branches.
    xs = [48, 140, 232]
    c.line(140, 64, 140, 90, 2, LINE)
    c.line(48, 90, 232, 90, 2, LINE)
    for x in xs:
        c.line(x, 90, x, 108, 2, LINE)
    notebook(c, xs[0], 130)
    person(c, xs[1], 130)
    building(c, xs[2], 130)
    for x, s in zip(xs, ["工作计划或日志", "联系人", "客户单位"]):
        c.text(font, s, 13, x, 158, INK, centre=True)
    return c.bmp()


def main():
    path = os.path.join(ROOT, "bitmaps", "opp_relation.bmp")
    data = draw()
    if "--check" in sys.argv:
        with open(path, "rb") as f:
            sys.exit(0 if f.read() == data else 1)
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
