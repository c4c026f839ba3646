"""Checks the program's bitmaps and icons: formats, sizes, the toolbar mask
colour, and that art.rc names every file and only existing files."""
import os
import re
import struct
import sys
import unittest

RES = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "../../../resources")
MASK = (0xD1, 0x08, 0xCA)
TOOLBAR = ["homepage", "opportunities", "accounts", "contacts", "tasks", "mail", "back", "forward",
           "setting", "export"]
PICTURES = {"homepage_relation": (405, 216), "acc_relation": (280, 200), "con_relation": (280, 200),
            "install1": (499, 59), "install2": (165, 303)}


def read_bmp(path):
    with open(path, "rb") as f:
        d = f.read()
    assert d[:2] == b"BM", path
    size, = struct.unpack_from("<I", d, 2)
    off, = struct.unpack_from("<I", d, 10)
    hsize, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", d, 14)
    return d, size, off, hsize, w, h, planes, bpp, comp


def pixels(d, off, w, h):
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(h):
        base = off + (h - 1 - y) * stride
        rows.append([(d[base + 3 * x + 2], d[base + 3 * x + 1], d[base + 3 * x]) for x in range(w)])
    return rows


def read_ico(path):
    with open(path, "rb") as f:
        d = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", d, 0)
    entries = []
    for i in range(count):
        w, h, colors, _, planes, bpp, size, off = struct.unpack_from("<BBBBHHII", d, 6 + 16 * i)
        entries.append((w or 256, h or 256, bpp, size, off))
    return d, reserved, kind, entries


class Bitmaps(unittest.TestCase):
    def test_toolbar_images_are_32_by_32_24_bit_with_a_transparent_mask(self):
        for name in TOOLBAR:
            path = os.path.join(RES, "bitmaps", "id_bmp_%s.bmp" % name)
            d, size, off, hsize, w, h, planes, bpp, comp = read_bmp(path)
            with self.subTest(name=name):
                self.assertEqual((w, h, bpp, comp, planes, hsize), (32, 32, 24, 0, 1, 40))
                self.assertEqual(size, len(d))
                self.assertEqual(len(d), off + 32 * 96)
                px = [p for row in pixels(d, off, 32, 32) for p in row]
                masked = sum(1 for p in px if p == MASK)
                self.assertEqual(pixels(d, off, 32, 32)[0][0], MASK, "corners are transparent")
                self.assertGreater(masked, 100)
                self.assertLess(masked, 32 * 32 - 200, "the picture covers a good part of the button")
                # No pixel is a near miss of the mask colour (it would show as a pink fringe).
                near = [p for p in px if p != MASK and all(abs(a - b) < 40 for a, b in zip(p, MASK))]
                self.assertEqual(near, [])

    def test_toolbar_images_differ_from_each_other(self):
        seen = set()
        for name in TOOLBAR:
            with open(os.path.join(RES, "bitmaps", "id_bmp_%s.bmp" % name), "rb") as f:
                seen.add(f.read())
        self.assertEqual(len(seen), len(TOOLBAR))

    def test_pictures_have_their_sizes_and_a_drawn_content(self):
        for name, (ew, eh) in PICTURES.items():
            d, size, off, hsize, w, h, planes, bpp, comp = read_bmp(
                os.path.join(RES, "bitmaps", "id_bmp_%s.bmp" % name))
            with self.subTest(name=name):
                self.assertEqual((w, h, bpp, comp), (ew, eh, 24, 0))
                self.assertEqual(size, len(d))
                colours = {p for row in pixels(d, off, w, h) for p in row}
                self.assertGreater(len(colours), 20)

    def test_relation_pictures_have_a_white_ground(self):
        for name in ("homepage_relation", "acc_relation", "con_relation"):
            d, _, off, _, w, h, _, _, _ = read_bmp(os.path.join(RES, "bitmaps", "id_bmp_%s.bmp" % name))
            px = pixels(d, off, w, h)
            with self.subTest(name=name):
                for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
                    self.assertEqual(px[y][x], (255, 255, 255))


