#!/usr/bin/env python3
"""The size in millimetres, a line fitted to a length and the oblique, each
over a table of faces and options, against the font file (fontTools) and
plain geometry, never against Letterwire's own numbers:

- size: with --size N mm the drawing's "H" is the font file's H at an em of
  N mm; with --size-of cap it is N mm tall. Within one grid step.
- fit: the drawing's advance (the baseline-right drawing moved from the
  baseline-left one) is the length asked for, and each character starts
  where the font file's advances, all widened alike, and one equal gap put
  it. Within a grid step per character.
- oblique: every point of the exact curves (svg --curves --no-merge) is the
  upright drawing's point moved along the line by its height above the
  baseline times tan θ, at every angle.
- bad values: a usage error (status 2) that names the option, nothing written.

Usage: set_text_test.py LETTERWIRE-CLI
"""
import io
import json
import math
import os
import re
import subprocess
import sys
import tempfile

import ezdxf
from fontTools.pens.boundsPen import BoundsPen
from fontTools.ttLib import TTFont

cli = sys.argv[1]
STEP = 0.01  # the drawings' grid, mm
DEJAVU = "/usr/share/fonts/truetype/dejavu/"
FILES = {
    "DejaVu Sans": DEJAVU + "DejaVuSans.ttf",
    "DejaVu Serif": DEJAVU + "DejaVuSerif.ttf",
    "IPAGothic": "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
}
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def run(args):
    return subprocess.run([cli] + args, capture_output=True)


def rings(args):
    """The DXF's contours, points in mm."""
    done = run(["dxf", "-"] + args)
    if done.returncode != 0:
        raise RuntimeError(f"{args}: status {done.returncode}: {done.stderr.decode(errors='replace')}")
    doc = ezdxf.read(io.StringIO(done.stdout.decode("cp932")))
    return [[tuple(p) for p in e.get_points("xy")] for e in doc.modelspace().query("LWPOLYLINE")]


def glyph_facts(face, char):
    """Advance, left and right ink and top of one glyph, in ems."""
    f = TTFont(FILES[face])
    glyphs, name = f.getGlyphSet(), f.getBestCmap()[ord(char)]
    pen = BoundsPen(glyphs)
    glyphs[name].draw(pen)
    upem = f["head"].unitsPerEm
    xmin, _, xmax, ymax = pen.bounds
    return f["hmtx"][name][0] / upem, xmin / upem, xmax / upem, ymax / upem


# Size: face, size, size-of, the H's height expected from the font file.
for face in FILES:
    cap = glyph_facts(face, "H")[3]
    for size, of, expected in [("10mm", "em", 10 * cap), ("10mm", "cap", 10.0), ("3.5mm", "cap", 3.5),
                               ("28.3464567pt", "em", 10 * cap), ("120mm", "cap", 120.0)]:
        for extra in ([], ["--bold"], ["--width", "60"]):
            args = ["--text", "H", "--font", face, "--size", size, "--size-of", of, "--no-merge"] + extra
            top = max(y for r in rings(args) for _, y in r)
            # Synthetic bold thickens the capitals (up to 1/24 of the em upwards):
            # the size stays the designed weight's.
            em = expected / cap
            grown = em / 24 if extra == ["--bold"] else 0
            check(-STEP - 1e-9 <= top - expected <= STEP + grown + 1e-9,
                  f"{face} --size {size} --size-of {of} {extra}: H {top:.4f} mm tall, expected {expected:.4f}")

# Batch rows take the size in millimetres; --size-of on the command line
# applies to each row in its own face.
with tempfile.TemporaryDirectory() as scratch:
    rows = [("a.dxf", "10mm", "DejaVu Sans", 10.0), ("b.dxf", "5mm", "IPAGothic", 5.0), ("c.dxf", "", "DejaVu Serif", 12.5)]
    table = os.path.join(scratch, "rows.csv")
    with open(table, "w", encoding="utf-8") as f:
        f.writelines(f"{os.path.join(scratch, name)},H,{size},{face}\n" for name, size, face, _ in rows)
    done = run(["batch", table, "--size-of", "cap", "--size", "12.5mm", "--no-merge"])
    check(done.returncode == 0, f"batch: status {done.returncode}: {done.stderr.decode(errors='replace')}")
    for name, size, face, tall in rows:
        path = os.path.join(scratch, name)
        if not os.path.exists(path):
            continue
        doc = ezdxf.readfile(path)
        top = max(p[1] for e in doc.modelspace().query("LWPOLYLINE") for p in e.get_points("xy"))
        check(abs(top - tall) <= STEP + 1e-9, f"batch row {name} {size or '(command line)'} {face}: H {top:.4f} mm")

