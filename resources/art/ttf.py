"""Minimal TrueType reader and rasteriser (standard library only).

Reads glyph outlines (simple and composite glyphs) from a .ttf or .ttc file and
renders text into an 8-bit coverage map with supersampling and non-zero
winding. Enough for the captions of the program's pictures.
"""
import struct


class Font:
    def __init__(self, path, index=0):
        with open(path, "rb") as f:
            self.data = f.read()
        base = 0
        if self.data[:4] == b"ttcf":
            count = struct.unpack_from(">I", self.data, 8)[0]
            if index >= count:
                raise ValueError("font index out of range")
            base = struct.unpack_from(">I", self.data, 12 + 4 * index)[0]
        num_tables = struct.unpack_from(">H", self.data, base + 4)[0]
        self.tables = {}
        for i in range(num_tables):
            tag, _, off, length = struct.unpack_from(">4sIII", self.data, base + 12 + 16 * i)
            self.tables[tag.decode("latin-1")] = (off, length)
        head = self.tables["head"][0]
        self.units_per_em = struct.unpack_from(">H", self.data, head + 18)[0]
        self.loca_long = struct.unpack_from(">h", self.data, head + 50)[0] == 1
        self.num_glyphs = struct.unpack_from(">H", self.data, self.tables["maxp"][0] + 4)[0]
        hhea = self.tables["hhea"][0]
        self.ascent, self.descent = struct.unpack_from(">hh", self.data, hhea + 4)
        self.num_hmetrics = struct.unpack_from(">H", self.data, hhea + 34)[0]
        self.cmap = self._read_cmap()

    def _read_cmap(self):
        off = self.tables["cmap"][0]
        n = struct.unpack_from(">H", self.data, off + 2)[0]
        best = None
        for i in range(n):
            pid, eid, sub = struct.unpack_from(">HHI", self.data, off + 4 + 8 * i)
            fmt = struct.unpack_from(">H", self.data, off + sub)[0]
            if pid == 3 and eid in (1, 10) and fmt in (4, 12):
                if best is None or fmt == 12:
                    best = (fmt, off + sub)
        if best is None:
            raise ValueError("no Unicode cmap")
        fmt, p = best
        cmap = {}
        if fmt == 4:
            segx2 = struct.unpack_from(">H", self.data, p + 6)[0]
            seg = segx2 // 2
            ends = struct.unpack_from(">%dH" % seg, self.data, p + 14)
            starts = struct.unpack_from(">%dH" % seg, self.data, p + 16 + segx2)
            deltas = struct.unpack_from(">%dh" % seg, self.data, p + 16 + 2 * segx2)
            ro_pos = p + 16 + 3 * segx2
            ranges = struct.unpack_from(">%dH" % seg, self.data, ro_pos)
            for i in range(seg):
                for c in range(starts[i], ends[i] + 1):
                    if c == 0xFFFF:
                        continue
                    if ranges[i] == 0:
                        g = (c + deltas[i]) & 0xFFFF
                    else:
                        a = ro_pos + 2 * i + ranges[i] + 2 * (c - starts[i])
                        g = struct.unpack_from(">H", self.data, a)[0]
                        if g:
                            g = (g + deltas[i]) & 0xFFFF
                    if g:
                        cmap[c] = g
        else:
            groups = struct.unpack_from(">I", self.data, p + 12)[0]
            for i in range(groups):
                s, e, g = struct.unpack_from(">III", self.data, p + 16 + 12 * i)
                for c in range(s, e + 1):
                    cmap[c] = g + c - s
        return cmap

    def advance(self, glyph):
        hmtx = self.tables["hmtx"][0]
        i = min(glyph, self.num_hmetrics - 1)
        return struct.unpack_from(">H", self.data, hmtx + 4 * i)[0]

    def _glyph_range(self, glyph):
        loca = self.tables["loca"][0]
        if self.loca_long:
            a, b = struct.unpack_from(">II", self.data, loca + 4 * glyph)
        else:
            a, b = struct.unpack_from(">HH", self.data, loca + 2 * glyph)
            a, b = 2 * a, 2 * b
        return a, b

    def contours(self, glyph, depth=0):
        """Closed contours of a glyph as lists of (x, y, on_curve) in font units."""
        a, b = self._glyph_range(glyph)
        if b <= a or depth > 8:
            return []
        p = self.tables["glyf"][0] + a
        n = struct.unpack_from(">h", self.data, p)[0]
        if n < 0:
            return self._composite(p + 10, depth)
        ends = struct.unpack_from(">%dH" % n, self.data, p + 10)
        npts = ends[-1] + 1 if n else 0
        q = p + 10 + 2 * n
        ilen = struct.unpack_from(">H", self.data, q)[0]
        q += 2 + ilen
        flags = []
        while len(flags) < npts:
            fl = self.data[q]
            q += 1
            flags.append(fl)
            if fl & 8:
                rep = self.data[q]
                q += 1
                flags.extend([fl] * rep)
        flags = flags[:npts]
        xs, ys = [], []
        for coords, short_bit, same_bit in ((xs, 2, 16), (ys, 4, 32)):
            v = 0
            for fl in flags:
                if fl & short_bit:
                    d = self.data[q]
                    q += 1
                    v += d if fl & same_bit else -d
                elif not fl & same_bit:
                    v += struct.unpack_from(">h", self.data, q)[0]
                    q += 2
                coords.append(v)
        out, start = [], 0
        for e in ends:
            out.append([(xs[i], ys[i], bool(flags[i] & 1)) for i in range(start, e + 1)])
            start = e + 1
        return out

    def _composite(self, p, depth):
        out = []
        while True:
            fl, gi = struct.unpack_from(">HH", self.data, p)
            p += 4
            if fl & 1:
                dx, dy = struct.unpack_from(">hh", self.data, p)
                p += 4
            else:
                dx, dy = struct.unpack_from(">bb", self.data, p)
                p += 2
            if not fl & 2:
                dx = dy = 0  # point matching is not needed by the fonts used
            m = (1.0, 0.0, 0.0, 1.0)
            if fl & 8:
                s = struct.unpack_from(">h", self.data, p)[0] / 16384.0
                p += 2
                m = (s, 0.0, 0.0, s)
            elif fl & 0x40:
                sx, sy = struct.unpack_from(">hh", self.data, p)
                p += 4
                m = (sx / 16384.0, 0.0, 0.0, sy / 16384.0)
            elif fl & 0x80:
                m = tuple(v / 16384.0 for v in struct.unpack_from(">hhhh", self.data, p))
                p += 8
            for c in self.contours(gi, depth + 1):
                out.append([(m[0] * x + m[2] * y + dx, m[1] * x + m[3] * y + dy, on) for x, y, on in c])
            if not fl & 0x20:
                return out


