#!/usr/bin/env python3
"""letterwire-cli --arc against the font file (fontTools) and shapely.

For a table of faces, texts, radii, angles, anchors and spacings, each
glyph's placement is measured from the drawing alone: the ink's centroid and
principal axis (second moments) against the same glyph's outline read from
the font file give its turn and where its advance's middle stands. Then:
- that middle lies on the circle (|distance - |RADIUS|| within the grid step);
- the baseline is the tangent there (within 0.01 degree);
- neighbouring middles are their half advances (the font's hmtx) plus the
  spacing apart along the circle (within the grid step);
- the text's start, middle or end (by --anchor) stands at --arc-at, the
  default at the top outside and at the bottom inside;
- outside the text reads clockwise, inside counter-clockwise;
- the origin is the circle's centre, or the anchor's point on the circle;
- a text longer than the circle is a usage error that names the length it
  needs, and nothing is written.

Usage: arc_test.py LETTERWIRE-CLI
"""
import json
import math
import os
import subprocess
import sys
import tempfile

import ezdxf
from fontTools.pens.basePen import BasePen
from fontTools.ttLib import TTFont
from shapely.affinity import rotate, translate
from shapely.geometry import Polygon

from ink import nonzero_region

cli = sys.argv[1]
failures = []
checks = 0


def check(ok, what):
    global checks
    checks += 1
    if not ok:
        failures.append(what)


class FlatPen(BasePen):
    """Contours of straight segments, curves cut into many short ones."""

    def __init__(self, glyph_set):
        super().__init__(glyph_set)
        self.contours, self.current = [], []

    def _moveTo(self, p):
        self.current = [p]

    def _lineTo(self, p):
        self.current.append(p)

    def _curveToOne(self, p1, p2, p3):
        p0 = self.current[-1]
        for k in range(1, 65):
            t = k / 64
            u = 1 - t
            self.current.append(tuple(u ** 3 * a + 3 * u * u * t * b + 3 * u * t * t * c + t ** 3 * d
                                      for a, b, c, d in zip(p0, p1, p2, p3)))

    def _qCurveToOne(self, p1, p2):
        p0 = self.current[-1]
        for k in range(1, 65):
            t = k / 64
            u = 1 - t
            self.current.append(tuple(u * u * a + 2 * u * t * b + t * t * c for a, b, c in zip(p0, p1, p2)))

    def _closePath(self):
        if len(self.current) >= 3:
            self.contours.append(self.current)
        self.current = []

    _endPath = _closePath


def moments(geom):
    """Area, centroid and central second moments of a shapely (Multi)Polygon."""
    a = sx = sy = sxx = syy = sxy = 0.0
    polys = getattr(geom, "geoms", [geom])
    for poly in polys:
        for ring, sign in [(poly.exterior, 1)] + [(r, -1) for r in poly.interiors]:
            pts = list(ring.coords)[:-1]
            part = [0.0] * 6
            for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
                c = x0 * y1 - x1 * y0
                part[0] += c / 2
                part[1] += (x0 + x1) * c / 6
                part[2] += (y0 + y1) * c / 6
                part[3] += (x0 * x0 + x0 * x1 + x1 * x1) * c / 12
                part[4] += (y0 * y0 + y0 * y1 + y1 * y1) * c / 12
                part[5] += (x0 * y1 + 2 * x0 * y0 + 2 * x1 * y1 + x1 * y0) * c / 24
            s = sign * (1 if part[0] > 0 else -1)
            a, sx, sy = a + s * part[0], sx + s * part[1], sy + s * part[2]
            sxx, syy, sxy = sxx + s * part[3], syy + s * part[4], sxy + s * part[5]
    cx, cy = sx / a, sy / a
    return a, cx, cy, sxx - a * cx * cx, syy - a * cy * cy, sxy - a * cx * cy


def axis(m):
    """The principal axis's direction in degrees, and how clearly it is one."""
    _, _, _, ixx, iyy, ixy = m
    spread = math.hypot(ixx - iyy, 2 * ixy) / (ixx + iyy)
    return math.degrees(0.5 * math.atan2(2 * ixy, ixx - iyy)), spread


def run(args):
    return subprocess.run([cli] + args, capture_output=True)


def face_file(args):
    r = run(["capture"] + args)
    return json.loads(r.stdout)["file"]


def font_glyphs(path, text, size_pt):
    """Each character's advance (mm) and its ink in mm, its pen at (0, 0)."""
    font = TTFont(path, fontNumber=0)
    cmap, glyph_set, hmtx = font.getBestCmap(), font.getGlyphSet(), font["hmtx"]
    k = size_pt * 25.4 / 72 / font["head"].unitsPerEm
    out = []
    for ch in text:
        name = cmap[ord(ch)]
        pen = FlatPen(glyph_set)
        glyph_set[name].draw(pen)
        rings = [[(x * k, y * k) for x, y in c] for c in pen.contours]
        out.append((hmtx[name][0] * k, nonzero_region(rings) if rings else None))
    return out


