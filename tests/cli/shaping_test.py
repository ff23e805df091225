#!/usr/bin/env python3
"""Kerning, OpenType features and fonts from a file, against HarfBuzz's own
hb-shape and the font file (fontTools).

For each row, hb-shape shapes the text in the font file with the row's
features and tells each glyph's index and advance; letterwire-cli capture
--units mm draws the same text (a row's --width scales hb-shape's pen and
glyphs by its per cent, its --spacing follows every character, a
ligature's characters after the ligature, its --fit spreads hb-shape's
advances to that length and its --oblique shears each glyph's outline). The capture's figures, taken glyph by glyph
by the contour counts the font file gives those glyphs, must be those
glyphs (so a ligature is one glyph, of its own contours), and each glyph's
ink must start where hb-shape's pen puts it plus the glyph's own left bound
(fontTools), within the grid. The family the capture names must be the
font file's (a collection's face by its index).

Bad values of the options are refused as usage errors (status 2), naming
the option, and write nothing.

Usage: shaping_test.py CLI [PREFIX...]   (PREFIX: e.g. scripts/wine-run for a .exe)
"""
import json
import math
import os
import shutil
import subprocess
import sys
import tempfile

from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont
from fontTools.ttLib.ttCollection import TTCollection

command = sys.argv[2:] + [sys.argv[1]]
wine = len(sys.argv) > 2
if not shutil.which("hb-shape"):
    print("hb-shape (libharfbuzz-bin) is not installed")
    sys.exit(77)

DEJAVU = "/usr/share/fonts/truetype/dejavu/"
SANS, SERIF, BOLD = DEJAVU + "DejaVuSans.ttf", DEJAVU + "DejaVuSerif.ttf", DEJAVU + "DejaVuSans-Bold.ttf"
SIZE = 24  # points
STEP = 0.01  # mm, the capture's grid
# What HarfBuzz applies by default and the options leave off unless named.
PLAIN = ["-kern", "-liga", "-clig", "-calt"]

work = tempfile.mkdtemp(prefix="letterwire-shaping-")
# A collection of two faces, the second the one asked for.
COLLECTION = os.path.join(work, "two faces.ttc")
collection = TTCollection()
collection.fonts = [TTFont(SANS), TTFont(SERIF)]
collection.save(COLLECTION)
NOT_A_FONT = os.path.join(work, "notes.ttf")
with open(NOT_A_FONT, "w") as f:
    f.write("not a font\n")


def host_path(path):
    """The path as the program sees it: under Wine a Unix path is a Z: path."""
    return "Z:" + path.replace("/", "\\") if wine else path


# face file (and index) for the oracle, the face options, the text, the
# shaping options, hb-shape's features beyond PLAIN, the family named.
ROWS = [
    (SANS, 0, ["--font", "DejaVu Sans"], "AVATAR", [], [], "DejaVu Sans"),
    (SANS, 0, ["--font", "DejaVu Sans"], "AVATAR", ["--kerning"], ["+kern"], "DejaVu Sans"),
    (SERIF, 0, ["--font", "DejaVu Serif"], "LTAV To, Wa.", ["--kerning"], ["+kern"], "DejaVu Serif"),
    (SANS, 0, ["--font", "DejaVu Sans"], "fi office", ["--features", "liga"], ["+liga"], "DejaVu Sans"),
    (BOLD, 0, ["--font", "DejaVu Sans", "--bold"], "AVfi", ["--kerning", "--features", "liga,clig"],
     ["+kern", "+liga", "+clig"], "DejaVu Sans"),
    (SERIF, 0, ["--font-file", SERIF], "AVATAR", ["--kerning"], ["+kern"], "DejaVu Serif"),
    (SERIF, 1, ["--font-file", COLLECTION + "#1"], "Tofi", ["--features", "liga"], ["+liga"], "DejaVu Serif"),
    (SANS, 0, ["--font-file", COLLECTION + "#0"], "Tofi", [], [], "DejaVu Sans"),
    # With the spacing after every character and the exact width.
    (SANS, 0, ["--font", "DejaVu Sans"], "AVATAR", ["--kerning", "--spacing", "0.5mm"], ["+kern"], "DejaVu Sans"),
    (SERIF, 0, ["--font", "DejaVu Serif"], "To AV", ["--kerning", "--width", "70"], ["+kern"], "DejaVu Serif"),
    (SANS, 0, ["--font", "DejaVu Sans"], "AVfi", ["--kerning", "--features", "liga", "--width", "130", "--spacing",
                                                  "-0.3mm"], ["+kern", "+liga"], "DejaVu Sans"),
    # Fitted to a length by the spacing between the kerned advances; slanted.
    (SANS, 0, ["--font", "DejaVu Sans"], "AVATAR", ["--kerning", "--fit", "60"], ["+kern"], "DejaVu Sans"),
    (SERIF, 0, ["--font", "DejaVu Serif"], "LTAV To", ["--kerning", "--oblique", "14"], ["+kern"], "DejaVu Serif"),
]

failures = []
fonts = {}


