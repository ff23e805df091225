#!/usr/bin/env python3
"""letterwire-cli --centreline against the strokes a font was made from.

A TrueType font is built here (fontTools' FontBuilder) whose glyphs are the
union of shapely's round buffers of known polylines of known widths: a bar,
a bent stroke, a T, a cross, crossing diagonals, a ring and an arc. For a
table of glyphs, sizes, angles and mirrors, the centreline capture writes
(in mm) must hold, away from the strokes' ends, bends and junctions (one
stroke width round each):
- every point within max(0.02 mm, 10 % of the stroke width) of a true
  stroke, and its width within the same of the stroke's;
- every true stroke covered, within the same tolerance;
- no whisker: a line ends only within one stroke width of a stroke's end,
  and each free end of a stroke has a line ending within the tolerance;
- as few lines as the strokes' graph allows (half its odd junctions).
On installed faces (DejaVu, IPA): no line shorter than half its stroke's
width, and one line for a letter of one stroke ("I", "l", "一").
The DXF of the same is read by ezdxf (audit clean, open LWPOLYLINEs only,
the capture's points) and GDAL (line strings); with --curves its arcs lie
within half the grid step of those points.

Usage: centreline_test.py LETTERWIRE-CLI
"""
import json
import math
import os
import subprocess
import sys
import tempfile

import ezdxf
import ezdxf.path
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from shapely.geometry import LineString, MultiLineString, Point
from shapely.geometry.polygon import orient
from shapely.ops import unary_union

cli = sys.argv[1]
failures = []
checks = 0
UPM = 1000


def check(ok, what):
    global checks
    checks += 1
    if not ok:
        failures.append(what)


def circle(cx, cy, r, start, end, steps):
    return [(cx + r * math.cos(math.radians(start + (end - start) * k / steps)),
             cy + r * math.sin(math.radians(start + (end - start) * k / steps))) for k in range(steps + 1)]


# Each glyph: its character, its strokes (polyline in font units, width),
# and how many lines its centreline takes at least.
GLYPHS = {
    "I": ([([(300, 0), (300, 700)], 100)], 1),
    "L": ([([(150, 700), (150, 0), (550, 0)], 80)], 1),
    "T": ([([(80, 700), (620, 700)], 90), ([(350, 700), (350, 0)], 90)], 2),
    "+": ([([(80, 380), (620, 380)], 50), ([(350, 20), (350, 740)], 110)], 2),
    "X": ([([(100, 0), (600, 700)], 80), ([(100, 700), (600, 0)], 80)], 2),
    "O": ([(circle(350, 350, 300, 0, 360, 72), 70)], 1),
    "C": ([(circle(400, 350, 300, 45, 315, 54), 60)], 1),
}


def glyph_of(strokes):
    ink = unary_union([LineString(points).buffer(width / 2, resolution=16) for points, width in strokes])
    pen = TTGlyphPen(None)
    for poly in getattr(ink, "geoms", [ink]):
        poly = orient(poly, sign=-1.0)  # TrueType: outer contours clockwise
        for ring in [poly.exterior] + list(poly.interiors):
            points = []
            for x, y in list(ring.coords)[:-1]:
                p = (round(x), round(y))
                if not points or points[-1] != p:
                    points.append(p)
            if len(points) > 1 and points[0] == points[-1]:
                points.pop()
            pen.moveTo(points[0])
            for p in points[1:]:
                pen.lineTo(p)
            pen.closePath()
    return pen.glyph(), round(ink.bounds[0])


