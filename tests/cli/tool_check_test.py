#!/usr/bin/env python3
"""letterwire-cli check and --stencil against shapely, which measures alone.

For a table of texts, faces, sizes, angles and styles, the drawing dxf
writes is read back with ezdxf and measured by shapely:
- thinnest material: the smallest disc radius r at which buffer(-r) changes
  the ink's shape (a part splits off or vanishes, a ring breaks), found by
  bisection; twice it must be the check's figure within max(0.005 mm, 2 %);
- narrowest gap: the same with buffer(+r) (parts join, a counter closes, a
  pocket is sealed off);
- islands: the parts of a sheet around the drawing less the ink, but the
  outside, counted exactly ("BOB 8" has 7, "出口 回" 3);
- --stencil 0.5: no island left, every bridge cuts a strip at least 0.5 mm
  wide across the whole stroke, runs from the island's hole to its letter's
  outside, and is no longer than twice the shortest way across the stroke
  (shapely's distance from the hole to the outer contour); the drawing still
  passes the cut-ready orientation rules;
- status: a tool wider than a stroke is status 1 naming the character, a
  tool that fits 0; the --report JSON validates against
  docs/tool-report.schema.json.

Usage: tool_check_test.py LETTERWIRE-CLI SCHEMA [--all]
"""
import collections
import functools
import json
import math
import os
import re
import subprocess
import sys
import tempfile

import ezdxf
import jsonschema
from ezdxf.path import make_path
from fontTools.pens.recordingPen import RecordingPen
from fontTools.ttLib import TTFont
from shapely import affinity
from shapely.geometry import LinearRing, LineString, MultiLineString, Point, Polygon, box

cli, schema_path = sys.argv[1], sys.argv[2]
everything = "--all" in sys.argv
schema = json.load(open(schema_path, encoding="utf-8"))
failures = []

CLASSIC_BAR = ["--precision", "classic", "--italic"]
# text, font, size, angle, extra options, islands (None: not counted here)
CASES = [
    ("BOB 8", "DejaVu Sans", 24, 0, [], 7),
    ("BOB 8 Ag", "DejaVu Serif", 24, 30, [], 9),
    ("出口 回", "IPAGothic", 24, 0, [], 3),
    ("出口 回 図", "IPAMincho", 24, 0, ["--bold"], None),
    ("BOB 8", "DejaVu Sans", 6, 0, ["--width", "50"], 7),
    ("Ag", "DejaVu Serif", 24, 0, ["--offset", "0.1"], None),
    ("出口 回", "IPAGothic", 24, 30, ["--offset", "-0.1"], 3),
    # The classic grid with a bar and italic: strokes that touch the bar or
    # each other only at a point seal pockets no hole bounds.
    ("縦o8", "@IPAGothic", 36, 30, CLASSIC_BAR + ["--mirror", "y", "--spacing", "6", "--bold", "--underline"], 7),
    ("縦o8", "@IPAGothic", 36, 0, CLASSIC_BAR + ["--mirror", "y", "--spacing", "-2", "--width", "50", "--bold",
                                               "--underline", "--arc", "40", "--arc-at", "90"], 7),
    ("縦o8", "@IPAGothic", 36, 0, CLASSIC_BAR + ["--mirror", "y", "--spacing", "6", "--bold", "--underline"], None),
    ("出口 回", "IPAGothic", 24, 30, CLASSIC_BAR + ["--bold", "--strikeout"], None),
    ("BOB 8 Ag", "DejaVu Sans", 24, 0, CLASSIC_BAR + ["--underline"], None),
    ("BOB 8 Ag", "DejaVu Serif", 24, 0, CLASSIC_BAR + ["--strikeout"], None),
    # The bar seals a bay of the g's sheet at 1.09 mm while a counter
    # closes further on: the sheet's part count comes back to what it was.
    ("BOB 8 Ag", "DejaVu Serif", 36, 30, CLASSIC_BAR + ["--mirror", "y", "--strikeout"], None),
]
if everything:
    CASES += [
        ("BOB 8 Ag", "DejaVu Sans", 144, 0, ["--precision", "0.05"], None),
        ("出口 回 図", "IPAGothic", 6, 30, [], None),
        ("Ag", "DejaVu Serif", 144, 30, ["--bold", "--precision", "0.05"], None),
    ]


