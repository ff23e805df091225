#!/usr/bin/env python3
"""letterwire-cli dxf/svg --curves against readers no one here wrote.

For a table of texts, faces, sizes, styles and angles at the 0.01 mm grid:
- the SVG's Béziers are the font's outline: the polyline DXF (the flattened
  capture) lies within the grid step of them, ring by ring;
- every point of the DXF's arcs (flattened by ezdxf) lies within the step of
  the Béziers, and every point of the Béziers within the step of the arcs;
- ezdxf's audit is clean, and ezdxf and GDAL find the curved drawing's
  extents within the step of the polyline drawing's;
- merged, the curved drawing has the same contours as the polyline one,
  each within the step;
- the drawings say the size of what they hold: the DXF's $EXTMIN and
  $EXTMAX and the SVG's viewBox (read by an XML parser) are the exact box of
  the written arcs and Béziers (worked out here from their ends, bulges and
  controls, where a curve turns along x or y), not of the points beneath;
- for round letters the arcs take at most a third of the polyline's vertices;
- the Béziers are the font file's own outline as fontTools reads it (every
  on-curve point a TrueType outline leaves implied at its exact midpoint),
  at any size, within a tenth of the step.

Usage: curves_test.py LETTERWIRE-CLI

The cases run in as many processes as there are processors.
"""
import json
import math
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from concurrent.futures import ProcessPoolExecutor

import ezdxf
from ezdxf import bbox
from ezdxf.path import make_path
from fontTools.pens.basePen import BasePen
from fontTools.ttLib import TTFont
from shapely.geometry import LineString

cli = sys.argv[1]
STEP = 0.01
# Each process's own tally, handed back by run_case.
failures = []
checks = 0


def check(ok, what):
    global checks
    checks += 1
    if not ok:
        failures.append(what)


def run(args):
    return subprocess.run([cli] + args, capture_output=True, check=True).stdout


def dxf_of(args):
    with tempfile.NamedTemporaryFile(suffix=".dxf") as f:
        run(["dxf", f.name] + args)
        doc = ezdxf.readfile(f.name)
        ogr = subprocess.run(["ogr2ogr", "-f", "GeoJSON", "-lco", "COORDINATE_PRECISION=17", "/vsistdout/", f.name],
                             capture_output=True)
    return doc, ogr


def rings_of(doc):
    """Each polyline as a closed ring of points, arcs flattened by ezdxf."""
    out, vertices = [], 0
    for e in doc.modelspace().query("LWPOLYLINE"):
        vertices += len(e)
        pts = [(v.x, v.y) for v in make_path(e).flattening(STEP / 50)]
        out.append(pts + [pts[0]])
    return out, vertices


def cubic(p0, p1, p2, p3, t):
    u = 1 - t
    return tuple(u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d
                 for a, b, c, d in zip(p0, p1, p2, p3))


def arc_box_points(p0, p1, bulge):
    """The arc's ends and the points where it runs along x or y."""
    (x0, y0), (x1, y1) = p0, p1
    if bulge == 0 or (x0, y0) == (x1, y1):
        return [p0, p1]
    # The centre, from the chord's middle along its left normal.
    k = (1 - bulge * bulge) / (4 * bulge)
    cx, cy = (x0 + x1) / 2 - (y1 - y0) * k, (y0 + y1) / 2 + (x1 - x0) * k
    r = math.hypot(x0 - cx, y0 - cy)
    sweep, start = 4 * math.atan(bulge), math.atan2(y0 - cy, x0 - cx)
    out = [p0, p1]
    for q in range(-8, 9):
        if 0 < (q * math.pi / 2 - start) / sweep < 1:
            out.append((cx + r * math.cos(q * math.pi / 2), cy + r * math.sin(q * math.pi / 2)))
    return out


