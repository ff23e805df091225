#!/usr/bin/env python3
"""Two command lines side by side on long lines with curves: the whole
`dxf --curves` (one letterwire-cli each, CPU time from the child's own
rusage) at 24 pt and 0.01 mm, on the 46-character line repeated to 46, 300,
1,000 and 3,000 characters. The builds are taken in turns, the first of each
pair alternating, so a busy machine weighs on both alike. Prints each median,
the range, and B's time over A's.

    bench/curves_line.py CLI-A CLI-B [RUNS] [FORMAT]
"""
import os
import statistics
import sys
import tempfile

from turns import MIXED, child_cpu_ms, in_turns

if len(sys.argv) < 3:
    sys.exit(__doc__)
clis = sys.argv[1:3]
runs = int(sys.argv[3]) if len(sys.argv) > 3 else 9
kind = sys.argv[4] if len(sys.argv) > 4 else "dxf"
out = os.path.join(tempfile.mkdtemp(), "o." + kind)


def line(n):
    return "".join(MIXED[i % len(MIXED)] for i in range(n))


def cpu(cli, text):
    args = [cli, kind, out, "--precision", "0.01", "--size", "24", "--curves", "--text", text]
    return child_cpu_ms(args, " ".join(args[:-1]))


print(f"A = {clis[0]}, B = {clis[1]}; {kind} --curves, median of {runs} runs each, in turns; CPU ms; "
      f"load average {os.getloadavg()[0]:.1f}")
for n in (46, 300, 1000, 3000):
    text = line(n)
    times = in_turns(clis, runs, lambda c: cpu(c, text))
    a, b = (statistics.median(times[c]) for c in clis)
    ranges = "  ".join(f"{min(times[c]):.1f}-{max(times[c]):.1f}" for c in clis)
    print(f"{n:5} characters  A {a:8.2f}  B {b:8.2f}  B/A {b / a:.3f}  (ranges {ranges})", flush=True)
print(f"load average {os.getloadavg()[0]:.1f}")
