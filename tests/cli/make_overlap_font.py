#!/usr/bin/env python3
"""Makes a small TrueType font whose glyphs hold overlapping contours, as
variable and script fonts do: "X" is two bars crossing (each its own
contour, both reaching below the baseline through the underline), "O" a ring.
"8" is one contour crossing itself into two lobes of equal area (its signed
area is 0 on any grid: its corners stay a rectangle's when rounded), "P" a
frame of four bars, two of which meet only at a corner, so the counter
touches the outside there. "U" is a block with a slot 200 units wide cut
from the top, "D" a frame round a hole 200 units wide, and "B" a block
whose slot is 400 units wide below a neck of 200: an offset of half those
widths closes them exactly, or the neck alone.

Usage: make_overlap_font.py OUTPUT.ttf
"""
import math
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

UPM = 1000


def bar(pen, x0, y0, x1, y1, half):
    """A straight bar of width 2 * half from (x0, y0) to (x1, y1), clockwise."""
    dx, dy = x1 - x0, y1 - y0
    length = math.hypot(dx, dy)
    nx, ny = -dy / length * half, dx / length * half
    pts = [(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)]
    if sum(a[0] * b[1] - b[0] * a[1] for a, b in zip(pts, pts[1:] + pts[:1])) > 0:
        pts.reverse()
    pen.moveTo(tuple(round(v) for v in pts[0]))
    for p in pts[1:]:
        pen.lineTo(tuple(round(v) for v in p))
    pen.closePath()


def ring(pen, cx, cy, r, clockwise):
    steps = 48
    pts = [(round(cx + r * math.cos(2 * math.pi * k / steps)), round(cy + r * math.sin(2 * math.pi * k / steps)))
           for k in range(steps)]
    if clockwise:
        pts.reverse()
    pen.moveTo(pts[0])
    for p in pts[1:]:
        pen.lineTo(p)
    pen.closePath()


def figure_eight(pen, x0, y0, x1, y1):
    """A bow tie: the diagonals of the box and its left and right sides,
    crossing at its middle into a left and a right lobe, one each way round."""
    for k, p in enumerate([(x0, y0), (x1, y1), (x1, y0), (x0, y1)]):
        (pen.lineTo if k else pen.moveTo)(p)
    pen.closePath()


def box(pen, x0, y0, x1, y1):
    """Clockwise with y up, as TrueType draws outer contours."""
    for k, p in enumerate([(x0, y0), (x0, y1), (x1, y1), (x1, y0)]):
        (pen.lineTo if k else pen.moveTo)(p)
    pen.closePath()


def polygon(pen, points):
    """Clockwise with y up."""
    for k, p in enumerate(points):
        (pen.lineTo if k else pen.moveTo)(p)
    pen.closePath()


def glyph(draw):
    pen = TTGlyphPen(None)
    draw(pen)
    return pen.glyph()


def main(path):
    fb = FontBuilder(UPM, isTTF=True)
    names = [".notdef", "space", "X", "O", "eight", "P", "U", "D", "B"]
    fb.setupGlyphOrder(names)
    fb.setupCharacterMap({0x20: "space", ord("X"): "X", ord("O"): "O", ord("8"): "eight", ord("P"): "P",
                            ord("U"): "U", ord("D"): "D", ord("B"): "B"})
    glyphs = {
        ".notdef": glyph(lambda p: bar(p, 100, 0, 100, 700, 50)),
        "space": glyph(lambda p: None),
        "X": glyph(lambda p: (bar(p, 80, -200, 620, 700, 70), bar(p, 620, -200, 80, 700, 70))),
        "O": glyph(lambda p: (ring(p, 350, 350, 330, True), ring(p, 350, 350, 200, False),
                              bar(p, 350, -150, 350, 760, 60))),
        "eight": glyph(lambda p: figure_eight(p, 50, 0, 650, 700)),
        # The top bar meets the left one at (250, 500) alone.
        "P": glyph(lambda p: (box(p, 50, 0, 650, 200), box(p, 50, 0, 250, 500), box(p, 450, 0, 650, 700),
                              box(p, 250, 500, 650, 700))),
        "U": glyph(lambda p: polygon(p, [(0, 0), (0, 700), (200, 700), (200, 200), (400, 200), (400, 700),
                                         (600, 700), (600, 0)])),
        "D": glyph(lambda p: (box(p, 0, 0, 600, 700), polygon(p, [(200, 200), (200, 500), (400, 500), (400, 200)][::-1]))),
        "B": glyph(lambda p: polygon(p, [(0, 0), (0, 700), (200, 700), (200, 600), (100, 600), (100, 200),
                                         (500, 200), (500, 600), (400, 600), (400, 700), (600, 700), (600, 0)])),
    }
    fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics({n: (700 if n in ("X", "O", "eight", "P", "U", "D", "B") else 500, 0) for n in names})
    fb.setupHorizontalHeader(ascent=900, descent=-250)
    fb.setupNameTable({"familyName": "Letterwire Overlap Test", "styleName": "Regular"})
    fb.setupOS2(sTypoAscender=900, sTypoDescender=-250, usWinAscent=900, usWinDescent=250,
                yStrikeoutPosition=300, yStrikeoutSize=50)
    fb.setupPost(underlinePosition=-100, underlineThickness=50)
    fb.save(path)


if __name__ == "__main__":
    main(sys.argv[1])
