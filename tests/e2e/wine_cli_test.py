#!/usr/bin/env python3
"""letterwire-cli.exe under Wine against letterwire-cli on Linux.

1. The captures agree: for a table of texts, faces, sizes and angles both
   give the same number of figures, and every point of one lies within a
   tolerance of the other's outline (1.5 px at 32 px; 3 px larger or turned;
   2 px where GDI hints Latin letters more, see tolerance_of; at least 0.6 %
   of the em on the fine grids, see compare_captures).
2. The cut-ready DXF agrees: merged (offset, with arcs) the same number of outer
   contours and holes, every contour cleaned, outer contours counter-clockwise
   and holes clockwise, and the areas equal within the capture's tolerance
   along the outline.
3. The tool check agrees: the same islands, the widths within the
   captures' tolerance, and every island held by a stencil on both; the
   centreline the same lines within that tolerance, its widths too.
4. The JW and WIT roads on Windows paths with blanks and Japanese characters:
   the command file is left byte for byte as it was, the output copies it and
   then holds the point lines of the Windows capture, whole.

Usage: wine_cli_test.py LINUX-CLI WINDOWS-CLI WINE-RUN
"""
import json
import math
import os
import subprocess
import sys
import tempfile
import time

linux_cli, windows_cli, wine_run = sys.argv[1:4]
failures = []


def capture(command, args):
    out = subprocess.run(command + ["capture"] + args, capture_output=True, check=True).stdout
    return json.loads(out.decode("utf-8"))


def figures(c):
    out, start = [], 0
    for i, t in enumerate(c["types"]):
        if t & 1:
            out.append(c["points"][start:i + 1])
            start = i + 1
    return out


def distance_to_outline(p, figs):
    best = math.inf
    for f in figs:
        for k in range(len(f)):
            a, b = f[k], f[(k + 1) % len(f)]
            dx, dy = b[0] - a[0], b[1] - a[1]
            length2 = dx * dx + dy * dy
            t = 0 if length2 == 0 else max(0, min(1, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / length2))
            best = min(best, math.hypot(a[0] + t * dx - p[0], a[1] + t * dy - p[1]))
    return best


CASES = [
    # text, face, size (pt), angle
    ("編集テキスト", "ＭＳ Ｐゴシック", 24, 0),
    ("O", "ＭＳ Ｐゴシック", 24, 0),
    ("図回品", "ＭＳ 明朝", 24, 0),
    ("ABC 123", "ＭＳ ゴシック", 24, 0),
    ("編集テキスト", "ＭＳ Ｐゴシック", 24, 30),
    ("編集", "ＭＳ Ｐゴシック", 144, 0),
    ("テキスト", "ＭＳ Ｐ明朝", 24, 90),
    # A Latin face draws its own letters on Windows too, not a Japanese
    # face the font mapper would pick for the Shift-JIS character set. On
    # the 1 mm grid (96 dpi) the letters stand on the font's own advances on
    # both platforms. GDI hands over DejaVu's curves hinted at 32 px: single
    # curve points lie up to 1.66 px from the unhinted outline (measured on
    # "e", "o", "8" alone), so these get 2 px.
    ("Hello BOB 8", "DejaVu Sans", 24, 0, "1"),
    ("Wavy Hill", "DejaVu Serif", 24, 0, "1"),
    # Vertical writing: full-width characters turned with their vertical
    # forms, half-width ones as in a line; at 270° the line reads downwards.
    # A proportional face advances each by its own vertical advance.
    *[("縦（書）き、ー。ABC１２", face, 24, angle)
      for face in ("@ＭＳ ゴシック", "@ＭＳ 明朝", "@ＭＳ Ｐゴシック", "@ＭＳ Ｐ明朝") for angle in (0, 90, 270)],
]

def tolerance_of(face, large_or_turned):
    """How far apart points may lie: 1.5 px at 24 pt and 0°, 3 px larger or
    turned. GDI hints Latin letters more in DejaVu (single curve points up to
    1.66 px off) and in the proportional faces ("C" 1.58 px off): 2 px."""
    if face.startswith("DejaVu"):
        return 2.0
    if large_or_turned:
        return 3.0
    return 2.0 if face.startswith("@ＭＳ Ｐ") else 1.5


# GDI hints at every size, so on the fine grids the two captures lie apart
# by a share of the em: at 0.01 mm (an em of 847 px) up to 3.9 px plain
# (DejaVu Sans 3.7, IPA P Gothic 3.9) and 4.6 px widened to 150 %, measured.
HINTING_SHARE_OF_EM = 0.006


def compare_captures(name, args, tolerance, windows_args=None):
    """The Linux and Windows captures of the same arguments (a path the
    Windows side names its own way), point by point."""
    linux = capture([linux_cli], args)
    fa = figures(linux)
    fb = figures(capture([wine_run, windows_cli], windows_args or args))
    tolerance = max(tolerance, round(HINTING_SHARE_OF_EM * linux["height"], 2))
    if len(fa) != len(fb):
        failures.append(f"{name}: {len(fa)} figures on Linux, {len(fb)} on Windows")
        return
    worst = max([distance_to_outline(p, fb) for f in fa for p in f]
                + [distance_to_outline(p, fa) for f in fb for p in f])
    if worst > tolerance:
        failures.append(f"{name}: points {worst:.2f} px apart (at most {tolerance})")
    print(f"capture {name}: {len(fa)} figures, worst distance {worst:.2f} px")


