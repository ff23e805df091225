#!/usr/bin/env python3
"""Every drawing option with every other: letterwire-cli dxf over a set of
cases that holds every pair of option values (and a sample of triples),
each checked against invariants computed without Letterwire:

- clean and oriented: merged rings are valid polygons (shapely), outer
  counter-clockwise and holes clockwise with y up, after any mirror and with
  exact curves too; every drawing's signed area is its ink, never negative;
- the ink: the nonzero area of the drawing equals that of the same text
  captured plainly (no merge, offset or curves), grown or shrunk as shapely's
  buffer grows or shrinks it when offset;
- exact curves, flattened by ezdxf, cover the same ink as the segments;
- the anchor: the drawing is the baseline-left one moved by the anchor's
  point, computed from the font file (fontTools: advances, OS/2 ascent and
  descent) with the spacing between characters, turned by the angle, and
  mirrored about it;
- the width: upright and plain, the ink runs where the font file's glyph
  bounds, advances and the width percentage put it;
- kerning and features: the advances are hb-shape's for the same features.
- the oblique: a shear keeps every area, so the ink is the upright ink's;
- the fit: the baseline-right drawing is the baseline-left one moved back
  by exactly the length asked for, along the angle (on a
  straight line);
- the stencil: no part of a sheet around the drawing less its ink is
  enclosed (shapely), and the ink is the plain ink less at most a bridge's
  strip per island.
- on an arc: an anchored drawing is the circle-centred one turned by half
  the text's length (font file's advances and the spacing) for a start or
  an end, and moved by the anchor's point on the circle; the angle is taken
  as --arc-at (the top turned by it).

Given the Windows build, each case's drawing on Linux is also compared with
the same drawing from letterwire-cli.exe under Wine (GDI itself): the ink's
box and area agree within the Linux-against-Windows tolerance.

The cases come from a fixed seed. LETTERWIRE_MATRIX=full covers every triple
of option values instead (minutes, not seconds).

Usage: option_matrix_test.py LETTERWIRE-CLI [LETTERWIRE-CLI.EXE WINE-RUN]
"""
import io
import itertools
import json
import math
import os
import random
import re
import subprocess
import sys
import tempfile

import ezdxf
from ezdxf import path as dxfpath
from fontTools.pens.boundsPen import BoundsPen
from fontTools.ttLib import TTFont
from shapely.geometry import LinearRing, MultiLineString, Point, Polygon

from ink import nonzero_region, signed_area
from stroke_oracle import apart, expected, write_fonts

cli = sys.argv[1]
windows = sys.argv[2:4]  # the Windows program and the command that runs it under Wine
full = os.environ.get("LETTERWIRE_MATRIX") == "full"
SIZE = 36  # points

# The faces and their texts: each character in the face itself, so the font
# file alone predicts the drawing; "o" has a hole, "8" two. The last file is
# the face's own bold; a face without one is thickened and keeps its advances.
DEJAVU = "/usr/share/fonts/truetype/dejavu/"
IPA_GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
FACES = [
    ("DejaVu Sans", "IoAV8", DEJAVU + "DejaVuSans.ttf", DEJAVU + "DejaVuSans-Bold.ttf"),
    ("IPAGothic", "出o8口", IPA_GOTHIC, IPA_GOTHIC),
    ("@IPAGothic", "縦o8", IPA_GOTHIC, IPA_GOTHIC),
]
ANCHORS = ["baseline-left", "top-left", "top-centre", "top-right", "middle-left", "centre", "middle-right",
           "bottom-left", "bottom-centre", "bottom-right", "baseline-centre", "baseline-right"]
# Each option's values; the first is the default.
DIMS = [
    ("face", list(range(len(FACES)))),
    ("merge", [True, False]),
    ("offset", [0.0, 0.3, -0.1]),
    ("curves", [False, True]),
    ("anchor", ANCHORS),
    ("mirror", ["none", "x", "y"]),
    ("spacing", [0.0, 6.0, -2.0]),
    ("width", [100, 50, 150]),
    ("bold", [False, True]),
    ("italic", [False, True]),
    ("bars", ["", "--underline", "--strikeout"]),
    ("angle", [0, 30, 90]),
    ("precision", ["0.01", "0.1", "classic"]),
    ("oblique", [0, 15, -20]),
    ("fit", ["", "spacing", "width"]),
    # The drawing's other forms: the same figures as Release 12 (read as
    # POLYLINE), the text as TEXT beside them; a PDF's page and an HPGL's
    # range against the DXF's box.
    ("dxf", ["2000", "r12"]),
    ("dxf_text", [False, True]),
    ("machine", ["", "pdf", "hpgl"]),
    ("stencil", [0.0, 0.5]),
    ("arc", [0, 40, -25]),
    ("shaping", ["", "kerning", "kerning,liga"]),
]
FIT_MM = 60  # wider than every text's own advance at SIZE
NAMES = [d[0] for d in DIMS]
DEFAULT = {name: values[0] for name, values in DIMS}