def font(path, index):
    if (path, index) not in fonts:
        f = TTFont(path, fontNumber=index)
        fonts[(path, index)] = (f, f.getGlyphSet(), f.getGlyphOrder())
    return fonts[(path, index)]


def hb_glyphs(path, index, text, features):
    out = subprocess.run(["hb-shape", "--no-glyph-names", "--output-format=json", f"--face-index={index}",
                          "--features=" + ",".join(PLAIN + features), path, text],
                         capture_output=True, text=True, check=True).stdout
    return [(g["g"], g["ax"], g["dx"], g["cl"]) for g in json.loads(out)]


def run(args):
    return subprocess.run(command + args, capture_output=True)


def face_args(args):
    return [host_path(a) if a.startswith(work) or a.startswith(DEJAVU) else a for a in args]


for path, index, face, text, shaping, features, family in ROWS:
    name = f"{text!r} {' '.join(face + shaping)}"
    r = run(["capture", "--units", "mm", "--precision", str(STEP), "--size", str(SIZE), "--text", text]
            + face_args(face) + shaping)
    if r.returncode != 0:
        failures.append(f"{name}: status {r.returncode}: {r.stderr.decode(errors='replace').strip()}")
        continue
    capture = json.loads(r.stdout.decode("utf-8"))
    if capture["family"] != family:
        failures.append(f"{name}: drawn by {capture['family']!r}, expected {family!r}")
    asked = shaping[shaping.index("--features") + 1].split(",") if "--features" in shaping else []
    if capture.get("kerning", False) != ("--kerning" in shaping) or capture.get("features", []) != asked:
        failures.append(f"{name}: the capture says kerning {capture.get('kerning')}, features {capture.get('features')}")
    f, glyphs, order = font(path, index)
    unit = SIZE * 25.4 / 72 / f["head"].unitsPerEm  # mm per font unit
    figures = capture["figures"]
    shaped = hb_glyphs(path, index, text, features)
    widened = float(shaping[shaping.index("--width") + 1]) / 100 if "--width" in shaping else 1.0
    spaced = float(shaping[shaping.index("--spacing") + 1][:-2]) if "--spacing" in shaping else 0.0
    if "--fit" in shaping:
        spaced = (float(shaping[shaping.index("--fit") + 1]) - sum(a for _, a, _, _ in shaped) * unit * widened) / (
            len(text) - 1)
    slant = math.tan(math.radians(float(shaping[shaping.index("--oblique") + 1]))) if "--oblique" in shaping else 0
    want = sum(max(0, f["glyf"][order[g]].numberOfContours) for g, _, _, _ in shaped)
    if len(figures) != want:
        failures.append(f"{name}: {len(figures)} figures, hb-shape's glyphs have {want} contours")
        continue
    pen, at, characters = 0, 0, 0
    tolerance = 2 * STEP + 1e-9 if not wine else 0.1
    for k, (g, advance, dx, cluster) in enumerate(shaped):
        contours = max(0, f["glyf"][order[g]].numberOfContours)
        if contours:
            bounds = BoundsPen(glyphs)
            glyphs[order[g]].draw(TransformPen(bounds, (1, 0, slant, 1, 0, 0)))
            expected = (pen + dx + bounds.bounds[0]) * unit * widened + spaced * characters
            got = min(x for figure in figures[at:at + contours] for x, _ in figure)
            if abs(got - expected) > tolerance:
                failures.append(f"{name}: glyph {order[g]} starts at {got:.3f} mm, hb-shape puts it at {expected:.3f}")
        at += contours
        pen += advance
        # The characters before the next cluster (hb-shape counts bytes: these texts are ASCII).
        characters = shaped[k + 1][3] if k + 1 < len(shaped) else len(text)

# Bad values: option, value, a word of the reason.
BAD = [
    (["--features", "lig"], "--features", "not an OpenType feature tag"),
    (["--features", "liga,,palt"], "--features", "empty"),
    (["--features", "kern"], "--features", "--kerning"),
    (["--font-file", NOT_A_FONT], "--font-file", "not a font"),
    (["--font-file", COLLECTION + "#2"], "--font-file", "2 faces"),
    (["--font-file", COLLECTION + "#x"], "--font-file", "index"),
    (["--font-file", work], "--font-file", "folder"),
    (["--font-file", os.path.join(work, "missing.ttf")], "--font-file", "no such file"),
    # Each character stands on its own on the circle: no ligature can join.
    (["--features", "liga", "--arc", "40"], "--features", "--arc"),
]
for args, option, why in BAD:
    out = os.path.join(work, "bad.dxf")
    r = run(["dxf", host_path(out)] + [host_path(a) if a.startswith(work) else a for a in args])
    message = r.stderr.decode(errors="replace")
    if r.returncode != 2 or option not in message or why not in message or os.path.exists(out):
        failures.append(f"{args}: status {r.returncode}, {message.strip()!r}, "
                        f"{'written' if os.path.exists(out) else 'nothing written'}")

shutil.rmtree(work)
print(f"{len(ROWS)} rows, {len(BAD)} refusals")
for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
