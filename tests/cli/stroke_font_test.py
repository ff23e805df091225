#!/usr/bin/env python3
"""Single-line text: letterwire-cli with --stroke-font, read back by ezdxf,
GDAL (ogr2ogr) and an XML parser, against the lines worked out by hand
from the test-made fonts (stroke_oracle.py) and against Debian's own
stroke fonts.

1. Exact strokes: for a table of texts and options, the DXF holds one open
   LWPOLYLINE per stroke on the text's layer, the SVG one unfilled,
   unclosed subpath per stroke at the pen's width, capture the same lines;
   GDAL reads them as line strings; ezdxf's audit finds nothing.
2. --offset: the DXF's closed contours cover the ink shapely's round
   buffer of the expected strokes covers.
3. Japanese in the Japanese CAD face: every character drawn by that face
   (no warning), each with the strokes the face's file lists for it.
4. Fallback, missing characters, bad files and commands that cannot take
   open lines: the status and the words.
5. The plotter and page formats: pdfinfo and pdftoppm read the PDF (each
   stroke an open subpath at the expected points, the rendered ink filling
   the page the pen's reach sets); hp2xx reads the HPGL (its range the
   strokes' extents within 1/40 mm, no stroke drawn back to its start);
   ezdxf audits the Release 12 drawing (open POLYLINEs with the strokes'
   vertices, the TEXT with --dxf-text).

Usage: stroke_font_test.py LETTERWIRE-CLI
"""
import io
import json
import math
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

import ezdxf
from shapely.geometry import LineString, Polygon
from shapely.ops import unary_union

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ink import nonzero_region  # noqa: E402
from stroke_oracle import apart, arguments, expected, write_fonts  # noqa: E402

cli = sys.argv[1]
failures = []
checks = 0


def check(ok, what):
    global checks
    checks += 1
    if not ok:
        failures.append(what)


def run(args, env=None):
    return subprocess.run([cli] + args, capture_output=True, env=env)


folder = tempfile.mkdtemp(prefix="letterwire-stroke-")
fonts = write_fonts(folder)

CASES = [
    # font, text, options
    ("jhf", " !", {}),
    ("lff", "AB", {}),
    ("lff", "AB", {"angle": 90}),
    ("lff", "BA", {"anchor": "centre", "mirror": "x"}),
    ("lff", "AB", {"anchor": "top-right", "mirror": "y", "angle": 30}),
    ("lff", "AAB", {"spacing": 10, "width": 50}),
    ("jhf", "! !", {"size": 9, "spacing": "-1", "anchor": "bottom-centre"}),
]

