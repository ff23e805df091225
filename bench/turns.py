"""What the benchmarks that set two builds side by side share: a child's
own CPU time, and runs taken in turns, the first of each pair alternating,
so a busy machine weighs on both alike."""
import os
import sys

MIXED = "編集テキストのアウトラインを書きこみます。Letterwire 2026 漢字かなカナABC"  # 46 characters


def child_cpu_ms(args, shown=None):
    """Runs args (a program and its arguments) and gives its CPU time in
    milliseconds from its own rusage; a failed run ends the benchmark,
    named by `shown` (the arguments by default)."""
    pid = os.posix_spawn(args[0], args, os.environ)
    _, status, usage = os.wait4(pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{shown or ' '.join(args)} failed")
    return (usage.ru_utime + usage.ru_stime) * 1e3


def in_turns(sides, runs, measure):
    """measure(side) `runs` times for each side, in turns: {side: [values]}."""
    values = {s: [] for s in sides}
    for i in range(runs):
        for s in sides if i % 2 == 0 else sides[::-1]:
            values[s].append(measure(s))
    return values