def covering(strength, seed, extra):
    """Cases (dicts) holding every combination of `strength` option values,
    greedily, then `extra` random ones."""
    rng = random.Random(seed)
    wanted = set()
    for dims in itertools.combinations(range(len(DIMS)), strength):
        for values in itertools.product(*(range(len(DIMS[d][1])) for d in dims)):
            wanted.add(tuple(zip(dims, values)))
    cases = []

    def held(case):
        return {combo for dims in itertools.combinations(range(len(DIMS)), strength)
                for combo in [tuple((d, case[d]) for d in dims)]}

    while wanted:
        best, gain = None, -1
        for _ in range(20):
            seed_combo = rng.choice(sorted(wanted))
            case = [None] * len(DIMS)
            for d, v in seed_combo:
                case[d] = v
            order = [d for d in range(len(DIMS)) if case[d] is None]
            rng.shuffle(order)
            for d in order:
                scores = []
                for v in range(len(DIMS[d][1])):
                    case[d] = v
                    fixed = [e for e in range(len(DIMS)) if case[e] is not None]
                    score = sum(1 for dims in itertools.combinations(fixed, strength) if d in dims
                                and tuple((e, case[e]) for e in dims) in wanted)
                    scores.append((score, rng.random(), v))
                case[d] = max(scores)[2]
            g = len(held(case) & wanted)
            if g > gain:
                best, gain = list(case), g
        wanted -= held(best)
        cases.append(best)
    for _ in range(extra):
        cases.append([rng.randrange(len(values)) for _, values in DIMS])
    return [fitted({NAMES[d]: DIMS[d][1][v] for d, v in enumerate(case)}) for case in cases]


def fitted(case):
    """A fit sets the spacing, and a fit by width the width: the command line
    refuses those with it."""
    if case["fit"]:
        case["spacing"] = 0.0
    if case["fit"] == "width":
        case["width"] = 100
    return case


def arguments(case):
    face, text = FACES[case["face"]][:2]
    a = ["--text", text, "--font", face, "--size", str(SIZE), "--precision", case["precision"]]
    # A stencil is merged whatever the case says.
    if not case["merge"] and not case["stencil"]:
        a.append("--no-merge")
    if case["stencil"]:
        a += ["--stencil", str(case["stencil"])]
    if case["offset"]:
        a += ["--offset", str(case["offset"])]
    if case["curves"]:
        a.append("--curves")
    if case["anchor"] != "baseline-left":
        a += ["--anchor", case["anchor"]]
    if case["mirror"] != "none":
        a += ["--mirror", case["mirror"]]
    if case["spacing"]:
        a += ["--spacing", str(case["spacing"])]
    if case["width"] != 100:
        a += ["--width", str(case["width"])]
    if case["bold"]:
        a.append("--bold")
    if case["italic"]:
        a.append("--italic")
    if case["bars"]:
        a.append(case["bars"])
    if case["arc"]:
        # The arc turns each character: the angle turns the text round the circle.
        a += ["--arc", str(case["arc"]), "--arc-at", str(arc_at(case))]
    elif case["angle"]:
        a += ["--angle", str(case["angle"])]
    if "kerning" in case["shaping"]:
        a.append("--kerning")
    if "liga" in case["shaping"]:
        a += ["--features", "liga"]
    if case["oblique"]:
        a += ["--oblique", str(case["oblique"])]
    if case["fit"]:
        a += ["--fit", str(FIT_MM), "--fit-by", case["fit"]]
    return a


def dxf_arguments(case):
    return (["--dxf-version", "r12"] if case["dxf"] == "r12" else []) + (["--dxf-text"] if case["dxf_text"] else [])


def arc_at(case):
    return (90 if case["arc"] > 0 else 270) + case["angle"]


drawings = {}
texts = {}


def drawing_key(case, on_windows=False):
    # The machine's file is written beside the DXF, which it leaves as it is.
    return (on_windows,) + tuple(sorted((k, v) for k, v in case.items() if k != "machine"))