def run(args, check=True):
    return subprocess.run([cli] + args, capture_output=True, check=check)


def rings_of_dxf(args):
    with tempfile.NamedTemporaryFile(suffix=".dxf") as f:
        run(["dxf", f.name] + args)
        doc = ezdxf.readfile(f.name)
    return [[tuple(p) for p in e.get_points("xy")] for e in doc.modelspace().query("LWPOLYLINE")]


def ink_of(rings):
    """The even-odd fill of rings that never cross: nested as they are."""
    polygons = sorted((Polygon(r) for r in rings), key=lambda p: -p.area)
    return functools.reduce(lambda a, b: a.symmetric_difference(b), polygons, Polygon())


def parts_of(g):
    return [p for p in (list(getattr(g, "geoms", [g])) if not g.is_empty else []) if p.area > 1e-9]


def frame_of(ink, margin=1.0):
    x0, y0, x1, y1 = ink.bounds
    return box(x0 - margin, y0 - margin, x1 + margin, y1 + margin)


def totals_of(g):
    parts = parts_of(g)
    return (len(parts), sum(len(p.interiors) for p in parts))


def shape_of(g, base):
    """How many parts of g, and how many holes in them, lie in each part of
    base: a part that splits, vanishes or loses a ring changes it, though
    the totals may stay (a bay sealed off as another counter closes)."""
    counts = [[0, 0] for _ in base]
    for p in parts_of(g):
        inside = p.representative_point()
        k = next((k for k, b in enumerate(base) if b.contains(inside)), None)
        if k is None:
            return None
        counts[k][0] += 1
        counts[k][1] += len(p.interiors)
    return counts


def first_change(ink, sign, top):
    """The smallest radius at which buffer(sign * r) changes the ink's shape
    (sign -1) or the sheet's around it (sign +1). The shape need not change
    for good, so the radius climbs in small steps before the bisection."""
    # Far enough out that no disc tried closes the sheet around the text.
    frame = frame_of(ink, top + 1)
    side = ink if sign < 0 else frame.difference(ink)
    base = parts_of(side)
    want = (totals_of(ink), shape_of(side, base))

    def changed(r):
        grown = ink.buffer(sign * r, resolution=32)
        return (totals_of(grown), shape_of(grown if sign < 0 else frame.difference(grown), base)) != want

    lo, hi = 0.0, 5e-4
    while hi < top and not changed(hi):
        lo, hi = hi, hi * 1.15
    while hi - lo > 2e-4:
        mid = (lo + hi) / 2
        if changed(mid):
            hi = mid
        else:
            lo = mid
    return hi


def islands_of(ink):
    sheet = frame_of(ink).difference(ink)
    return len(list(getattr(sheet, "geoms", [sheet]))) - 1


def close(a, b):
    return abs(a - b) <= max(0.005, 0.02 * b)


def report_of(args, tool=None):
    with tempfile.NamedTemporaryFile(suffix=".json") as f:
        extra = ["--tool", str(tool)] if tool else []
        done = run(["check", "--report", f.name] + extra + args, check=False)
        report = json.load(open(f.name, encoding="utf-8"))
    jsonschema.validate(report, schema)
    return done, report


