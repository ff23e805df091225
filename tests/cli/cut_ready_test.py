#!/usr/bin/env python3
"""letterwire-cli dxf against an oracle no one here wrote (shapely).

For a table of texts, faces, sizes, styles and angles:
- merged (the default): no two shapes overlap, no contour crosses itself,
  outer contours counter-clockwise and holes clockwise (y up), and the area
  equals the nonzero-filled area of the captured figures within 1e-6;
- merged and --no-merge alike: no repeated point, no closing repeat, no
  contour of fewer than three points or of no area, and the drawing's
  nonzero area is the capture's (a figure crossing itself into lobes that
  cancel, its signed area 0, keeps its ink);
- merged, every contour is a simple ring by GEOS's rules (shapely's
  explain_validity), also where the ink's edge touches itself at a point;
- --offset: every point of the offset contours lies the offset away from the
  merged outline, within the grid step; a hole closes once the offset passes
  its half-width.

Usage: cut_ready_test.py LETTERWIRE-CLI TEST-FONT-DIR
"""
import itertools
import json
import os
import subprocess
import sys
import tempfile

import ezdxf
from shapely.geometry import LinearRing, MultiLineString, Point, Polygon
from shapely.ops import unary_union
from shapely.validation import explain_validity

from ink import nonzero_region, signed_area

cli, font_dir = sys.argv[1], os.path.abspath(sys.argv[2])
failures = []
checks = 0

# The test font (made by make_overlap_font.py) is found through the user's
# font folder of a throwaway home.
home = tempfile.mkdtemp(prefix="lw-cut-")
os.makedirs(os.path.join(home, "fonts"))
for name in os.listdir(font_dir):
    if name.endswith(".ttf"):
        os.symlink(os.path.join(font_dir, name), os.path.join(home, "fonts", name))
env = dict(os.environ, XDG_DATA_HOME=home, XDG_CACHE_HOME=os.path.join(home, "cache"), HOME=home)


def run(args):
    return subprocess.run([cli] + args, capture_output=True, check=True, env=env).stdout


def contours_of_dxf(args):
    with tempfile.NamedTemporaryFile(suffix=".dxf") as f:
        run(["dxf", f.name] + args)
        doc = ezdxf.readfile(f.name)
    out = []
    for e in doc.modelspace().query("LWPOLYLINE"):
        out.append(([tuple(p) for p in e.get_points("xy")], e.closed))
    return out


def captured_figures(args):
    capture = json.loads(run(["capture", "--units", "mm"] + args))
    return [[tuple(p) for p in f] for f in capture["figures"]]


def nonzero_area(rings):
    return nonzero_region(rings).area


def check(ok, what):
    global checks
    checks += 1
    if not ok:
        failures.append(what)


def check_clean(name, contours):
    for pts, closed in contours:
        check(closed, f"{name}: a polyline not flagged closed")
        repeats = sum(1 for a, b in zip(pts, pts[1:] + pts[:1]) if a == b)
        check(repeats == 0, f"{name}: {repeats} repeated points (closing repeat included)")
        check(len(set(pts)) >= 3 and signed_area(pts) != 0, f"{name}: a contour of {len(pts)} points, no area")


def shapes_of(rings):
    """Outer contours with the holes inside them."""
    outers = [Polygon(r) for r in rings if signed_area(r) > 0]
    holes = [r for r in rings if signed_area(r) < 0]
    owned = [[] for _ in outers]
    for h in holes:
        inside = [i for i, o in enumerate(outers) if o.contains(Point(h[0])) or o.buffer(1e-9).contains(Polygon(h))]
        if inside:
            owned[min(inside, key=lambda i: outers[i].area)].append(h)
    return [Polygon(o.exterior.coords, owned[i]) for i, o in enumerate(outers)], len(holes) - sum(map(len, owned))


def overlapping_pairs(polygons, total):
    """Pairs that share area, a figure standing inside another (a counter in
    its letter) not counted."""
    return sum(1 for a, b in itertools.combinations(polygons, 2)
               if a.intersects(b) and a.intersection(b).area > 1e-9 * total and not (a.contains(b) or b.contains(a)))