def drawing(case, on_windows=False):
    """The rings of the case's DXF (exact curves flattened by ezdxf), memoised."""
    key = drawing_key(case, on_windows)
    if key not in drawings:
        command = [windows[1], windows[0]] if on_windows else [cli]
        run = subprocess.run(command + ["dxf", "-"] + arguments(case) + dxf_arguments(case), capture_output=True)
        if run.returncode != 0:
            raise RuntimeError(f"status {run.returncode}: {run.stderr.decode(errors='replace').strip()}")
        # Windows' standard output is in text mode: lines end in CR LF.
        doc = ezdxf.read(io.StringIO(run.stdout.replace(b"\r\n", b"\n").decode("cp932")))
        rings = []
        texts[key] = [(t.dxf.text, t.dxf.layer, t.dxf.height, tuple(t.dxf.insert)[:2], t.dxf.rotation)
                      for t in doc.modelspace().query("TEXT")]
        for e in doc.modelspace().query("LWPOLYLINE POLYLINE"):
            if case["curves"]:
                points = [(v.x, v.y) for v in dxfpath.make_path(e).flattening(0.002)]
                if len(points) > 1 and points[0] == points[-1]:
                    points.pop()
            elif e.dxftype() == "POLYLINE":
                points = [(v.dxf.location.x, v.dxf.location.y) for v in e.vertices]
            else:
                points = [tuple(p) for p in e.get_points("xy")]
            rings.append(points)
        drawings[key] = rings
    return drawings[key]


def offset_each(rings, distance):
    """Each ring offset alone by shapely, keeping its turning sense."""
    out = []
    for r in rings:
        if len(set(r)) < 3:
            continue
        outer = signed_area(r) > 0
        grown = Polygon(r).buffer(distance if outer else -distance, 32)
        for piece in getattr(grown, "geoms", [grown]):
            if piece.is_empty:
                continue
            # Growing can close a gap into a hole, which turns the other way.
            for ring, same in [(piece.exterior, True)] + [(hole, False) for hole in piece.interiors]:
                ring = list(ring.coords)[:-1]
                out.append(ring if (signed_area(ring) > 0) == (outer == same) else ring[::-1])
    return out


def step_of(case):
    return 25.4 / 96 if case["precision"] == "classic" else float(case["precision"])


def dpi_of(case):
    return 96.0 if case["precision"] == "classic" else max(96.0, round(25.4 / float(case["precision"])))


fonts = {}


def font(path):
    if path not in fonts:
        f = TTFont(path)
        fonts[path] = (f, f.getGlyphSet(), f.getBestCmap())
    return fonts[path]


def face_file(case):
    return FACES[case["face"]][3 if case["bold"] else 2]


def x_scale(case):
    """How far the width percentage widens the drawn face: the platform's
    average character width asked for is the designed face's times the
    percentage, whatever weight then draws it: on the classic grid in whole
    pixels, on the fine grids unrounded."""
    if case["width"] == 100:
        return 1.0
    em = round(SIZE * dpi_of(case) / 72)
    designed, drawn = font(FACES[case["face"]][2])[0], font(face_file(case))[0]
    if case["precision"] != "classic":
        return (designed["OS/2"].xAvgCharWidth / designed["head"].unitsPerEm * case["width"] / 100
                / (drawn["OS/2"].xAvgCharWidth / drawn["head"].unitsPerEm))
    average = round(designed["OS/2"].xAvgCharWidth * em / designed["head"].unitsPerEm)
    asked = max(1, round(average * case["width"] / 100))
    return asked / round(drawn["OS/2"].xAvgCharWidth * em / drawn["head"].unitsPerEm)


shaped = {}


def advances(case):
    """Each character's advance in font units: the font file's own, or with
    shaping hb-shape's (kerning within it; a cluster's advance on its first
    character). Vertical writing is never shaped."""
    text, path = FACES[case["face"]][1], face_file(case)
    f, glyphs, cmap = font(path)
    if not case["shaping"] or case["face"] == 2:
        return [f["hmtx"][cmap[ord(c)]][0] for c in text]
    # The italic face kerns on its own (its advances are the upright's).
    if case["italic"] and path.startswith(DEJAVU):
        path = path.replace(".ttf", "Oblique.ttf") if "Bold" in path else path.replace(".ttf", "-Oblique.ttf")
    key = (path, case["shaping"])
    if key not in shaped:
        wanted = ["+kern" if "kerning" in case["shaping"] else "-kern",
                  "+liga" if "liga" in case["shaping"] else "-liga", "-clig", "-calt"]
        out = subprocess.run(["hb-shape", "--output-format=json", "--features=" + ",".join(wanted), path, text],
                             capture_output=True, text=True, check=True).stdout
        per = [0] * len(text)
        for g in json.loads(out):
            per[g["cl"]] += g["ax"]
        shaped[key] = per
    return shaped[key]


