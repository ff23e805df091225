#!/usr/bin/env python3
"""A text's width percentage is exact on every fine grid: at 0.1 mm and at
0.01 mm the text's advance and ink box agree within 0.1 mm and a grid step,
and each equals what the font file gives (fontTools: the advances and glyph
boxes, widened by the percentage of the designed average width) within a
grid step or two. The classic grid keeps the platform's whole-pixel width
and is not checked here.

The advance is read without the ink: the drawing anchored at the advance's
right end, moved against the one anchored at its left end.

Usage: width_grids_test.py CLI [PREFIX...]   (PREFIX: e.g. scripts/wine-run for a .exe)
"""
import json
import os
import subprocess
import sys
import tempfile

import ezdxf
from fontTools.pens.boundsPen import BoundsPen
from fontTools.ttLib import TTFont

command = sys.argv[2:] + [sys.argv[1]]
failures = []
SIZE = 24  # points
GRIDS = [0.1, 0.01]
WIDTHS = [50, 80, 150]
# face, text: every character in the face itself, so its file alone
# predicts the drawing.
FACES = [
    ("DejaVu Sans", "Hamburgefonts 8"),
    ("IPAGothic", "出口 Hamburg"),
    ("ＭＳ Ｐゴシック", "編集テキスト Wavy"),
]


def run(args):
    done = subprocess.run(command + args, capture_output=True)
    if done.returncode != 0:
        raise SystemExit(f"{' '.join(args)}: status {done.returncode}: {done.stderr.decode(errors='replace')}")
    return done


def face_file(face, text):
    """The file the program draws the face from, as it reports it."""
    report = json.loads(run(["capture", "--text", text, "--font", face]).stdout.decode("utf-8"))
    # Under Wine the root is drive Z:.
    path = report["file"]
    return path[2:].replace("\\", "/") if path[:3].upper() == "Z:\\" else path


def extents(args, work):
    path = os.path.join(work, "w.dxf")
    run(["dxf", path] + args)
    xs = [x for e in ezdxf.readfile(path).modelspace() for x, _ in e.get_points("xy")]
    return min(xs), max(xs)


def expected(path, text, percent):
    """The advance and the ink's left and right ends in mm, from the file:
    each glyph widened by the percentage of the designed average width
    against the face's own average, which is the same face here."""
    f = TTFont(path, fontNumber=0)
    glyphs, cmap = f.getGlyphSet(), f.getBestCmap()
    unit = SIZE / 72 * 25.4 / f["head"].unitsPerEm * percent / 100
    pen, left, right = 0.0, float("inf"), float("-inf")
    for c in text:
        name = cmap[ord(c)]
        bounds = BoundsPen(glyphs)
        glyphs[name].draw(bounds)
        if bounds.bounds:
            left = min(left, pen + bounds.bounds[0] * unit)
            right = max(right, pen + bounds.bounds[2] * unit)
        pen += f["hmtx"][name][0] * unit
    return pen, left, right


with tempfile.TemporaryDirectory() as work:
    for face, text in FACES:
        path = face_file(face, text)
        for percent in WIDTHS:
            want = expected(path, text, percent)
            got = {}
            for grid in GRIDS:
                args = ["--text", text, "--font", face, "--size", str(SIZE), "--width", str(percent),
                        "--precision", str(grid), "--no-merge"]
                left, right = extents(args, work)
                shifted, _ = extents(args + ["--anchor", "baseline-right"], work)
                got[grid] = (left - shifted, left, right)
                name = f"{face} {text!r} at {percent} % on {grid} mm"
                # The advance is rounded once to the grid; the ink's ends
                # to it and by the flattening within it.
                for what, g, w, slack in zip(("advance", "ink left", "ink right"), got[grid], want, (1, 2, 2)):
                    if abs(g - w) > slack * grid + 1e-6:
                        failures.append(f"{name}: {what} {g:.3f} mm, the font file gives {w:.3f}")
            coarse, fine = got[GRIDS[0]], got[GRIDS[1]]
            for what, a, b in zip(("advance", "ink left", "ink right"), coarse, fine):
                if abs(a - b) > 0.1 + GRIDS[0] + 1e-6:
                    failures.append(f"{face} {text!r} at {percent} %: {what} {a:.3f} mm at {GRIDS[0]} mm, "
                                    f"{b:.3f} at {GRIDS[1]}")
            print(f"{face} at {percent} %: advance {fine[0]:.3f} mm (file {want[0]:.3f}), "
                  f"ink {fine[1]:.3f}..{fine[2]:.3f} (file {want[1]:.3f}..{want[2]:.3f})")

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