CASES = [
    # name, arguments
    ("gjpqy underlined", ["--text", "gjpqy", "--font", "DejaVu Sans", "--size", "72", "--underline"]),
    ("gjpqy struck out", ["--text", "gjpqy", "--font", "DejaVu Serif", "--size", "72", "--strikeout"]),
    ("italic", ["--text", "Kiwi fog", "--font", "DejaVu Serif", "--size", "48", "--italic", "--underline"]),
    ("出口_gy", ["--text", "出口_gy", "--font", "IPAGothic", "--size", "72", "--underline", "--strikeout"]),
    ("回図", ["--text", "回図", "--font", "IPAMincho", "--size", "72"]),
    ("1 pt", ["--text", "gjpqy 回", "--font", "DejaVu Sans", "--size", "1", "--underline"]),
    ("144 pt", ["--text", "Ag回", "--font", "IPAGothic", "--size", "144", "--strikeout"]),
    ("rotated", ["--text", "出口_gy", "--font", "IPAMincho", "--size", "48", "--angle", "30", "--underline"]),
    ("overlapping contours", ["--text", "XOX", "--font", "Letterwire Overlap Test", "--size", "72", "--underline"]),
    # "8": one figure of two equal lobes, one each way round: signed area 0.
    ("figure-eight", ["--text", "8X8", "--font", "Letterwire Overlap Test", "--size", "72"]),
    ("figure-eight rotated", ["--text", "8O", "--font", "Letterwire Overlap Test", "--size", "24", "--angle", "90",
                              "--underline"]),
    # "P": a counter that touches the outside at one corner.
    ("touching at a point", ["--text", "P8P", "--font", "Letterwire Overlap Test", "--size", "72"]),
    ("touching at a point rotated", ["--text", "P", "--font", "Letterwire Overlap Test", "--size", "48",
                                     "--angle", "30"]),
    # On an arc: tight inside, the glyphs' tops meet and must merge.
    ("arc inside, tight", ["--text", "WAVE回図", "--font", "IPAGothic", "--size", "48", "--arc", "-15",
                           "--underline"]),
    ("arc outside", ["--text", "gjpqy 出口", "--font", "DejaVu Sans", "--size", "36", "--arc", "25",
                     "--arc-at", "60", "--strikeout"]),
    ("arc vertical", ["--text", "縦（書）き、ー", "--font", "@IPAGothic", "--size", "36", "--arc", "-20"]),
    ("arc overlapping contours", ["--text", "XOX8P", "--font", "Letterwire Overlap Test", "--size", "48",
                                  "--arc", "15", "--fit-arc", "200"]),
]
PRECISION = "0.01"

for name, args in CASES:
    args = args + ["--precision", PRECISION]
    raw = captured_figures(args)
    merged = contours_of_dxf(args)
    check_clean(name, merged)
    unmerged = contours_of_dxf(args + ["--no-merge"])
    check_clean(name + " --no-merge", unmerged)

    rings = [pts for pts, _ in merged]
    for r in rings:
        ring = LinearRing(r)
        check(ring.is_valid, f"{name}: a merged contour is no simple ring: {explain_validity(ring)}")
    shapes, orphans = shapes_of(rings)
    check(orphans == 0, f"{name}: {orphans} clockwise contours inside no outer contour")
    want = nonzero_area(raw)
    got = nonzero_area([pts for pts, _ in unmerged])
    check(abs(got - want) <= 1e-6 * want, f"{name} --no-merge: nonzero area {got!r}, the capture's {want!r}")
    if name.startswith("figure-eight"):
        # Zero in device pixels; in millimetres up to the rounding of each point.
        eights = [r for r in raw if len(r) >= 3 and nonzero_area([r]) > 0 and
                  abs(signed_area(r)) <= 1e-9 * nonzero_area([r])]
        expected = args[args.index("--text") + 1].count("8")
        check(len(eights) == expected,
              f"{name}: {len(eights)} captured figures of signed area 0 with ink, {expected} expected")
    got = sum(s.area for s in shapes)
    check(abs(got - want) <= 1e-6 * want, f"{name}: merged area {got!r}, nonzero area of the capture {want!r}")
    pairs = overlapping_pairs(shapes, want)
    check(pairs == 0, f"{name}: {pairs} merged shapes overlap")
    raw_pairs = overlapping_pairs([Polygon(r) for r in raw if len(r) >= 3], want)
    print(f"{name}: {len(raw)} figures, {raw_pairs} overlapping pairs -> {len(rings)} contours, "
          f"{len(shapes)} shapes, area {got:.6f} / {want:.6f} mm²")
    if name == "gjpqy underlined":
        check(raw_pairs == 5, f"{name}: {raw_pairs} overlapping pairs captured, 5 expected")
    if name == "overlapping contours":
        check(raw_pairs >= 3, f"{name}: the test font's contours do not overlap ({raw_pairs})")