class Icons(unittest.TestCase):
    def check_ico(self, path, sizes):
        d, reserved, kind, entries = read_ico(path)
        self.assertEqual((reserved, kind), (0, 1))
        self.assertEqual([e[0] for e in entries], sizes)
        for w, h, bpp, size, off in entries:
            self.assertEqual((w, h, bpp), (w, w, 32))
            self.assertLessEqual(off + size, len(d))
            hsize, iw, ih, planes, ibpp = struct.unpack_from("<IiiHH", d, off)
            self.assertEqual((hsize, iw, ih, ibpp), (40, w, 2 * w, 32))
            xor = d[off + 40: off + 40 + w * w * 4]
            alphas = xor[3::4]
            self.assertTrue(any(a == 0 for a in alphas) and any(a == 255 for a in alphas))
            # The AND mask marks exactly the fully transparent pixels.
            mstride = ((w + 31) // 32) * 4
            mask = d[off + 40 + w * w * 4: off + 40 + w * w * 4 + mstride * w]
            for y in range(w):
                for x in range(w):
                    bit = (mask[y * mstride + x // 8] >> (7 - x % 8)) & 1
                    self.assertEqual(bit, 1 if alphas[y * w + x] == 0 else 0)
        return d

    def test_program_icon_has_four_sizes(self):
        self.check_ico(os.path.join(RES, "icons", "idi_application_icon.ico"), [16, 32, 48, 128])

    def test_check_icons_are_16_pixels_and_differ(self):
        a = self.check_ico(os.path.join(RES, "icons", "idi_listview_checked.ico"), [16])
        b = self.check_ico(os.path.join(RES, "icons", "idi_listview_unchecked.ico"), [16])
        self.assertNotEqual(a, b)

    def test_the_selected_icon_is_red_and_the_other_is_not(self):
        def reds(name):
            d = read_ico(os.path.join(RES, "icons", name))[0]
            xor = d[6 + 16 + 40: 6 + 16 + 40 + 16 * 16 * 4]
            return sum(1 for i in range(0, len(xor), 4)
                       if xor[i + 3] == 255 and xor[i + 2] > 150 and xor[i + 1] < 100 and xor[i] < 100)
        self.assertGreater(reds("idi_listview_checked.ico"), 40)
        self.assertEqual(reds("idi_listview_unchecked.ico"), 0)


class ResourceScript(unittest.TestCase):
    def test_art_rc_names_every_file_once(self):
        with open(os.path.join(RES, "art.rc"), encoding="utf-8") as f:
            text = f.read()
        refs = re.findall(r'^(\w+)\s+(BITMAP|ICON)\s+"([^"]+)"', text, re.M)
        names = [r[0] for r in refs]
        self.assertEqual(len(names), len(set(n.upper() for n in names)))
        for name, kind, rel in refs:
            self.assertTrue(os.path.isfile(os.path.join(RES, rel)), rel)
            self.assertEqual(os.path.basename(rel).split(".")[0], name.lower())
        files = {"bitmaps/" + f for f in os.listdir(os.path.join(RES, "bitmaps")) if f.startswith("id_bmp_")}
        files |= {"icons/" + f for f in os.listdir(os.path.join(RES, "icons")) if f.startswith("idi_")}
        referenced = {r[2] for r in refs}
        # Files of other scripts are named differently; ours are all listed.
        self.assertEqual(files - referenced, set())
        for name in TOOLBAR:
            self.assertIn("ID_BMP_" + name.upper(), names)
        for name in ("IDI_APPLICATION_ICON", "IDI_LISTVIEW_CHECKED", "IDI_LISTVIEW_UNCHECKED"):
            self.assertIn(name, names)


if __name__ == "__main__":
    unittest.main()
