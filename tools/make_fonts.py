#!/usr/bin/python3
"""Writes small TrueType fonts with chosen family names and character sets, for tests
and the benchmark to install in a Wine prefix.

    make_fonts.py FOLDER NAME=CHARSET...    one font per argument
    make_fonts.py FOLDER --count N          N families "Bench NNNNN", a quarter each
                                            Big5 and Shift-JIS, the other half Latin
    make_fonts.py --eudc FILE COUNT         one font, family "EUDC", Big5, whose COUNT
                                            characters from U+E000 up are rectangles, the
                                            Nth N % 8 steps wide and N // 8 % 8 high, so
                                            that 64 neighbours each look different
    make_fonts.py --eudc-from SOURCE FILE TEXT
                                            one font, family "EUDC", Big5, whose characters
                                            from U+E000 up are the glyphs that the TrueType
                                            font SOURCE (or a collection's font of that
                                            name, SOURCE#NAME) draws for TEXT's characters,
                                            as the EUDC editor keeps characters a code page
                                            lacks

CHARSET is big5, sjis or latin: the code pages the OS/2 table claims, from which
Windows and Wine derive the character sets a family is reported with. Names are given
in UTF-8 and stored as Unicode, in English and in Chinese (Taiwan) entries, so that a
system whose ANSI code page is 950 reports them as their Big5 bytes.
Needs python3-fonttools (Debian).
"""
import sys
from pathlib import Path

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTCollection, TTFont

# ulCodePageRange1 bits: 0 Latin 1, 17 Japanese Shift-JIS, 20 Chinese Traditional (Big5).
CODE_PAGES = {"latin": 1 << 0, "sjis": (1 << 0) | (1 << 17), "big5": (1 << 0) | (1 << 20)}
# A few characters of each set, so that the font covers what it claims to.
CHARACTERS = {"latin": "AB", "sjis": "AB\u3042\u4e00", "big5": "AB\u4e00\u8a31"}
LANGUAGES = (0x0409, 0x0404)  # English (US), Chinese (Taiwan)
# The private use area where EUDC characters live, U+E000 to U+F8FF.
EUDC_FIRST, EUDC_SIZE = 0xE000, 6400


def rectangle_glyph(width=500, height=700):
    pen = TTGlyphPen(None)
    pen.moveTo((100, 0))
    pen.lineTo((100, height))
    pen.lineTo((100 + width, height))
    pen.lineTo((100 + width, 0))
    pen.closePath()
    return pen.glyph()


def square_glyph():
    return rectangle_glyph()


