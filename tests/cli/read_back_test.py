#!/usr/bin/env python3
"""The DXF drawings read back by two readers no one here wrote: GDAL's DXF
driver (ogrinfo) and LibreCAD's console converter (librecad dxf2pdf).

1. GDAL reads every drawing without an error: one feature a polyline, as
   many as ezdxf counts, and the same extents as the polylines' own.
2. LibreCAD converts every drawing to a PDF of one page and says nothing
   of a failure.

A reader missing on the machine skips the test (status 77) in a developer's
run; where CI is set (the project's own runs, which install both) it fails.

Usage: read_back_test.py CLI [PREFIX...]   (PREFIX: e.g. scripts/wine-run for a .exe)
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

import ezdxf

command = sys.argv[2:] + [sys.argv[1]]
failures = []

readers = {"ogrinfo": shutil.which("ogrinfo"), "librecad": shutil.which("librecad")}
missing = [name for name, path in readers.items() if not path]
if missing:
    if os.environ.get("CI"):
        raise SystemExit(f"FAIL: {', '.join(missing)} missing (scripts/install-deps installs them)")
    print(f"SKIP: {', '.join(missing)} missing")
    sys.exit(77)

CASES = [
    # label, options: a line of text, a counter-rich one, underlined and
    # offset, a fine and a classic grid, a layer name to clean
    ("gothic", ["--text", "BOB 出口 8", "--font", "ＭＳ Ｐゴシック"]),
    ("mincho counters", ["--text", "図回品", "--font", "ＭＳ 明朝", "--size", "36"]),
    ("latin underline offset", ["--text", "Wavy Hill", "--font", "DejaVu Sans", "--underline", "--offset", "0.2"]),
    ("classic grid", ["--text", "O8", "--precision", "classic"]),
    ("no merge, turned", ["--text", "ABC", "--angle", "30", "--no-merge"]),
    ("layer name", ["--text", "0"]),
    ("forbidden characters", ["--text", 'a<b>:"c"']),
]


def ogr_summary(path):
    done = subprocess.run(["ogrinfo", "-ro", "-al", "-so", path], capture_output=True, text=True)
    if done.returncode != 0 or "ERROR" in done.stderr:
        return None, done.stderr.strip() or f"status {done.returncode}"
    count = re.search(r"Feature Count: (\d+)", done.stdout)
    extent = re.search(r"Extent: \(([-0-9.e]+), ([-0-9.e]+)\) - \(([-0-9.e]+), ([-0-9.e]+)\)", done.stdout)
    if not count or not extent:
        return None, f"no feature count or extent in: {done.stdout}"
    return (int(count.group(1)), tuple(float(v) for v in extent.groups())), ""


with tempfile.TemporaryDirectory(prefix="lw-read-") as scratch:
    for label, options in CASES:
        dxf = os.path.join(scratch, "drawing.dxf")
        done = subprocess.run(command + ["dxf", dxf] + options, capture_output=True)
        if done.returncode != 0:
            failures.append(f"{label}: the CLI failed: {done.stderr.decode(errors='replace')}")
            continue
        polylines = list(ezdxf.readfile(dxf).modelspace().query("LWPOLYLINE"))
        points = [p for e in polylines for p in e.get_points("xy")]
        box = (min(p[0] for p in points), min(p[1] for p in points), max(p[0] for p in points),
               max(p[1] for p in points))

        summary, error = ogr_summary(dxf)
        if summary is None:
            failures.append(f"{label}: GDAL: {error}")
        else:
            count, extent = summary
            if count != len(polylines):
                failures.append(f"{label}: GDAL reads {count} features, ezdxf {len(polylines)} polylines")
            # (minx, miny) - (maxx, maxy), printed to six decimals.
            if max(abs(a - b) for a, b in zip(extent, box)) > 1e-6:
                failures.append(f"{label}: GDAL's extent {extent}, the polylines' {box}")

        pdf = os.path.join(scratch, "drawing.pdf")
        if os.path.exists(pdf):
            os.remove(pdf)
        try:
            done = subprocess.run(["librecad", "dxf2pdf", "-o", pdf, dxf], capture_output=True, text=True,
                                  env=dict(os.environ, QT_QPA_PLATFORM="offscreen"), timeout=60)
        except subprocess.TimeoutExpired:
            # LibreCAD hangs on a drawing it cannot read.
            failures.append(f"{label}: librecad dxf2pdf did not end within 60 s")
            continue
        if done.returncode != 0 or not os.path.exists(pdf):
            failures.append(f"{label}: librecad dxf2pdf: status {done.returncode}: {done.stderr.strip()}")
        else:
            with open(pdf, "rb") as f:
                data = f.read()
            pages = len(re.findall(rb"/Type\s*/Page[^s]", data))
            if not data.startswith(b"%PDF") or pages != 1:
                failures.append(f"{label}: librecad wrote {len(data)} bytes, {pages} pages")
        print(f"{label}: {len(polylines)} polylines; GDAL {summary}; PDF {os.path.getsize(pdf) if os.path.exists(pdf) else 0} bytes")

for f in failures:
    print("FAIL", f)
sys.exit(1 if failures else 0)
