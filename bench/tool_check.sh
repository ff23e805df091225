#!/bin/sh
# The tool check and the stencil against the merged DXF export, each as a
# user runs it (one letterwire-cli run from the text to its result), taken
# in turns in one run of this script: the default text at 24 pt on the
# 0.01 mm grid, the median CPU time (user + system) of each, and the ratios
# (goals: the check at most 3x the export, the stencil at most 5x). Status
# 1 when a goal is missed. bench/export/tool_check_bench shows the same work
# inside one process, where the capture and the merge come from caches.
#   bench/tool_check.sh [build directory] [runs]
set -eu
build=${1:-build/release}
runs=${2:-21}
cli="$build/cli/letterwire-cli"
[ -x "$cli" ] || { echo "build letterwire-cli first ($cli)" >&2; exit 1; }
exec python3 - "$cli" "$runs" <<'PY'
import resource, subprocess, sys
cli, runs = sys.argv[1], int(sys.argv[2])
jobs = {"export": ["dxf", "-"], "check": ["check", "--tool", "0.5"], "stencil": ["dxf", "-", "--stencil", "0.5"]}
times = {name: [] for name in jobs}
for _ in range(runs):
    for name, args in jobs.items():
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        subprocess.run([cli] + args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        times[name].append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
median = {name: sorted(t)[len(t) // 2] * 1e3 for name, t in times.items()}
check, stencil = median["check"] / median["export"], median["stencil"] / median["export"]
print(f"merged DXF export {median['export']:.2f} ms, check {median['check']:.2f} ms ({check:.2f}x, goal <= 3), "
      f"stencil {median['stencil']:.2f} ms ({stencil:.2f}x, goal <= 5); median CPU of {runs} runs each")
sys.exit(0 if check <= 3 and stencil <= 5 else 1)
PY