# Offsets: outward, inward, and a hole that closes; at small sizes, where
# tight curves meet the distance, far enough that the letters grow into
# each other, and inward far enough that strokes part or vanish.
def check_offset(text, face, offset, size, underline=True):
    args = ["--text", text, "--font", face, "--size", size, "--precision", PRECISION] + (["--underline"] * underline)
    base = [pts for pts, _ in contours_of_dxf(args)]
    moved = contours_of_dxf(args + ["--offset", str(offset)])
    check_clean(f"{text} --offset {offset}", moved)
    outline = MultiLineString([r + r[:1] for r in base])
    worst = max(abs(outline.distance(Point(p)) - abs(offset)) for pts, _ in moved for p in pts)
    check(worst <= float(PRECISION), f"{text} --offset {offset}: a point {worst:.4f} mm off the offset")
    shape_area = sum(s.area for s in shapes_of(base)[0])
    moved_area = sum(s.area for s in shapes_of([pts for pts, _ in moved])[0])
    check((moved_area > shape_area) == (offset > 0), f"{text} --offset {offset}: area {shape_area} -> {moved_area}")
    # Against GEOS's buffer of the merged shapes with fine round joins: the
    # areas differ by no more than the grid along the whole boundary.
    want = unary_union(shapes_of(base)[0]).buffer(offset, 64).area
    edge = sum(LinearRing(pts).length for pts, _ in moved)
    check(abs(moved_area - want) <= edge * float(PRECISION),
          f"{text} --offset {offset}: area {moved_area}, shapely's buffer {want} (boundary {edge:.2f} mm)")
    print(f"{text} --offset {offset}: {len(base)} -> {len(moved)} contours, worst {worst:.5f} mm")
    return moved


for text, face, offset, size in [("gjpqy", "DejaVu Sans", 0.3, "72"), ("gjpqy", "DejaVu Sans", -0.2, "72"),
                                 ("回", "IPAMincho", 0.5, "72"), ("編集テキスト", "IPAGothic", 0.1, "24"),
                                 ("編集テキスト", "IPAGothic", -0.1, "24"), ("Sweep", "DejaVu Serif", 1.5, "36"),
                                 ("O·Hg", "DejaVu Sans", -0.3, "24"), ("O■", "IPAGothic", -1.5, "72")]:
    check_offset(text, face, offset, size)

# Slots and holes that an offset of half their width closes exactly, or a
# little more than that: a slot ("U"), a hole ("D"), a neck above a wider
# slot that stays open as a hole of its own ("B"). The test font's glyphs
# are 600 units wide and the slots 200 (the body below "B"'s neck 400).
for text, share, holes_left in [("U", 1.0, 0), ("U", 1.2, 0), ("D", 1.0, 0), ("D", 1.2, 0), ("B", 1.2, 1),
                                ("UDB", 1.0, None), ("B", 0.9, 0)]:
    args = ["--text", text[0], "--font", "Letterwire Overlap Test", "--size", "72", "--precision", PRECISION]
    xs = [x for pts, _ in contours_of_dxf(args) for x, _ in pts]
    offset = round((max(xs) - min(xs)) / 6 * share, 6)
    moved = check_offset(text, "Letterwire Overlap Test", offset, "72", underline=False)
    if holes_left is not None:
        got = sum(1 for pts, _ in moved if signed_area(pts) < 0)
        check(got == holes_left, f"{text} --offset {offset}: {got} holes, {holes_left} expected")

# "o": its counter closes once the offset passes the counter's half-width.
args = ["--text", "o", "--font", "DejaVu Sans", "--size", "72", "--precision", PRECISION]
hole = [pts for pts, _ in contours_of_dxf(args) if signed_area(pts) < 0]
check(len(hole) == 1, f"o: {len(hole)} holes")
if hole:
    counter, low, high = Polygon(hole[0]), 0.0, 20.0
    while high - low > 0.01:
        mid = (low + high) / 2
        low, high = (mid, high) if not counter.buffer(-mid).is_empty else (low, mid)
    for offset, holes_left in [(round(low - 0.1, 2), 1), (round(low + 0.1, 2), 0)]:
        got = sum(1 for pts, _ in contours_of_dxf(args + ["--offset", str(offset)]) if signed_area(pts) < 0)
        check(got == holes_left, f"o --offset {offset} (half-width {low:.2f}): {got} holes, {holes_left} expected")
        print(f"o --offset {offset} (counter's half-width {low:.2f} mm): {got} holes")
    # Each contour moves as shapely's buffer moves it, merged or not: the
    # counter shrinks under a positive offset, the letter grows.
    outer = Polygon([pts for pts, _ in contours_of_dxf(args) if signed_area(pts) > 0][0])
    for offset in (0.5, -0.3):
        want = sorted([outer.buffer(offset, 64).area, -counter.buffer(-offset, 64).area])
        for merging in ([], ["--no-merge"]):
            moved = contours_of_dxf(args + ["--offset", str(offset)] + merging)
            got = sorted(signed_area(pts) for pts, _ in moved)
            close = len(got) == 2 and all(abs(g - w) <= 0.01 * abs(w) for g, w in zip(got, want))
            check(close, f"o --offset {offset} {' '.join(merging)}: areas {got}, shapely's buffer {want}")

for f in failures:
    print("FAIL", f)
print(f"{checks - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