def text_box(case):
    """The text's box in mm from the font file: advance (with the spacing
    between characters), ascent, descent; and the size of a device pixel, the
    most the platform's rounding may move each character."""
    text, path = FACES[case["face"]][1], face_file(case)
    f, glyphs, cmap = font(path)
    dpi = dpi_of(case)
    em = round(SIZE * dpi / 72)
    upem = f["head"].unitsPerEm
    w = x_scale(case)
    advance = sum(advances(case)) * em / upem * w
    advance += round(case["spacing"] * dpi / 72) * (len(text) - 1) if case["precision"] == "classic" \
        else case["spacing"] * dpi / 72 * (len(text) - 1)
    ascent = round(f["OS/2"].usWinAscent * em / upem)
    descent = round(f["OS/2"].usWinDescent * em / upem)
    px = 25.4 / dpi
    if case["fit"]:
        advance = FIT_MM / px
    return advance * px, ascent * px, descent * px, px


def anchor_point(case):
    advance, ascent, descent, _ = text_box(case)
    word = case["anchor"]
    middle = (ascent - descent) / 2
    up = {"top": ascent, "middle": middle, "centre": middle, "bottom": -descent}.get(word.split("-")[0], 0)
    along = advance / 2 if "centre" in word else advance if word.endswith("right") else 0
    t = math.radians(case["angle"])
    return along * math.cos(t) - up * math.sin(t), along * math.sin(t) + up * math.cos(t)


def bounds(rings):
    xs = [x for r in rings for x, _ in r]
    ys = [y for r in rings for _, y in r]
    return min(xs), min(ys), max(xs), max(ys)


failures = []
checks = 0


def check(ok, case, what):
    global checks
    checks += 1
    if not ok:
        changed = {k: v for k, v in case.items() if v != DEFAULT[k]}
        failures.append(f"{FACES[case['face']][0]} {changed}: {what}")


def islands_of(region):
    """The parts of a sheet around the ink that the ink encloses."""
    x0, y0, x1, y1 = region.bounds
    sheet = Polygon([(x0 - 1, y0 - 1), (x1 + 1, y0 - 1), (x1 + 1, y1 + 1), (x0 - 1, y1 + 1)]).difference(region)
    return len(getattr(sheet, "geoms", [sheet])) - 1