for text, font, size, angle, extra, islands in CASES:
    args = ["--text", text, "--font", font, "--size", str(size), "--angle", str(angle)] + extra
    name = f"{text!r} {font} {size} pt {angle}° {' '.join(extra)}"
    ink = ink_of(rings_of_dxf(args))
    done, report = report_of(args)
    x0, y0, x1, y1 = ink.bounds
    top = max(x1 - x0, y1 - y0)
    thinnest = 2 * first_change(ink, -1, top)
    narrowest = 2 * first_change(ink, +1, top)
    if not close(report["thinnestMaterial"]["width"], thinnest):
        failures.append(f"{name}: thinnest material {report['thinnestMaterial']['width']} mm, shapely {thinnest:.4f}")
    if not close(report["narrowestGap"]["width"], narrowest):
        failures.append(f"{name}: narrowest gap {report['narrowestGap']['width']} mm, shapely {narrowest:.4f}")
    print(f"{name}: material {report['thinnestMaterial']['width']} (shapely {thinnest:.4f}), gap "
          f"{report['narrowestGap']['width']} (shapely {narrowest:.4f}), {len(report['islands'])} islands")
    counted = islands_of(ink)
    if len(report["islands"]) != counted or (islands is not None and counted != islands):
        failures.append(f"{name}: {len(report['islands'])} islands, shapely {counted}, expected {islands}")

    # A tool wider than the thinnest stroke fails and names a character of
    # the text; one narrower than both figures passes.
    w = min(report["thinnestMaterial"]["width"], report["narrowestGap"]["width"])
    done, wide = report_of(args, tool=round(report["thinnestMaterial"]["width"] * 1.2, 4))
    if done.returncode != 1 or not wide["materialTooThin"] or wide["materialTooThin"][0]["character"] not in text:
        failures.append(f"{name}: a tool too wide gave status {done.returncode}: {done.stdout!r}")
    elif wide["materialTooThin"][0]["character"] not in done.stdout.decode():
        failures.append(f"{name}: the failure does not name its character: {done.stdout!r}")
    done, narrow = report_of(args, tool=round(w * 0.8, 4)) if w > 0.001 else (None, None)
    if narrow is not None and (done.returncode != 0 or not narrow["fits"]):
        failures.append(f"{name}: a tool that fits gave status {done.returncode}: {done.stdout!r}")

    # The stencil of the same drawing.
    if not report["islands"]:
        continue
    stencil = args + ["--stencil", "0.5"]
    rings = rings_of_dxf(stencil)
    after = ink_of(rings)
    if islands_of(after) != 0:
        failures.append(f"{name}: --stencil 0.5 leaves {islands_of(after)} islands")
    for r in rings:
        # The cut-ready orientation: outer counter-clockwise, holes clockwise.
        inside = sum(1 for s in rings if s is not r and Polygon(s).contains(Point(r[0])))
        ccw = LinearRing(r).is_ccw
        if ccw != (inside % 2 == 0):
            failures.append(f"{name}: a stencil contour turns the wrong way")
            break
    # Where a bridge meets the stroke it leaves no stub of ink thinner than
    # itself, unless the letters were thinner to begin with. Strokes under
    # a quarter of the bridge (6 pt at half width), and the pockets between
    # a strike-out and a bowl on the classic grid, narrower than the bridge
    # with a counter beside them, leave no place for one that leaves none.
    left = 2 * first_change(after, -1, top)
    forced = thinnest < 0.5 / 4 or ("--strikeout" in extra and "classic" in extra)
    if not forced and left < min(0.5, thinnest) - max(0.005, 0.02 * min(0.5, thinnest)):
        failures.append(f"{name}: --stencil 0.5 leaves material {left:.4f} mm thin, the letters {thinnest:.4f}")
    _, checked = report_of(stencil)
    if checked["islands"] or len(checked["bridges"]) < len(report["islands"]):
        failures.append(f"{name}: stencil check {len(checked['islands'])} islands, {len(checked['bridges'])} bridges")
    before = [LinearRing(r) for r in rings_of_dxf(args)]
    holes = [r for r in before if not r.is_ccw]
    outers = [r for r in before if r.is_ccw]
    for b in checked["bridges"]:
        a, z = Point(b["from"]), Point(b["to"])
        length = a.distance(z)
        if length == 0:
            # A pocket sealed where two contours touch opens there: the ink
            # is cut back by the bridge's width every way round the touch.
            if sum(1 for r in before if r.distance(a) < 0.01) < 2:
                failures.append(f"{name}: a bridge of no length away from any touch, at {b['from']}")
            left = a.buffer(0.5 * 0.98, resolution=32).intersection(after).area
            if left > 1e-4:
                failures.append(f"{name}: a touch opened narrower than 0.5 mm: {left:.5f} mm² of ink left")
            continue
        hole = min(holes, key=lambda r: r.distance(a))
        # To its letter's outside, or to a hole walled in with it that a
        # bridge of its own opens to the outside.
        outer = min(outers + [h for h in holes if h is not hole], key=lambda r: r.distance(z))
        if hole.distance(a) > 0.01 or outer.distance(z) > 0.01:
            failures.append(f"{name}: a bridge does not run from a hole to an outer contour "
                            f"({hole.distance(a):.4f}, {outer.distance(z):.4f} mm off)")
        shortest = hole.distance(outer)
        if length > 2 * shortest + 0.01:
            failures.append(f"{name}: a bridge {length:.3f} mm long where the stroke is {shortest:.3f} mm across")
        strip = LineString([a, z]).buffer(0.5 * 0.98 / 2, cap_style=2)
        left = strip.intersection(ink).intersection(after).area
        if left > 1e-4:
            failures.append(f"{name}: a bridge narrower than 0.5 mm somewhere: {left:.5f} mm² of ink left in it")

