#!/usr/bin/env python3
"""The PDF, HPGL and Release 12 drawings read back by readers no one here
wrote, against the DXF 2000 drawing of the same options:

1. pdfinfo: the page is the DXF's extents plus twice the margin (or the
   chosen page) within 0.01 mm; pdftoppm renders the PDF to the pixels
   rsvg-convert renders the SVG to at the same scale (at most 0.5 % differ).
2. hp2xx: the HPGL's coordinate range is the DXF's extents within 1/40 mm.
3. ezdxf: the R12 drawing audits clean as AC1009 with the 2000 drawing's
   figures (vertex for vertex) and extents; GDAL reads the same count and
   extent, LibreCAD's dxf2pdf converts it; the TEXT holds the text, the height and the layer, which does not
   plot in the 2000 drawing.
4. Bad values: a usage error (status 2) naming the option, nothing written.
5. batch: a row's .pdf, .plt and .hpgl are the bytes of the single run.

A reader missing skips (status 77) in a developer's run; with CI set it fails.

Usage: outputs_test.py CLI
"""
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile

import ezdxf

CLI = sys.argv[1]
failures = []

readers = ["pdfinfo", "pdftoppm", "rsvg-convert", "hp2xx", "ogrinfo", "librecad", "convert"]
missing = [r for r in readers if not shutil.which(r)]
if missing:
    if os.environ.get("CI"):
        raise SystemExit(f"FAIL: {', '.join(missing)} missing (scripts/install-deps installs them)")
    print(f"SKIP: {', '.join(missing)} missing")
    sys.exit(77)

MM_PER_PT = 25.4 / 72

CASES = [
    ("latin", ["--text", "Og 8", "--font", "DejaVu Sans", "--size", "24"]),
    ("curves", ["--text", "Sol", "--font", "DejaVu Sans", "--size", "30", "--curves"]),
    ("japanese, turned", ["--text", "図回", "--size", "20", "--angle", "30"]),
    ("offset, anchored", ["--text", "AB", "--size", "18", "--offset", "0.3", "--anchor", "centre"]),
]


def run(args, **kw):
    return subprocess.run([CLI] + args, capture_output=True, **kw)


def dxf_extents(path):
    doc = ezdxf.readfile(path)
    return doc.header["$EXTMIN"][:2], doc.header["$EXTMAX"][:2]


def figures(path):
    doc = ezdxf.readfile(path)
    out = []
    for e in doc.modelspace():
        if e.dxftype() == "LWPOLYLINE":
            out.append([(round(x, 9), round(y, 9), round(b, 12)) for x, y, _, _, b in e.get_points("xyseb")])
        elif e.dxftype() == "POLYLINE":
            out.append([(round(v.dxf.location.x, 9), round(v.dxf.location.y, 9), round(v.dxf.bulge, 12))
                        for v in e.vertices])
    return out


def gray(path):
    """A PGM's width, height and bytes."""
    with open(path, "rb") as f:
        data = f.read()
    magic, w, h, maxval, rest = re.match(rb"(P5)\s+(\d+)\s+(\d+)\s+(\d+)\s(.*)", data, re.S).groups()
    return int(w), int(h), rest


def ink_differs(a, b):
    """The share of pixels on one side of half-ink in one picture and the other side in the other."""
    wa, ha, pa = gray(a)
    wb, hb, pb = gray(b)
    if abs(wa - wb) > 1 or abs(ha - hb) > 1:
        return 1.0
    w, h = min(wa, wb), min(ha, hb)
    differ = sum(1 for y in range(h) for x in range(w) if (pa[y * wa + x] < 128) != (pb[y * wb + x] < 128))
    return differ / (w * h)