def check_case(case):
    if case["stencil"]:
        case = dict(case, merge=True)
    rings = drawing(case)
    step = step_of(case)
    check(rings, case, "no contour at all")
    if not rings:
        return
    region = nonzero_region(rings)
    perimeter = sum(LinearRing(r).length for r in rings if len(set(r)) >= 3)
    slack = perimeter * step + 1e-6

    # Clean and oriented: no point twice in a row, none closing the contour
    # again; merged, no point twice at all (a ring that touches itself is
    # refused by some readers).
    for r in rings:
        if not case["curves"]:
            check(len(r) >= 3 and all(a != b for a, b in zip(r, r[1:] + r[:1])), case,
                  f"a contour repeats a point or is short: {r[:4]}")
            if case["merge"]:
                check(len(set(r)) == len(r), case, f"a merged contour touches itself: {r[:4]}")
    total = sum(signed_area(r) for r in rings)
    check(total > 0 and abs(total - region.area) <= slack + (0 if case["merge"] else region.area * 0.5), case,
          f"signed area {total:.3f} against ink {region.area:.3f}: contours turn the wrong way")
    if case["merge"]:
        for r in rings:
            inside = sum(1 for o in rings if o is not r and len(set(o)) >= 3 and Polygon(o).contains(Polygon(r)))
            outer = inside % 2 == 0
            check((signed_area(r) > 0) == outer, case,
                  f"a{'n outer' if outer else ' hole'} contour turns {'clockwise' if outer else 'counter-clockwise'}")

    # The text beside the outline: the string, the em and the angle at the origin.
    key = drawing_key(case)
    if case["dxf_text"]:
        want = (FACES[case["face"]][1], "LETTERWIRE_TEXT", SIZE * 25.4 / 72, (0.0, 0.0), float(case["angle"]))
        got = texts[key][0] if len(texts[key]) == 1 else None
        check(got is not None and got[:2] == want[:2] and abs(got[2] - want[2]) < 0.01 * want[2] and
              got[3] == want[3] and got[4] == want[4], case, f"TEXT {texts[key]}, expected {want}")
    else:
        check(texts[key] == [], case, f"a TEXT unasked: {texts[key]}")

    # A machine's file spans the DXF's box: a PDF page within 0.01 mm
    # (pdfinfo), an HPGL's PD coordinates within 1/40 mm from the origin.
    # Arcs (AA) reach past the PD points: their range is read by hp2xx in outputs_test.
    if case["machine"] == "pdf" or (case["machine"] == "hpgl" and not case["curves"]):
        done = subprocess.run([cli, case["machine"], "-"] + arguments(case), capture_output=True)
        x0, y0, x1, y1 = bounds(rings)
        if case["machine"] == "pdf":
            info = subprocess.run(["pdfinfo", "-"], input=done.stdout, capture_output=True, text=False).stdout
            m = re.search(rb"Page size:\s+([0-9.]+) x ([0-9.]+) pts", info)
            size = (float(m.group(1)) * 25.4 / 72, float(m.group(2)) * 25.4 / 72) if m else None
            check(size and abs(size[0] - (x1 - x0)) <= 0.01 + 2 * step and abs(size[1] - (y1 - y0)) <= 0.01 + 2 * step,
                  case, f"PDF page {size} mm, the DXF's box {x1 - x0:.3f} x {y1 - y0:.3f}")
        else:
            units = [int(v) for command in re.findall(rb"P[UD]([-0-9,]+);", done.stdout) for v in command.split(b",")]
            xs, ys = units[0::2], units[1::2]
            check(xs and min(xs) == 0 and min(ys) == 0 and abs(max(xs) / 40 - (x1 - x0)) <= 1 / 40 + 2 * step and
                  abs(max(ys) / 40 - (y1 - y0)) <= 1 / 40 + 2 * step, case,
                  f"HPGL range {max(xs, default=0) / 40} x {max(ys, default=0) / 40} mm, the DXF's box "
                  f"{x1 - x0:.3f} x {y1 - y0:.3f}")

    # The ink: the plain capture's, grown or shrunk by the offset: merged,
    # the whole ink at once; kept apart, each contour on its own (outer ones
    # outward, holes inward).
    plain = dict(case, merge=False, offset=0.0, curves=False, dxf="2000", dxf_text=False, machine="")
    base = nonzero_region(drawing(plain))
    if case["offset"] and case["merge"]:
        want = base.buffer(case["offset"], 32).area
        tolerance = slack + 0.02 * want
    elif case["offset"]:
        # A contour that crosses itself (a thickened glyph's may) has no one
        # offset to compare with.
        simple = all(LinearRing(r).is_simple for r in drawing(plain) if len(set(r)) >= 3)
        want = nonzero_region(offset_each(drawing(plain), case["offset"])).area if simple else None
        tolerance = slack + 0.02 * (want or 0)
    else:
        want = base.area
        tolerance = slack + 1e-3 * want
    if case["stencil"]:
        # The bridges take ink away: at most a strip the bridge's width
        # across the thickest stroke (the em's fifth at most) per island.
        before = islands_of(nonzero_region(drawing(dict(case, stencil=0.0))))
        most = before * case["stencil"] * (SIZE * 25.4 / 72 / 5 + case["stencil"])
        check(islands_of(region) == 0, case, f"{islands_of(region)} islands left of {before}")
        if want is not None:
            check(-tolerance <= want - region.area <= most + tolerance, case,
                  f"ink {region.area:.3f} mm², expected {want:.3f} less at most {most:.3f} for {before} bridges")
    elif want is not None:
        check(abs(region.area - want) <= tolerance, case, f"ink {region.area:.3f} mm², expected {want:.3f}")

    # Exact curves cover the segments' ink.
    if case["curves"]:
        segments = nonzero_region(drawing(dict(case, curves=False)))
        apart = region.symmetric_difference(segments).area
        check(apart <= slack, case, f"curves and segments differ by {apart:.4f} mm²")

    # On an arc: the circle-centred drawing turned and moved to the anchor
    # (a vertical face's advances are not hmtx's), and mirrored.
    if case["arc"]:
        if (case["anchor"] != "baseline-left" and case["face"] != 2) or case["mirror"] != "none":
            check_arc_anchor(case, rings, step)
    # The anchor and the mirror: the baseline-left drawing moved and turned.
    elif case["anchor"] != "baseline-left" or case["mirror"] != "none":
        origin = dict(case, anchor="baseline-left", mirror="none")
        ax, ay = (0.0, 0.0) if case["face"] == 2 else anchor_point(case)
        x0, y0, x1, y1 = bounds(drawing(origin))
        x0, y0, x1, y1 = x0 - ax, y0 - ay, x1 - ax, y1 - ay
        if case["mirror"] == "x":
            x0, x1 = -x1, -x0
        elif case["mirror"] == "y":
            y0, y1 = -y1, -y0
        got = bounds(rings)
        n = len(FACES[case["face"]][1])
        tolerance = 2 * step + n * text_box(case)[3] + 1e-6
        vertical = case["face"] == 2
        for name, g, w in zip(("left", "bottom", "right", "top"), got, (x0, y0, x1, y1)):
            if not vertical:
                check(abs(g - w) <= tolerance, case, f"{name} {g:.3f} mm, expected {w:.3f} from the anchor")
        if vertical:
            # Only the mirror: the same box, turned over.
            check(abs((got[2] - got[0]) - (x1 - x0)) <= tolerance, case, "the mirror changed the width")

    # The oblique: the shear keeps the upright ink's area (on an arc each
    # glyph's own shear about its baseline).
    if case["oblique"] and not case["offset"] and not case["stencil"]:
        upright = nonzero_region(drawing(dict(case, oblique=0))).area
        check(abs(region.area - upright) <= slack + 1e-3 * upright, case,
              f"ink {region.area:.3f} mm² slanted, {upright:.3f} upright")

    # The fit: the line's advance is the length asked for.
    if case["fit"] and not case["arc"] and case["anchor"] == "baseline-left" and case["mirror"] == "none":
        right = bounds(drawing(dict(case, anchor="baseline-right")))
        t = math.radians(case["angle"])
        moved = (bounds(rings)[0] - right[0], bounds(rings)[1] - right[1])
        tolerance = 2 * step + 1e-6
        check(abs(moved[0] - FIT_MM * math.cos(t)) <= tolerance and abs(moved[1] - FIT_MM * math.sin(t)) <= tolerance,
              case, f"the advance is ({moved[0]:.4f}, {moved[1]:.4f}) mm, not {FIT_MM} mm along the line")

    # The width: upright, plain, unslanted, the font file's ink.
    if (case["angle"] == 0 and not case["arc"] and case["face"] != 2 and not case["italic"] and case["offset"] >= 0
            and not case["oblique"] and not case["fit"]
            and case["anchor"] == "baseline-left" and case["mirror"] == "none"):
        text, path = FACES[case["face"]][1], face_file(case)
        f, glyphs, cmap = font(path)
        dpi = dpi_of(case)
        em = round(SIZE * dpi / 72)
        unit = em / f["head"].unitsPerEm * 25.4 / dpi
        w = x_scale(case)
        spacing = (round(case["spacing"] * dpi / 72) if case["precision"] == "classic"
                   else case["spacing"] * dpi / 72) * 25.4 / dpi
        pen, left, right = 0.0, math.inf, -math.inf
        for c, step in zip(text, advances(case)):
            name = cmap[ord(c)]
            pen_bounds = BoundsPen(glyphs)
            glyphs[name].draw(pen_bounds)
            xmin, _, xmax, _ = pen_bounds.bounds
            left = min(left, pen + xmin * unit * w)
            right = max(right, pen + xmax * unit * w)
            pen += step * unit * w + spacing
        if case["bars"]:
            left, right = min(left, 0), max(right, pen)
        n = len(text)
        grow = case["offset"] + (SIZE / 24 * 25.4 / 72 if case["bold"] else 0)
        tolerance = 2 * step + n * 25.4 / dpi + grow + 1e-6
        got = bounds(rings)
        check(abs(got[0] - left) <= tolerance and abs(got[2] - right) <= tolerance, case,
              f"ink runs {got[0]:.3f}..{got[2]:.3f} mm, the font file puts it at {left:.3f}..{right:.3f}")