for kind, text, options in CASES:
    name = f"{kind} {text!r} {options}"
    want = expected(kind, text, options.get("size", 72), options.get("angle", 0), float(options.get("spacing", 0)),
                    options.get("width", 100), options.get("anchor", "baseline-left"), options.get("mirror", "none"))
    common = ["--stroke-font", fonts[kind], "--text", text] + arguments(options)

    dxf_file = f"{folder}/out.dxf"
    r = run(["dxf", dxf_file] + common)
    check(r.returncode == 0 and not r.stderr, f"{name}: dxf status {r.returncode} {r.stderr!r}")
    doc = ezdxf.readfile(dxf_file)
    auditor = doc.audit()
    check(not auditor.errors and not auditor.fixes, f"{name}: ezdxf audit {auditor.errors} {auditor.fixes}")
    entities = list(doc.modelspace())
    check(all(e.dxftype() == "LWPOLYLINE" and not e.closed for e in entities), f"{name}: a closed or other entity")
    check(all(e.dxf.layer == text.strip() or text.strip() == "" for e in entities) and entities,
          f"{name}: layers {[e.dxf.layer for e in entities]}")
    got = [[tuple(p) for p in e.get_points("xy")] for e in entities]
    check(apart(got, want) <= 1e-9, f"{name}: dxf lines {got} against {want}")

    # GDAL reads the open polylines as line strings with the same points.
    r = subprocess.run(["ogr2ogr", "-f", "GeoJSON", "/vsistdout/", dxf_file], capture_output=True)
    features = json.loads(r.stdout)["features"] if r.returncode == 0 else []
    kinds = {f["geometry"]["type"] for f in features}
    check(kinds == {"LineString"}, f"{name}: GDAL reads {kinds}")
    got = [[tuple(p[:2]) for p in f["geometry"]["coordinates"]] for f in features]
    check(apart(got, want) <= 1e-6, f"{name}: GDAL lines {got}")

    # capture, as for outline faces, has no anchor or mirror.
    if "anchor" not in options and "mirror" not in options:
        r = run(["capture"] + common)
        lines = json.loads(r.stdout)["lines"] if r.returncode == 0 else []
        check(apart([[tuple(p) for p in line] for line in lines], want) <= 1e-9, f"{name}: capture lines {lines}")

    r = run(["svg", "-", "--pen-width", "0.25"] + common)
    root = ET.fromstring(r.stdout)
    paths = root.findall("{http://www.w3.org/2000/svg}path")
    check(len(paths) == 1 and paths[0].get("fill") == "none" and paths[0].get("stroke-width") == "0.25",
          f"{name}: svg path attributes {[p.attrib for p in paths]}")
    d = paths[0].get("d") if paths else ""
    check("Z" not in d.upper(), f"{name}: a closed subpath in {d}")
    got = []
    for command, x, y in re.findall(r"([ML])(-?[\d.]+),(-?[\d.]+)", d):
        if command == "M":
            got.append([])
        got[-1].append((float(x), -float(y)))
    check(apart(got, want) <= 1e-6, f"{name}: svg lines {got}")
    # The picture reaches half the pen past the lines: none is cut.
    xs = [x for line in want for x, _ in line]
    ys = [-y for line in want for _, y in line]
    box = [float(v) for v in root.get("viewBox").split()]
    check(abs(box[0] - (min(xs) - 0.125)) <= 2e-6 and abs(box[1] - (min(ys) - 0.125)) <= 2e-6 and
          abs(box[2] - (max(xs) - min(xs) + 0.25)) <= 2e-6 and root.get("width") == f"{root.get('viewBox').split()[2]}mm",
          f"{name}: svg box {box}")



def pdf_subpaths(path):
    """The content stream's subpaths (m, l) in mm and whether any closes."""
    data = open(path, "rb").read()
    stream = data[data.index(b"stream\n") + 7:data.index(b"endstream")].decode()
    tokens, lines, closes = stream.split(), [], False
    for i, t in enumerate(tokens):
        if t in ("m", "l"):
            point = (float(tokens[i - 2]), float(tokens[i - 1]))
            if t == "m":
                lines.append([])
            lines[-1].append(point)
        closes = closes or t in ("h", "s", "b", "b*", "f", "F")
    return lines, closes, stream


def moved(lines, dx, dy):
    return [[(x + dx, y + dy) for x, y in line] for line in lines]


def ink_box(pgm):
    """The dark pixels' box (left, top, right, bottom) and the image's size."""
    data = open(pgm, "rb").read()
    fields = data.split(maxsplit=4)
    width, height = int(fields[1]), int(fields[2])
    pixels = fields[4][-width * height:]
    rows = [y for y in range(height) if min(pixels[y * width:(y + 1) * width]) < 128]
    cols = [x for x in range(width) if min(pixels[x::width]) < 128]
    return (cols[0], rows[0], cols[-1] + 1, rows[-1] + 1) if rows else None, (width, height)


