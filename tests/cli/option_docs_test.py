#!/usr/bin/env python3
"""The option list users read, against the one the program knows.

The names come from the parser's own list (kOptionNames in cli/options.cpp,
and the words its loop compares), each confirmed by the built program itself: it must not call the name
unknown, while a made-up name must be. Every such option must then be named
by `letterwire-cli --help`, the manual page, the Windows README.txt and the
README's option table, and none of those may name an option the program
does not know. Texts meant for a terminal or Notepad stay within 78 columns.
The programs' --version and the changelog's newest entry give the version
cmake/letterwire-version.cmake sets.

    option_docs_test.py LETTERWIRE-CLI [LETTERWIRE LAUNCHER]

Adding an option: put it in kOptionNames and usageText, then this test
names each text that still lacks it.
"""
import os
import re
import subprocess
import sys
import unicodedata

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
OPTION = re.compile(r"--[a-z][a-z0-9-]*[a-z0-9]")
COLUMNS = 78


def read(path):
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        return f.read()


def run(args):
    p = subprocess.run(args, capture_output=True, timeout=60)
    return p.returncode, p.stdout.decode("utf-8"), p.stderr.decode("utf-8")


def parser_list():
    """kOptionNames, and the names the parser compares words with."""
    source = read("cli/options.cpp")
    m = re.search(r"kOptionNames\[\]\s*=\s*\{(.*?)\};", source, re.S)
    assert m, "cli/options.cpp: no kOptionNames list"
    names = re.findall(r'"(--[^"]+)"', m.group(1))
    assert len(names) >= 10, f"kOptionNames read as {names}"
    compared = re.findall(r'\b[a-z]+ == "(--[a-z0-9-]+)"', source)
    return set(names), set(compared)


def known_to_program(cli, name):
    # The option alone, without a command: a known one is refused for its
    # missing value or command, never as unknown.
    _, _, err = run([cli, name])
    return "unknown option" not in err


def roff_text(roff):
    text = roff.replace("\\-", "-").replace("\\(hy", "-")
    return re.sub(r"\\f[BIRP]", "", text)


def options_table(readme):
    # The rows of the README's "## Options" section.
    m = re.search(r"^## Options\n(.*?)(?=^## |\Z)", readme, re.S | re.M)
    assert m, "README.md has no '## Options' section"
    return "\n".join(line for line in m.group(1).splitlines() if line.startswith("|"))


def columns(line):
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in line)


def main():
    cli = sys.argv[1]
    programs = sys.argv[1:]
    failures = []

    names, compared = parser_list()
    for name in sorted(compared - names):
        failures.append(f"the parser takes {name}, but kOptionNames (did you mean) lacks it")
    names |= compared
    if known_to_program(cli, "--no-such-option"):
        failures.append("the probe is blind: --no-such-option is not called unknown")
    for name in sorted(names):
        if not known_to_program(cli, name):
            failures.append(f"{name} is in kOptionNames but letterwire-cli calls it unknown")

    status, help_text, err = run([cli, "--help"])
    if status != 0:
        failures.append(f"--help: status {status}: {err}")
    helps = {"--help": help_text}
    listed = help_text.split("Commands:\n")[-1].split("\n\n")[0]
    commands = re.findall(r"^  ([a-z]+)\b", listed, re.M)
    if len(commands) < 5:
        failures.append(f"--help lists the commands {commands}")
    for command in sorted(set(commands)):
        helps[f"{command} --help"] = run([cli, command, "--help"])[1]

    texts = {
        "letterwire-cli --help": help_text,
        "packaging/linux/letterwire-cli.1": roff_text(read("packaging/linux/letterwire-cli.1")),
        "packaging/windows/README.txt": read("packaging/windows/README.txt"),
        "README.md's option table": options_table(read("README.md")),
    }
    for where, text in texts.items():
        named = set(OPTION.findall(text))
        for name in sorted(names - named):
            failures.append(f"{where} does not name {name}")
        for name in sorted(named - names):
            if not known_to_program(cli, name):
                failures.append(f"{where} names {name}, which letterwire-cli does not know")

    wrapped = dict(helps)
    wrapped["packaging/windows/README.txt"] = read("packaging/windows/README.txt")
    if len(programs) > 1:
        wrapped["Letterwire --help"] = run([programs[1], "--help"])[1]
    if len(programs) > 2:
        wrapped["launcher --help"] = run([programs[2], "--help"])[1]
        if not wrapped["launcher --help"].startswith("Usage: launcher"):
            failures.append("launcher --help does not print its usage: " +
                            repr(wrapped["launcher --help"][:120]))
    for where, text in wrapped.items():
        for number, line in enumerate(text.splitlines(), 1):
            if columns(line) > COLUMNS:
                failures.append(f"{where}: line {number} is {columns(line)} columns wide: {line.strip()[:60]}")

    version = re.search(r"^set\(LETTERWIRE_VERSION ([0-9.]+)\)", read("cmake/letterwire-version.cmake"), re.M)
    if not version:
        failures.append("cmake/letterwire-version.cmake sets no LETTERWIRE_VERSION")
    else:
        version = version.group(1)
        for program in programs:
            out = run([program, "--version"])[1].strip()
            if out != f"{os.path.basename(program)} {version}":
                failures.append(f"{program} --version says {out!r}, not version {version}")
        newest = re.search(r"^## ([0-9][^ \n]*)", read("CHANGELOG.md"), re.M)
        if not newest or newest.group(1) != version:
            failures.append(f"CHANGELOG.md's newest entry is not {version}")

    for f in failures:
        print("FAIL:", f)
    print(f"{len(names)} options, {len(texts)} texts, {len(wrapped)} wrapped texts checked")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
