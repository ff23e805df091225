#!/bin/sh
# A line in a stroke font against the outline of the same text, each as a
# user runs it (one letterwire-cli dxf from the text to its file), taken in
# turns round by round so a busy machine weighs on both alike: the median
# and best CPU time (user + system) of each and their ratios (goal: the
# stroke line at most half the outline's). The stroke font is read in every
# run; bench/core/stroke_bench gives the work after it. With a second build
# directory, its runs are taken in the same turns and its ratios printed
# beside (the build before). With LW_INSTRUCTIONS=1, the instructions of one
# run of each (callgrind), as the time is noisy when others build. Status 1
# when the goal is missed.
#   bench/stroke.sh [build directory] [runs] [stroke font] [text] [build before]
set -eu
build=${1:-build/release}
runs=${2:-21}
face=${3:-kst32b}
text=${4:-編集テキスト}
before=${5:-}
cli="$build/cli/letterwire-cli"
[ -x "$cli" ] || { echo "build letterwire-cli first ($cli)" >&2; exit 1; }
[ -z "$before" ] || [ -x "$before/cli/letterwire-cli" ] || { echo "no letterwire-cli in $before" >&2; exit 1; }
exec python3 - "$cli" "$runs" "$face" "$text" "${before:+$before/cli/letterwire-cli}" "${LW_INSTRUCTIONS:-0}" <<'PY'
import os, re, resource, subprocess, sys, tempfile
cli, runs, face, text, before, instructions = sys.argv[1:7]
runs = int(runs)
builds = {"this": cli} | ({"before": before} if before else {})
jobs = {"outline": ["--text", text], "stroke": ["--text", text, "--stroke-font", face]}
times = {(b, j): [] for b in builds for j in jobs}
with tempfile.TemporaryDirectory(prefix="lw-stroke-bench-") as work:
    out = os.path.join(work, "o.dxf")
    def cpu(command):
        start = resource.getrusage(resource.RUSAGE_CHILDREN)
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        end = resource.getrusage(resource.RUSAGE_CHILDREN)
        return end.ru_utime - start.ru_utime + end.ru_stime - start.ru_stime
    for _ in range(runs):
        for b, program in builds.items():
            for j, args in jobs.items():
                times[(b, j)].append(cpu([program, "dxf", out] + args) * 1e3)
    median = {k: sorted(t)[len(t) // 2] for k, t in times.items()}
    best = {k: min(t) for k, t in times.items()}
    print(f"dxf \"{text}\", stroke font {face}, CPU ms of {runs} runs each in turns, load average "
          f"{os.getloadavg()[0]:.1f}")
    missed = False
    for b in builds:
        o, s = (b, "outline"), (b, "stroke")
        rounds = sorted(x / y for x, y in zip(times[s], times[o]))
        ratio = median[s] / median[o]
        missed = missed or (b == "this" and ratio > 0.5)
        print(f"  {b:6} outline {median[o]:.2f} (best {best[o]:.2f}), stroke {median[s]:.2f} (best {best[s]:.2f}): "
              f"ratio of medians {ratio:.2f}, of bests {best[s] / best[o]:.2f}, "
              f"median of the rounds' {rounds[len(rounds) // 2]:.2f} (goal <= 0.5)")
    if instructions == "1":
        for b, program in builds.items():
            counts = {}
            for j, args in jobs.items():
                done = subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={work}/cg",
                                       program, "dxf", out] + args, capture_output=True, check=True)
                counts[j] = int(re.search(rb"refs:\s+([\d,]+)", done.stderr).group(1).replace(b",", b""))
            print(f"  {b:6} instructions: outline {counts['outline']:,}, stroke {counts['stroke']:,}, "
                  f"ratio {counts['stroke'] / counts['outline']:.2f}")
sys.exit(1 if missed else 0)
PY
