#!/usr/bin/env python3
"""The drawings for CAD are true to size, whatever the precision, read back
by parsers no one here wrote (xml.etree, ezdxf) and checked against the font
file itself (fontTools).

1. At every precision the SVG's width and height are millimetres, its
   viewBox one user unit a millimetre, and it spans exactly the DXF's
   extents (y mirrored); it draws one path and nothing else.
2. Across precisions the text's extents differ by at most one grid step of
   the coarser of two; at 0.01 mm they equal the extents that the font
   file's own advances and glyph boxes give, within 0.02 mm.
3. The DXF's layer names: never "0" but for the standard layer, nothing a
   DXF name may not hold, cut at 255 bytes; ezdxf's audit finds nothing.
4. The underline and strike-out bars are centred on the font file's own
   positions for them (post, OS/2) and as thick as it says, within a grid
   step, as GDI centres them.

Usage: true_size_test.py CLI [PREFIX...]   (PREFIX: e.g. scripts/wine-run for a .exe)
"""
import json
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

import ezdxf
from fontTools.pens.boundsPen import BoundsPen
from fontTools.ttLib import TTFont

command = sys.argv[2:] + [sys.argv[1]]
failures = []
PRECISIONS = [1, 0.2, 0.1, 0.05, 0.02, 0.01, 0.001]
SVG = "{http://www.w3.org/2000/svg}"


def run(args):
    done = subprocess.run(command + args, capture_output=True)
    if done.returncode != 0:
        raise SystemExit(f"{' '.join(args)}: status {done.returncode}: {done.stderr.decode(errors='replace')}")
    return done


def svg_extents(path):
    """(left, bottom, right, top) in millimetres, y up, from the picture's size and viewBox."""
    root = ET.parse(path).getroot()
    shapes = [e.tag for e in root.iter() if e is not root]
    if shapes != [SVG + "path"]:
        failures.append(f"{path}: draws {shapes}, not one path")
    path_element = root.find(SVG + "path")
    if path_element is None or path_element.get("fill-rule") != "nonzero":
        failures.append(f"{path}: the path is not filled by the nonzero rule")
    size = {}
    for name in ("width", "height"):
        match = re.fullmatch(r"([0-9.]+)mm", root.get(name, ""))
        if not match:
            failures.append(f"{path}: {name}={root.get(name)!r} is not in millimetres")
            return None
        size[name] = float(match.group(1))
    x, y, w, h = (float(v) for v in root.get("viewBox").split())
    if abs(w - size["width"]) > 1e-9 or abs(h - size["height"]) > 1e-9:
        failures.append(f"{path}: the viewBox {w} x {h} is not one unit a millimetre of {size}")
    # The path's own points span the viewBox exactly.
    numbers = [float(v) for v in re.findall(r"-?[0-9.]+", path_element.get("d"))]
    xs, ys = numbers[0::2], numbers[1::2]
    if xs and max(abs(min(xs) - x), abs(max(xs) - x - w), abs(min(ys) - y), abs(max(ys) - y - h)) > 2e-6:
        failures.append(f"{path}: the viewBox {x} {y} {w} {h} is not the path's extent")
    return (x, -(y + h), x + w, -y)


def dxf_extents(path, label):
    doc = ezdxf.readfile(path)
    errors = doc.audit().errors
    if errors:
        failures.append(f"{label}: ezdxf audit: {[str(e) for e in errors]}")
    points = [p for e in doc.modelspace().query("LWPOLYLINE") for p in e.get_points("xy")]
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    extmin, extmax = doc.header["$EXTMIN"], doc.header["$EXTMAX"]
    box = (min(xs), min(ys), max(xs), max(ys))
    if max(abs(a - b) for a, b in zip(box, (extmin[0], extmin[1], extmax[0], extmax[1]))) > 1e-9:
        failures.append(f"{label}: $EXTMIN/$EXTMAX {extmin} {extmax} are not the polylines' {box}")
    return box, doc


def font_extents(font_file, text, size_pt):
    """The ink's extents in mm at 1:1 from the font file: pen at the summed advances, y up from the baseline."""
    font = TTFont(font_file, fontNumber=0)
    scale = size_pt * 25.4 / 72 / font["head"].unitsPerEm
    cmap, glyphs, metrics = font.getBestCmap(), font.getGlyphSet(), font["hmtx"].metrics
    pen_x, box = 0, None
    for c in text:
        name = cmap[ord(c)]
        bounds = BoundsPen(glyphs)
        glyphs[name].draw(bounds)
        if bounds.bounds:
            x0, y0, x1, y1 = bounds.bounds
            b = ((pen_x + x0) * scale, y0 * scale, (pen_x + x1) * scale, y1 * scale)
            box = b if box is None else (min(box[0], b[0]), min(box[1], b[1]), max(box[2], b[2]), max(box[3], b[3]))
        pen_x += metrics[name][0]
    return box