def check_arc_anchor(case, rings, step):
    """The anchored arc drawing against the unanchored one (the circle's
    centre at the origin, the text's middle at --arc-at), unmirrored."""
    text, path = FACES[case["face"]][1], face_file(case)
    f, _, cmap = font(path)
    dpi = dpi_of(case)
    em = round(SIZE * dpi / 72)
    unit = em / f["head"].unitsPerEm * 25.4 / dpi
    # The arc's advances are the font's unrounded ones (kerned with
    # --kerning), its spacing unrounded.
    length = sum(advances(case)) * unit * x_scale(case) + \
        case["spacing"] * 25.4 / 72 * (len(text) - 1)
    if case["fit"]:
        # Fitted, the line along the circle is the length asked for.
        length = FIT_MM
    radius = case["arc"]
    word = case["anchor"]
    turn = -length / 2 / radius if word.endswith("left") else length / 2 / radius if word.endswith("right") else 0
    if word == "baseline-left":  # no --anchor: the circle's centre
        turn = 0
    ascent = round(f["OS/2"].usWinAscent * em / f["head"].unitsPerEm) * 25.4 / dpi
    descent = round(f["OS/2"].usWinDescent * em / f["head"].unitsPerEm) * 25.4 / dpi
    rise = {"top": ascent, "middle": (ascent - descent) / 2, "centre": (ascent - descent) / 2,
            "bottom": -descent}.get(word.split("-")[0], 0)
    r = radius + rise if radius > 0 else -radius - rise
    at = math.radians(arc_at(case))
    px, py = (0, 0) if word == "baseline-left" else (r * math.cos(at), r * math.sin(at))
    c, s = math.cos(turn), math.sin(turn)
    # Without --anchor (the matrix's first value) the origin is the centre.
    centred = drawing(dict(case, anchor="baseline-left", mirror="none"))
    moved = [[(x * c - y * s - px, x * s + y * c - py) for x, y in ring] for ring in centred]
    x0, y0, x1, y1 = bounds(moved)
    if case["mirror"] == "x":
        x0, x1 = -x1, -x0
    elif case["mirror"] == "y":
        y0, y1 = -y1, -y0
    tolerance = 3 * step + 1e-6
    for name, g, w in zip(("left", "bottom", "right", "top"), bounds(rings), (x0, y0, x1, y1)):
        check(abs(g - w) <= tolerance, case, f"on the arc, {name} {g:.3f} mm, expected {w:.3f} from the anchor")