# --curves: the deviation bound is what the arc fit guarantees, half the
# grid step, where every contour keeps its curve; the DXF's arcs lie within
# it of the font's curves, as the SVG writes them (and as fontTools reads
# them, for a single glyph placed where the SVG has it).
def svg_rings(path):
    d = re.search(r' d="([^"]*)"', open(path, encoding="utf-8").read()).group(1)
    rings, ring, at, points = [], [], None, []
    for command, numbers in re.findall(r"([MCLZ])([^MCLZ]*)", d):
        xy = [float(v) for v in re.findall(r"-?[0-9.]+(?:e-?[0-9]+)?", numbers)]
        points = [(xy[k], -xy[k + 1]) for k in range(0, len(xy), 2)]
        if command == "M":
            ring, at = [points[0]], points[0]
        elif command == "L":
            ring += points
            at = points[-1]
        elif command == "C":
            for k in range(0, len(points), 3):
                c = [at] + points[k:k + 3]
                for i in range(1, 129):
                    t = i / 128
                    u = 1 - t
                    ring.append(tuple(u**3 * c[0][j] + 3 * u * u * t * c[1][j] + 3 * u * t * t * c[2][j] + t**3 * c[3][j]
                                      for j in (0, 1)))
                at = points[k + 2]
        else:
            rings.append(LineString(ring + [ring[0]]))
            ring = []
    return MultiLineString(rings)


def font_rings(font, char):
    """The glyph's outline as fontTools reads it, in font units."""
    file = subprocess.run(["fc-match", font, "--format=%{file}"], capture_output=True, text=True).stdout
    face = TTFont(file)
    pen = RecordingPen()
    face.getGlyphSet()[face.getBestCmap()[ord(char)]].draw(pen)
    rings, ring, at = [], [], None
    for op, args in pen.value:
        if op == "moveTo":
            ring, at = [args[0]], args[0]
        elif op in ("lineTo", "qCurveTo", "curveTo"):
            if op == "lineTo":
                ring.append(args[0])
            else:
                # Quadratic splines through implied on-points, or one cubic.
                controls = list(args)
                segments = [(at, *controls)] if op == "curveTo" else []
                if op == "qCurveTo":
                    start = at
                    for k in range(len(controls) - 1):
                        end = controls[k + 1] if k == len(controls) - 2 else \
                            tuple((controls[k][j] + controls[k + 1][j]) / 2 for j in (0, 1))
                        segments.append((start, controls[k], end))
                        start = end
                for c in segments:
                    n = len(c) - 1
                    for i in range(1, 257):
                        t = i / 256
                        ring.append(tuple(sum(math.comb(n, m) * (1 - t) ** (n - m) * t ** m * c[m][j]
                                              for m in range(n + 1)) for j in (0, 1)))
            at = ring[-1]
        elif op in ("closePath", "endPath"):
            rings.append(LineString(ring + [ring[0]]))
    return MultiLineString(rings)


