#!/usr/bin/env python3
"""Pixels of a centred capture (letterwire-cli capture --centre JSON on stdin)
where the preview's fill is known by the font's nonzero rule: a point deep
inside each innermost figure that stands within another, a counter (must
show the background) or a stroke standing in a hole (must be ink). Prints
one line per pixel: "x y ink" or "x y background", in the preview's pixels.
"""
import json
import sys

c = json.load(sys.stdin)
figures, start = [], 0
for i, t in enumerate(c["types"]):
    if t & 1:
        figures.append(c["points"][start:i + 1])
        start = i + 1


def winding(f, x, y):
    w = 0
    for k in range(len(f)):
        (ax, ay), (bx, by) = f[k], f[(k + 1) % len(f)]
        if ay <= y < by and (x - ax) * (by - ay) > (bx - ax) * (y - ay):
            w += 1
        elif by <= y < ay and (x - ax) * (by - ay) < (bx - ax) * (y - ay):
            w -= 1
    return w


def inside(f, x, y):
    return winding(f, x, y) != 0


def total(x, y):
    return sum(winding(f, x, y) for f in figures)


def interior_pixel(f):
    xs, ys = [p[0] for p in f], [p[1] for p in f]
    best = None
    # The pixel centre deepest inside the figure: farthest from its box edges.
    for y in range(min(ys), max(ys) + 1):
        for x in range(min(xs), max(xs) + 1):
            if inside(f, x + 0.5, y + 0.5):
                margin = min(x - min(xs), max(xs) - x, y - min(ys), max(ys) - y)
                if best is None or margin > best[0]:
                    best = (margin, x, y)
    return best


def contained_by(f):
    x, y = f[0][0] + 0.01, f[0][1] + 0.01
    return [g for g in figures if g is not f and inside(g, x, y)]


# The innermost figures that stand inside another: where filling each figure
# on its own goes wrong. What the font means there is the nonzero rule over
# all figures.
for f in figures:
    if not contained_by(f) or any(f in contained_by(g) for g in figures if g is not f):
        continue
    found = interior_pixel(f)
    if not found or found[0] < 2:
        continue
    _, x, y = found
    print(x, y, "ink" if total(x + 0.5, y + 0.5) != 0 else "background")
