#!/usr/bin/env python3
"""Every family name of a face finds that face, in every locale.

A font names its family once per language (ipamp.ttf: "IPAPMincho" and
"IPA P明朝"), and the platform reports the one its locale prefers. For each
IPA font, each family name its 'name' table holds (read with fontTools) is
given to letterwire-cli capture under an English and a Japanese locale, and
so is the usual Windows face name it stands in for: each run must draw from
that font file, report one of its names (or the usual name), warn of
nothing, and give the same outline as every other name and locale.

Usage: face_names_test.py CLI [PREFIX...]   (PREFIX: e.g. scripts/wine-run for a .exe)
"""
import glob
import json
import os
import subprocess
import sys

from fontTools.ttLib import TTFont

command = sys.argv[2:] + [sys.argv[1]]
wine = len(sys.argv) > 2
failures = []

# The Wine setting takes LETTERWIRE_WINE_LANG instead of LANG, which it sets
# itself. Wine reads the command line in the locale's character set, so
# under plain C a Japanese name is garbled before the program sees it.
LOCALES = ["C.UTF-8" if wine else "C", "ja_JP.UTF-8"]
FONTS = sorted(glob.glob("/usr/share/fonts/opentype/ipafont-*/ipa*.ttf"))
if not FONTS:
    print("the IPA fonts are not installed")
    sys.exit(77)


# The usual Japanese Windows face name each font stands in for (the
# project's fontconfig rules; the Wine setting's substitutes).
STAND_INS = {"ipag.ttf": "ＭＳ ゴシック", "ipagp.ttf": "ＭＳ Ｐゴシック", "ipam.ttf": "ＭＳ 明朝", "ipamp.ttf": "ＭＳ Ｐ明朝"}


def family_names(path):
    """The family names (name 1) of the font's Windows records, each once."""
    names = []
    for record in TTFont(path)["name"].names:
        if record.nameID == 1 and record.platformID == 3:
            name = record.toUnicode()
            if name not in names:
                names.append(name)
    return names


def environment(locale):
    env = {k: v for k, v in os.environ.items() if not k.startswith("LC_") and k not in ("LANG", "LANGUAGE", "FC_LANG")}
    env["LETTERWIRE_WINE_LANG" if wine else "LANG"] = locale
    return env


def local_path(reported):
    """The font file the program reports, as a path on this machine."""
    if not wine or not reported:
        return reported
    return subprocess.run(command[:-1] + ["winepath", "-u", reported], capture_output=True,
                          check=True).stdout.decode("utf-8").strip()


for font in FONTS:
    names = family_names(font)
    if len(names) < 2:
        failures.append(f"{font}: fontTools finds only {names}")
        continue
    outlines, reported = {}, set()
    for locale in LOCALES:
        for name in names + [STAND_INS[os.path.basename(font)]]:
            case = f"{os.path.basename(font)} / {name} / {locale}"
            done = subprocess.run(command + ["capture", "--text", "図A", "--font", name], capture_output=True,
                                  env=environment(locale))
            warning = done.stderr.decode("utf-8", "replace").strip()
            if done.returncode != 0 or warning:
                failures.append(f"{case}: status {done.returncode}, {warning!r}")
                continue
            c = json.loads(done.stdout.decode("utf-8"))
            drawn_from = local_path(c["file"])
            # Wine may not tell the file (GDI's realisation query is optional).
            if drawn_from and os.path.realpath(drawn_from) != os.path.realpath(font):
                failures.append(f"{case}: drawn from {c['file']}")
            # Wine's substitutes go by the usual name itself.
            if c["family"] not in names + [name]:
                failures.append(f"{case}: reported family {c['family']!r} is none of {names}")
            reported.add(c["family"])
            outlines[case] = (c["types"], c["points"])
            print(f"{case}: family {c['family']!r}, {c['pointCount']} points, file {c['file']!r}")
    if len(set(map(json.dumps, outlines.values()))) > 1:
        failures.append(f"{font}: the names and locales give {len(set(map(json.dumps, outlines.values())))} outlines")
    # Else the locale never reached the platform and the test proves nothing.
    if len(outlines) == (len(names) + 1) * len(LOCALES) and len(reported) < 2:
        failures.append(f"{font}: every locale reports {reported}")

for f in failures:
    print("FAIL", f)
sys.exit(1 if failures else 0)