for text, face, size, angle, *precision in CASES:
    args = ["--text", text, "--font", face, "--size", str(size), "--angle", str(angle)]
    args += ["--precision", precision[0]] if precision else []
    compare_captures(f"{text} / {face} / {size} pt / {angle}°", args, tolerance_of(face, size != 24 or angle != 0))

# The text style: GDI's own character extra, lfWidth and weight 700 on
# Windows; the same on Linux within the tolerance of the designed capture.
STYLE_CASES = [
    # text, face, angle, style arguments
    ("編集テキスト", "ＭＳ Ｐゴシック", 0, ["--spacing", "3"]),
    ("ABC 123", "ＭＳ ゴシック", 0, ["--spacing", "1mm"]),
    ("図回品", "ＭＳ 明朝", 0, ["--spacing", "-1.5"]),
    ("編集テキスト", "ＭＳ Ｐゴシック", 0, ["--width", "50"]),
    ("図回品", "ＭＳ 明朝", 0, ["--width", "200"]),
    ("ABC 123", "ＭＳ ゴシック", 30, ["--width", "70", "--spacing", "2"]),
    ("編集テキスト", "ＭＳ Ｐゴシック", 0, ["--bold"]),
    ("図回品", "ＭＳ 明朝", 90, ["--bold", "--width", "80"]),
    # A family with a bold face of its own draws with it on both.
    ("Hello BOB 8", "DejaVu Sans", 0, ["--bold", "--precision", "1"]),
    # At a precision: the spacing unrounded, the advances the font's own.
    ("編集", "ＭＳ Ｐゴシック", 0, ["--bold", "--precision", "0.1"]),
    ("編集", "ＭＳ Ｐゴシック", 0, ["--width", "60", "--spacing", "1", "--precision", "0.1"]),
    # Vertical writing takes the style before the quarter turn.
    ("縦（書）き、ー。ABC１２", "@ＭＳ 明朝", 270, ["--spacing", "2", "--width", "80"]),
    ("縦（書）き、ー。ABC１２", "@ＭＳ ゴシック", 270, ["--bold", "--italic"]),
    ("縦（書）き、ー。ABC１２", "@ＭＳ 明朝", 270, ["--precision", "0.1"]),
    ("縦（書）き、ー。ABC１２", "@ＭＳ Ｐゴシック", 0, ["--underline", "--precision", "0.1"]),
    # The bars centred on the face's positions; at 72 pt half a strike-out
    # bar is 4 px.
    ("gjpqy", "ＭＳ Ｐゴシック", 0, ["--underline", "--strikeout", "--size", "72"]),
    ("出口", "ＭＳ 明朝", 30, ["--underline", "--strikeout", "--size", "72"]),
    # A Latin face with kanji from the fallback, every style alone and all
    # together, on the classic and the fine grids: the fallback takes lfWidth
    # against its own average width and bold by its own weight, as the
    # platform's linked font does.
    *[("BOB 出口 8", "DejaVu Sans", 0, style + ["--precision", grid])
      for style in (["--bold"], ["--width", "150"], ["--spacing", "2"], ["--bold", "--width", "90", "--spacing", "1"])
      for grid in ("classic", "0.1", "0.01")],
    # A line the fallback draws whole stands on the face's own baseline.
    ("出口", "DejaVu Sans", 0, ["--width", "50", "--precision", "0.01"]),
    # On a fine grid each advance is widened as the glyph is: lfWidth over
    # the average width rounded at the em drawn (not at the em square), with
    # a synthetic bold's pixel counted in neither.
    ("編集テキスト", "ＭＳ Ｐゴシック", 0, ["--bold", "--width", "90", "--precision", "0.1"]),
    ("図回品", "ＭＳ 明朝", 0, ["--width", "150", "--precision", "0.1"]),
    # The oblique through GDI's world transform, against the same shear of
    # the outline; the size in millimetres or by the capitals; the fit by
    # the spacing or the width. Each with the other styles, turned and
    # written vertically.
    ("編集テキスト", "ＭＳ Ｐゴシック", 0, ["--oblique", "15"]),
    ("ABC 123", "ＭＳ ゴシック", 30, ["--oblique", "-20", "--width", "70"]),
    ("図回品", "ＭＳ 明朝", 90, ["--oblique", "30", "--bold"]),
    ("縦（書）き、ー。ABC１２", "@ＭＳ 明朝", 270, ["--oblique", "15", "--spacing", "2"]),
    ("Hello BOB 8", "DejaVu Sans", 0, ["--oblique", "12", "--precision", "1"]),
    # The bars slant with the glyphs; a line of two faces has one bar each
    # across it, in the font's own place, shaped or not.
    ("図回品", "ＭＳ 明朝", 0, ["--oblique", "20", "--underline", "--strikeout"]),
    ("Hamburg 出口", "DejaVu Sans", 0, ["--oblique", "-15", "--underline", "--strikeout"]),
    ("Hamburg 出口", "DejaVu Sans", 0, ["--underline", "--strikeout", "--kerning", "--spacing", "1"]),
    ("編集", "ＭＳ Ｐゴシック", 0, ["--size", "10mm", "--precision", "0.1"]),
    ("ABC 123", "ＭＳ ゴシック", 0, ["--size", "8mm", "--size-of", "cap", "--bold", "--precision", "0.1"]),
    ("編集テキスト", "ＭＳ Ｐゴシック", 0, ["--fit", "80", "--precision", "0.1"]),
    ("編集テキスト", "ＭＳ Ｐゴシック", 0, ["--fit", "40"]),
    ("ABC 123", "ＭＳ ゴシック", 30, ["--fit", "36", "--fit-by", "width", "--bold", "--precision", "0.1"]),
    ("図回品", "ＭＳ 明朝", 0, ["--fit", "40", "--fit-by", "width", "--precision", "0.1"]),
    ("縦（書）き、ー。ABC１２", "@ＭＳ ゴシック", 90, ["--fit", "100", "--oblique", "10", "--precision", "0.1"]),
    ("BOB 出口 8", "DejaVu Sans", 0, ["--fit", "50", "--width", "80", "--oblique", "-10", "--precision", "0.01"]),
    # On the fine grids the width is the percentage itself, not lfWidth's
    # whole pixels: GDI's glyphs are scaled by what its rounding leaves,
    # along the baseline however it turns.
    *[(text, face, angle, ["--width", width, "--precision", grid])
      for text, face, angle, width, grid in (("Hamburgefonts", "DejaVu Sans", 0, "50", "0.1"),
                                             ("Hamburgefonts", "DejaVu Sans", 90, "50", "0.1"),
                                             ("編集", "ＭＳ Ｐゴシック", 0, "50", "0.01"),
                                             ("編集", "ＭＳ Ｐゴシック", 30, "50", "0.01"))],
]
for text, face, angle, style in STYLE_CASES:
    args = ["--text", text, "--font", face, "--size", "24", "--angle", str(angle)] + style
    compare_captures(f"{text} / {face} / {angle}° {' '.join(style)}", args,
                     tolerance_of(face, angle != 0 or "--size" in style))

