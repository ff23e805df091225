#!/usr/bin/env python3
"""A line on an arc against the same line straight, as a user runs them: one
letterwire-cli dxf each, taken in turns so a busy machine weighs on both
alike; the median CPU time (user + system, from the child's own rusage) of
each and their ratio (goal: the arc at most 1.2x). The capture alone, warm
and in one process, is bench/core/arc_bench.

    bench/arc.py [BUILD-DIRECTORY] [RUNS]
"""
import os
import statistics
import sys
import tempfile

build = sys.argv[1] if len(sys.argv) > 1 else "build"
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
cli = os.path.join(build, "cli", "letterwire-cli")
out = os.path.join(tempfile.mkdtemp(), "o.dxf")


def cpu(args):
    pid = os.posix_spawn(cli, [cli, "dxf", out] + args, os.environ)
    _, status, usage = os.wait4(pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{cli} {' '.join(args)} failed")
    return usage.ru_utime + usage.ru_stime


CASES = [
    ("24 pt, 6 characters", 30, ["--text", "編集テキスト"]),
    ("72 pt, 60 Latin", 200, ["--font", "DejaVu Sans", "--size", "72", "--text", "ROUND PLATE " * 5]),
    ("24 pt, 120 characters", 200, ["--text", "編集テキスト" * 20]),
    ("24 pt, 120 characters, --curves", 200, ["--curves", "--text", "編集テキスト" * 20]),
    ("144 pt, 120 characters, --offset 0.2", 1000, ["--size", "144", "--offset", "0.2", "--text", "編集テキスト" * 20]),
]
print(f"dxf at 0.01 mm, median CPU of {runs} runs each, in turns")
for name, radius, args in CASES:
    straight, arc = [], []
    for _ in range(runs):
        straight.append(cpu(args))
        arc.append(cpu(args + ["--arc", str(radius)]))
    s, a = statistics.median(straight), statistics.median(arc)
    print(f"{name:40} straight {s * 1000:7.1f} ms, arc {a * 1000:7.1f} ms, ratio {a / s:.2f}x")