MM_PER_PT = 25.4 / 72
OPEN_CASES = [
    ("lff", "AB", {}),
    ("lff", "AB", {"anchor": "top-right", "mirror": "y", "angle": 30}),
    ("jhf", "! !", {"size": 9, "spacing": "-1", "anchor": "bottom-centre"}),
]
for kind, text, options in OPEN_CASES:
    name = f"{kind} {text!r} {options}"
    size = options.get("size", 72)
    want = expected(kind, text, size, options.get("angle", 0), float(options.get("spacing", 0)),
                    options.get("width", 100), options.get("anchor", "baseline-left"), options.get("mirror", "none"))
    x0 = min(x for line in want for x, _ in line)
    y0 = min(y for line in want for _, y in line)
    x1 = max(x for line in want for x, _ in line)
    y1 = max(y for line in want for _, y in line)
    common = ["--stroke-font", fonts[kind], "--text", text] + arguments(options)

    # PDF, filled with the pen and cut: each stroke an open subpath.
    for style, extra, reach in (("fill", ["--pen-width", "0.5", "--margin", "0"], 0.25),
                                ("cut", ["--pdf-style", "cut", "--margin", "2"], 0.0)):
        pdf = f"{folder}/open-{style}.pdf"
        r = run(["pdf", pdf] + common + extra)
        info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True)
        page = re.search(r"Page size:\s+([0-9.]+) x ([0-9.]+) pts", info.stdout)
        check(r.returncode == 0 and not r.stderr and info.returncode == 0 and page and not info.stderr,
              f"{name} pdf {style}: {r.returncode} {r.stderr!r} {info.stderr!r}")
        if not page:
            continue
        margin = 2 if style == "cut" else 0
        w, h = float(page.group(1)) * MM_PER_PT, float(page.group(2)) * MM_PER_PT
        check(abs(w - (x1 - x0 + 2 * (reach + margin))) <= 0.01 and abs(h - (y1 - y0 + 2 * (reach + margin))) <= 0.01,
              f"{name} pdf {style}: page {w:.3f} x {h:.3f} mm for strokes {x1 - x0:.3f} x {y1 - y0:.3f}")
        got, closes, stream = pdf_subpaths(pdf)
        check(not closes and stream.rstrip().endswith("S"), f"{name} pdf {style}: a closed or filled path")
        shift = reach + margin
        check(apart(got, moved(want, shift - x0, shift - y0)) <= 2e-4, f"{name} pdf {style}: lines {got}")
        paint = "0.5 w" if style == "fill" else "1 0 0 RG\n0.01 w"
        check(paint in stream, f"{name} pdf {style}: no {paint!r} in {stream[:200]!r}")
        if style == "fill":
            # Round ends and joins: the ink reaches the page's every edge, and no further.
            dpi = 600
            subprocess.run(["pdftoppm", "-r", str(dpi), "-gray", "-singlefile", pdf, f"{folder}/open"], check=True)
            box, image = ink_box(f"{folder}/open.pgm")
            edge = 2  # pixels of anti-aliasing and of the page's rounding to whole pixels
            check(box is not None and box[0] <= edge and box[1] <= edge and box[2] >= image[0] - edge and
                  box[3] >= image[1] - edge, f"{name} pdf: the ink {box} on a page of {image} pixels")

    # HPGL: hp2xx's range is the strokes' box, and no stroke goes back to its start.
    plt = f"{folder}/open.plt"
    r = run(["hpgl", plt, "--pen", "3"] + common)
    said = subprocess.run(["hp2xx", "-m", "eps", "-f", f"{folder}/open.eps", plt], capture_output=True, text=True)
    rng = re.search(r"Coordinate range: \(([-0-9.]+), ([-0-9.]+)\) \.\.\. \(([-0-9.]+), ([-0-9.]+)\)",
                    said.stdout + said.stderr)
    check(r.returncode == 0 and rng is not None, f"{name} hpgl: {r.stderr!r}, hp2xx said {said.stdout + said.stderr!r}")
    if rng:
        u0, v0, u1, v1 = (float(g) / 40 for g in rng.groups())
        check(abs(u0) <= 1 / 40 and abs(v0) <= 1 / 40 and abs(u1 - u0 - (x1 - x0)) <= 1 / 40 and
              abs(v1 - v0 - (y1 - y0)) <= 1 / 40, f"{name} hpgl: hp2xx's range {rng.groups()}")
    body = open(plt).read()
    strokes = re.findall(r"PU(-?\d+),(-?\d+);PD([-\d,]*);", body)
    check(body.startswith("IN;SP3;\n") and body.endswith("PU;\n") and len(strokes) == len(want),
          f"{name} hpgl: {len(strokes)} strokes for {len(want)} in {body[:120]!r}")
    got = []
    for (sx, sy, rest), line in zip(strokes, want):
        numbers = [int(v) for v in rest.split(",")] if rest else []
        points = [(int(sx), int(sy))] + list(zip(numbers[::2], numbers[1::2]))
        check(len(points) < 3 or points[-1] != points[0] or line[-1] == line[0],
              f"{name} hpgl: a stroke drawn back to its start {points}")
        got.append([(x / 40, y / 40) for x, y in points])
    # Rounding to the unit, after a whole-unit move of the box to the origin.
    dx, dy = round(x0 * 40) / 40, round(y0 * 40) / 40
    check(apart(got, moved(want, -dx, -dy)) <= 1 / 80 * math.sqrt(2) + 1e-9, f"{name} hpgl: lines {got}")

    # Release 12: open POLYLINEs with the strokes' vertices, and the TEXT beside them.
    r12 = f"{folder}/open12.dxf"
    r = run(["dxf", r12, "--dxf-version", "r12", "--dxf-text"] + common)
    doc = ezdxf.readfile(r12)
    auditor = doc.audit()
    check(r.returncode == 0 and doc.dxfversion == "AC1009" and not auditor.has_errors,
          f"{name} r12: {r.stderr!r} {doc.dxfversion} {[str(e) for e in auditor.errors]}")
    polylines = list(doc.modelspace().query("POLYLINE"))
    check(all(p.dxf.flags == 0 and not p.is_closed for p in polylines), f"{name} r12: a closed polyline")
    got = [[tuple(v.dxf.location)[:2] for v in p.vertices] for p in polylines]
    check(apart(got, want) <= 1e-9, f"{name} r12: lines {got}")
    for path, version in ((r12, "r12"), (f"{folder}/open2000.dxf", "2000")):
        if version == "2000":
            run(["dxf", path, "--dxf-text"] + common)
        texts = list(ezdxf.readfile(path).modelspace().query("TEXT"))
        check(len(texts) == 1 and texts[0].dxf.text == text and texts[0].dxf.layer == "LETTERWIRE_TEXT" and
              abs(texts[0].dxf.height - size * 25.4 / 72) <= 1e-9 and
              abs(texts[0].dxf.rotation - options.get("angle", 0)) <= 1e-9,
              f"{name} {version}: TEXT {[(t.dxf.text, t.dxf.height, t.dxf.rotation) for t in texts]}")
    doc = ezdxf.readfile(f"{folder}/open2000.dxf")
    check(not doc.audit().has_errors and len(doc.modelspace().query("LWPOLYLINE")) == len(want),
          f"{name} 2000 with TEXT: audit or lines")