def write_font(path):
    names = [".notdef", "space"] + [f"g{ord(c)}" for c in GLYPHS]
    fb = FontBuilder(UPM, isTTF=True)
    fb.setupGlyphOrder(names)
    fb.setupCharacterMap({0x20: "space", **{ord(c): f"g{ord(c)}" for c in GLYPHS}})
    empty = TTGlyphPen(None).glyph()
    made = {f"g{ord(c)}": glyph_of(s) for c, (s, _) in GLYPHS.items()}
    fb.setupGlyf({".notdef": empty, "space": empty, **{n: g for n, (g, _) in made.items()}})
    # The left side bearing is the glyph's own left edge, so the glyph
    # stands where its coordinates say.
    fb.setupHorizontalMetrics({n: (700, made[n][1] if n in made else 0) for n in names})
    fb.setupHorizontalHeader(ascent=900, descent=-200)
    fb.setupNameTable({"familyName": "Letterwire Strokes", "styleName": "Regular"})
    fb.setupOS2(sTypoAscender=900, sTypoDescender=-200, usWinAscent=900, usWinDescent=200)
    fb.setupPost()
    fb.save(path)


def placed(strokes, em_mm, angle, mirror):
    """The true strokes in mm where the drawing puts them."""
    s, a = em_mm / UPM, math.radians(angle)
    out = []
    for points, width in strokes:
        moved = []
        for x, y in points:
            x, y = x * s, y * s
            x, y = x * math.cos(a) - y * math.sin(a), x * math.sin(a) + y * math.cos(a)
            moved.append((-x, y) if mirror == "x" else (x, -y) if mirror == "y" else (x, y))
        out.append((moved, width * s))
    return out


def special_points(strokes):
    """Ends, bends and meeting places of the strokes, each with the width
    round it that the centreline need not follow there."""
    found = []
    for i, (points, width) in enumerate(strokes):
        closed = math.dist(points[0], points[-1]) < 1e-9
        if not closed:
            found += [(points[0], width), (points[-1], width)]
        for k in range(1, len(points) - 1):
            (ax, ay), (bx, by), (cx, cy) = points[k - 1], points[k], points[k + 1]
            turn = abs(math.atan2((bx - ax) * (cy - by) - (by - ay) * (cx - bx), (bx - ax) * (cx - bx) + (by - ay) * (cy - by)))
            if turn > math.radians(15):
                found.append(((bx, by), width))
        for other, w2 in strokes[i + 1:]:
            meet = LineString(points).intersection(LineString(other))
            for g in getattr(meet, "geoms", [meet]):
                if not g.is_empty:
                    found.append(((g.x, g.y) if g.geom_type == "Point" else g.coords[0], max(width, w2)))
    return found


def free_ends(strokes):
    """Stroke ends that meet no other stroke."""
    ends = []
    for i, (points, width) in enumerate(strokes):
        if math.dist(points[0], points[-1]) < 1e-9:
            continue
        for end in (points[0], points[-1]):
            if all(LineString(o).distance(Point(end)) > w / 2 for j, (o, w) in enumerate(strokes) if j != i):
                ends.append((end, width))
    return ends


def capture(args):
    r = subprocess.run([cli, "capture", "--centreline"] + args, capture_output=True, timeout=120)
    if r.returncode != 0:
        return None, r.stderr.decode()
    return json.loads(r.stdout.decode("utf-8")), r.stderr.decode()


def along(line, step):
    """Points every `step` along a line, its vertices among them."""
    out = []
    for a, b in zip(line, line[1:]):
        n = max(1, math.ceil(math.dist(a, b) / step))
        out += [(a[0] + (b[0] - a[0]) * k / n, a[1] + (b[1] - a[1]) * k / n) for k in range(n)]
    return out + [line[-1]]