def compare_platforms(case):
    """Linux's drawing against GDI's under Wine: the same ink, within the
    tolerance the two platforms' outlines keep (3 px of the grid, or 0.1 mm
    where the grid is finer than GDI's hinting shows)."""
    if case["oblique"] and case["bars"]:
        # Wine draws the bars of text under a world transform outside it
        # (measured: a strike-out stays upright when slanted, and level when
        # the transform turns the line), so only the glyphs compare.
        case = dict(case, bars="")
    linux, gdi = drawing(case), drawing(case, on_windows=True)
    tolerance = max(3 * 25.4 / dpi_of(case), 0.1) + 2 * step_of(case)
    if case["italic"]:
        # Wine slants a face without an italic by 1/4, the layout here by
        # 0.21: the ink's corners part by 0.04 of the em.
        tolerance += 0.04 * SIZE * 25.4 / 72
    for name, a, b in zip(("left", "bottom", "right", "top"), bounds(linux), bounds(gdi)):
        check(abs(a - b) <= tolerance, case, f"{name} {a:.3f} mm on Linux, {b:.3f} mm under Wine")
    perimeter = sum(LinearRing(r).length for r in linux if len(set(r)) >= 3)
    a, b = nonzero_region(linux).area, nonzero_region(gdi).area
    check(abs(a - b) <= perimeter * tolerance, case, f"ink {a:.3f} mm² on Linux, {b:.3f} under Wine")




def allowed(case):
    """The case as the program takes it: on an arc each character stands on
    its own, so features are refused there (checked below) and the pair is
    drawn with kerning alone."""
    return dict(case, shaping="kerning") if case["arc"] and "liga" in case["shaping"] else case


cases = [allowed(c) for c in (covering(3, 20261210, 40) if full else covering(2, 20261210, 24))]
refused_case = dict(DEFAULT, face=0, arc=40, shaping="kerning,liga")
refused = subprocess.run(([windows[1], windows[0]] if windows else [cli]) + ["dxf", "-"] + arguments(refused_case),
                         capture_output=True)
check(refused.returncode == 2 and b"--features" in refused.stderr and b"--arc" in refused.stderr
      and not refused.stdout, refused_case, f"features on an arc: status {refused.returncode}, "
      f"{refused.stderr.decode(errors='replace').strip()!r}")
for case in cases:
    try:
        if windows:
            compare_platforms(case)
        else:
            check_case(case)
    except Exception as e:  # a failed run or an unreadable file is a finding, not the end
        check(False, case, f"{type(e).__name__}: {e}")

# Single-line text: the stroke font made for the test with every anchor,
# each with a mirror, an angle, a spacing and a width (every pair of those
# but the anchor's), drawn exactly where stroke_oracle.py works the strokes
# out, never closed; under Wine the same strokes.
stroke_fonts = write_fonts(tempfile.mkdtemp(prefix="letterwire-matrix-"))
STROKE_VALUES = {"mirror": ["none", "x", "y"], "angle": [0, 30, 90], "spacing": [0.0, 6.0, -2.0],
                 "width": [100, 50, 150]}


def stroke_lines(command, case, font=stroke_fonts["lff"], version="2000"):
    args = ["dxf", "-", "--stroke-font", font, "--text", "ABA", "--size", str(SIZE)]
    args += ["--anchor", case["anchor"], "--mirror", case["mirror"], "--angle", str(case["angle"]),
             "--spacing", str(case["spacing"]), "--width", str(case["width"]), "--dxf-version", version]
    run = subprocess.run(command + args, capture_output=True)
    if run.returncode != 0:
        raise RuntimeError(f"status {run.returncode}: {run.stderr.decode(errors='replace').strip()}")
    doc = ezdxf.read(io.StringIO(run.stdout.replace(b"\r\n", b"\n").decode("cp932")))
    entities = list(doc.modelspace())
    if version == "r12":
        return ([[tuple(v.dxf.location)[:2] for v in e.vertices] for e in entities],
                any(e.dxftype() != "POLYLINE" or e.is_closed for e in entities))
    return [[tuple(p) for p in e.get_points("xy")] for e in entities], any(e.closed for e in entities)