# --offset: the ink of a round pen of twice the offset, merged.
for kind, text, radius in (("lff", "AB", 0.5), ("jhf", " !", 1.2)):
    r = run(["dxf", "-", "--stroke-font", fonts[kind], "--text", text, "--size", "72", "--offset", str(radius)])
    doc = ezdxf.read(io.StringIO(r.stdout.decode("cp932")))
    rings = [[tuple(p) for p in e.get_points("xy")] for e in doc.modelspace()]
    check(r.returncode == 0 and rings and all(e.closed for e in doc.modelspace()), f"offset {kind}: not closed")
    want = unary_union([LineString(line).buffer(radius, 64) for line in expected(kind, text, 72)])
    got = nonzero_region(rings)
    check(abs(got.area - want.area) <= 0.01 * want.area and got.symmetric_difference(want).area <= 0.02 * want.area,
          f"offset {kind}: ink {got.area:.3f} mm², shapely {want.area:.3f}")

# Japanese in the Japanese CAD face: no fallback, each character's strokes
# as its file lists them (glyphs without references: each line a stroke).
KST = "/usr/share/librecad/fonts/kst32b.lff"
JAPANESE = "出口 日本語の文字、カタカナ"
glyph_lines, current = {}, None
with open(KST, encoding="utf-8") as f:
    for line in f:
        line = line.strip()
        m = re.match(r"\[#?([0-9A-Fa-f]+)\]", line)
        if m:
            current = chr(int(m.group(1), 16))
            glyph_lines.setdefault(current, [])
        elif current and line and not line.startswith("#"):
            glyph_lines[current].append(line)