def check_case(font_path, text, size, angle, mirror):
    what = f"{text!r} {size} pt, angle {angle}, mirror {mirror}"
    args = ["--font-file", font_path, "--text", text, "--size", str(size), "--angle", str(angle)]
    if mirror:
        args += ["--mirror", mirror]
    got, err = capture(args)
    check(got is not None, f"{what}: capture failed: {err}")
    if got is None:
        return
    em_mm = size * 25.4 / 72
    strokes, least = GLYPHS[text]
    true = placed(strokes, em_mm, angle, mirror)
    tol = lambda w: max(0.02, 0.1 * w)  # noqa: E731
    true_lines = [(LineString(p), w) for p, w in true]
    zones = [(Point(p), w) for p, w in special_points(true)]

    def near_special(p):
        return any(z.distance(p) <= w for z, w in zones)

    lines, widths = got["lines"], got["widths"]
    check(got["lineCount"] == least, f"{what}: {got['lineCount']} lines, the strokes take {least}")
    check(all(len(l) == len(w) for l, w in zip(lines, widths)), f"{what}: a width for every point")
    # Every point (and every step between) near a true stroke, its width too.
    worst_off, worst_width = 0.0, 0.0
    for line, ws in zip(lines, widths):
        for (x, y), w in zip(line, ws):
            p = Point(x, y)
            if near_special(p):
                continue
            d, truth = min((l.distance(p), tw) for l, tw in true_lines)
            worst_off = max(worst_off, d - tol(truth))
            worst_width = max(worst_width, abs(w - truth) - tol(truth))
        for x, y in along(line, 0.01):
            p = Point(x, y)
            if not near_special(p):
                d, truth = min((l.distance(p), tw) for l, tw in true_lines)
                worst_off = max(worst_off, d - tol(truth))
    check(worst_off <= 0, f"{what}: a centreline point lies {worst_off:.4f} mm beyond the tolerance from every stroke")
    check(worst_width <= 0, f"{what}: a width is off by {worst_width:.4f} mm beyond the tolerance")
    # Every true stroke covered.
    drawn = MultiLineString([l for l in lines if len(l) >= 2])
    uncovered = 0.0
    for points, w in true:
        for x, y in along(points, 0.01):
            p = Point(x, y)
            if not near_special(p):
                uncovered = max(uncovered, drawn.distance(p) - tol(w))
    check(uncovered <= 0, f"{what}: a stroke lies {uncovered:.4f} mm beyond the tolerance from every line")
    # Lines end where strokes end, and every free end has a line's end.
    ends = [Point(l[0]) for l in lines if math.dist(l[0], l[-1]) > 1e-9] + \
           [Point(l[-1]) for l in lines if math.dist(l[0], l[-1]) > 1e-9]
    stroke_ends = [(Point(p[0]), w) for p, w in true if math.dist(p[0], p[-1]) > 1e-9] + \
                  [(Point(p[-1]), w) for p, w in true if math.dist(p[0], p[-1]) > 1e-9]
    for e in ends:
        check(any(e.distance(s) <= w for s, w in stroke_ends),
              f"{what}: a line ends at ({e.x:.3f}, {e.y:.3f}), far from every stroke's end (a whisker)")
    for p, w in free_ends(true):
        gap = min((Point(p).distance(e) for e in ends), default=math.inf)
        check(gap <= tol(w), f"{what}: the stroke end at ({p[0]:.3f}, {p[1]:.3f}) has no line ending within "
                             f"{tol(w):.3f} mm (nearest {gap:.3f})")
    return got


def check_curves(font_path, folder):
    """--curves: the DXF's arcs (bulges, flattened by ezdxf) within half the
    0.01 mm grid step of the lines without them, both ways (shapely's
    Hausdorff distance), with fewer vertices; Release 12 the same."""
    args = ["--font-file", font_path, "--text", "OCTX", "--size", "36", "--centreline"]
    for version in ("2000", "r12"):
        made = []
        for extra in ([], ["--curves"]):
            out = os.path.join(folder, f"curves-{version}-{len(extra)}.dxf")
            r = subprocess.run([cli, "dxf", out, "--dxf-version", version] + args + extra, capture_output=True,
                               timeout=120)
            check(r.returncode == 0, f"dxf {version} {extra}: {r.stderr.decode()}")
            if r.returncode != 0:
                return
            doc = ezdxf.readfile(out)
            auditor = doc.audit()
            check(not auditor.has_errors and not auditor.has_fixes, f"dxf {version} {extra}: ezdxf's audit finds faults")
            entities = list(doc.modelspace().query("LWPOLYLINE POLYLINE"))
            check(not any(e.closed if e.dxftype() == "LWPOLYLINE" else e.is_closed for e in entities),
                  f"dxf {version} {extra}: a closed polyline")
            lines = [[(v.x, v.y) for v in ezdxf.path.make_path(e).flattening(0.0002)] for e in entities]
            vertices = sum(len(e) if e.dxftype() == "LWPOLYLINE" else len(e.vertices) for e in entities)
            made.append((lines, vertices))
        (plain, n_plain), (arced, n_arced) = made
        apart = MultiLineString(plain).hausdorff_distance(MultiLineString(arced))
        check(len(plain) == len(arced) and apart <= 0.005 + 1e-6 and n_arced < n_plain,
              f"dxf {version} --curves: {len(arced)} lines for {len(plain)}, {apart:.4f} mm from the points "
              f"(at most 0.005), {n_arced} vertices for {n_plain}")