def font_file_of(face):
    capture = json.loads(run(["capture", "--text", "A", "--font", face]).stdout.decode("utf-8"))
    path = capture.get("file", "")
    # Wine shows this machine's root as drive Z:.
    if re.match(r"[Zz]:\\", path):
        path = path[2:].replace("\\", "/")
    if path:
        return path
    # The platform may not tell the file; fontconfig names the same one here.
    return subprocess.run(["fc-match", "-f", "%{file}", face], capture_output=True, text=True).stdout


CASES = [
    # text, face, size (pt); every character in the face itself
    ("BOB 出口 8", "ＭＳ Ｐゴシック", 24),
    ("Wavy Hill 0.5", "DejaVu Sans", 24),
    ("図回品", "ＭＳ 明朝", 10.5),
]

with tempfile.TemporaryDirectory(prefix="lw-size-") as scratch:
    for text, face, size in CASES:
        name = f"{text} / {face} / {size} pt"
        extents = {}
        for step in PRECISIONS:
            svg, dxf = os.path.join(scratch, "o.svg"), os.path.join(scratch, "o.dxf")
            options = ["--text", text, "--font", face, "--size", str(size), "--precision", str(step)]
            run(["svg", svg] + options)
            run(["dxf", dxf] + options)
            s = svg_extents(svg)
            d, _ = dxf_extents(dxf, f"{name} at {step} mm")
            if s and max(abs(a - b) for a, b in zip(s, d)) > 2e-6:
                failures.append(f"{name} at {step} mm: the SVG spans {s}, the DXF {d}")
            extents[step] = d
            print(f"{name} at {step} mm: {d[2] - d[0]:.4f} x {d[3] - d[1]:.4f} mm, from ({d[0]:.4f}, {d[1]:.4f})")
        for a in PRECISIONS:
            for b in PRECISIONS:
                step = max(a, b)
                worst = max(abs(p - q) for p, q in zip(extents[a], extents[b]))
                if a < b and worst > step + 1e-9:
                    failures.append(f"{name}: extents at {a} and {b} mm differ by {worst:.4f} mm (at most {step})")
        oracle = font_extents(font_file_of(face), text, size)
        worst = max(abs(p - q) for p, q in zip(extents[0.01], oracle))
        print(f"{name}: at 0.01 mm {worst:.4f} mm from the font file's own extents")
        if worst > 0.02:
            failures.append(f"{name}: at 0.01 mm the extents {extents[0.01]} are {worst:.4f} mm from the font's {oracle}")

    # The bars alone: under blanks there is nothing else to draw.
    BAR_CASES = [
        # face, size (pt)
        ("ＭＳ Ｐゴシック", 24),
        ("ＭＳ 明朝", 72),
        ("DejaVu Sans", 10.5),
        ("DejaVu Serif", 24),
    ]
    step = 0.01
    for face, size in BAR_CASES:
        font = TTFont(font_file_of(face), fontNumber=0)
        scale = size * 25.4 / 72 / font["head"].unitsPerEm
        bars = {"--underline": (font["post"].underlinePosition, font["post"].underlineThickness),
                "--strikeout": (font["OS/2"].yStrikeoutPosition, font["OS/2"].yStrikeoutSize)}
        for option, (position, thickness) in bars.items():
            path = os.path.join(scratch, "bar.dxf")
            run(["dxf", path, "--text", "  ", "--font", face, "--size", str(size), "--precision", str(step), option])
            (_, bottom, _, top), _ = dxf_extents(path, f"{face} {option}")
            centre, height = (top + bottom) / 2, top - bottom
            print(f"{face} / {size} pt {option}: centred at {centre:.4f} mm, {height:.4f} mm thick; "
                  f"the font's {position * scale:.4f} and {thickness * scale:.4f}")
            if abs(centre - position * scale) > step + 1e-9 or abs(height - thickness * scale) > step + 1e-9:
                failures.append(f"{face} / {size} pt {option}: the bar is centred at {centre:.4f} mm and "
                                f"{height:.4f} mm thick, the font's {position * scale:.4f} and {thickness * scale:.4f}")

    # Layer names: the text's layer never takes the standard layer's name and
    # holds nothing a DXF reader may refuse.
    LAYERS = [
        ("0", "_0"),
        ("  0  ", "_0"),
        ("Defpoints", "_Defpoints"),
        ("a<b>c/d\\e\"f:g;h?i*j|k=l", "a_b_c_d_e_f_g_h_i_j_k_l"),
        ("出口 8", "出口 8"),
        ("x" * 300, "x" * 255),
        ("出" * 200, "出" * 127),
    ]
    for text, want in LAYERS:
        path = os.path.join(scratch, "layer.dxf")
        run(["dxf", path, "--text", text, "--precision", "1"])
        _, doc = dxf_extents(path, f"layer {text[:20]!r}")
        names = [layer.dxf.name for layer in doc.layers]
        used = {e.dxf.layer for e in doc.modelspace()}
        if sorted(n.lower() for n in names) != sorted({n.lower() for n in names}) or names.count("0") != 1:
            failures.append(f"layer {text[:20]!r}: layers {names[:4]} collide")
        if used != {want}:
            failures.append(f"layer {text[:20]!r}: entities on {sorted(used)[:2]}, expected {want[:20]!r}")

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