r = run(["capture", "--stroke-font", "kst32b", "--text", JAPANESE])
check(r.returncode == 0 and not r.stderr, f"kst32b: {r.returncode} {r.stderr.decode(errors='replace')}")
for c in set(JAPANESE) - {" "}:
    r = run(["capture", "--stroke-font", "kst32b", "--text", c])
    got = json.loads(r.stdout)["lineCount"] if r.returncode == 0 else -1
    listed = glyph_lines.get(c, [])
    if not any(line.startswith("C") for line in listed):
        check(got == len(listed) and got > 0, f"kst32b {c}: {got} lines, the file lists {len(listed)}")
    check(not r.stderr, f"kst32b {c}: {r.stderr!r}")

# Fallback and missing characters.
other = f"{folder}/more"
os.makedirs(other, exist_ok=True)
with open(f"{other}/zz.lff", "w") as f:
    f.write("[0043] C\n0,0;0,9\n")
env = dict(os.environ, LETTERWIRE_STROKE_FONTS=other)
r = run(["dxf", "-", "--stroke-font", fonts["lff"], "--text", "ACB"], env)
check(r.returncode == 0 and r.stderr.decode() ==
      'letterwire-cli: warning: "t" has no "C" (U+0043); they are drawn in zz\n', f"fallback: {r.stderr!r}")
r = run(["dxf", "-", "--stroke-font", fonts["lff"], "--text", "A\u2603"], env)
check(r.returncode == 1 and "\u2603" in r.stderr.decode() and "U+2603" in r.stderr.decode() and not r.stdout,
      f"missing: {r.returncode} {r.stderr!r}")
r = run(["dxf", "-", "--stroke-font", fonts["lff"], "--text", "A\u2603", "--allow-missing"], env)
check(r.returncode == 0 and "U+2603" in r.stderr.decode() and r.stdout, f"allowed missing: {r.returncode}")
r = run(["fonts", "--stroke"], env)
check(r.returncode == 0 and r.stdout.decode().startswith(f"zz\t{other}/zz.lff\n"), f"fonts: {r.stdout[:80]!r}")

# A batch row's stroke font column: the bytes a single run gives.
with open(f"{folder}/rows.csv", "w", encoding="utf-8") as f:
    f.write(f"{folder}/row.dxf,AB,72,,30,,{fonts['lff']}\n{folder}/row.svg,AB,,,,,{fonts['lff']}\n")
r = run(["batch", f"{folder}/rows.csv"])
single = [run(["dxf", "-", "--text", "AB", "--size", "72", "--angle", "30", "--stroke-font", fonts["lff"]]).stdout,
          run(["svg", "-", "--text", "AB", "--stroke-font", fonts["lff"]]).stdout]
check(r.returncode == 0 and [open(f"{folder}/row.{e}", "rb").read() for e in ("dxf", "svg")] == single,
      f"batch: status {r.returncode} {r.stderr!r}, or not the single runs' bytes")
# Rows that read the same fonts for other characters, a fallback among
# them, and a row no font can draw: each row's bytes and warning those of
# its single run, whatever rows came before it.
texts = ["A", "ACB", "BA", "A\u2603", "CA", "AB"]
with open(f"{folder}/rows3.csv", "w", encoding="utf-8") as f:
    f.write("".join(f"{folder}/row3-{k}.dxf,{t},,,,,{fonts['lff']}\n" for k, t in enumerate(texts)))
r = run(["batch", f"{folder}/rows3.csv"], env)
said = r.stderr.decode()
for k, t in enumerate(texts):
    alone = run(["dxf", "-", "--text", t, "--stroke-font", fonts["lff"]], env)
    path = f"{folder}/row3-{k}.dxf"
    written = open(path, "rb").read() if os.path.exists(path) else b""
    words = alone.stderr.decode().replace("letterwire-cli: ", "").strip()
    check(written == alone.stdout and (not words or words in said),
          f"batch row {t!r}: not its single run's bytes ({len(written)} against {len(alone.stdout)}) or words "
          f"({words!r} not in {said!r})")