def _flatten(contour, steps=4):
    """Quadratic contour -> polygon (list of (x, y))."""
    n = len(contour)
    if n == 0:
        return []
    pts = []
    # Start on an on-curve point (or the midpoint of two off-curve points).
    start = next((i for i, c in enumerate(contour) if c[2]), None)
    if start is None:
        a, b = contour[0], contour[1 % n]
        contour = [((a[0] + b[0]) / 2, (a[1] + b[1]) / 2, True)] + contour[1:] + contour[:1]
        start = 0
    seq = contour[start:] + contour[:start] + [contour[start]]
    cur = seq[0]
    pts.append((cur[0], cur[1]))
    ctrl = None
    for p in seq[1:]:
        if p[2]:
            if ctrl is None:
                pts.append((p[0], p[1]))
            else:
                _quad(pts, cur, ctrl, p, steps)
                ctrl = None
            cur = p
        else:
            if ctrl is not None:
                mid = ((ctrl[0] + p[0]) / 2, (ctrl[1] + p[1]) / 2, True)
                _quad(pts, cur, ctrl, mid, steps)
                cur = mid
            ctrl = p
    if ctrl is not None:
        _quad(pts, cur, ctrl, seq[0], steps)
    return pts


def _quad(pts, a, c, b, steps):
    for i in range(1, steps + 1):
        t = i / steps
        u = 1 - t
        pts.append((u * u * a[0] + 2 * u * t * c[0] + t * t * b[0],
                    u * u * a[1] + 2 * u * t * c[1] + t * t * b[1]))


def text_width(font, text, size):
    scale = size / font.units_per_em
    return sum(font.advance(font.cmap.get(ord(ch), 0)) for ch in text) * scale


def render_text(font, text, size, ss=4):
    """Coverage map (width, height, list of rows of floats 0..1) of one line of text.

    size is the em height in pixels; the baseline sits at the font's ascent.
    """
    scale = size / font.units_per_em
    asc = font.ascent * scale
    height = int(round((font.ascent - font.descent) * scale)) + 1
    width = int(text_width(font, text, size)) + 2
    edges = []
    pen = 0.0
    for ch in text:
        g = font.cmap.get(ord(ch), 0)
        for c in font.contours(g):
            poly = _flatten(c)
            for i in range(len(poly) - 1):
                x0, y0 = poly[i]
                x1, y1 = poly[i + 1]
                # to pixel space, y down
                edges.append(((pen + x0 * scale), asc - y0 * scale, (pen + x1 * scale), asc - y1 * scale))
        pen += font.advance(g) * scale
    cov = [[0.0] * width for _ in range(height)]
    inc = 1.0 / (ss * ss)
    for sy in range(height * ss):
        y = (sy + 0.5) / ss
        xs = []
        for x0, y0, x1, y1 in edges:
            if (y0 <= y < y1) or (y1 <= y < y0):
                t = (y - y0) / (y1 - y0)
                xs.append((x0 + t * (x1 - x0), 1 if y1 > y0 else -1))
        if not xs:
            continue
        xs.sort()
        row = cov[sy // ss]
        wind = 0
        for i in range(len(xs) - 1):
            wind += xs[i][1]
            if wind != 0:
                a = xs[i][0] * ss
                b = xs[i + 1][0] * ss
                s0 = max(int(a + 0.5), 0)
                s1 = min(int(b + 0.5), width * ss)
                for sx in range(s0, s1):
                    row[sx // ss] += inc
    return width, height, cov