# Text on an arc: on Windows each character is GDI's own outline under its
# world transform; on Linux the same placement of FreeType's. Radii both
# ways round, angles, Latin, Japanese and vertical writing; the bars are
# bands along the circle, from the font's own bar as each platform lays it.
ARC_CASES = [
    # text, face, radius (mm), --arc-at (None: the default), extra arguments
    ("編集テキスト", "ＭＳ Ｐゴシック", 20, None, []),
    ("編集テキスト", "ＭＳ Ｐゴシック", -20, None, []),
    ("Hello BOB 8", "DejaVu Sans", 50, 30, ["--precision", "1"]),
    ("Hello BOB 8", "DejaVu Sans", -50, 200, ["--precision", "1"]),
    ("図回品", "ＭＳ 明朝", 200, 120, ["--spacing", "2", "--underline", "--strikeout"]),
    ("図回品", "ＭＳ 明朝", -200, -45, ["--bold", "--width", "80"]),
    ("縦（書）き、ー。ABC１２", "@ＭＳ ゴシック", 50, None, []),
    ("縦（書）き、ー。ABC１２", "@ＭＳ 明朝", -50, 10, ["--underline"]),
    ("出口 gy", "ＭＳ Ｐゴシック", 20, None, ["--fit-arc", "270", "--precision", "0.1"]),
    # Slanted on the circle: GDI's shear composed before each glyph's turn.
    ("編集テキスト", "ＭＳ Ｐゴシック", 20, None, ["--oblique", "20"]),
    ("ABC 123", "ＭＳ ゴシック", -50, 200, ["--oblique", "-15", "--precision", "0.1"]),
    ("縦（書）き、ー。ABC１２", "@ＭＳ 明朝", 50, None, ["--oblique", "15"]),
    ("図回品", "ＭＳ 明朝", 200, 120, ["--oblique", "30", "--fit", "40", "--underline"]),
]
for text, face, radius, at, extra in ARC_CASES:
    args = ["--text", text, "--font", face, "--size", "24", "--arc", str(radius)] + extra
    args += ["--arc-at", str(at)] if at is not None else []
    compare_captures(f"{text} / {face} / arc {radius} mm at {at} {' '.join(extra)}",
                     args, tolerance_of(face, True))


