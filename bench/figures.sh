#!/bin/sh
# The cut-ready drawing's cost against the number of figures: 2,500 and
# 31,407 characters of 鬱 (nine figures each), merged and with --no-merge,
# CPU time of each (user + system, the best of a few runs) and the ratios.
# Linear work gives at most the characters' ratio, 12.6x; every figure
# compared with every other gave some 300x. At --precision 0.02 so the
# longer text stays within the work bound, the same for both lengths; the
# DXF goes to /dev/null, so the disk's writing is not counted.
#   bench/figures.sh [build directory] [runs] [precision]
set -eu
build=${1:-build}
runs=${2:-3}
precision=${3:-0.02}
cli="$build/cli/letterwire-cli"
[ -x "$cli" ] || { echo "build letterwire-cli first ($cli)" >&2; exit 1; }
# The best CPU seconds of the runs, to the microsecond: characters, then options.
best() {
  python3 - "$cli" "$runs" "$precision" "$@" <<'PY'
import os, subprocess, sys
cli, runs, precision, n, options = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4]), sys.argv[5:]
argv = [cli, "dxf", "-", "--precision", precision, *options, "--text", "鬱" * n]
times = []
for _ in range(runs):
    child = subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    if status != 0:
        sys.exit(f"{' '.join(argv[:-1])} (text of {n} characters) failed")
    times.append(usage.ru_utime + usage.ru_stime)
print(f"{min(times):.3f}")
PY
}
report() {
  awk -v what="$1" -v s="$2" -v l="$3" 'BEGIN {
    printf "%-11s 2,500 characters %.2f s, 31,407 characters %.2f s CPU, ratio %.1fx (characters 12.6x)\n",
           what, s, l, l / s }'
}
report merged "$(best 2500)" "$(best 31407)"
report --no-merge "$(best 2500 --no-merge)" "$(best 31407 --no-merge)"
