#!/usr/bin/env python3
"""letterwire-cli batch as a script uses it, on Linux or under Wine.

A list with Japanese output names in a folder with a blank, CR LF line ends
and a bad row: each good row's file holds the bytes of the single run with
the same options, the bad row is named by its line and column, and the
status is 1.

Usage: batch_files_test.py CLI [PREFIX...]   (PREFIX: e.g. scripts/wine-run for a .exe)
"""
import os
import subprocess
import sys
import tempfile

# Absolute, since the batch runs in the list's folder.
command = [os.path.abspath(a) if os.path.exists(a) else a for a in sys.argv[2:] + [sys.argv[1]]]
wine = len(sys.argv) > 2
failures = []


def native(path):
    """The path as the program reads it."""
    if not wine:
        return path
    return subprocess.run(command[:-1] + ["winepath", "-w", path], capture_output=True,
                          check=True).stdout.decode("utf-8").strip()


with tempfile.TemporaryDirectory() as scratch:
    folder = os.path.join(scratch, "ラベル の 束")
    os.makedirs(folder)
    rows = [
        ("出口.dxf", "出口 8", []),
        ("plate 2.svg", "Room 2, east", ["--size", "18", "--underline"]),
        ("板.dxf", "ABC", ["--angle", "90", "--italic"]),
    ]
    lines = [
        '出口.dxf,出口 8',
        '"plate 2.svg","Room 2, east",18,,,underline',
        'bad.dxf,X,999999',
        '板.dxf,ABC,,,90,italic',
    ]
    csv = os.path.join(folder, "list.csv")
    with open(csv, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("utf-8"))
    common = ["--precision", "0.05", "--anchor", "centre"]
    run = subprocess.run(command + ["batch", native(csv)] + common, capture_output=True,
                         cwd=folder)
    said = run.stderr.decode("utf-8", "replace")
    if run.returncode != 1:
        failures.append(f"batch: status {run.returncode} (1 expected): {said}")
    if "line 3, column 3 (size): --size must be" not in said:
        failures.append(f"batch: the bad row is not named: {said}")
    if os.path.exists(os.path.join(folder, "bad.dxf")):
        failures.append("batch: the bad row wrote a file")
    for name, text, options in rows:
        single = os.path.join(folder, "single-" + name)
        one = subprocess.run(command + [name.rsplit(".", 1)[1], native(single), "--text", text] + common +
                             options, capture_output=True)
        if one.returncode != 0:
            failures.append(f"{name}: the single run failed: {one.stderr.decode('utf-8', 'replace')}")
            continue
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            failures.append(f"{name}: not written by the batch")
            continue
        with open(path, "rb") as a, open(single, "rb") as b:
            if a.read() != b.read():
                failures.append(f"{name}: the batch's bytes differ from the single run's")
    print(f"batch: {len(rows)} files as single runs write them, the bad row named")

for f in failures:
    print("FAIL", f)
sys.exit(1 if failures else 0)
