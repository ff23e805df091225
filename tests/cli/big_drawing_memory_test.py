#!/usr/bin/env python3
"""A big drawing holds its points once: between a line of N characters and
one of 2N, the peak of `dxf` grows by at most 16 bytes for each vertex the
drawing gained, counted by ezdxf in the files written (the capture, its
rings and the cut-ready outline each take about 8 bytes a vertex; any two
held at once would pass 16).

Usage: big_drawing_memory_test.py CLI
"""
import os
import subprocess
import sys
import tempfile

PIECE = "編集テキストのアウトラインを書きこみます。Letterwire 2026 漢字かなカナABC"
# Long enough that either run peaks above this script's own size, which a
# child's peak starts from.
LENGTHS = (2500, 5000)
BYTES_PER_VERTEX = 16
CASES = [
    ("merged", []),
    ("unmerged", ["--no-merge"]),
]


def peak(cli, args):
    """The peak resident bytes of one run, which must succeed."""
    process = subprocess.Popen([cli] + args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{' '.join(args[:2])}: status {os.waitstatus_to_exitcode(status)}")
    return usage.ru_maxrss * 1024


def main():
    cli = sys.argv[1]
    failed = 0
    with tempfile.TemporaryDirectory() as folder:
        runs = []
        # Every run before ezdxf is loaded: this script stays small.
        for name, options in CASES:
            for n in LENGTHS:
                text = (PIECE * (n // len(PIECE) + 1))[:n]
                out = os.path.join(folder, f"{name}-{n}.dxf")
                runs.append((name, n, out, peak(cli, ["dxf", out, "--size", "144", "--text", text] + options)))
        import ezdxf

        vertices = {}
        for name, n, out, _ in runs:
            drawing = ezdxf.readfile(out)
            vertices[(name, n)] = sum(len(e) for e in drawing.modelspace().query("LWPOLYLINE"))
            os.remove(out)
        peaks = {(name, n): p for name, n, _, p in runs}
        for name, _ in CASES:
            small, large = LENGTHS
            gained = vertices[(name, large)] - vertices[(name, small)]
            grown = peaks[(name, large)] - peaks[(name, small)]
            per_vertex = grown / gained if gained > 0 else float("inf")
            ok = per_vertex <= BYTES_PER_VERTEX
            failed += not ok
            print(f"{'ok' if ok else 'FAIL'} {name}: {gained} vertices more, peak {grown / 1e6:.1f} MB more, "
                  f"{per_vertex:.1f} bytes a vertex (at most {BYTES_PER_VERTEX})")
    print(f"{len(CASES) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