# Fit: each character one contour in the face, so the contours in order
# are the characters in order.
for face, text in [("DejaVu Sans", "TIVL"), ("DejaVu Serif", "LIT"), ("IPAGothic", "ILT1")]:
    facts = [glyph_facts(face, c) for c in text]
    for length, by, angle, extra in [(100, "spacing", 0, []), (40, "spacing", 0, ["--width", "150"]),
                                     (15, "spacing", 0, ["--bold"]), (100, "width", 0, []),
                                     (30, "width", 0, ["--spacing", "2"]), (100, "spacing", 30, []),
                                     (60, "width", 90, ["--oblique", "12"])]:
        if by == "width" and "--width" in extra:
            continue
        args = ["--text", text, "--font", face, "--size", "10mm", "--fit", str(length), "--fit-by", by,
                "--angle", str(angle), "--no-merge"] + extra
        if by == "width" and "--spacing" in extra:
            done = run(["dxf", "-"] + args)
            check(done.returncode == 2 and b"--fit" not in done.stdout,
                  f"{face} --fit-by width with --spacing: status {done.returncode}")
            args = [a for a in args if a not in ("--spacing", "2")]
        left = rings(args)
        right = rings(args + ["--anchor", "baseline-right"])
        t = math.radians(angle)
        moved = [(l[0][0] - r[0][0], l[0][1] - r[0][1]) for l, r in zip(left, right)]
        for dx, dy in moved:
            check(abs(dx - length * math.cos(t)) <= 2 * STEP and abs(dy - length * math.sin(t)) <= 2 * STEP,
                  f"{face} {args}: the advance is ({dx:.4f}, {dy:.4f}) mm, expected {length} mm along {angle}°")
        if angle != 0 or "--oblique" in extra or "--bold" in extra:
            continue
        lefts = [min(x for x, _ in r) for r in left]
        rights = [max(x for x, _ in r) for r in left]
        if by == "spacing" and "--width" not in extra:
            # Each character starts at its left ink less its bearing: after
            # the file's advances before it and one equal gap per character.
            starts = [lefts[i] - 10 * facts[i][1] - 10 * sum(f[0] for f in facts[:i]) for i in range(len(text))]
            gaps = [b - a for a, b in zip(starts, starts[1:])]
            want = (length - 10 * sum(f[0] for f in facts)) / (len(text) - 1)
            check(all(abs(g - want) <= 2 * STEP for g in gaps) and abs(starts[0]) <= STEP,
                  f"{face} {args}: gaps {[round(g, 4) for g in gaps]} mm, each expected {want:.4f}")
        else:
            # Every character widened alike: its ink's width over the file's.
            ratios = [(rights[i] - lefts[i]) / (10 * (facts[i][2] - facts[i][1])) for i in range(len(text))]
            narrowest = min(10 * (f[2] - f[1]) for f in facts)
            check(max(ratios) - min(ratios) <= 4 * STEP / narrowest,
                  f"{face} {args}: characters widened unalike {[round(r, 4) for r in ratios]}")

# Oblique: the exact curves' points, upright against slanted.
NUMBER = re.compile(r"-?\d+(?:\.\d+)?(?:[eE]-?\d+)?")


def svg_points(args):
    done = run(["svg", "-", "--curves", "--no-merge"] + args)
    if done.returncode != 0:
        raise RuntimeError(f"{args}: status {done.returncode}: {done.stderr.decode(errors='replace')}")
    d = re.search(rb' d="([^"]*)"', done.stdout).group(1).decode()
    values = [float(v) for v in NUMBER.findall(d)]
    # y down in the picture: y up here, from the baseline's left end.
    return [(values[i], -values[i + 1]) for i in range(0, len(values) - 1, 2)]