check(r.returncode == 1, f"batch with a row no font draws: status {r.returncode}")
# The page and plotter formats' rows, with the batch's own format options.
with open(f"{folder}/rows2.csv", "w", encoding="utf-8") as f:
    f.write("".join(f"{folder}/row2.{e},AB,,,,,{fonts['lff']}\n" for e in ("pdf", "plt", "dxf")))
form = ["--dxf-version", "r12", "--page", "A4", "--margin", "5", "--pen", "2"]
r = run(["batch", f"{folder}/rows2.csv"] + form)
single = [run([command, "-", "--text", "AB", "--stroke-font", fonts["lff"]] + options).stdout
          for command, options in (("pdf", ["--page", "A4", "--margin", "5"]), ("hpgl", ["--pen", "2"]),
                                   ("dxf", ["--dxf-version", "r12"]))]
check(r.returncode == 0 and all(single) and
      [open(f"{folder}/row2.{e}", "rb").read() for e in ("pdf", "plt", "dxf")] == single,
      f"batch pdf, plt, r12: status {r.returncode} {r.stderr!r}, or not the single runs' bytes")

# Refusals: the file, the line and why (status 1); options that cannot
# take open lines (status 2); nothing written.
with open(f"{folder}/bad.lff", "w") as f:
    f.write("[0041]\n0,0;1,1\n[0042]\nC0043\n[0043]\nC0042\n")
REFUSALS = [
    (["dxf", f"{folder}/x.dxf", "--stroke-font", f"{folder}/bad.lff"], 1, "bad.lff, line 6: U+0043 refers to U+0042"),
    (["dxf", f"{folder}/x.dxf", "--stroke-font", f"{folder}/none.lff"], 1, "none.lff"),
    (["dxf", f"{folder}/x.dxf", "--stroke-font", "no-such-face"], 2, 'no stroke font "no-such-face"'),
    (["jw", f"{folder}/c.txt", f"{folder}/x.dxf", "--stroke-font", fonts["lff"]], 2, "jw takes the closed outline"),
    (["wit", f"{folder}/x.dxf", "--stroke-font", fonts["lff"]], 2, "wit takes the closed outline"),
    (["svg", f"{folder}/x.dxf", "--stroke-font", fonts["lff"], "--curves"], 2, "--curves"),
    (["dxf", f"{folder}/x.dxf", "--stroke-font", fonts["lff"], "--curves", "--offset", "0.1"], 2, "--curves"),
    (["dxf", f"{folder}/x.dxf", "--stroke-font", fonts["lff"], "--offset", "-1"], 2, "must be above 0"),
    (["svg", f"{folder}/x.dxf", "--stroke-font", fonts["lff"], "--pen-width", "0"], 2, "--pen-width must be above 0"),
    (["svg", f"{folder}/x.dxf", "--pen-width", "0.2"], 2, "--pen-width applies with --stroke-font only"),
    (["dxf", f"{folder}/x.dxf", "--stroke-font", fonts["lff"], "--pen-width", "0.2"], 2, "--pen-width applies to svg and pdf only"),
    (["hpgl", f"{folder}/x.dxf", "--stroke-font", fonts["lff"], "--overcut", "1"], 2, "--overcut: a stroke font's lines"),
    (["dxf", f"{folder}/x.dxf", "--stroke-font", fonts["lff"], "--oblique", "10"], 2, "--oblique applies to outline"),
    (["svg", f"{folder}/x.dxf", "--stroke-font", fonts["lff"], "--fit", "50"], 2, "--fit applies to outline"),
    (["dxf", f"{folder}/x.dxf", "--stroke-font", fonts["lff"], "--size-of", "cap"], 2, "--size-of cap applies to outline"),
]
for args, status, words in REFUSALS:
    r = run(args)
    check(r.returncode == status and words in r.stderr.decode() and not os.path.exists(f"{folder}/x.dxf"),
          f"{args[0]} {args[3:]}: status {r.returncode}, {r.stderr!r}")

print(f"{checks} checks")
for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
