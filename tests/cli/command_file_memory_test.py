#!/usr/bin/env python3
"""A JW command file costs memory by its bytes, not by its blanks or words:
each file below of about 10 MB peaks at no more than a file of the same size
that is one long word (plus a little), and every line but the "hq" ones is
copied byte for byte with CR LF, as Python reads the lines.

Usage: command_file_memory_test.py CLI
"""
import os
import re
import subprocess
import sys
import tempfile

SIZE = 10_000_000
TAIL = b"hp1 1 2\r\nhs 1 2 \r\nlg0\r\n"
# Made one at a time: the program's peak is measured from its fork, which
# starts as large as this script.
CASES = {
    "one line of blanks": lambda: b" " * SIZE + b"\r\n" + TAIL,
    "lines of blanks": lambda: (b" " * 999 + b"\n") * (SIZE // 1000) + TAIL,
    "blanks inside an hp1 line": lambda: b"hs 1 2 \r\nlg0\rhp1" + b" " * SIZE + b"1 2\r\n",
    "blanks after an hs line's scales": lambda: b"hp1 1 2\r\nhs 1 2 3" + b" " * SIZE + b"\r\nlg0\r\n",
    "words of one letter": lambda: b"a " * (SIZE // 2) + b"\r\n" + TAIL,
    "an hq line of blanks": lambda: b"hq" + b" " * SIZE + b"\r\n" + TAIL,
}
REFERENCE = lambda: b"x" * SIZE + b"\r\n" + TAIL


def copied(data):
    """The lines an export copies: all but "hq" ones, each with CR LF."""
    lines = re.split(rb"\r\n|\r|\n", data)
    if lines and lines[-1] == b"":
        lines.pop()
    return b"".join(line + b"\r\n" for line in lines if line.split(b" ", 1)[0] != b"hq")


def make(name, path):
    with open(path, "wb") as f:
        f.write(REFERENCE() if name == "reference" else CASES[name]())


def measure(cli, folder, name):
    """status, peak bytes and standard error of an export of case `name`.
    The file is made by a process of its own and checked only after every
    run: a program's peak counts from its fork, which starts as large as
    this script."""
    command = os.path.join(folder, name + ".txt")
    subprocess.run([sys.executable, __file__, "--make", name, command], check=True)
    process = subprocess.Popen([cli, "jw", command, os.path.join(folder, name + ".out"), "--text", "A"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    error = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    return os.waitstatus_to_exitcode(status), usage.ru_maxrss * 1024, error


def copied_right(folder, name):
    with open(os.path.join(folder, name + ".txt"), "rb") as f:
        expected = copied(f.read())
    output = os.path.join(folder, name + ".out")
    if not os.path.exists(output):
        return False
    with open(output, "rb") as f:
        return f.read(len(expected)) == expected


def main():
    if sys.argv[1] == "--make":
        make(sys.argv[2], sys.argv[3])
        return
    cli = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        status, reference, error = measure(cli, folder, "reference")
        if status != 0:
            sys.exit(f"FAIL: the reference file: status {status}: {error}")
        bound = reference * 1.2 + 8_000_000
        runs = {name: measure(cli, folder, name) for name in CASES}
        if not copied_right(folder, "reference"):
            failures.append("reference: the copy differs from the command file's lines")
        for name, (status, peak, error) in runs.items():
            if peak > bound:
                failures.append(f"{name}: {peak / 1e6:.0f} MB at the peak, a file of one word "
                                f"{reference / 1e6:.0f} MB")
            if status == 0 and not copied_right(folder, name):
                failures.append(f"{name}: the copy differs from the command file's lines")
            if name != "blanks after an hs line's scales" and status != 0:
                failures.append(f"{name}: status {status}: {error}")
    for f in failures:
        print("FAIL:", f)
    if failures:
        sys.exit(1)
    print("command file memory test passed")


main()
