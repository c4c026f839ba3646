#!/usr/bin/env python3
"""Draws the program's bitmaps and icons and writes them as BMP / ICO files.

    python3 resources/art/make_art.py           write resources/bitmaps, resources/icons
    python3 resources/art/make_art.py --check   exit 1 when a committed file differs

Standard library only. Shapes are drawn with signed distance functions (one
evaluation per pixel, anti-aliased); captions are rendered from the system's
AR PL UMing font by ttf.py. Toolbar bitmaps are 32 x 32, 24 bits, with the
transparent pixels in the mask colour red D1, green 08, blue CA.
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
# Latin-only texts take a face whose "l" is not read as "1".
LATIN_FONT_PATH = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"
MASK = (0xD1, 0x08, 0xCA)          # r, g, b of the toolbar's mask colour
TOOLBAR_GREY = (240, 240, 240)     # what half-covered edge pixels are blended with

OUTLINE = (44, 56, 76)
WHITE = (255, 255, 255)
PAPER = (250, 250, 246)
BLUE = (62, 118, 196)
LIGHT_BLUE = (206, 226, 248)
GREEN = (58, 158, 84)
RED = (204, 64, 52)
GOLD = (246, 196, 48)
SKIN = (246, 208, 164)
GREY = (136, 146, 160)
SLATE = (112, 138, 176)


# --------------------------------------------------------------------------
# Canvas: RGBA floats, shapes given as signed distance functions
# --------------------------------------------------------------------------
class Canvas:
    def __init__(self, w, h, bg=None):
        self.w, self.h = w, h
        if bg is None:
            self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]
        else:
            self.px = [[bg[0], bg[1], bg[2], 1.0] for _ in range(w * h)]

    def blend(self, x, y, color, a):
        if a <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        a = min(a, 1.0)
        p = self.px[y * self.w + x]
        na = a + p[3] * (1 - a)
        if na <= 0:
            return
        for i in range(3):
            p[i] = (color[i] * a + p[i] * p[3] * (1 - a)) / na
        p[3] = na

    def shape(self, sdf, bbox, color, grow=0.0):
        """Fill the region sdf(x, y) < -grow (pixel units, pixel centres at +0.5)."""
        x0, y0, x1, y1 = bbox
        x0 = max(int(math.floor(x0 - 2)), 0)
        y0 = max(int(math.floor(y0 - 2)), 0)
        x1 = min(int(math.ceil(x1 + 2)), self.w)
        y1 = min(int(math.ceil(y1 + 2)), self.h)
        for y in range(y0, y1):
            for x in range(x0, x1):
                d = sdf(x + 0.5, y + 0.5) + grow
                self.blend(x, y, color, 0.5 - d)

    def outlined(self, sdf, bbox, fill, line=OUTLINE, width=1.0):
        self.shape(sdf, bbox, line)
        self.shape(sdf, bbox, fill, grow=width)

    def coverage(self, x0, y0, cov, color):
        for j, row in enumerate(cov):
            for i, a in enumerate(row):
                if a > 0:
                    self.blend(x0 + i, y0 + j, color, a)


# Signed distance functions (negative inside), in pixel coordinates.
def circle(cx, cy, r):
    return (lambda x, y: math.hypot(x - cx, y - cy) - r), (cx - r, cy - r, cx + r, cy + r)


def rrect(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def f(x, y):
        dx, dy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(dx, 0), max(dy, 0)) + min(max(dx, dy), 0) - r
    return f, (x0, y0, x1, y1)


def seg_dist(x, y, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    l2 = vx * vx + vy * vy
    t = 0.0 if l2 == 0 else max(0.0, min(1.0, ((x - ax) * vx + (y - ay) * vy) / l2))
    return math.hypot(x - ax - t * vx, y - ay - t * vy)


def line(ax, ay, bx, by, w):
    return ((lambda x, y: seg_dist(x, y, ax, ay, bx, by) - w / 2),
            (min(ax, bx) - w, min(ay, by) - w, max(ax, bx) + w, max(ay, by) + w))


def polyline(pts, w):
    def f(x, y):
        return min(seg_dist(x, y, *pts[i], *pts[i + 1]) for i in range(len(pts) - 1)) - w / 2
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    return f, (min(xs) - w, min(ys) - w, max(xs) + w, max(ys) + w)


def polygon(pts):
    n = len(pts)

    def f(x, y):
        d = min(seg_dist(x, y, *pts[i], *pts[(i + 1) % n]) for i in range(n))
        inside = False
        for i in range(n):
            (ax, ay), (bx, by) = pts[i], pts[(i + 1) % n]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -d if inside else d
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    return f, (min(xs), min(ys), max(xs), max(ys))


def union(*shapes):
    return ((lambda x, y: min(s[0](x, y) for s in shapes)),
            (min(s[1][0] for s in shapes), min(s[1][1] for s in shapes),
             max(s[1][2] for s in shapes), max(s[1][3] for s in shapes)))


def minus(a, b):
    return (lambda x, y: max(a[0](x, y), -b[0](x, y))), a[1]


# --------------------------------------------------------------------------
# The module pictures, drawn in a 32-unit box at (ox, oy) scaled by s
# --------------------------------------------------------------------------
class Pen:
    def __init__(self, cv, ox, oy, s):
        self.cv, self.ox, self.oy, self.s = cv, ox, oy, s

    def p(self, x, y):
        return self.ox + x * self.s, self.oy + y * self.s

    def pts(self, seq):
        return [self.p(x, y) for x, y in seq]

    def w(self, v):
        return v * self.s

    def outlined(self, shape, fill, width=1.0):
        self.cv.outlined(shape[0], shape[1], fill, width=max(1.0, width * self.s))

    def fill(self, shape, color):
        self.cv.shape(shape[0], shape[1], color)


def draw_home(pn):
    walls = rrect(*pn.p(7, 15), *pn.p(25, 29), pn.w(1))
    pn.outlined(walls, PAPER)
    pn.outlined(polygon(pn.pts([(16, 3.5), (29.5, 16.5), (2.5, 16.5)])), RED)
    pn.outlined(rrect(*pn.p(13, 19.5), *pn.p(19, 29), pn.w(0.8)), BLUE)
    pn.fill(circle(*pn.p(17.5, 24.5), pn.w(0.7)), GOLD)
    pn.outlined(rrect(*pn.p(21.5, 6), *pn.p(25, 12), 0), RED)


def star_points(cx, cy, r_out, r_in, n=5):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = -math.pi / 2 + i * math.pi / n
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def draw_opportunity(pn):
    pn.outlined(polygon(pn.pts(star_points(16, 17, 14.5, 6.2))), GOLD)
    pn.fill(polygon(pn.pts(star_points(16, 17, 7.5, 3.2))), (252, 226, 120))


def draw_account(pn):
    pn.outlined(rrect(*pn.p(5, 6), *pn.p(22, 29.5), pn.w(0.8)), SLATE)
    pn.outlined(rrect(*pn.p(21, 13), *pn.p(28, 29.5), pn.w(0.8)), GREY)
    for row in range(4):
        for col in range(3):
            x, y = 8 + col * 4.6, 9 + row * 4.6
            pn.fill(rrect(*pn.p(x, y), *pn.p(x + 2.6, y + 2.6)), LIGHT_BLUE)
    for row in range(3):
        x, y = 23.3, 16 + row * 4.4
        pn.fill(rrect(*pn.p(x, y), *pn.p(x + 2.4, y + 2.4)), LIGHT_BLUE)
    pn.fill(rrect(*pn.p(11.5, 25.5), *pn.p(15.5, 29.5)), OUTLINE)


def draw_contact(pn):
    body = rrect(*pn.p(5, 19), *pn.p(27, 38), pn.w(8))
    clipped = (lambda x, y, f=body[0], b=pn.p(0, 29.5)[1]: max(f(x, y), y - b)), body[1]
    pn.outlined(clipped, GREEN)
    pn.fill(polygon(pn.pts([(13.2, 19.3), (18.8, 19.3), (16, 24)])), WHITE)
    pn.outlined(circle(*pn.p(16, 11), pn.w(7)), SKIN)


def draw_tasks(pn):
    pn.outlined(rrect(*pn.p(5, 5), *pn.p(27, 29.5), pn.w(1.5)), PAPER)
    pn.outlined(rrect(*pn.p(5, 5), *pn.p(27, 11), pn.w(1.5)), BLUE)
    for x in (10, 22):
        pn.outlined(rrect(*pn.p(x - 1.2, 2.5), *pn.p(x + 1.2, 8)), GREY)
    for i, y in enumerate((15.5, 20.5, 25.5)):
        pn.fill(polyline(pn.pts([(8, y), (9.6, y + 1.6), (12.2, y - 1.4)]), pn.w(1.5)), GREEN)
        pn.fill(line(*pn.p(14.5, y), *pn.p(24 - 2 * i, y), pn.w(1.4)), GREY)


def draw_mail(pn):
    pn.outlined(rrect(*pn.p(3, 8), *pn.p(29, 26), pn.w(1.2)), PAPER)
    pn.fill(polyline(pn.pts([(4, 9.5), (16, 19), (28, 9.5)]), pn.w(1.5)), OUTLINE)
    pn.fill(polyline(pn.pts([(4, 24.5), (12.5, 16.5)]), pn.w(1.2)), GREY)
    pn.fill(polyline(pn.pts([(28, 24.5), (19.5, 16.5)]), pn.w(1.2)), GREY)
    pn.outlined(circle(*pn.p(24.5, 8), pn.w(4.5)), RED)
    pn.fill(line(*pn.p(24.5, 5.8), *pn.p(24.5, 10.2), pn.w(1.4)), WHITE)
    pn.fill(line(*pn.p(22.3, 8), *pn.p(26.7, 8), pn.w(1.4)), WHITE)


def draw_arrow(pn, left):
    pn.outlined(circle(*pn.p(16, 16), pn.w(13.5)), GREEN)
    pts = [(7.5, 16), (15.5, 8), (15.5, 12.5), (24.5, 12.5), (24.5, 19.5), (15.5, 19.5), (15.5, 24)]
    if not left:
        pts = [(32 - x, y) for x, y in pts]
    pn.fill(polygon(pn.pts(pts)), WHITE)


def draw_setting(pn):
    cx, cy = pn.p(16, 16)
    r_in, r_out = pn.w(9.5), pn.w(13.5)
    teeth = []
    for i in range(8):
        a = i * math.pi / 4
        c, s = math.cos(a), math.sin(a)
        hw = pn.w(2.6)
        pts = [(cx + c * r_in - s * hw, cy + s * r_in + c * hw),
               (cx + c * r_out - s * hw, cy + s * r_out + c * hw),
               (cx + c * r_out + s * hw, cy + s * r_out - c * hw),
               (cx + c * r_in + s * hw, cy + s * r_in - c * hw)]
        teeth.append(polygon(pts))
    gear = union(circle(cx, cy, r_in + pn.w(0.5)), *teeth)
    hole = circle(cx, cy, pn.w(4.2))
    body = minus(gear, hole)
    pn.cv.shape(body[0], body[1], OUTLINE)
    inner = (lambda x, y, f=body[0], w=max(1.0, pn.s): f(x, y) + w), body[1]
    pn.cv.shape(inner[0], inner[1], GREY)


def draw_export(pn):
    page = polygon(pn.pts([(5, 3), (19, 3), (25, 9), (25, 29.5), (5, 29.5)]))
    pn.outlined(page, PAPER)
    pn.fill(polyline(pn.pts([(19, 3.5), (19, 9), (24.5, 9)]), pn.w(1)), OUTLINE)
    for y in (13, 17, 21):
        pn.fill(line(*pn.p(8.5, y), *pn.p(17, y), pn.w(1.2)), GREY)
    arrow = polygon(pn.pts([(14, 22), (22, 22), (22, 18), (30.5, 24.5), (22, 31), (22, 27), (14, 27)]))
    pn.outlined(arrow, BLUE)


# --------------------------------------------------------------------------
# File writers
# --------------------------------------------------------------------------
def bmp24(w, h, rgb_rows):
    """24-bit bottom-up BMP; rgb_rows[y][x] = (r, g, b), row 0 at the top."""
    stride = (w * 3 + 3) & ~3
    body = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for r, g, b in rgb_rows[y]:
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        body += row
    head = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return head + info + bytes(body)


def ico(images):
    """ICO with 32-bit BGRA images; images = [(size, rgba_rows)]."""
    out = struct.pack("<HHH", 0, 1, len(images))
    blobs = []
    for size, rows in images:
        xor = bytearray()
        mask = bytearray()
        mstride = ((size + 31) // 32) * 4
        for y in range(size - 1, -1, -1):
            mrow = bytearray(mstride)
            for x, (r, g, b, a) in enumerate(rows[y]):
                xor += bytes((b, g, r, a))
                if a == 0:
                    mrow[x // 8] |= 0x80 >> (x % 8)
            mask += mrow
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append(info + bytes(xor) + bytes(mask))
    offset = 6 + 16 * len(images)
    for (size, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def to_rgb(cv):
    rows = []
    for y in range(cv.h):
        row = []
        for x in range(cv.w):
            r, g, b, a = cv.px[y * cv.w + x]
            row.append(tuple(int(round(min(255, max(0, v)))) for v in (r, g, b)) if a >= 0.999 else
                       tuple(int(round(v * a + 255 * (1 - a))) for v in (r, g, b)))
        rows.append(row)
    return rows


def to_masked(cv):
    """Pixels covered less than half become the mask colour; edges meet the toolbar grey."""
    rows = []
    for y in range(cv.h):
        row = []
        for x in range(cv.w):
            r, g, b, a = cv.px[y * cv.w + x]
            if a < 0.5:
                row.append(MASK)
            else:
                row.append(tuple(int(round(c * a + t * (1 - a))) for c, t in zip((r, g, b), TOOLBAR_GREY)))
        rows.append(row)
    return rows


def to_rgba(cv):
    rows = []
    for y in range(cv.h):
        row = []
        for x in range(cv.w):
            r, g, b, a = cv.px[y * cv.w + x]
            ai = int(round(a * 255))
            row.append((int(round(r)), int(round(g)), int(round(b)), ai) if ai else (0, 0, 0, 0))
        rows.append(row)
    return rows


# --------------------------------------------------------------------------
# Text
# --------------------------------------------------------------------------
_font = None


def font():
    global _font
    if _font is None:
        _font = ttf.Font(FONT_PATH)
    return _font


_latin_font = None


def latin_font():
    global _latin_font
    if _latin_font is None:
        _latin_font = ttf.Font(LATIN_FONT_PATH)
    return _latin_font


def text(cv, x, y, s, size, color=OUTLINE, bold=False, center=False, latin=False):
    w, h, cov = ttf.render_text(latin_font() if latin else font(), s, size)
    if bold:
        cov = [[min(1.0, row[i] + (row[i - 1] if i else 0.0)) for i in range(len(row))] for row in cov]
    if center:
        x -= w // 2
    cv.coverage(int(x), int(y), cov, color)
    return w, h


# --------------------------------------------------------------------------
# The pictures
# --------------------------------------------------------------------------
TOOLBAR = [
    ("id_bmp_homepage", draw_home),
    ("id_bmp_opportunities", draw_opportunity),
    ("id_bmp_accounts", draw_account),
    ("id_bmp_contacts", draw_contact),
    ("id_bmp_tasks", draw_tasks),
    ("id_bmp_mail", draw_mail),
    ("id_bmp_back", lambda pn: draw_arrow(pn, True)),
    ("id_bmp_forward", lambda pn: draw_arrow(pn, False)),
    ("id_bmp_setting", draw_setting),
    ("id_bmp_export", draw_export),
]

KINDS = {
    "opp": (draw_opportunity, "项目机会"),
    "acc": (draw_account, "客户单位"),
    "con": (draw_contact, "联系人"),
    "tas": (draw_tasks, "工作计划或日志"),
}


def toolbar_bitmap(draw):
    cv = Canvas(32, 32)
    draw(Pen(cv, 0, 0, 1.0))
    return bmp24(32, 32, to_masked(cv))


def labelled_icon(cv, cx, top, kind, caption=None, size=32, px=13):
    """An icon with its caption centred below it; a caption may hold several lines."""
    draw, name = KINDS[kind]
    draw(Pen(cv, cx - size / 2, top, size / 32))
    y = top + size + 3
    for part in (caption or name).split("\n"):
        _, h = text(cv, cx, y, part, px, center=True)
        y += h


def relation_diamond():
    """The four record kinds on a diamond, every two of them joined."""
    w, h = 405, 216
    cv = Canvas(w, h, WHITE)
    pos = {"opp": (202, 8), "con": (60, 86), "acc": (345, 86), "tas": (202, 158)}
    centre = {k: (x, y + 16) for k, (x, y) in pos.items()}
    keys = list(pos)
    for i in range(len(keys)):
        for j in range(i + 1, len(keys)):
            a, b = centre[keys[i]], centre[keys[j]]
            ln = line(a[0], a[1], b[0], b[1], 1.6)
            cv.shape(ln[0], ln[1], (150, 170, 200))
    for k, (x, y) in pos.items():
        _, name = KINDS[k]
        tw = ttf.text_width(font(), name, 13)
        plate = rrect(x - max(24, tw / 2 + 6), y - 4, x + max(24, tw / 2 + 6), y + 54, 6)
        cv.shape(plate[0], plate[1], WHITE)
        labelled_icon(cv, x, y, k)
    return bmp24(w, h, to_rgb(cv))


def relation_tree(root, root_caption, children):
    """A root record kind with three branches below it."""
    w, h = 280, 200
    cv = Canvas(w, h, WHITE)
    rx, ry = 140, 10
    ys = 120
    xs = (46, 140, 234)
    trunk = line(rx, ry + 58, rx, 96, 1.6)
    cv.shape(trunk[0], trunk[1], (150, 170, 200))
    bar = line(xs[0], 96, xs[2], 96, 1.6)
    cv.shape(bar[0], bar[1], (150, 170, 200))
    for x in xs:
        ln = line(x, 96, x, ys - 2, 1.6)
        cv.shape(ln[0], ln[1], (150, 170, 200))
    labelled_icon(cv, rx, ry, root, root_caption)
    for x, (kind, caption) in zip(xs, children):
        labelled_icon(cv, x, ys, kind, caption, px=12)
    return bmp24(w, h, to_rgb(cv))


def gradient(cv, top, bottom, vertical=True):
    for y in range(cv.h):
        for x in range(cv.w):
            t = (y / max(1, cv.h - 1)) if vertical else (x / max(1, cv.w - 1))
            cv.px[y * cv.w + x] = [top[i] + (bottom[i] - top[i]) * t for i in range(3)] + [1.0]


def install_banner():
    cv = Canvas(499, 59)
    gradient(cv, (40, 84, 150), (120, 170, 226), vertical=False)
    draw_app_mark(Pen(cv, 12, 7, 45 / 32))
    text(cv, 70, 8, "Tarvel Sales Logs", 22, WHITE, latin=True)
    text(cv, 72, 36, "销售记录管理", 14, (230, 240, 255))
    return bmp24(499, 59, to_rgb(cv))


def install_side():
    cv = Canvas(165, 303)
    gradient(cv, (226, 236, 250), (120, 164, 220))
    for i, kind in enumerate(("opp", "acc", "con", "tas")):
        KINDS[kind][0](Pen(cv, 58, 28 + i * 64, 48 / 32))
    return bmp24(165, 303, to_rgb(cv))


def draw_app_mark(pn):
    """The program's mark: a blue notebook with a rising line."""
    pn.outlined(rrect(*pn.p(3, 2), *pn.p(29, 30), pn.w(4)), BLUE)
    pn.fill(rrect(*pn.p(7.5, 6.5), *pn.p(25, 26), pn.w(1.5)), WHITE)
    pn.fill(polyline(pn.pts([(10, 22), (14.5, 16.5), (18, 19), (22.5, 11)]), max(1.2, pn.w(2.2))), GREEN)
    pn.fill(polygon(pn.pts([(20, 10), (24, 8.5), (23.5, 13)])), GREEN)