with tempfile.TemporaryDirectory(prefix="lw-outputs-") as d:
    p = lambda name: os.path.join(d, name)
    for label, options in CASES:
        if run(["dxf", p("a.dxf")] + options).returncode != 0:
            failures.append(f"{label}: dxf failed")
            continue
        (x0, y0), (x1, y1) = dxf_extents(p("a.dxf"))

        # 1. PDF page and pixels.
        for margin in ["0", "2.5"]:
            done = run(["pdf", p("a.pdf"), "--margin", margin] + options)
            info = subprocess.run(["pdfinfo", p("a.pdf")], capture_output=True, text=True).stdout
            size = re.search(r"Page size:\s+([0-9.]+) x ([0-9.]+) pts", info)
            if done.returncode != 0 or not size:
                failures.append(f"{label}: pdf --margin {margin}: {done.stderr!r} {info!r}")
                continue
            w, h = float(size.group(1)) * MM_PER_PT, float(size.group(2)) * MM_PER_PT
            m = float(margin)
            if abs(w - (x1 - x0 + 2 * m)) > 0.01 or abs(h - (y1 - y0 + 2 * m)) > 0.01:
                failures.append(f"{label}: page {w} x {h} mm, extents {x1 - x0} x {y1 - y0} + 2 x {m}")
        run(["pdf", p("fill.pdf")] + options)
        run(["svg", p("a.svg")] + options)
        dpi = 600
        subprocess.run(["pdftoppm", "-r", str(dpi), "-gray", "-singlefile", p("fill.pdf"), p("pdf")], check=True)
        subprocess.run(["rsvg-convert", "--dpi-x", str(dpi), "--dpi-y", str(dpi), "-b", "white", "-o", p("svg.png"),
                        p("a.svg")], check=True)
        subprocess.run(["convert", p("svg.png"), "-colorspace", "gray", "-depth", "8", p("svg.pgm")], check=True)
        share = ink_differs(p("pdf.pgm"), p("svg.pgm"))
        if share > 0.005:
            failures.append(f"{label}: {share:.2%} of the pixels differ between the PDF and the SVG")

        # 2. HPGL extents by hp2xx, in plotter units (40 a millimetre), from the origin.
        run(["hpgl", p("a.plt")] + options)
        said = subprocess.run(["hp2xx", "-m", "eps", "-f", p("a.eps"), p("a.plt")], capture_output=True, text=True)
        rng = re.search(r"Coordinate range: \(([-0-9.]+), ([-0-9.]+)\) \.\.\. \(([-0-9.]+), ([-0-9.]+)\)",
                        said.stdout + said.stderr)
        if not rng:
            failures.append(f"{label}: hp2xx said {said.stdout + said.stderr!r}")
        else:
            u0, v0, u1, v1 = (float(g) / 40 for g in rng.groups())
            if (abs(u0) > 1 / 40 or abs(v0) > 1 / 40 or abs(u1 - u0 - (x1 - x0)) > 1 / 40 or
                    abs(v1 - v0 - (y1 - y0)) > 1 / 40):
                failures.append(f"{label}: hp2xx's range {rng.groups()}, the DXF's {x1 - x0} x {y1 - y0} mm")

        # 3. Release 12 and the text.
        run(["dxf", p("r12.dxf"), "--dxf-version", "r12", "--dxf-text"] + options)
        doc = ezdxf.readfile(p("r12.dxf"))
        auditor = doc.audit()
        if doc.dxfversion != "AC1009" or auditor.has_errors:
            failures.append(f"{label}: R12 is {doc.dxfversion}, audit {[str(e) for e in auditor.errors]}")
        if figures(p("r12.dxf")) != figures(p("a.dxf")):
            failures.append(f"{label}: R12's figures differ from the 2000 drawing's")
        if dxf_extents(p("r12.dxf")) != dxf_extents(p("a.dxf")):
            failures.append(f"{label}: R12's extents {dxf_extents(p('r12.dxf'))}")
        run(["dxf", p("plain12.dxf"), "--dxf-version", "r12"] + options)
        read = []
        for path in ["a.dxf", "plain12.dxf"]:
            ogr = subprocess.run(["ogrinfo", "-ro", "-al", "-so", p(path)], capture_output=True, text=True).stdout
            read.append((re.search(r"Feature Count: \d+", ogr), re.search(r"Extent: .*", ogr)))
        if not all(c and e for c, e in read) or [(c.group(0), e.group(0)) for c, e in read][0] != \
                [(c.group(0), e.group(0)) for c, e in read][1]:
            failures.append(f"{label}: GDAL reads the 2000 and R12 drawings as {read}")
        try:
            # It writes beside the drawing, under the drawing's name.
            lc = subprocess.run(["librecad", "dxf2pdf", "-o", p("plain12.pdf"), p("plain12.dxf")],
                                capture_output=True, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"), timeout=60)
            if lc.returncode != 0 or not os.path.exists(p("plain12.pdf")) or \
                    not open(p("plain12.pdf"), "rb").read().startswith(b"%PDF"):
                failures.append(f"{label}: librecad dxf2pdf on the R12 drawing: {lc.returncode} {lc.stderr!r}")
        except subprocess.TimeoutExpired:
            failures.append(f"{label}: librecad dxf2pdf did not end within 60 s on the R12 drawing")
        run(["dxf", p("text.dxf"), "--dxf-text"] + options)
        text = (options[options.index("--text") + 1])
        size = float(options[options.index("--size") + 1]) * 25.4 / 72
        for path in ["text.dxf", "r12.dxf"]:
            doc = ezdxf.readfile(p(path))
            texts = list(doc.modelspace().query("TEXT"))
            if len(texts) != 1 or texts[0].dxf.text != text or texts[0].dxf.layer != "LETTERWIRE_TEXT" or \
                    abs(texts[0].dxf.height - size) > 0.001:
                failures.append(f"{label}: {path}'s TEXT {[(t.dxf.text, t.dxf.layer, t.dxf.height) for t in texts]}")
        if ezdxf.readfile(p("text.dxf")).layers.get("LETTERWIRE_TEXT").dxf.plot != 0:
            failures.append(f"{label}: the text's layer plots")
        print(f"{label}: extents {x1 - x0:.3f} x {y1 - y0:.3f} mm; PDF/SVG differ {share:.3%}")

    # 4. Bad values: named, status 2, nothing written.
    BAD = [
        (["pdf", "--text", "WWWWWWWWWWWWWWWWWWWW", "--size", "72", "--page", "A4"], "--page"),
        (["pdf", "--margin", "-1"], "--margin"),
        (["pdf", "--page", "0x10mm"], "--page"),
        (["pdf", "--pdf-style", "cut", "--colour", "F00"], "--colour"),
        (["pdf", "--colour", "GG0000"], "--colour"),
        (["pdf", "--line-width", "0"], "--line-width"),
        (["hpgl", "--overcut", "1e9"], "--overcut"),
        (["hpgl", "--pen", "0"], "--pen"),
        (["dxf", "--dxf-version", "r14"], "--dxf-version"),
        (["dxf", "--page", "A4"], "--page"),
        (["svg", "--overcut", "1"], "--overcut"),
    ]
    for args, named in BAD:
        out = p("bad.out")
        done = run([args[0], out] + args[1:], text=True)
        if done.returncode != 2 or named not in done.stderr or os.path.exists(out):
            failures.append(f"{args}: status {done.returncode}, {done.stderr!r}, written {os.path.exists(out)}")

    # 5. batch by extension.
    with open(p("rows.csv"), "w") as f:
        f.write(f"{p('b.pdf')},Ab\n{p('b.plt')},Ab\n{p('b.hpgl')},Ab\n")
    done = run(["batch", p("rows.csv"), "--margin", "1", "--overcut", "0.5"], text=True)
    for name, command, extra in [("b.pdf", "pdf", ["--margin", "1"]), ("b.plt", "hpgl", ["--overcut", "0.5"]),
                                 ("b.hpgl", "hpgl", ["--overcut", "0.5"])]:
        run([command, p("single"), "--text", "Ab"] + extra)
        same = os.path.exists(p(name)) and open(p(name), "rb").read() == open(p("single"), "rb").read()
        if done.returncode != 0 or not same:
            failures.append(f"batch {name}: status {done.returncode} {done.stderr!r}, same bytes {same}")

for f in failures:
    print("FAIL", f)
sys.exit(1 if failures else 0)
