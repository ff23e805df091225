#!/bin/sh
# The centreline against the merged DXF export, each as a user runs it (one
# letterwire-cli run from the text to its file), taken in turns in one run
# of this script: the default text on the 0.01 mm grid, the median CPU time
# (user + system) of each and their ratio (goal: the centreline at most 3x
# the export). Status 1 when the goal is missed.
#   bench/centreline.sh [build directory] [runs] [text]
set -eu
build=${1:-build/release}
runs=${2:-21}
cli="$build/cli/letterwire-cli"
[ -x "$cli" ] || { echo "build letterwire-cli first ($cli)" >&2; exit 1; }
exec python3 - "$cli" "$runs" "${3:-}" <<'PY'
import resource, subprocess, sys
cli, runs, text = sys.argv[1], int(sys.argv[2]), sys.argv[3]
given = ["--text", text] if text else []
jobs = {"export": ["dxf", "-"] + given, "centreline": ["dxf", "-", "--centreline"] + given}
times = {name: [] for name in jobs}
for _ in range(runs):
    for name, args in jobs.items():
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        subprocess.run([cli] + args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        times[name].append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
median = {name: sorted(t)[len(t) // 2] * 1e3 for name, t in times.items()}
ratio = median["centreline"] / median["export"]
print(f"merged DXF export {median['export']:.2f} ms, centreline {median['centreline']:.2f} ms "
      f"({ratio:.2f}x, goal <= 3); median CPU of {runs} runs each")
sys.exit(0 if ratio <= 3 else 1)
PY
