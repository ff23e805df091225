"""Reads a DXF of Letterwire back with two readers that no one here wrote,
ezdxf and GDAL's DXF driver (ogr2ogr), and compares it with the capture it
was written from (the capture JSON: pixel points, types, origin and dpi).
Prints "key value" lines for the test to check; exits 0 unless it cannot run.

    /usr/bin/python3 dxf_read_back.py drawing.dxf capture.json
"""
import json
import math
import subprocess
import sys

import ezdxf

dxf_path, json_path = sys.argv[1:3]
with open(json_path, encoding="utf-8") as f:
    capture = json.load(f)

# The expected figures in millimetres, computed here from the pixel points.
mm_per_px = 25.4 / capture["dpi"]
ox, oy = capture["origin"]
expected, start = [], 0
for i, t in enumerate(capture["types"]):
    if t & 1:
        pts = capture["points"][start:i + 1]
        expected.append([((x - ox) * mm_per_px, (oy - y) * mm_per_px) for x, y in pts])
        start = i + 1
print("figures", len(expected))


def max_error(got_figures):
    """Largest coordinate difference, or inf when the shapes differ."""
    if len(got_figures) != len(expected):
        return math.inf
    worst = 0.0
    for got, want in zip(got_figures, expected):
        if len(got) != len(want):
            return math.inf
        for (gx, gy), (wx, wy) in zip(got, want):
            worst = max(worst, abs(gx - wx), abs(gy - wy))
    return worst


json_figures = [[tuple(p) for p in f] for f in capture["figures"]]
print("json.max_error", max_error(json_figures))

doc = ezdxf.readfile(dxf_path)
auditor = doc.audit()
for e in auditor.errors:
    print("ezdxf.audit_error", str(e).replace("\n", " "), file=sys.stderr)
print("ezdxf.audit_errors", len(auditor.errors))
print("ezdxf.acadver", doc.dxfversion)
print("ezdxf.insunits", doc.header.get("$INSUNITS", -1))
msp = doc.modelspace()
polylines = list(msp.query("LWPOLYLINE"))
print("ezdxf.entities", len(msp))
print("ezdxf.polylines", len(polylines))
print("ezdxf.closed", sum(1 for p in polylines if p.closed))
print("ezdxf.layers", len({p.dxf.layer for p in polylines}))
if polylines:
    print("ezdxf.layer", polylines[0].dxf.layer)
got = [list(p.get_points("xy")) for p in polylines]
print("ezdxf.max_error", max_error(got))
xs = [x for f in got for x, _ in f]
ys = [y for f in got for _, y in f]
if xs:
    print("ezdxf.bbox", min(xs), min(ys), max(xs), max(ys))

# GDAL: each closed polyline comes back as a line string that repeats its
# first point at the end.
run = subprocess.run(["ogr2ogr", "-f", "GeoJSON", "-lco", "COORDINATE_PRECISION=17", "/vsistdout/", dxf_path],
                     capture_output=True)
if run.returncode != 0:
    print("ogr.failed", run.stderr.decode(errors="replace").replace("\n", " "))
else:
    features = json.loads(run.stdout.decode("utf-8"))["features"]
    lines = [f["geometry"]["coordinates"] for f in features if f["geometry"]["type"] == "LineString"]
    print("ogr.features", len(features))
    print("ogr.closed", sum(1 for c in lines if len(c) > 1 and c[0] == c[-1]))
    print("ogr.max_error", max_error([[tuple(p[:2]) for p in c[:-1]] for c in lines]))
    if features:
        print("ogr.layer", features[0]["properties"]["Layer"])