def drawn_contours(args):
    with tempfile.NamedTemporaryFile(suffix=".dxf") as f:
        r = run(["dxf", f.name] + args)
        if r.returncode != 0:
            raise RuntimeError(r.stderr.decode())
        doc = ezdxf.readfile(f.name)
    return [[tuple(p) for p in e.get_points("xy")] for e in doc.modelspace().query("LWPOLYLINE")]


def expected_place(radius, at, along, advances, spacing, i):
    """Where glyph i's advance middle stands and its turn, by the issue's words."""
    length = sum(advances) + spacing * (len(advances) - 1)
    before = {"start": 0, "middle": length / 2, "end": length}[along]
    s = sum(advances[:i]) + spacing * i + advances[i] / 2
    # Reading clockwise outside (the angle falls), counter-clockwise inside.
    phi = math.radians(at) - (s - before) / radius
    turn = math.degrees(phi) - 90 if radius > 0 else math.degrees(phi) + 90
    r = abs(radius)
    return r * math.cos(phi), r * math.sin(phi), turn


def angle_diff(a, b, period=360.0):
    return (a - b + period / 2) % period - period / 2


STEP = 0.001
# Where a glyph stands, measured from its ink: within the grid step, and
# within the step's rounding of thin strokes, which moves even a straight
# line's ink centroid by up to 0.7 step (DejaVu Sans "L" at 144 pt).
NEAR = 1.5 * STEP
CASES = [
    # name, face, text, size, radius, --arc-at (None: default), --anchor, spacing mm or ("fit", degrees)
    ("outside, default", "DejaVu Sans", "Il1TLY", 144, 40, None, None, 0),
    ("inside, default", "DejaVu Sans", "Il1TLY", 144, -40, None, None, 0),
    ("outside, start at 150", "DejaVu Sans", "TIL7", 144, 30, 150, "baseline-left", 0),
    ("inside, end at -30", "DejaVu Sans", "TIL7", 144, -30, -30, "bottom-right", 0),
    ("outside, spaced, centre anchor", "DejaVu Sans", "IL7T", 144, 200, 45, "centre", 1.5),
    ("Japanese outside", "IPAGothic", "一リノー", 72, 50, 100, None, 0),
    ("Japanese inside, spaced", "IPAGothic", "一リノー", 72, -50, None, "top-centre", 0.8),
    ("fitted outside", "DejaVu Sans", "ILTY", 144, 60, None, None, ("fit", 120)),
    ("fitted inside, closer than the advances", "DejaVu Sans", "ILTY7", 144, -80, 200, "middle-left", ("fit", 95)),
]