def dxf_lines(args):
    with tempfile.NamedTemporaryFile(suffix=".dxf") as f:
        run(["dxf", f.name] + args)
        doc = ezdxf.readfile(f.name)
    return MultiLineString([LineString([(v.x, v.y) for v in make_path(e).flattening(1e-5)])
                            for e in doc.modelspace().query("LWPOLYLINE")])


# text, font, size, precision in mm, every contour keeps its curve
CURVES = [
    ("O", "DejaVu Sans", 24, 0.01, True),
    ("g", "DejaVu Serif", 36, 0.05, True),
    ("BOB 8 Ag", "DejaVu Serif", 24, 0.02, True),
    ("出口 回", "IPAGothic", 24, 0.05, True),
    # The bar merges with the letters it crosses: those stay polylines.
    ("BOB", "DejaVu Sans", 24, 0.05, False),
]
for text, font, size, precision, kept in CURVES:
    args = ["--text", text, "--font", font, "--size", str(size), "--precision", str(precision), "--curves"]
    args += [] if kept else ["--strikeout"]
    name = f"--curves {text!r} {font} {size} pt at {precision} mm"
    _, report = report_of(args)
    bound = report["deviationBound"]
    _, plain = report_of([a for a in args if a != "--curves"])
    want = precision / 2 if kept else plain["deviationBound"]
    if not (want * 0.98 <= bound <= want + 1e-4):
        failures.append(f"{name}: deviation bound {bound} mm, the fit guarantees {want:.4f}")
    with tempfile.NamedTemporaryFile(suffix=".svg") as f:
        run(["svg", f.name] + args)
        exact = svg_rings(f.name)
    if len(text) == 1:
        # The SVG's curves are the font's: fontTools' outline, scaled and
        # moved onto them by the bounds, lies on them.
        ours = font_rings(font, text)
        ox0, oy0, ox1, oy1 = ours.bounds
        x0, y0, x1, y1 = exact.bounds
        k = (x1 - x0) / (ox1 - ox0)
        moved = affinity.affine_transform(ours, [k, 0, 0, k, x0 - k * ox0, y0 - k * oy0])
        if abs((y1 - y0) - k * (oy1 - oy0)) > 1e-4 or moved.hausdorff_distance(exact) > 1e-4:
            failures.append(f"{name}: the SVG's curves are not fontTools' outline "
                            f"({moved.hausdorff_distance(exact):.5f} mm apart)")
    # Ring by ring, each with the curve of the nearest bounds: all against
    # all would take minutes.
    def nearest(r):
        return min(exact.geoms, key=lambda e: sum(abs(a - b) for a, b in zip(e.bounds, r.bounds)))
    apart = max(r.hausdorff_distance(nearest(r)) for r in dxf_lines(args).geoms)
    print(f"{name}: arcs within {apart:.5f} mm of the curves, bound {bound}")
    if apart > bound + 1e-4:
        failures.append(f"{name}: the arcs lie {apart:.5f} mm from the font's curves, beyond the bound {bound}")

# Each island is named for the character whose glyph holds it, whatever the
# layout: as many per character as shapely counts in that character alone
# (the glyphs spaced apart, so that none adds a pocket to another's).
NAMED = [
    ("o8回B", "@IPAGothic", ["--spacing", "40"]),
    ("o8回B", "IPAGothic", ["--arc", "40", "--arc-at", "90"]),
    ("o8回B", "@IPAGothic", ["--spacing", "40", "--arc", "80", "--mirror", "y"]),
    ("BOB 8 Ag", "DejaVu Serif", ["--angle", "30", "--italic", "--precision", "classic"]),
]
alone = {}
for text, font, extra in NAMED:
    _, report = report_of(["--text", text, "--font", font, "--size", "36"] + extra)
    got = collections.Counter(i["character"] for i in report["islands"])
    want = collections.Counter()
    for c in set(text) - {" "}:
        if (c, font) not in alone:
            alone[c, font] = islands_of(ink_of(rings_of_dxf(["--text", c, "--font", font, "--size", "36"])))
        want[c] = alone[c, font] * text.count(c)
    want = +want
    if got != want:
        failures.append(f"{text!r} {font} {' '.join(extra)}: islands named {dict(got)}, the glyphs hold {dict(want)}")