stroke_cases = []
for i, anchor in enumerate(ANCHORS):
    # Rows of the orthogonal array of four options at three values: nine
    # rows hold every pair.
    a, b = i % 9 // 3, i % 3
    row = (a, b, (a + b) % 3, (a + 2 * b) % 3)
    choice = {name: values[v] for (name, values), v in zip(STROKE_VALUES.items(), row)}
    stroke_cases.append(dict(choice, anchor=anchor))
for case in stroke_cases:
    try:
        lines, closed = stroke_lines([cli], case)
        check(not closed, DEFAULT | {"face": 0}, f"stroke {case}: a closed polyline")
        want = expected("lff", "ABA", SIZE, case["angle"], case["spacing"], case["width"], case["anchor"],
                        case["mirror"])
        check(apart(lines, want) <= 1e-9, DEFAULT | {"face": 0}, f"stroke {case}: lines apart by "
              f"{apart(lines, want)} mm from the worked-out strokes")
        # Release 12's open POLYLINEs hold the same vertices.
        old, closed = stroke_lines([cli], case, version="r12")
        check(not closed and apart(old, want) <= 1e-9, DEFAULT | {"face": 0},
              f"stroke {case}: R12 lines apart by {apart(old, want)} mm, or closed")
        if windows:
            windows_path = subprocess.run([windows[1], "winepath", "-w", stroke_fonts["lff"]], capture_output=True,
                                          check=True).stdout.decode("utf-8").strip()
            other, _ = stroke_lines([windows[1], windows[0]], case, windows_path)
            check(apart(lines, other) <= 1e-9, DEFAULT | {"face": 0}, f"stroke {case}: Linux and Wine differ")
    except Exception as e:
        check(False, DEFAULT | {"face": 0}, f"stroke {case}: {type(e).__name__}: {e}")

# The centreline: the same options as the outline, so each line lies where
# that case's merged DXF puts the ink, every point the centre of a disc as
# wide as the width it carries that touches the outline (shapely), no
# polyline closed, and every part of the ink drawn.
centreline_cases = [dict(DEFAULT, **c, face=i % len(FACES), bold=i % 2 == 1, merge=True, stencil=0.0, offset=0.0,
                         curves=False) for i, c in enumerate(stroke_cases)]
centreline_cases.append(dict(DEFAULT, face=0, arc=40, anchor="top-centre"))


def check_centreline(case):
    args = arguments(case)
    run = subprocess.run([cli, "capture", "--centreline"] + args, capture_output=True)
    if run.returncode != 0:
        raise RuntimeError(f"status {run.returncode}: {run.stderr.decode(errors='replace').strip()}")
    got = json.loads(run.stdout)
    ink = nonzero_region(drawing(case))
    edge = ink.boundary
    # The grid's step and the thinning's half pixel; a disc's width is
    # twice the distance from its centre to the nearest contour.
    tolerance = 2 * step_of(case) + 25.4 / dpi_of(case)
    worst = 0.0
    for line, widths in zip(got["lines"], got["widths"]):
        for (x, y), w in zip(line, widths):
            p = Point(x, y)
            off = abs(edge.distance(p) - w / 2) if ink.buffer(tolerance).contains(p) else math.inf
            worst = max(worst, off)
    check(worst <= tolerance, case, f"centreline: a point's disc is {worst:.4f} mm off the outline")
    lines = MultiLineString([line for line in got["lines"]])
    parts = list(getattr(ink, "geoms", [ink]))
    check(all(part.buffer(tolerance).intersects(lines) for part in parts), case, "centreline: a part of the ink "
          "has no line")
    dxf = subprocess.run([cli, "dxf", "-", "--centreline"] + args + dxf_arguments(case), capture_output=True)
    doc = ezdxf.read(io.StringIO(dxf.stdout.replace(b"\r\n", b"\n").decode("cp932")))
    entities = list(doc.modelspace().query("LWPOLYLINE POLYLINE"))
    check(len(entities) == got["lineCount"] and not any(e.closed if e.dxftype() == "LWPOLYLINE" else e.is_closed
                                                        for e in entities),
          case, f"centreline: {len(entities)} polylines for {got['lineCount']} lines, or one closed")


if not windows:
    for case in centreline_cases:
        try:
            check_centreline(case)
        except Exception as e:
            check(False, case, f"centreline: {type(e).__name__}: {e}")

print(f"{len(cases)} cases, {len(stroke_cases)} stroke cases, {len(centreline_cases)} centreline cases, "
      f"{checks} checks, {len(drawings)} drawings")
for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