# Kerning and features: HarfBuzz on Linux, Uniscribe's OpenType shaping on
# Windows, alone and with the styles, turned, and with a font from a file.
# Vertical writing keeps its own forms with or without them.
SHAPING_CASES = [
    # text, face, angle, arguments
    ("AVATAR To", "DejaVu Sans", 0, ["--kerning", "--precision", "1"]),
    # Unasked, no kerning: Wine's own placement kerns unless kept from it.
    ("AVATAR To", "DejaVu Sans", 0, ["--precision", "0.1"]),
    ("AVATAR To", "DejaVu Serif", 30, ["--kerning", "--precision", "0.1"]),
    ("fi office AV", "DejaVu Sans", 0, ["--features", "liga", "--kerning", "--precision", "0.1"]),
    ("AV fi", "DejaVu Sans", 0, ["--kerning", "--features", "liga", "--spacing", "2"]),
    ("AV fi 出口", "DejaVu Sans", 0,
     ["--kerning", "--features", "liga", "--bold", "--width", "90", "--spacing", "1", "--precision", "0.1"]),
    ("縦（書）きAV", "@ＭＳ 明朝", 270, ["--kerning", "--features", "liga"]),
]
for text, face, angle, style in SHAPING_CASES:
    args = ["--text", text, "--font", face, "--size", "24", "--angle", str(angle)] + style
    # Turned, DejaVu lies 2.5 px apart with or without kerning (measured at
    # 30°, 0.1 mm): GDI hints the turned glyphs on their own grid.
    compare_captures(f"{text} / {face} / {angle}° {' '.join(style)}", args,
                     3.0 if angle else tolerance_of(face, False))
SERIF_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"
common = ["--text", "Tofi AV", "--size", "24", "--kerning", "--features", "liga", "--precision", "0.1"]
compare_captures("Tofi AV / --font-file DejaVuSerif.ttf", common + ["--font-file", SERIF_FILE],
                 tolerance_of("DejaVu", False), common + ["--font-file", "Z:" + SERIF_FILE.replace("/", "\\")])

def cut_ready(command, args):
    """Outer contours and holes of the DXF: [(signed area mm², perimeter mm, points)]."""
    out = subprocess.run(command + ["dxf", "-"] + args, capture_output=True, check=True).stdout
    import io
    import ezdxf
    from ezdxf.path import make_path
    # Standard output on Windows is in text mode: lines end in CR LF.
    doc = ezdxf.read(io.StringIO(out.replace(b"\r\n", b"\n").decode("cp932")))
    contours = []
    for e in doc.modelspace().query("LWPOLYLINE"):
        pts = [tuple(p) for p in e.get_points("xy")]
        if any(b != 0 for _, _, _, _, b in e.get_points()):
            # Arcs (--curves): their area and length as ezdxf flattens them.
            pts = [(v.x, v.y) for v in make_path(e).flattening(0.001)][:-1]
        pairs = list(zip(pts, pts[1:] + pts[:1]))
        area = sum(a[0] * b[1] - b[0] * a[1] for a, b in pairs) / 2
        perimeter = sum(math.dist(a, b) for a, b in pairs)
        clean = e.closed and len(set(pts)) >= 3 and all(a != b for a, b in pairs) and area != 0
        contours.append((area, perimeter, clean))
    return contours


CUT_CASES = [
    # text, face, extra arguments
    ("出口_gy", "ＭＳ ゴシック", ["--underline", "--strikeout"]),
    ("回図", "ＭＳ 明朝", []),
    ("gjpqy", "ＭＳ Ｐゴシック", ["--underline"]),
    ("回図", "ＭＳ 明朝", ["--offset", "0.3"]),
    ("出口", "ＭＳ ゴシック", ["--no-merge", "--underline"]),
    ("回図", "ＭＳ 明朝", ["--curves"]),
    ("gjpqy", "ＭＳ Ｐゴシック", ["--underline", "--curves"]),
    ("OS", "DejaVu Sans", ["--no-merge", "--curves"]),
    ("Hamburg 出口", "DejaVu Sans", ["--underline", "--curves"]),
    # The underline reaches DejaVu's baseline: the round letters meet it.
    ("gjpqy", "DejaVu Sans", ["--underline"], 72),
    ("gjpqy", "ＭＳ Ｐゴシック", ["--underline", "--strikeout"], 72),
    # A tight inside arc: the characters' tops meet and merge.
    ("回図出口", "ＭＳ 明朝", ["--arc", "-15", "--underline"]),
    ("Hello 8", "DejaVu Sans", ["--arc", "30", "--arc-at", "45", "--anchor", "top-centre", "--curves"]),
]
for text, face, extra, *size in CUT_CASES:
    args = ["--text", text, "--font", face, "--size", str(size[0] if size else 48)] + extra
    name = f"dxf {text} / {face} {' '.join(extra)}"
    a, b = cut_ready([linux_cli], args), cut_ready([wine_run, windows_cli], args)
    for side, contours in (("Linux", a), ("Windows", b)):
        if not all(clean for _, _, clean in contours):
            failures.append(f"{name}: a contour on {side} repeats a point, is open or has no area")
    count = lambda cs, sign: sum(1 for area, _, _ in cs if area * sign > 0)
    if (count(a, 1), count(a, -1)) != (count(b, 1), count(b, -1)):
        failures.append(f"{name}: {count(a, 1)} outer / {count(a, -1)} holes on Linux, "
                        f"{count(b, 1)} / {count(b, -1)} on Windows")
        continue
    area_a, area_b = sum(c[0] for c in a), sum(c[0] for c in b)
    # The captures agree within 1.5 px of the classic grid along the outline.
    tolerance = 1.5 * 25.4 / 96 * max(sum(c[1] for c in a), sum(c[1] for c in b))
    if abs(area_a - area_b) > tolerance:
        failures.append(f"{name}: area {area_a:.3f} mm² on Linux, {area_b:.3f} on Windows (at most {tolerance:.3f} apart)")
    print(f"{name}: {count(a, 1)} outer, {count(a, -1)} holes; area {area_a:.3f} / {area_b:.3f} mm²")