def eudc_glyph(code_point):
    n = code_point - EUDC_FIRST
    return rectangle_glyph(150 + 60 * (n % 8), 250 + 60 * (n // 8 % 8))


def empty_glyph():
    return TTGlyphPen(None).glyph()


def make_font(path, family, charset, postscript, code_points=None, glyph=None):
    if code_points is None:
        code_points = [ord(c) for c in CHARACTERS[charset]]
    glyph_names = [".notdef"] + [f"g{c:04X}" for c in code_points]
    builder = FontBuilder(1000, isTTF=True)
    builder.setupGlyphOrder(glyph_names)
    builder.setupCharacterMap({c: f"g{c:04X}" for c in code_points})
    glyph = glyph or (lambda code_point: square_glyph())
    glyphs = {".notdef": empty_glyph()}
    glyphs.update({f"g{c:04X}": glyph(c) for c in code_points})
    builder.setupGlyf(glyphs)
    builder.setupHorizontalMetrics({name: (700, 100) for name in glyph_names})
    builder.setupHorizontalHeader(ascent=800, descent=-200)
    builder.setupOS2(ulCodePageRange1=CODE_PAGES[charset], ulCodePageRange2=0,
                     sTypoAscender=800, sTypoDescender=-200, usWinAscent=800, usWinDescent=200)
    builder.setupPost()
    builder.setupNameTable({"familyName": family, "styleName": "Regular", "psName": postscript}, mac=False)
    names = builder.font["name"]
    for language in LANGUAGES[1:]:
        for name_id, text in ((1, family), (2, "Regular"), (4, family), (6, postscript)):
            names.setName(text, name_id, 3, 1, language)
    builder.save(str(path))


def open_source(source):
    """SOURCE, or the font named NAME of the collection SOURCE#NAME."""
    path, _, name = source.partition("#")
    if not name:
        return TTFont(path)
    for font in TTCollection(path).fonts:
        if font["name"].getDebugName(1) == name:
            return font
    sys.exit(f"{path} holds no font named {name!r}")


def make_copied_font(path, source, text):
    """A font of the source's glyphs for TEXT, outlines decomposed, from U+E000 up, at the
    source's own size and advances; its name table says what it was made from."""
    font = open_source(source)
    source_map, glyphs_of = font.getBestCmap(), font.getGlyphSet()
    code_points = range(EUDC_FIRST, EUDC_FIRST + len(text))
    glyph_names = [".notdef"] + [f"g{c:04X}" for c in code_points]
    glyphs, metrics = {".notdef": empty_glyph()}, {".notdef": (font["head"].unitsPerEm, 0)}
    for code_point, character in zip(code_points, text):
        if ord(character) not in source_map:
            sys.exit(f"{source} has no glyph for {character} (U+{ord(character):04X})")
        name = source_map[ord(character)]
        recording = DecomposingRecordingPen(glyphs_of)
        glyphs_of[name].draw(recording)
        pen = TTGlyphPen(None)
        recording.replay(pen)
        glyph = pen.glyph()
        xs = [x for x, _ in glyph.coordinates] or [0]
        glyphs[f"g{code_point:04X}"] = glyph
        metrics[f"g{code_point:04X}"] = (font["hmtx"][name][0], min(xs))
    builder = FontBuilder(font["head"].unitsPerEm, isTTF=True)
    builder.setupGlyphOrder(glyph_names)
    builder.setupCharacterMap({c: f"g{c:04X}" for c in code_points})
    builder.setupGlyf(glyphs)
    builder.setupHorizontalMetrics(metrics)
    ascent, descent = font["hhea"].ascent, font["hhea"].descent
    builder.setupHorizontalHeader(ascent=ascent, descent=descent)
    builder.setupOS2(ulCodePageRange1=CODE_PAGES["big5"], ulCodePageRange2=0, sTypoAscender=ascent,
                     sTypoDescender=descent, usWinAscent=ascent, usWinDescent=-descent)
    builder.setupPost()
    notice = (f"Glyphs of {font['name'].getDebugName(4)} ({font['name'].getDebugName(0)}), copied to U+E000 "
              f"and after by tools/make_fonts.py when the build made this file")
    builder.setupNameTable({"familyName": "EUDC", "styleName": "Regular", "psName": "EUDC",
                            "copyright": notice}, mac=False)
    builder.save(str(path))


def bench_families(count):
    charsets = ("big5", "latin", "sjis", "latin")
    return [(f"Bench {i:05d}", charsets[i % 4]) for i in range(count)]


def main(argv):
    if len(argv) == 4 and argv[1] == "--eudc":
        count = int(argv[3])
        if not 0 <= count <= EUDC_SIZE:
            sys.exit(f"COUNT is 0 to {EUDC_SIZE}, the characters from U+E000 to U+F8FF")
        make_font(Path(argv[2]), "EUDC", "big5", "EUDC", range(EUDC_FIRST, EUDC_FIRST + count), eudc_glyph)
        return
    if len(argv) == 5 and argv[1] == "--eudc-from":
        make_copied_font(Path(argv[3]), argv[2], argv[4])
        return
    if len(argv) < 3:
        sys.exit(__doc__)
    folder = Path(argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    if argv[2] == "--count":
        fonts = bench_families(int(argv[3]))
    else:
        fonts = [tuple(argument.rsplit("=", 1)) for argument in argv[2:]]
    for index, (family, charset) in enumerate(fonts):
        if charset not in CODE_PAGES:
            sys.exit(f"unknown character set {charset!r}: big5, sjis or latin")
        make_font(folder / f"gen{index:05d}.ttf", family, charset, f"Gen{index:05d}")


if __name__ == "__main__":
    main(sys.argv)