for face, text in [("DejaVu Sans", "OHgy"), ("DejaVu Serif", "Sag"), ("IPAGothic", "出o")]:
    for degrees, angle, extra in [(15, 0, []), (-10, 0, []), (15, 30, []), (45, 90, ["--bold"]),
                                  (20, 0, ["--width", "70", "--spacing", "1"]), (-45, 270, [])]:
        base = ["--text", text, "--font", face, "--size", "20mm", "--angle", str(angle)] + extra
        upright, slanted = svg_points(base), svg_points(base + ["--oblique", str(degrees)])
        if len(upright) != len(slanted):
            failures.append(f"{face} --oblique {degrees} --angle {angle}: {len(slanted)} points, upright {len(upright)}")
            continue
        t, k = math.radians(angle), math.tan(math.radians(degrees))
        along, up = (math.cos(t), math.sin(t)), (-math.sin(t), math.cos(t))
        worst = 0.0
        for (x, y), (sx, sy) in zip(upright, slanted):
            h = x * up[0] + y * up[1]
            worst = max(worst, math.hypot(x + k * h * along[0] - sx, y + k * h * along[1] - sy))
        # The shear is exact; the points sit on a 0.01 mm grid and the
        # platform keeps the transform in single precision.
        check(worst <= 2 * STEP, f"{face} {text} --oblique {degrees} --angle {angle} {extra}: "
                                 f"a point {worst:.4f} mm from where the shear puts it")

# Each character's face named: the runs split the text where the chosen
# face's own file (fontTools' character map) lacks a character, each run's
# file holds its characters, and the warning names the face that drew them.
for face, text in [("DejaVu Sans", "Room 12 出口"), ("DejaVu Serif", "出口 B 回"), ("IPAGothic", "Room 12 出口"),
                   ("DejaVu Sans", "Room 12")]:
    done = run(["capture", "--text", text, "--font", face])
    runs = json.loads(done.stdout.decode("utf-8"))["runs"]
    own = TTFont(FILES[face]).getBestCmap()
    check("".join(r["text"] for r in runs) == text, f"{face} {text}: runs {runs} are not the text")
    for r in runs:
        cmap = TTFont(r["file"], fontNumber=0).getBestCmap()
        mine = os.path.realpath(r["file"]) == os.path.realpath(FILES[face])
        check(all(ord(c) in cmap and (ord(c) in own) == mine for c in r["text"]),
              f"{face} {text}: {r['text']!r} drawn from {r['file']}")
    others = [r["family"] for r in runs if os.path.realpath(r["file"]) != os.path.realpath(FILES[face])]
    said = done.stderr.decode("utf-8")
    want = f'"{face}" has no Japanese characters; they are drawn in {others[0]}' if others else None
    check((want in said) if want else "warning" not in said, f"{face} {text}: warns {said.strip()!r}")

# Bad values: a usage error naming the option, and no file.
with tempfile.TemporaryDirectory() as scratch:
    out = os.path.join(scratch, "out.dxf")
    for args, named in [(["--size", "0mm"], "--size"), (["--size", "10in"], "--size"), (["--size", "-3mm"], "--size"),
                        (["--size", "mm"], "--size"), (["--size", "6000mm"], "--size"),
                        (["--size-of", "x"], "--size-of"), (["--fit", "-1"], "--fit"), (["--fit", "0"], "--fit"),
                        (["--fit", "nan"], "--fit"), (["--fit", "20000"], "--fit"), (["--fit-by", "width"], "--fit-by"),
                        (["--fit", "50", "--fit-by", "height"], "--fit-by"),
                        (["--fit", "50", "--spacing", "1"], "--fit"),
                        (["--fit", "50", "--fit-by", "width", "--width", "80"], "--fit-by width"),
                        (["--oblique", "90"], "--oblique"), (["--oblique", "-45.5"], "--oblique"),
                        (["--oblique", "x"], "--oblique"),
                        (["--fit", "50", "--arc", "30", "--fit-arc", "90"], "--fit-arc and --fit")]:
        done = run(["dxf", out, "--text", "AB"] + args)
        message = done.stderr.decode(errors="replace")
        check(done.returncode == 2 and named in message and not os.path.exists(out),
              f"{args}: status {done.returncode}, {message.strip()!r}, written {os.path.exists(out)}")

for f in failures:
    print("FAIL", f)
sys.exit(1 if failures else 0)
