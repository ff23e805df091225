#!/usr/bin/env python3
"""Makes a small TrueType font whose glyphs hold overlapping contours, as
variable and script fonts do: "X" is two bars crossing (each its own
contour, both reaching below the baseline through the underline), "O" a ring.

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


def glyph(draw):
    pen = TTGlyphPen(None)
    draw(pen)
    return pen.glyph()


def main(path):
    fb = FontBuilder(UPM, isTTF=True)
    names = [".notdef", "space", "X", "O"]
    fb.setupGlyphOrder(names)
    fb.setupCharacterMap({0x20: "space", ord("X"): "X", ord("O"): "O"})
    glyphs = {
        ".notdef": glyph(lambda p: bar(p, 100, 0, 100, 700, 50)),
        "space": glyph(lambda p: None),
        "X": glyph(lambda p: (bar(p, 80, -200, 620, 700, 70), bar(p, 620, -200, 80, 700, 70))),
        "O": glyph(lambda p: (ring(p, 350, 350, 330, True), ring(p, 350, 350, 200, False),
                              bar(p, 350, -150, 350, 760, 60))),
    }
    fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics({n: (700 if n in ("X", "O") else 500, 0) for n in names})
    fb.setupHorizontalHeader(ascent=900, descent=-250)
    fb.setupNameTable({"familyName": "Letterwire Overlap Test", "styleName": "Regular"})
    fb.setupOS2(sTypoAscender=900, sTypoDescender=-250, usWinAscent=900, usWinDescent=250,
                yStrikeoutPosition=300, yStrikeoutSize=50)
    fb.setupPost(underlinePosition=-100, underlineThickness=50)
    fb.save(path)


if __name__ == "__main__":
    main(sys.argv[1])