def app_icon():
    images = []
    for size in (16, 32, 48, 128):
        cv = Canvas(size, size)
        draw_app_mark(Pen(cv, 0, 0, size / 32))
        images.append((size, to_rgba(cv)))
    return ico(images)


def check_icon(checked):
    """A recipient's mark: a red box with a white tick; a plain white box
    when the row is not a recipient (the mail page's help text speaks of the
    red icon)."""
    cv = Canvas(16, 16)
    box = rrect(2, 2, 14, 14, 1.5)
    if checked:
        cv.outlined(box[0], box[1], RED, line=(150, 36, 28))
        tick = polyline([(4.5, 8.2), (7, 10.8), (11.8, 5)], 2.0)
        cv.shape(tick[0], tick[1], WHITE)
    else:
        cv.outlined(box[0], box[1], WHITE, line=(72, 88, 112))
    return ico([(16, to_rgba(cv))])


def build_all():
    files = {}
    for name, draw in TOOLBAR:
        files["bitmaps/%s.bmp" % name] = toolbar_bitmap(draw)
    files["bitmaps/id_bmp_homepage_relation.bmp"] = relation_diamond()
    files["bitmaps/id_bmp_acc_relation.bmp"] = relation_tree(
        "acc", "客户单位（基本信息）", [("tas", "工作计划或日志"), ("con", "联系人"), ("opp", "项目机会")])
    files["bitmaps/id_bmp_con_relation.bmp"] = relation_tree(
        "con", "联系人（基本信息）", [("tas", "工作计划或日志"), ("opp", "项目机会"), ("acc", "客户单位\n（工作单位）")])
    files["bitmaps/id_bmp_install1.bmp"] = install_banner()
    files["bitmaps/id_bmp_install2.bmp"] = install_side()
    files["icons/idi_application_icon.ico"] = app_icon()
    files["icons/idi_listview_checked.ico"] = check_icon(True)
    files["icons/idi_listview_unchecked.ico"] = check_icon(False)
    return files


def main(argv):
    check = "--check" in argv
    stale = []
    for rel, data in sorted(build_all().items()):
        path = os.path.join(ROOT, rel)
        if check:
            try:
                with open(path, "rb") as f:
                    same = f.read() == data
            except OSError:
                same = False
            if not same:
                stale.append(rel)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    if stale:
        print("out of date: " + ", ".join(stale))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
