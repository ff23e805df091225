#!/usr/bin/env python3
"""letterwire-cli batch as a script uses it, on Linux or under Wine.

A list with Japanese output names in a folder with a blank, CR LF line ends
and a bad row: each good row's file holds the bytes of the single run with
the same options, the bad row is named by its line and column, and the
status is 1.

Usage: batch_files_test.py CLI [PREFIX...]   (PREFIX: e.g. scripts/wine-run for a .exe)
"""
import ctypes
import os
import resource
import select
import signal
import struct
import subprocess
import sys
import tempfile
import time

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



def temporaries(folder):
    return [n for n in os.listdir(folder) if n.startswith(".lw-")]


# Rows naming one file in another spelling, a link or (Windows) another case
# are refused naming the first row, whose drawing stays; the others are
# written. Each case: the rows' outputs, and for each the line of the earlier
# row it must be refused as (None: written). Links only where the test can
# make them the way a user does.
sep = "\\" if wine else "/"
same_file_cases = [
    ("spellings", ["x.dxf", "." + sep + "x.dxf", "d" + sep + ".." + sep + "x.dxf", "d" + sep + "y.dxf",
                   "d" + sep + "." + sep + "y.dxf"],
     [None, 1, 1, None, 4]),
    # Two files on Linux, one on Windows.
    ("letter case", ["a.dxf", "A.DXF", "d" + sep + "B.svg", "D" + sep + "b.SVG"], [None, 1, None, 3])
    if wine else ("letter case", ["a.dxf", "A.DXF", "d/B.svg", "d/b.SVG"], [None, None, None, None]),
]
if not wine:
    same_file_cases.append(
        ("links", ["x.dxf", "to-x.dxf", "dl/y.dxf", "d/y.dxf", "dangling.dxf", "made.dxf"],
         [None, 1, None, 3, None, 5]))

for name, outputs, refused in same_file_cases:
    with tempfile.TemporaryDirectory() as scratch:
        folder = os.path.join(scratch, "list")
        os.makedirs(os.path.join(folder, "d"))
        if not wine and name == "links":
            os.symlink("x.dxf", os.path.join(folder, "to-x.dxf"))
            os.symlink("d", os.path.join(folder, "dl"))
            os.symlink("made.dxf", os.path.join(folder, "dangling.dxf"))
        csv = os.path.join(folder, "list.csv")
        listed = "".join(f"{out},T{i}\n" for i, out in enumerate(outputs))
        with open(csv, "w", encoding="utf-8") as f:
            f.write(listed)
        run = subprocess.run(command + ["batch", native(csv)], capture_output=True, cwd=folder)
        said = run.stderr.decode("utf-8", "replace")
        failed = sum(r is not None for r in refused)
        if run.returncode != (1 if failed else 0):
            failures.append(f"{name}: status {run.returncode}: {said}")
        summary = f"{failed} of {len(outputs)} rows failed; {len(outputs) - failed} written"
        if failed and summary not in said:
            failures.append(f"{name}: no \"{summary}\": {said}")
        for line, (out, earlier) in enumerate(zip(outputs, refused), start=1):
            refusal = f"line {line}, column 1 (output): \"{out}\" is already the output of line {earlier}"
            if (earlier is not None) != (refusal in said):
                failures.append(f"{name}: {out}: refused {refusal in said}, expected {earlier is not None}: {said}")
            if earlier is None:
                # The file holds this row's drawing, as a single run writes it.
                single = os.path.join(scratch, f"single{line}." + out.rsplit(".", 1)[1])
                subprocess.run(command + [out.rsplit(".", 1)[1].lower(), native(single), "--text", f"T{line - 1}"],
                               capture_output=True, check=True)
                with open(os.path.join(folder, out.replace("\\", "/")), "rb") as a, open(single, "rb") as b:
                    if a.read() != b.read():
                        failures.append(f"{name}: {out} does not hold its row's drawing")
        with open(csv, encoding="utf-8") as f:
            if f.read() != listed:
                failures.append(f"{name}: the list changed")
        if not wine and name == "links" and not (os.path.islink(os.path.join(folder, "to-x.dxf"))
                                                  and os.path.islink(os.path.join(folder, "dangling.dxf"))):
            failures.append("links: a link was replaced instead of written through")
        if temporaries(folder) or temporaries(os.path.join(folder, "d")):
            failures.append(f"{name}: temporaries left")