# More bridges per island: as many as asked where the island is long
# enough to spread them, and still no island.
_, two = report_of(["--text", "BOB 8 回", "--font", "DejaVu Sans", "--stencil", "0.5", "--stencil-bridges", "2"])
if two["islands"] or len(two["bridges"]) != 2 * 9:
    failures.append(f"--stencil-bridges 2: {len(two['islands'])} islands, {len(two['bridges'])} bridges for 9")

# Bad values: a usage error naming the option, status 2, nothing written.
BAD = [
    (["check", "--tool", "0"], "--tool"),
    (["check", "--tool", "-1"], "--tool"),
    (["check", "--tool", "x"], "--tool"),
    (["check", "--tool", "101"], "--tool"),
    (["check", "--check", "1"], "--tool"),
    (["dxf", "OUT", "--tool", "1"], "--tool"),
    (["jw", "c.txt", "OUT", "--check", "1"], "--check"),
    (["dxf", "OUT", "--stencil", "0"], "--stencil"),
    (["svg", "OUT", "--stencil", "0.5", "--no-merge"], "--stencil"),
    (["dxf", "OUT", "--stencil-bridges", "2"], "--stencil-bridges"),
    (["dxf", "OUT", "--stencil", "0.5", "--stencil-bridges", "0"], "--stencil-bridges"),
    (["dxf", "OUT", "--stencil", "0.5", "--stencil-bridges", "1.5"], "--stencil-bridges"),
    (["dxf", "OUT", "--report", "REPORT"], "--report"),
    (["dxf", "OUT", "--check", "1", "--report", "-"], "--report"),
    (["dxf", "OUT", "--check", "1", "--report", "OUT"], "--report"),
]
with tempfile.TemporaryDirectory() as folder:
    for args, option in BAD:
        args = [a.replace("OUT", f"{folder}/out").replace("REPORT", f"{folder}/r.json") for a in args]
        done = run(args, check=False)
        if done.returncode != 2 or option not in done.stderr.decode() or os.listdir(folder):
            failures.append(f"{args}: status {done.returncode}, {done.stderr!r}, wrote {os.listdir(folder)}")

# batch: each row's check column replaces the command line's --check; a row
# whose tool does not fit is still written, said by its line, and the batch
# ends in 1; a stencil row has the bytes of the single run.
with tempfile.TemporaryDirectory() as folder:
    rows = f"{folder}/rows.csv"
    with open(rows, "w", encoding="utf-8") as f:
        f.write(f"{folder}/wide.dxf,BOB 8,24,DejaVu Sans,0,,,5\n{folder}/fits.svg,BOB 8,24,DejaVu Sans,0,,,0.01\n")
    done = run(["batch", rows, "--check", "0.01", "--stencil", "0.5"], check=False)
    said = done.stderr.decode()
    single = f"{folder}/single.dxf"
    run(["dxf", single, "--text", "BOB 8", "--size", "24", "--font", "DejaVu Sans", "--stencil", "0.5"])
    if done.returncode != 1 or "line 1" not in said or "does not fit a 5.000 mm tool" not in said \
            or "line 2: fits a 0.010 mm tool" not in said:
        failures.append(f"batch check: status {done.returncode}: {said!r}")
    elif open(f"{folder}/wide.dxf", "rb").read() != open(single, "rb").read():
        failures.append("batch --stencil: the row's drawing differs from the single run's")

for f in failures:
    print("FAIL:", f)
print(f"{len(CASES)} cases, {len(failures)} failures")
sys.exit(1 if failures else 0)