def machine_box(command, kind, args):
    """The PDF's page (MediaBox, mm) or the HPGL's PD range (mm), and the
    figures of the R12 drawing."""
    out = subprocess.run(command + [kind, "-"] + args, capture_output=True, check=True).stdout
    if kind == "pdf":
        import re
        w, h = re.search(rb"/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\]", out).groups()
        return float(w) * 25.4 / 72, float(h) * 25.4 / 72
    if kind == "hpgl":
        import re
        units = [int(v) for c in re.findall(rb"P[UD]([-0-9,]+);", out) for v in c.split(b",")]
        return max(units[0::2]) / 40, max(units[1::2]) / 40
    import io
    import ezdxf
    doc = ezdxf.read(io.StringIO(out.replace(b"\r\n", b"\n").decode("cp932")))
    return doc.dxfversion, len(doc.modelspace().query("POLYLINE")), len(doc.modelspace().query("TEXT"))


# The machines' files: the same page, range and figures within the captures'
# tolerance (the writers' bytes on the same figures are compared exactly by
# the export tests, which run under Wine too).
MACHINE_CASES = [
    ("回図", "ＭＳ 明朝", ["--margin", "2"]),
    ("Og", "DejaVu Sans", ["--curves", "--pdf-style", "cut"]),
]
for text, face, extra in MACHINE_CASES:
    args = ["--text", text, "--font", face, "--size", "48"]
    pdf_args = args + [a for a in extra]
    hpgl_args = args + [a for a in extra if a == "--curves"]
    tolerance = 0.02 * 48 * 25.4 / 72  # 2 % of the em, the captures' hinting apart
    for kind, kind_args in (("pdf", pdf_args), ("hpgl", hpgl_args)):
        a, b = machine_box([linux_cli], kind, kind_args), machine_box([wine_run, windows_cli], kind, kind_args)
        if max(abs(x - y) for x, y in zip(a, b)) > tolerance:
            failures.append(f"{kind} {text} / {face}: {a} mm on Linux, {b} on Windows")
        print(f"{kind} {text} / {face}: {a[0]:.3f} x {a[1]:.3f} / {b[0]:.3f} x {b[1]:.3f} mm")
    r12_args = args + ["--dxf-version", "r12", "--dxf-text"]
    a, b = machine_box([linux_cli], "dxf", r12_args), machine_box([wine_run, windows_cli], "dxf", r12_args)
    if a != b or a[0] != "AC1009" or a[2] != 1:
        failures.append(f"dxf r12 {text} / {face}: {a} on Linux, {b} on Windows")

# The tool check: the same islands, and the thinnest material and the
# narrowest gap within twice the captures' own tolerance (each width has two
# sides): the hinting's share of the em at the 0.01 mm grid. The stencil of
# each holds every island on both.
TOOL_CASES = [
    ("BOB 8", "DejaVu Sans", 24),
    ("出口 回", "ＭＳ ゴシック", 24),
    ("回図", "ＭＳ 明朝", 48),
]
for text, face, size in TOOL_CASES:
    args = ["check", "--report", "-", "--text", text, "--font", face, "--size", str(size)]
    name = f"check {text} / {face} {size} pt"
    a = json.loads(subprocess.run([linux_cli] + args, capture_output=True, check=True).stdout.decode("utf-8"))
    b = json.loads(subprocess.run([wine_run, windows_cli] + args, capture_output=True, check=True).stdout.decode("utf-8"))
    tolerance = 2 * HINTING_SHARE_OF_EM * size * 25.4 / 72
    if len(a["islands"]) != len(b["islands"]):
        failures.append(f"{name}: {len(a['islands'])} islands on Linux, {len(b['islands'])} on Windows")
    for key in ("thinnestMaterial", "narrowestGap"):
        wa, wb = a[key]["width"], b[key]["width"]
        if abs(wa - wb) > tolerance:
            failures.append(f"{name}: {key} {wa} mm on Linux, {wb} mm on Windows (at most {tolerance:.3f} apart)")
    stencil = ["--stencil", "0.5"] + args
    islands = [len(json.loads(subprocess.run(command + stencil, capture_output=True, check=True).stdout)["islands"])
               for command in ([linux_cli], [wine_run, windows_cli])]
    if islands != [0, 0]:
        failures.append(f"{name} --stencil 0.5: {islands[0]} islands left on Linux, {islands[1]} on Windows")
    print(f"{name}: {len(a['islands'])} / {len(b['islands'])} islands; material {a['thinnestMaterial']['width']} / "
          f"{b['thinnestMaterial']['width']} mm, gap {a['narrowestGap']['width']} / {b['narrowestGap']['width']} mm")

# The centreline: the same lines on both, each point of one within the
# captures' tolerance of the other's lines (both ways, shapely's Hausdorff
# distance), and the widths as near.
from shapely.geometry import MultiLineString  # noqa: E402