for name, face, text, size, radius, at, anchor, spacing in CASES:
    args = ["--font", face, "--text", text, "--size", str(size), "--arc", str(radius), "--precision", str(STEP),
            "--no-merge"]
    if at is not None:
        args += ["--arc-at", str(at)]
    if anchor:
        args += ["--anchor", anchor]
    glyphs = font_glyphs(face_file(["--font", face, "--text", text]), text, size)
    advances = [a for a, _ in glyphs]
    if isinstance(spacing, tuple):
        args += ["--fit-arc", str(spacing[1])]
        spacing = (math.radians(spacing[1]) * abs(radius) - sum(advances)) / (len(advances) - 1)
    elif spacing:
        args += ["--spacing", f"{spacing}mm"]
    at_deg = at if at is not None else (90 if radius > 0 else 270)
    along = {"left": "start", "right": "end"}.get((anchor or "centre").split("-")[-1], "middle")
    # The origin: the circle's centre, or the anchor's point of the text.
    shift = (0.0, 0.0)
    if anchor:
        font = TTFont(face_file(["--font", face, "--text", text]), fontNumber=0)
        os2, upm = font["OS/2"], font["head"].unitsPerEm
        em = size * 25.4 / 72
        rise = {"baseline": 0, "top": os2.usWinAscent * em / upm, "bottom": -os2.usWinDescent * em / upm}.get(
            anchor.split("-")[0], (os2.usWinAscent - os2.usWinDescent) * em / upm / 2)
        r = radius + rise if radius > 0 else -radius - rise
        shift = (r * math.cos(math.radians(at_deg)), r * math.sin(math.radians(at_deg)))
    contours = [[(x + shift[0], y + shift[1]) for x, y in c] for c in drawn_contours(args)]
    # Each drawn contour goes to the glyph whose expected ink it meets most.
    expected, expected_turns = [], []
    for i, (advance, ink) in enumerate(glyphs):
        x, y, turn = expected_place(radius, at_deg, along, advances, spacing, i)
        expected_turns.append(turn)
        expected.append(translate(rotate(translate(ink, -advance / 2, 0), turn, origin=(0, 0)), x, y))
    owned = [[] for _ in glyphs]
    for c in contours:
        p = Polygon(c).buffer(0)
        owned[max(range(len(glyphs)), key=lambda i: expected[i].intersection(p).area)].append(c)
    middles = []
    for i, (advance, ink) in enumerate(glyphs):
        local = moments(translate(ink, -advance / 2, 0))
        local_axis, spread = axis(local)
        check(spread > 0.25, f"{name}: glyph {i} has no clear axis to measure its turn by ({spread:.3f})")
        drawn = moments(nonzero_region(owned[i]))
        drawn_axis, _ = axis(drawn)
        # The axes give the turn up to a half turn; the expected turn
        # settles which, and where the ink lies checks uprightness below.
        turn = angle_diff(drawn_axis - local_axis, 0, 180)
        turn += 180 * round(angle_diff(expected_turns[i] - turn, 0) / 180)
        # The advance's middle: the drawn centroid less the local one turned
        # onto the tangent there (found by a few steps from the measured
        # turn), so the axis's noise does not move it; the measured turn
        # must then be that tangent's.
        tangent = turn
        for _ in range(4):
            t = math.radians(tangent)
            mx = drawn[1] - (local[1] * math.cos(t) - local[2] * math.sin(t))
            my = drawn[2] - (local[1] * math.sin(t) + local[2] * math.cos(t))
            tangent = math.degrees(math.atan2(my, mx)) + (-90 if radius > 0 else 90)
        middles.append((mx, my, turn))
        distance = math.hypot(mx, my)
        check(abs(distance - abs(radius)) <= NEAR,
              f"{name}: glyph {i}'s middle {distance - abs(radius):+.5f} mm off the circle")
        off = angle_diff(turn, tangent)
        check(abs(off) <= 0.01, f"{name}: glyph {i}'s baseline {off:+.4f} degrees off the tangent")
        # Upright: the ink (above its baseline) lies outside an outside
        # circle and inside an inside one.
        ink_out = math.hypot(drawn[1], drawn[2]) - abs(radius)
        check(local[2] > 0 and (ink_out > 0) == (radius > 0), f"{name}: glyph {i} stands upside down")
    for i in range(len(middles) - 1):
        a0 = math.atan2(middles[i][1], middles[i][0])
        a1 = math.atan2(middles[i + 1][1], middles[i + 1][0])
        step = math.degrees(a1 - a0)
        step = angle_diff(step, 0)
        # Clockwise outside: the angle falls along the text; inside it rises.
        check((step < 0) == (radius > 0), f"{name}: glyphs {i} and {i + 1} read the wrong way round")
        along_circle = abs(math.radians(step)) * abs(radius)
        want = (advances[i] + advances[i + 1]) / 2 + spacing
        check(abs(along_circle - want) <= 2 * NEAR,
              f"{name}: glyphs {i}, {i + 1}: {along_circle:.5f} mm apart on the circle, {want:.5f} expected")
    # The anchored point of the text at --arc-at, from the first middle.
    length = sum(advances) + spacing * (len(advances) - 1)
    back = {"start": 0, "middle": length / 2, "end": length}[along] - advances[0] / 2
    first = math.atan2(middles[0][1], middles[0][0])
    anchored = math.degrees(first - back / radius)
    check(abs(angle_diff(anchored, at_deg)) * math.pi / 180 * abs(radius) <= 2 * NEAR,
          f"{name}: the text's {along} stands at {anchored:.4f} degrees, --arc-at {at_deg}")
    print(f"{name}: {len(glyphs)} glyphs measured")

# Too long for its circle: a usage error naming the length needed; nothing written.
font = TTFont(face_file(["--font", "DejaVu Sans", "--text", "W"]), fontNumber=0)
needed = 26 * font["hmtx"][font.getBestCmap()[ord("W")]][0] / font["head"].unitsPerEm * 24 * 25.4 / 72
with tempfile.TemporaryDirectory() as d:
    out = os.path.join(d, "x.svg")
    r = run(["svg", out, "--font", "DejaVu Sans", "--text", "W" * 26, "--arc", "10"])
    message = r.stderr.decode()
    check(r.returncode == 2, f"too long: status {r.returncode}, 2 expected")
    check(f"{needed:.4g} mm" in message, f"too long: {message.strip()!r} does not name {needed:.4g} mm")
    check("--arc" in message, f"too long: {message.strip()!r} does not name --arc")
    check(not os.path.exists(out), "too long: a file was written")

for f in failures:
    print("FAIL", f)
print(f"{checks - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
