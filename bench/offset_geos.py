#!/usr/bin/python3
"""GEOS's buffer (through shapely) of the shapes offset_bench writes: the
same polygons, round joins, as many points on a whole circle as the offset
puts there. Prints the best and median CPU seconds of the rounds and the
result's vertices.

    bench/offset_geos.py SHAPES-FILE ROUNDS"""
import math
import sys
import time

from shapely.geometry import MultiPolygon, Polygon


def read(path):
    polygons, outer, holes, distance, per_circle = [], None, [], 0.0, 8
    with open(path) as f:
        for line in f:
            kind, *rest = line.split()
            if kind == "D":
                distance, per_circle = float(rest[0]), int(rest[2])
                continue
            ring = [(float(rest[i]), float(rest[i + 1])) for i in range(0, len(rest), 2)]
            if kind == "O":
                if outer is not None:
                    polygons.append(Polygon(outer, holes))
                outer, holes = ring, []
            else:
                holes.append(ring)
    if outer is not None:
        polygons.append(Polygon(outer, holes))
    return MultiPolygon(polygons), distance, per_circle


def vertices(geometry):
    polygons = getattr(geometry, "geoms", [geometry])
    return sum(len(p.exterior.coords) - 1 + sum(len(h.coords) - 1 for h in p.interiors) for p in polygons)


def main():
    shapes, distance, per_circle = read(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    # GEOS counts the segments of a quarter circle.
    quadrant = max(1, math.ceil(per_circle / 4))
    times, out = [], None
    for _ in range(rounds):
        start = time.process_time()
        out = shapes.buffer(distance, resolution=quadrant, join_style=1)  # round
        times.append(time.process_time() - start)
    times.sort()
    print(f"{times[0]:.6f} {times[len(times) // 2]:.6f} {vertices(out)}")


if __name__ == "__main__":
    main()