CENTRELINE_CASES = [
    ("BOB 8", "DejaVu Sans", 24),
    ("出口", "ＭＳ ゴシック", 24),
]
for text, face, size in CENTRELINE_CASES:
    args = ["--centreline", "--text", text, "--font", face, "--size", str(size)]
    a, b = capture([linux_cli], args), capture([wine_run, windows_cli], args)
    tolerance = 2 * HINTING_SHARE_OF_EM * size * 25.4 / 72
    name = f"centreline {text} / {face} {size} pt"
    apart = MultiLineString(a["lines"]).hausdorff_distance(MultiLineString(b["lines"])) if a["lines"] and \
        b["lines"] else math.inf
    widest = lambda c: max((w for ws in c["widths"] for w in ws), default=0)  # noqa: E731
    if a["lineCount"] != b["lineCount"] or apart > tolerance or abs(widest(a) - widest(b)) > tolerance:
        failures.append(f"{name}: {a['lineCount']} lines on Linux, {b['lineCount']} on Windows, {apart:.3f} mm "
                        f"apart, widest {widest(a):.3f} / {widest(b):.3f} mm (at most {tolerance:.3f})")
    print(f"{name}: {a['lineCount']} / {b['lineCount']} lines, {apart:.3f} mm apart")

# The face that drew the points, as Windows reports it: its own family and,
# where GDI tells it, its file.
for face in ["DejaVu Sans", "DejaVu Serif"]:
    done = subprocess.run([wine_run, windows_cli, "capture", "--text", "Hi", "--font", face], capture_output=True)
    report = json.loads(done.stdout.decode("utf-8"))
    warning = done.stderr.decode("utf-8", errors="replace")
    if report["family"] != face or "warning" in warning:
        failures.append(f"{face}: Windows reports {report['family']!r} ({report['file']!r}), {warning.strip()!r}")
    print(f"capture --font {face!r} on Windows: family {report['family']!r}, file {report['file']!r}")

# A Latin face and Japanese characters: the face draws its own letters and
# is reported as the face that drew them; the warning names the fallback.
done = subprocess.run([wine_run, windows_cli, "capture", "--text", "BOB 出口 8", "--font", "DejaVu Sans"],
                      capture_output=True)
report = json.loads(done.stdout.decode("utf-8"))
warning = done.stderr.decode("utf-8", errors="replace")
if report["family"] != "DejaVu Sans" or "has no Japanese characters; they are drawn in" not in warning:
    failures.append(f"DejaVu Sans with kanji: Windows reports {report['family']!r}, {warning.strip()!r}")
# Both name the fallback in the same words, and split the text into the
# same runs: the face's own letters, then the characters another face drew.
linux_done = subprocess.run([linux_cli, "capture", "--text", "BOB 出口 8", "--font", "DejaVu Sans"],
                            capture_output=True)
linux_runs = [r["text"] for r in json.loads(linux_done.stdout.decode("utf-8"))["runs"]]
windows_runs = [r["text"] for r in report["runs"]]
fallback = report["runs"][1]["family"] if len(report["runs"]) > 1 else "?"
said = f'"DejaVu Sans" has no Japanese characters; they are drawn in {fallback}'
if linux_runs != windows_runs or said not in warning or \
        "has no Japanese characters; they are drawn in" not in linux_done.stderr.decode("utf-8"):
    failures.append(f"the runs: Linux {linux_runs}, Windows {windows_runs}; Windows says {warning.strip()!r}, "
                    f"Linux {linux_done.stderr.decode('utf-8').strip()!r}")
print(f"runs on Windows: {[(r['text'], r['family']) for r in report['runs']]}")

