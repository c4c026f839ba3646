#!/usr/bin/python3
"""Makes song.ttf: the Song face's glyphs for the characters of the given text
files (and printable ASCII), as a small font of its own.

    song_font.py OUTPUT SOURCE_FONT FACE_INDEX TEXT_FILE...

The full face spreads a few hundred characters over 17 MB of outlines, and the
kernel maps a font file 64 KB at a time around every glyph read: drawing the
program's own texts from it kept several MB of the file resident. The small
font holds the same outlines and drawn 1-bit glyphs (EBDT/EBLC), the same
metrics and names under the family "<source family> Texts"; characters it lacks
are drawn from the full face, which the window layer lists after it.
"""
import logging
import os
import sys

from fontTools import subset
from fontTools.ttLib import TTFont


# The characters FreeType's auto-hinter measures a CJK face by (its standard
# characters and blue zones). Smoothed sizes are hinted by it; without these
# the small font's outlines would be hinted a little differently from the
# full face's.
AUTOHINT_REFERENCE = (
    "田囗"
    "他们你來們到和地对對就席我时時會来為能舰說说这這齊军同已愿既星是景民照现現理用置要軍那配里開雷露面顾"
    "个为人他以们你來個們到和大对對就我时時有来為要說说主些因它想意理生當看着置者自著裡过还进進過道還里面"
)


def characters(paths):
    chars = set(range(0x20, 0x7F)) | {ord(c) for c in AUTOHINT_REFERENCE}
    for path in paths:
        with open(path, encoding="utf-8", errors="ignore") as f:
            chars.update(ord(c) for c in f.read() if ord(c) >= 0x80)
    return chars


def main(argv):
    if len(argv) < 5:
        sys.stderr.write(__doc__)
        return 2
    output, source, index, texts = argv[1], argv[2], int(argv[3]), argv[4:]
    logging.getLogger("fontTools").setLevel(logging.ERROR)  # tables it drops (BDF, FFTM) are not needed
    font = TTFont(source, fontNumber=index, lazy=True, recalcBBoxes=False, recalcTimestamp=False)
    wanted = characters(texts) & set(font.getBestCmap())

    options = subset.Options()
    options.drop_tables = [t for t in options.drop_tables if t not in ("EBDT", "EBLC")]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.layout_features = ["*"]
    options.notdef_outline = True
    options.glyph_names = False
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=sorted(wanted))
    subsetter.subset(font)

    # A family of its own, so that the layer can put it before the full face.
    family = font["name"].getBestFamilyName()
    for rec in font["name"].names:
        if rec.nameID in (1, 3, 4, 16):
            rec.string = rec.toUnicode().replace(family, family + " Texts")
        elif rec.nameID == 6:
            rec.string = rec.toUnicode() + "Texts"

    tmp = output + ".tmp"
    font.save(tmp)
    os.replace(tmp, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
