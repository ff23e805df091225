#!/usr/bin/env python3
"""Two builds side by side, as a user meets them: the whole `dxf` command
(one letterwire-cli each, CPU time from the child's own rusage) and the
window's save (bench/export/save_probe: a capture at the save's grid, made
cut-ready and written; its first save, as a fresh window's, and the median
of the warm ones), on the default text and on the 46-character line at
144 pt, at 0.01 mm. The builds are taken in turns, the first of each pair
alternating, so a busy machine weighs on both alike. Prints each median and
B's time over A's.

    bench/merge_route.py BUILD-A BUILD-B [RUNS]

A build made from a tree without save_probe takes it built by hand against
that tree's core library (docs/performance.md says how).
"""
import os
import statistics
import subprocess
import sys
import tempfile

from turns import MIXED, child_cpu_ms

builds = sys.argv[1:3]
runs = int(sys.argv[3]) if len(sys.argv) > 3 else 21
out = os.path.join(tempfile.mkdtemp(), "o.dxf")
CASES = [
    ("default text, 24 pt", "編集テキスト", "24"),
    ("46 characters, 144 pt", MIXED, "144"),
]


def cli_cpu(build, text, size):
    cli = os.path.join(build, "cli", "letterwire-cli")
    return child_cpu_ms([cli, "dxf", out, "--precision", "0.01", "--size", size, "--text", text])


def save(build, text, size):
    probe = os.path.join(build, "bench", "export", "save_probe")
    first, median, _, _ = subprocess.run([probe, text, size, "0.01", "50"], check=True, capture_output=True,
                                         text=True).stdout.split()
    return float(first) / 1e3, float(median) / 1e3


if len(builds) != 2:
    sys.exit(__doc__)
print(f"A = {builds[0]}, B = {builds[1]}; median of {runs} runs each, in turns; ms")
for name, text, size in CASES:
    cpu = {b: [] for b in builds}
    first = {b: [] for b in builds}
    warm = {b: [] for b in builds}
    for i in range(runs):
        for b in builds if i % 2 == 0 else builds[::-1]:
            cpu[b].append(cli_cpu(b, text, size))
            f, w = save(b, text, size)
            first[b].append(f)
            warm[b].append(w)
    for what, table in (("dxf command (CPU)", cpu), ("window save, first", first), ("window save, warm", warm)):
        a, b = (statistics.median(table[x]) for x in builds)
        print(f"{name:24} {what:20} A {a:8.3f}  B {b:8.3f}  B/A {b / a:.3f}")