print(f"batch: {len(same_file_cases)} tables of one file in other spellings refused, naming the first row")


def run_measured(args, cwd, limit=None):
    """Status, standard error and CPU seconds of one run."""
    def limited():
        if limit is not None:
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
    child = subprocess.Popen(args, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                             preexec_fn=limited)
    said = child.stderr.read().decode("utf-8", "replace")
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = os.waitstatus_to_exitcode(status)
    return child.returncode, said, usage.ru_utime + usage.ru_stime


def check_kept(name, folder, kept):
    """Every file the user had is there with its bytes."""
    for file, data in kept.items():
        path = os.path.join(folder, file)
        if not os.path.exists(path):
            failures.append(f"{name}: {file} is gone")
            continue
        with open(path, "rb") as f:
            if f.read() != data:
                failures.append(f"{name}: {file} changed")
    if temporaries(folder):
        failures.append(f"{name}: temporaries left: {temporaries(folder)}")


if not wine:
    # Limits a user may run into: a file-size limit is the row's failure,
    # naming its file; a huge field is quoted short; the summary counts.
    heavy = "鬱" * 400
    limit_cases = [
        # name, list, file-size limit, status, said, rows written[, options]
        ("file-size limit", f"keep.dxf,{heavy}\nsmall.dxf,A\n", 20000, 1,
         ["line 1: Path/File access error: keep.dxf (File too large)", "1 of 2 rows failed; 1 written"], 1),
        ("huge output name", "n" * 3_000_000 + ".dxf,A\nsmall.dxf,A\n", None, 1,
         ["n" * 40 + "\u2026" + "n" * 36 + ".dxf (3000004 characters)", "1 of 2 rows failed; 1 written"], 1),
        ("huge name in kana", "出" * 100_000 + ".svg,A\n", None, 1,
         ["出" * 40 + "\u2026" + "出" * 36 + ".svg (100004 characters)", "1 of 1 rows failed; none written"], 0),
        ("huge size", "small.dxf,A," + "9" * 1_000_000 + "\n", None, 1,
         ["1 of 1 rows failed; none written"], 0),
        ("huge style", "small.dxf,A,,,,b" + "o" * 1_000_000 + "ld\n", None, 1,
         ["(1000003 characters)\" is not a style", "1 of 1 rows failed; none written"], 0),
        # An empty drawing in the old one's place would look like success.
        ("offset erasing the text", "keep.dxf,Hg\nx.svg,O\n", None, 1,
         ["line 1: Nothing to draw: the inward offset of 2 mm erased the whole text", "2 of 2 rows failed; none written"],
         0, ["--offset", "-2"]),
    ]
    for name, listed, limit, status, said_parts, written, *options in limit_cases:
        with tempfile.TemporaryDirectory() as folder:
            kept = {"list.csv": listed.encode("utf-8"), "keep.dxf": b"the old drawing\n", "other.txt": b"mine\n"}
            for file, data in kept.items():
                with open(os.path.join(folder, file), "wb") as f:
                    f.write(data)
            got, said, _ = run_measured(command + ["batch", "list.csv"] + sum(options, []), folder, limit)
            if got != status:
                failures.append(f"{name}: status {got} ({status} expected): {said[:300]}")
            for part in said_parts:
                if part not in said:
                    failures.append(f"{name}: no {part!r} in {said[:400]!r}")
            if "\ufffd" in said:
                failures.append(f"{name}: a message cut inside a character: {said[:300]}")
            if max(len(line) for line in said.splitlines()) > 300:
                failures.append(f"{name}: a message of {max(len(line) for line in said.splitlines())} bytes")
            if os.path.exists(os.path.join(folder, "small.dxf")) != (written == 1):
                failures.append(f"{name}: small.dxf written: {not written}")
            check_kept(name, folder, kept)
    for format in ("dxf", "svg"):
        erased = subprocess.run(command + [format, "-", "--text", "Hg", "--offset", "-2"], capture_output=True)
        if erased.returncode != 1 or erased.stdout or b"erased the whole text" not in erased.stderr:
            failures.append(f"{format} to standard output, text erased: status {erased.returncode}, "
                            f"{len(erased.stdout)} bytes written")
    print(f"batch: {len(limit_cases)} limits said as the row's failure, briefly, nothing of the user's lost")

    # A list into a big folder costs about what it costs into an empty one:
    # the folder is looked through for stale temporaries once, not per row.
    rows = "".join(f"r{i}.dxf,{i}\n" for i in range(150))
    cpu = {}
    for files in (0, 60000):
        with tempfile.TemporaryDirectory() as folder:
            for i in range(files):
                os.close(os.open(os.path.join(folder, f"f{i:06}"), os.O_CREAT | os.O_WRONLY))
            with open(os.path.join(folder, "list.csv"), "w") as f:
                f.write(rows)
            got, said, cpu[files] = run_measured(command + ["batch", "list.csv"], folder)
            if got != 0:
                failures.append(f"big folder: status {got}: {said[:300]}")
            if len(os.listdir(folder)) != files + 151:
                failures.append(f"big folder: {len(os.listdir(folder))} files, {files + 151} expected")
    if cpu[60000] > 1.5 * cpu[0] + 0.5:
        failures.append(f"big folder: {cpu[60000]:.2f} s CPU into 60,000 files against {cpu[0]:.2f} s into none")
    print(f"batch: 150 rows into 60,000 files {cpu[60000]:.2f} s CPU, into none {cpu[0]:.2f} s")

    # Stopped the moment a temporary appears (as fast as inotify says so),
    # the batch takes it with it: it was registered as it was made. Each
    # trial stops it at a later row; polled with a deadline.
    libc = ctypes.CDLL(None, use_errno=True)
    IN_CREATE = 0x100
    stopped = 0
    trials = [(signal.SIGTERM, 1), (signal.SIGINT, 2), (signal.SIGHUP, 3)] * 8
    for sig, nth in trials:
        with tempfile.TemporaryDirectory() as folder:
            listed = "".join(f"r{i}.dxf,{'Sog8' * 20}\n" for i in range(6))
            kept = {"list.csv": listed.encode(), "r0.dxf": b"the old drawing\n", "other.txt": b"mine\n"}
            for file, data in kept.items():
                with open(os.path.join(folder, file), "wb") as f:
                    f.write(data)
            watch = libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
            libc.inotify_add_watch(watch, folder.encode(), IN_CREATE)
            child = subprocess.Popen(command + ["batch", "list.csv"], cwd=folder, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
            seen = 0
            deadline = time.monotonic() + 60
            while seen < nth and child.poll() is None and time.monotonic() < deadline:
                if not select.select([watch], [], [], 0.5)[0]:
                    continue
                events = os.read(watch, 65536)
                at = 0
                while at < len(events):
                    _, _, _, size = struct.unpack_from("iIII", events, at)
                    name = events[at + 16:at + 16 + size].rstrip(b"\0")
                    at += 16 + size
                    seen += name.startswith(b".lw-")
            if seen >= nth:
                child.send_signal(sig)
            child.wait(timeout=60)
            os.close(watch)
            stopped += child.returncode == -sig
            if temporaries(folder):
                failures.append(f"signal {sig.name} at row {nth}: temporaries left: {temporaries(folder)}")
            # The old output is either as it was or a whole new drawing.
            with open(os.path.join(folder, "r0.dxf"), "rb") as f:
                if f.read() != kept["r0.dxf"]:
                    kept["r0.dxf"] = None
            check_kept(f"signal {sig.name}", folder, {k: v for k, v in kept.items() if v is not None})
            for i in range(1, 6):
                path = os.path.join(folder, f"r{i}.dxf")
                if os.path.exists(path):
                    with open(path, "rb") as f:
                        if not f.read().rstrip().endswith(b"EOF"):
                            failures.append(f"signal {sig.name}: r{i}.dxf is not whole")
    if stopped < len(trials) // 2:
        failures.append(f"signal: only {stopped} of {len(trials)} runs were stopped while writing")
    print(f"batch: stopped {stopped} times as a temporary appeared, none left")

# A list saved by a Japanese spreadsheet (code page 932, encoded here by
# Python's own codec) draws what the UTF-8 list draws, with one note; told
# otherwise it is refused; a UTF-8 list with one such row stays UTF-8. Each
# case: the lines' encodings, the options, the status, whether the note is
# said, and which rows are written. "bold" is a style word like the others.
with tempfile.TemporaryDirectory() as scratch:
    rows = [("出口.dxf", "出口 8", []), ("板.svg", "ｶﾅ 表", ["--angle", "90", "--bold", "--italic"])]
    lines = ["出口.dxf,出口 8", "板.svg,ｶﾅ 表,,,90,bold italic"]
    encoding_cases = [
        ("code page 932 found", ["cp932", "cp932"], [], 0, True, [0, 1]),
        ("code page 932 told", ["cp932", "cp932"], ["--encoding", "cp932"], 0, False, [0, 1]),
        ("code page 932 told UTF-8", ["cp932", "cp932"], ["--encoding", "utf-8"], 1, False, []),
        ("UTF-8 with a code page 932 row", ["utf-8", "cp932"], [], 1, False, [0]),
        ("UTF-8 told code page 932", ["utf-8", "utf-8"], ["--encoding", "cp932"], 0, False, []),
    ]
    for n, (label, encodings, options, status, noted, written) in enumerate(encoding_cases):
        folder = os.path.join(scratch, str(n))
        os.makedirs(folder)
        csv = os.path.join(folder, "list.csv")
        with open(csv, "wb") as f:
            f.write(b"".join(line.encode(e) + b"\r\n" for line, e in zip(lines, encodings)))
        run = subprocess.run(command + ["batch", native(csv)] + options, capture_output=True, cwd=folder)
        said = run.stderr.decode("utf-8", "replace")
        if label == "UTF-8 told code page 932":
            # UTF-8 bytes that happen to be code page 932 are read as it;
            # what counts is that nothing is written under a UTF-8 name.
            written, status = [], run.returncode
        if run.returncode != status:
            failures.append(f"{label}: status {run.returncode} ({status} expected): {said}")
        if noted != ("code page 932 (Shift-JIS), read as such" in said) or said.count("note:") > 1:
            failures.append(f"{label}: the note is {'missing' if noted else 'wrong'}: {said}")
        for i, (name, text, row_options) in enumerate(rows):
            path = os.path.join(folder, name)
            if (i in written) != os.path.exists(path):
                failures.append(f"{label}: {name} {'not ' if i in written else ''}written: {said}")
            if i not in written or not os.path.exists(path):
                continue
            single = os.path.join(folder, "single-" + name)
            one = subprocess.run(command + [name.rsplit(".", 1)[1], native(single), "--text", text] + row_options,
                                 capture_output=True)
            with open(path, "rb") as a, open(single, "rb") as b:
                if one.returncode != 0 or a.read() != b.read():
                    failures.append(f"{label}: {name} differs from the single run's")
    print(f"batch: {len(encoding_cases)} lists in UTF-8 and code page 932 read as their encodings")

for f in failures:
    print("FAIL", f)
sys.exit(1 if failures else 0)