def check_readers(font_path, folder):
    """The DXF holds the capture's lines, each an open LWPOLYLINE; ezdxf's
    audit finds nothing; GDAL reads line strings."""
    dxf = os.path.join(folder, "T.dxf")
    args = ["--font-file", font_path, "--text", "T+", "--size", "36"]
    r = subprocess.run([cli, "dxf", dxf, "--centreline"] + args, capture_output=True, timeout=120)
    check(r.returncode == 0, f"dxf --centreline failed: {r.stderr.decode()}")
    got, _ = capture(args)
    if r.returncode != 0 or got is None:
        return
    doc = ezdxf.readfile(dxf)
    auditor = doc.audit()
    check(not auditor.has_errors and not auditor.has_fixes, "ezdxf's audit of the centreline's DXF finds faults")
    entities = list(doc.modelspace())
    check(all(e.dxftype() == "LWPOLYLINE" and not e.closed for e in entities), "the DXF holds other than open LWPOLYLINEs")
    read = [[(round(x, 6), round(y, 6)) for x, y, *_ in e.get_points()] for e in entities]
    want = [[(round(x, 6), round(y, 6)) for x, y in line] for line in got["lines"]]
    check(read == want, "the DXF's polylines are not the capture's lines")
    r = subprocess.run(["ogr2ogr", "-f", "GeoJSON", "/vsistdout/", dxf], capture_output=True, timeout=120)
    features = json.loads(r.stdout)["features"] if r.returncode == 0 else []
    check(len(features) == len(want) and all(f["geometry"]["type"] == "LineString" for f in features),
          f"GDAL reads {len(features)} features, not {len(want)} line strings")


# Installed faces: no line shorter than half its stroke's width (a whisker),
# and the lines a letter of one stroke takes.
REAL = [("BOB 8", "DejaVu Sans", 24, None), ("出口", "IPAGothic", 24, None), ("出口", "IPAMincho", 36, None),
        ("I", "DejaVu Sans", 24, 1), ("l", "DejaVu Sans", 12, 1), ("一", "IPAGothic", 24, 1),
        ("I", "DejaVu Serif", 24, None)]


def check_real(text, face, size, count):
    what = f"{text!r} in {face} at {size} pt"
    got, err = capture(["--font", face, "--text", text, "--size", str(size)])
    check(got is not None, f"{what}: capture failed: {err}")
    if got is None:
        return
    if count is not None:
        check(got["lineCount"] == count, f"{what}: {got['lineCount']} lines, not {count}")
    for line, ws in zip(got["lines"], got["widths"]):
        length = LineString(line).length
        width = sorted(ws)[len(ws) // 2]
        check(length >= width / 2, f"{what}: a line {length:.3f} mm long where the stroke is {width:.3f} mm wide")


def main():
    folder = tempfile.mkdtemp(prefix="letterwire-centreline-")
    font_path = os.path.join(folder, "strokes.ttf")
    write_font(font_path)
    cases = [(c, 72, 0, None) for c in GLYPHS] + [
        ("T", 12, 0, None), ("O", 12, 0, None), ("+", 24, 30, None), ("X", 36, 0, "x"), ("C", 36, 200, "y"),
        ("L", 8, 0, None)]
    for case in cases:
        check_case(font_path, *case)
    check_readers(font_path, folder)
    check_curves(font_path, folder)
    for case in REAL:
        check_real(*case)
    for f in failures:
        print("FAIL:", f)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