# Stroke fonts: the readers are the same code, so the strokes of a font
# made for the test, at a path with blanks and Japanese characters, are the
# same numbers on both (capture's JSON, in mm).
with tempfile.TemporaryDirectory(prefix="lw-wine-stroke-") as scratch:
    folder = os.path.join(scratch, "線 フォント")
    os.mkdir(folder)
    with open(os.path.join(folder, "t.lff"), "w", encoding="ascii") as f:
        f.write("# LetterSpacing: 2\n[0041] A\n0,0;3,9;6,0\n1,3;5,3\n[0042] B\nC0041\n0,0;0,9,A1\n")
    with open(os.path.join(folder, "t.jhf"), "w", encoding="ascii") as f:
        f.write("12345  1JZ\n12345  6JZNFNM RVFVM\n")
    to_windows = lambda p: subprocess.run([wine_run, "winepath", "-w", p], capture_output=True,
                                          check=True).stdout.decode("utf-8").strip()
    for name, text, extra in (("t.lff", "ABBA", ["--angle", "30", "--spacing", "2", "--width", "80"]),
                              ("t.jhf", "! !", ["--size", "9"])):
        path = os.path.join(folder, name)
        linux = capture([linux_cli], ["--stroke-font", path, "--text", text] + extra)
        windows = capture([wine_run, windows_cli], ["--stroke-font", to_windows(path), "--text", text] + extra)
        pairs = [(a, b) for la, lb in zip(linux["lines"], windows["lines"]) for a, b in zip(la, lb)]
        apart = max((math.hypot(a[0] - b[0], a[1] - b[1]) for a, b in pairs), default=math.inf)
        same_shape = [len(line) for line in linux["lines"]] == [len(line) for line in windows["lines"]]
        if not same_shape or apart > 1e-9:
            failures.append(f"stroke font {name}: Linux and Windows lines differ ({apart} mm apart)")
        print(f"stroke font {name}: {linux['lineCount']} lines, {apart:.1e} mm apart")
        # The page and plotter formats and Release 12 are written from the
        # same numbers by the same code: the same bytes on both.
        for command, suffix, extra_form in (("pdf", "pdf", ["--pen-width", "0.3"]), ("hpgl", "plt", []),
                                            ("dxf", "dxf", ["--dxf-version", "r12", "--dxf-text"])):
            made = []
            for runner, font in (([linux_cli], path), ([wine_run, windows_cli], to_windows(path))):
                out = os.path.join(scratch, f"open-{len(made)}.{suffix}")
                subprocess.run(runner + [command, out if len(made) == 0 else to_windows(out), "--stroke-font", font,
                                         "--text", text] + extra + extra_form, capture_output=True, check=True)
                with open(out, "rb") as f:
                    made.append(f.read().replace(b"\r\n", b"\n"))
            if made[0] != made[1] or not made[0]:
                failures.append(f"stroke font {name}: {command} {extra_form}: Linux and Windows bytes differ")

    # The same folder named in LETTERWIRE_STROKE_FONTS: its faces listed
    # first on both, its name's blanks and Japanese characters kept.
    listed = []
    for runner, named in (([linux_cli], folder), ([wine_run, windows_cli], to_windows(folder))):
        out = subprocess.run(runner + ["fonts", "--stroke"], capture_output=True, check=True,
                             env=dict(os.environ, LETTERWIRE_STROKE_FONTS=named)).stdout.decode("utf-8")
        listed.append([line.split("\t") for line in out.splitlines()[:2]])
    names = [[row[0] for row in rows] for rows in listed]
    files = [[os.path.basename(row[-1].replace("\\", "/")) for row in rows] for rows in listed]
    if names != [["t", "t"]] * 2 or files != [["t.jhf", "t.lff"]] * 2:
        failures.append(f"fonts --stroke with LETTERWIRE_STROKE_FONTS: Linux {listed[0]}, Windows {listed[1]}")
    print(f"fonts --stroke with a folder named in LETTERWIRE_STROKE_FONTS: {names[1]} on Windows")

# Messages on standard error to a pipe: UTF-8 bytes, CR LF line ends.
done = subprocess.run([wine_run, windows_cli, "capture", "--text", "A", "--font", "存在しない書体"],
                      capture_output=True)
try:
    message = done.stderr.decode("utf-8")
    if "存在しない書体" not in message or not message.endswith("\r\n"):
        failures.append(f"standard error to a pipe: {done.stderr!r}")
except UnicodeDecodeError:
    failures.append(f"standard error to a pipe is not UTF-8: {done.stderr!r}")

