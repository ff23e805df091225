#!/usr/bin/env python3
"""Two builds' whole `dxf` command side by side over scale_bench's table:
10 to 10,000 characters at 24 pt and the 46-character line at 1 to
1,000 pt, at 0.01 mm, one letterwire-cli per run, CPU time from the
child's own rusage. The builds are taken in turns, the first of each pair
alternating, so a busy machine weighs on both alike. Prints each median
and B's time over A's.

    bench/dxf_lengths.py BUILD-A BUILD-B [RUNS] [FILTER]
"""
import os
import statistics
import sys
import tempfile

from turns import MIXED, child_cpu_ms, in_turns

if len(sys.argv) < 3:
    sys.exit(__doc__)
builds = sys.argv[1:3]
runs = int(sys.argv[3]) if len(sys.argv) > 3 else 7
only = sys.argv[4] if len(sys.argv) > 4 else ""
out = os.path.join(tempfile.mkdtemp(), "o.dxf")
CASES = [(f"{n} characters, 24 pt", (MIXED * (n // 46 + 1))[:n], "24") for n in (10, 100, 1000, 10000)]
CASES += [(f"46 characters, {pt} pt", MIXED, pt) for pt in ("1", "2", "4", "8", "24", "144", "1000")]


def cli_cpu(build, text, size):
    cli = os.path.join(build, "cli", "letterwire-cli")
    args = [cli, "dxf", out, "--precision", "0.01", "--size", size, "--text", text]
    return child_cpu_ms(args, " ".join(args[:-2]) + " ...")


print(f"A = {builds[0]}, B = {builds[1]}; median of {runs} runs each, in turns; CPU ms; load {os.getloadavg()[0]:.1f}")
for name, text, size in CASES:
    if only not in name:
        continue
    cpu = in_turns(builds, runs, lambda b: cli_cpu(b, text, size))
    a, b = (statistics.median(cpu[x]) for x in builds)
    print(f"{name:26} A {a:9.2f}  B {b:9.2f}  B/A {b / a:.3f}", flush=True)
print(f"load {os.getloadavg()[0]:.1f}")