def cubic_box_points(p0, p1, p2, p3):
    """The cubic's ends and the points where its x or y turns."""
    out = [p0, p3]
    for axis in (0, 1):
        a0, a1, a2, a3 = p0[axis], p1[axis], p2[axis], p3[axis]
        a, b, c = a3 - 3 * a2 + 3 * a1 - a0, 2 * (a2 - 2 * a1 + a0), a1 - a0
        if abs(a) < 1e-15:
            roots = [-c / b] if b else []
        elif b * b - 4 * a * c < 0:
            roots = []
        else:
            root = math.sqrt(b * b - 4 * a * c)
            roots = [(-b + root) / (2 * a), (-b - root) / (2 * a)]
        out += [cubic(p0, p1, p2, p3, t) for t in roots if 0 < t < 1]
    return out


def box_of(points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return (min(xs), min(ys), max(xs), max(ys))


def dxf_written_box(doc):
    """The exact box of the polylines' segments and arcs."""
    points = []
    for e in doc.modelspace().query("LWPOLYLINE"):
        vs = [(x, y, b) for x, y, b in e.get_points("xyb")]
        for i, (x, y, b) in enumerate(vs):
            nx, ny, _ = vs[(i + 1) % len(vs)]
            points += arc_box_points((x, y), (nx, ny), b)
    return box_of(points) if points else None


def dxf_header_box(doc):
    low, high = doc.header["$EXTMIN"], doc.header["$EXTMAX"]
    return (low[0], low[1], high[0], high[1])


def svg_boxes(text):
    """The viewBox, and the exact box of the path's lines and Béziers (y down)."""
    root = ET.fromstring(text)
    view = tuple(float(v) for v in root.get("viewBox").split())
    d = root.find("{http://www.w3.org/2000/svg}path").get("d")
    points, at = [], None
    for command, numbers in re.findall(r"([MLCZ])([^MLCZ]*)", d):
        values = [float(v) for v in re.findall(r"-?[0-9.]+(?:e-?[0-9]+)?", numbers)]
        pts = [(values[i], values[i + 1]) for i in range(0, len(values), 2)]
        if command in "ML":
            points.append(pts[0])
            at = pts[0]
        elif command == "C":
            points += cubic_box_points(at, pts[0], pts[1], pts[2])
            at = pts[2]
    box = box_of(points) if points else (0, 0, 0, 0)
    return (view[0], view[1], view[0] + view[2], view[1] + view[3]), box


def svg_rings(args, text=None):
    """The path's subpaths as rings, y up, each Bézier densely sampled."""
    text = text if text is not None else run(["svg", "-"] + args)
    d = re.search(r' d="([^"]*)"', text.decode()).group(1)
    rings, ring, at = [], None, None
    for command, numbers in re.findall(r"([MLCZ])([^MLCZ]*)", d):
        values = [float(v) for v in re.findall(r"-?[0-9.]+(?:e-?[0-9]+)?", numbers)]
        pts = [(values[i], -values[i + 1]) for i in range(0, len(values), 2)]
        if command == "M":
            ring, at = [pts[0]], pts[0]
        elif command == "L":
            ring.append(pts[0])
            at = pts[0]
        elif command == "C":
            length = math.dist(at, pts[0]) + math.dist(pts[0], pts[1]) + math.dist(pts[1], pts[2])
            n = max(8, int(length / (STEP / 10)))
            ring.extend(cubic(at, pts[0], pts[1], pts[2], i / n) for i in range(1, n + 1))
            at = pts[2]
        else:
            rings.append(ring + [ring[0]])
    return rings, d.count("C")


def worst_distance(rings_a, rings_b):
    """The largest Hausdorff distance of rings paired in order."""
    if len(rings_a) != len(rings_b):
        return math.inf
    return max((LineString(a).hausdorff_distance(LineString(b)) for a, b in zip(rings_a, rings_b)), default=0)


def extents(doc):
    box = bbox.extents(doc.modelspace())
    return (box.extmin.x, box.extmin.y, box.extmax.x, box.extmax.y)


def ogr_extents(ogr):
    if ogr.returncode != 0:
        return None
    xs, ys = [], []
    for f in json.loads(ogr.stdout.decode())["features"]:
        for x, y, *_ in f["geometry"]["coordinates"]:
            xs.append(x)
            ys.append(y)
    return (min(xs), min(ys), max(xs), max(ys))


def close(a, b, within):
    return a is not None and b is not None and all(abs(p - q) <= within for p, q in zip(a, b))


CASES = [
    # text, face, size, extra options, round letters (vertex count checked)
    ("O", "DejaVu Sans", 24, [], True),
    ("S", "DejaVu Serif", 24, [], True),
    ("gjpqy", "DejaVu Sans", 72, ["--underline"], False),
    ("gjpqy", "DejaVu Serif", 24, ["--italic", "--angle", "30"], False),
    ("出口_gy", "IPAGothic", 24, ["--underline", "--strikeout"], False),
    ("回図", "IPAMincho", 24, [], False),
    ("oSe", "DejaVu Sans", 144, [], True),
    ("BOB 出口 8", "IPAGothic", 1, [], False),
    # Copies of a glyph read one fit, each moved to where it lies.
    ("ooo SSS", "DejaVu Sans", 24, [], True),
    ("回回 図図 gg", "IPAGothic", 2, [], False),
    # The curves turn over with a mirrored drawing.
    ("S", "DejaVu Serif", 24, ["--mirror", "x", "--anchor", "centre"], True),
    ("oSe", "DejaVu Sans", 24, ["--mirror", "y", "--angle", "20"], True),
]

def run_case(case):
    """One case, merged or not: its checks, failures and log line."""
    global checks
    (text, face, size, extra, round_letters), merge = case
    checks = 0
    failures.clear()
    name = f"{text!r} {face} {size} pt {' '.join(extra)}"
    base = ["--text", text, "--font", face, "--size", str(size)] + extra
    label = name + (" unmerged" if merge else " merged")
    plain, plain_ogr = dxf_of(base + merge)
    curved, curved_ogr = dxf_of(base + merge + ["--curves"])
    plain_rings, plain_vertices = rings_of(plain)
    arc_rings, arc_vertices = rings_of(curved)
    svg_text = run(["svg", "-"] + base + merge + ["--curves"])
    bezier_rings, curves = svg_rings(None, svg_text)

    check(len(curved.audit().errors) == 0, f"{label}: ezdxf audit errors")
    check(len(arc_rings) == len(plain_rings) == len(bezier_rings),
          f"{label}: {len(arc_rings)} curved, {len(bezier_rings)} svg and {len(plain_rings)} polyline contours")
    d = worst_distance(plain_rings, bezier_rings)
    check(d <= STEP, f"{label}: the polyline lies {d:.5f} mm from the Béziers")
    d = worst_distance(arc_rings, bezier_rings)
    check(d <= STEP, f"{label}: the arcs lie {d:.5f} mm from the Béziers")
    check(close(extents(curved), extents(plain), STEP),
          f"{label}: ezdxf extents {extents(curved)} against {extents(plain)}")
    check(close(ogr_extents(curved_ogr), ogr_extents(plain_ogr), STEP),
          f"{label}: GDAL extents {ogr_extents(curved_ogr)} against {ogr_extents(plain_ogr)}")
    # DXF numbers read back exactly; the SVG's are rounded to the nanometre.
    for what, doc in (("polyline", plain), ("curved", curved)):
        check(close(dxf_header_box(doc), dxf_written_box(doc), 1e-9),
              f"{label}: {what} DXF extents {dxf_header_box(doc)}, its arcs span {dxf_written_box(doc)}")
    view, written = svg_boxes(svg_text)
    check(close(view, written, 2.5e-6), f"{label}: SVG viewBox {view}, its Béziers span {written}")
    if merge:
        check(curves > 0, f"{label}: the SVG holds no Béziers")
    if round_letters and merge:
        check(3 * arc_vertices <= plain_vertices,
              f"{label}: {arc_vertices} vertices with arcs against {plain_vertices} without")
    return checks, list(failures), f"{label}: {arc_vertices} / {plain_vertices} vertices"


class PointsPen(BasePen):
    """A glyph's points in millimetres: the ends of its segments (an implied
    on-curve point at its exact midpoint, as BasePen splits a TrueType
    curve) and the controls of each curve as a cubic."""

    def __init__(self, glyphs, scale):
        super().__init__(glyphs)
        self.scale, self.ends, self.controls = scale, [], []

    def _mm(self, p):
        return (p[0] * self.scale, p[1] * self.scale)

    def _moveTo(self, p):
        self.ends.append(self._mm(p))

    def _lineTo(self, p):
        self.ends.append(self._mm(p))

    def _qCurveToOne(self, q, p):
        p0 = self._getCurrentPoint()
        self._curveToOne(tuple(a + 2 / 3 * (b - a) for a, b in zip(p0, q)),
                         tuple(a + 2 / 3 * (b - a) for a, b in zip(p, q)), p)

    def _curveToOne(self, c1, c2, p):
        self.controls += [self._mm(c1), self._mm(c2)]
        self.ends.append(self._mm(p))


def svg_points(args):
    """The path's segment ends and cubic controls, y up."""
    d = re.search(r' d="([^"]*)"', run(["svg", "-"] + args).decode()).group(1)
    ends, controls = [], []
    for command, numbers in re.findall(r"([MLCZ])([^MLCZ]*)", d):
        values = [float(v) for v in re.findall(r"-?[0-9.]+(?:e-?[0-9]+)?", numbers)]
        pts = [(values[i], -values[i + 1]) for i in range(0, len(values), 2)]
        if command == "C":
            controls += pts[:2]
        ends += pts[-1:]
    return ends, controls


def farthest(points, others):
    """The largest distance from a point of one set to the nearest of the other."""
    return max((min(math.dist(p, q) for q in others) for p in points), default=math.inf)


# One letter each, so its pen stands at the origin: TrueType faces whose
# outlines leave on-curve points implied, at sizes where a point half a font
# unit off shows, and a face whose outlines leave none.
EXACT_CASES = [
    # letter, face, size (pt)
    ("O", "DejaVu Sans", 288),
    ("S", "DejaVu Sans", 144),
    ("g", "DejaVu Serif", 288),
    ("@", "DejaVu Sans", 1000),
    ("8", "DejaVu Sans Mono", 72),
    ("の", "IPAGothic", 288),
]


def run_exact(case):
    """The SVG's Béziers against the font file's outline, point for point."""
    letter, face, size = case
    args = ["--text", letter, "--font", face, "--size", str(size), "--precision", str(STEP), "--no-merge"]
    font_file = json.loads(run(["capture"] + args[:6]).decode("utf-8"))["file"]
    font = TTFont(font_file, fontNumber=0)
    glyphs = font.getGlyphSet()
    pen = PointsPen(glyphs, size * 25.4 / 72 / font["head"].unitsPerEm)
    glyphs[font.getBestCmap()[ord(letter)]].draw(pen)
    ends, controls = svg_points(args + ["--curves"])
    worst = max(farthest(ends, pen.ends), farthest(pen.ends, ends),
                farthest(controls, pen.controls), farthest(pen.controls, controls))
    within = STEP / 10
    what = (f"{letter!r} {face} {size} pt: {len(ends)} points and {len(controls)} controls, the font file's "
            f"{len(pen.ends)} and {len(pen.controls)}, {worst:.6f} mm apart (at most {within})")
    return 1, [] if worst <= within else [what], what


if __name__ == "__main__":
    # The largest sizes first, so no long case starts last.
    jobs = sorted(((case, merge) for case in CASES for merge in ([], ["--no-merge"])), key=lambda j: -j[0][2])
    total, failed = 0, []
    with ProcessPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
        for n, fails, log in [*pool.map(run_case, jobs), *pool.map(run_exact, EXACT_CASES)]:
            total += n
            failed += fails
            print(log, file=sys.stderr)
    for f in failed:
        print("FAIL", f)
    print(f"{total} checks, {len(failed)} failures")
    sys.exit(1 if failed else 0)