# The JW and WIT roads on paths that Windows programs must not garble.
with tempfile.TemporaryDirectory(prefix="lw-wine-") as scratch:
    folder = os.path.join(scratch, "作業 フォルダ é")  # é is outside code page 932
    os.mkdir(folder)
    command_bytes = b"hq\r\nhp1 100 50\r\n\x83\x5c\x95\x5c table\r\nhs 1 2 \r\nlg1\r\n"
    command_path = os.path.join(folder, "指示 1.txt")
    with open(command_path, "wb") as f:
        f.write(command_bytes)
    output_path = os.path.join(folder, "出力 1.txt")
    to_windows = lambda p: subprocess.run([wine_run, "winepath", "-w", p], capture_output=True,
                                          check=True).stdout.decode("utf-8").strip()
    args = ["--text", "編集", "--size", "24"]
    run = subprocess.run([wine_run, windows_cli, "jw", to_windows(command_path), to_windows(output_path)] + args,
                         capture_output=True)
    if run.returncode != 0:
        failures.append(f"jw: status {run.returncode}: {run.stderr.decode('utf-8', 'replace')}")
    else:
        with open(command_path, "rb") as f:
            if f.read() != command_bytes:
                failures.append("jw: the command file changed")
        with open(output_path, "rb") as f:
            written = f.read()
        copied = b"hp1 100 50\r\n\x83\x5c\x95\x5c table\r\nhs 1 2 \r\nlg1\r\n"
        if not written.startswith(copied):
            failures.append("jw: the command lines are not copied byte for byte")
        c = capture([wine_run, windows_cli], args)
        lines = written[len(copied):].split(b"\r\n")
        expected = c["pointCount"] + 2 * len(figures(c))
        if len(lines) != expected + 1 or lines[-1] != b"":
            failures.append(f"jw: {len(lines) - 1} point lines, expected {expected}")
        print(f"jw on Windows paths: {len(lines) - 1} lines after the copy")
        # "-" is the file's bytes on standard output, CR LF and all.
        piped = subprocess.run([wine_run, windows_cli, "jw", to_windows(command_path), "-"] + args,
                               capture_output=True)
        if piped.returncode != 0 or piped.stdout != written:
            failures.append(f"jw -: status {piped.returncode}, {len(piped.stdout)} bytes where the file has "
                            f"{len(written)}")
        for kind in ("dxf", "svg", "pdf", "hpgl"):
            path = os.path.join(folder, "out." + kind)
            on_disk = subprocess.run([wine_run, windows_cli, kind, to_windows(path)] + args, capture_output=True)
            piped = subprocess.run([wine_run, windows_cli, kind, "-"] + args, capture_output=True)
            with open(path, "rb") as f:
                if on_disk.returncode != 0 or piped.returncode != 0 or piped.stdout != f.read():
                    failures.append(f"{kind} -: standard output differs from the file")

    # The converter watcher's variable in a user's environment is not an
    # order: the export runs and no file goes.
    victim = os.path.join(folder, "victim.txt")
    with open(victim, "wb") as f:
        f.write(b"keep")
    planted = dict(os.environ, LETTERWIRE_REMOVE_WHEN_ENDED="0|" + to_windows(victim))
    output_2 = os.path.join(folder, "出力 2.txt")
    run = subprocess.run([wine_run, windows_cli, "jw", to_windows(command_path), to_windows(output_2)] + args,
                         capture_output=True, env=planted)
    if run.returncode != 0 or not os.path.exists(victim) or not os.path.exists(output_2):
        failures.append(f"jw with the watcher's variable set: status {run.returncode}, "
                        f"victim kept {os.path.exists(victim)}, output written {os.path.exists(output_2)}")

    # Refused through another spelling of the command file: case and slashes.
    other = to_windows(command_path).upper().replace("\\", "/")
    run = subprocess.run([wine_run, windows_cli, "jw", to_windows(command_path), other], capture_output=True)
    with open(command_path, "rb") as f:
        kept = f.read() == command_bytes
    if run.returncode != 1 or not kept:
        failures.append(f"jw to the command file's other spelling: status {run.returncode}, kept {kept}")

    wit_path = os.path.join(folder, "図 形.wit")
    run = subprocess.run([wine_run, windows_cli, "wit", to_windows(wit_path), "--no-convert"] + args,
                         capture_output=True)
    if run.returncode != 0 or not os.path.exists(wit_path):
        failures.append(f"wit: status {run.returncode}, file written {os.path.exists(wit_path)}")
    else:
        with open(wit_path, "rb") as f:
            wit = f.read()
        if not (wit.startswith(b"#  from DX to EX\r\nHEADER\r\n") and wit.endswith(b"ENDENTI\r\nEOF\r\n")):
            failures.append("wit: not a whole WIT file")

    # No converter anywhere: the export fails and says so, as on Linux, and
    # leaves no work file.
    program_folder = os.path.dirname(os.path.abspath(windows_cli))
    work_files = lambda folder: sorted(n for n in os.listdir(folder) if n.startswith("tmp") and n.endswith(".wmf"))
    before = work_files(program_folder)
    run = subprocess.run([wine_run, windows_cli, "wit", to_windows(wit_path)] + args, capture_output=True,
                         env=dict(os.environ, PATH="/usr/bin:/bin", WINEPATH=""))
    message = run.stderr.decode("utf-8", "replace")
    if run.returncode != 1 or "File not found: mfin" not in message:
        failures.append(f"wit without a converter: status {run.returncode}: {message}")
    if work_files(program_folder) != before:
        failures.append("wit without a converter left a work file")

    # A stand-in converter (the launcher tests' probe, named mfin.exe): it gets
    # a work file of this export's own, which is gone once it has ended.
    probe = os.path.join(os.path.dirname(program_folder), "tests", "launcher", "launcher_argv_probe.exe")
    if os.path.exists(probe):
        bin_folder = os.path.join(scratch, "bin")
        os.mkdir(bin_folder)
        with open(probe, "rb") as src, open(os.path.join(bin_folder, "mfin.exe"), "wb") as dst:
            dst.write(src.read())
        record = os.path.join(scratch, "probe.txt")
        run = subprocess.run([wine_run, windows_cli, "wit", to_windows(wit_path)] + args, capture_output=True,
                             env=dict(os.environ, WINEPATH=to_windows(bin_folder),
                                      LW_PROBE_RECORD=to_windows(record)))
        for _ in range(200):
            if os.path.exists(record):
                break
            time.sleep(0.05)
        lines = open(record, encoding="utf-8").read().splitlines() if os.path.exists(record) else []
        argv = [l[1:-1] for l in lines if l.startswith("[") and l.endswith("]")]
        if run.returncode != 0 or len(argv) < 3:
            failures.append(f"wit with a converter: status {run.returncode}, converter arguments {argv}")
        else:
            work = argv[-2]
            name = work.replace("/", "\\").rsplit("\\", 1)[-1]
            if not (name.startswith("tmp") and name.endswith(".wmf")):
                failures.append(f"wit: the work file's name {name}")
            for _ in range(200):
                if work_files(program_folder) == before:
                    break
                time.sleep(0.05)
            if work_files(program_folder) != before:
                failures.append(f"wit: the work file outlived its converter: {work_files(program_folder)}")
            print(f"wit with a converter: work file {name}, removed once the converter ended")

for f in failures:
    print("FAIL", f)
sys.exit(1 if failures else 0)
