"""Small stroke fonts made for the tests, and the lines letterwire-cli must
draw from them, worked out here by hand from the formats' definitions (not
by reading the files back): the glyphs' strokes in font units, the em, the
ascent and descent, then scaled, spaced, widened, turned, anchored and
mirrored as the options say."""
import math

# Hershey: " " from J to Z; "!" two strokes, around "R", baseline 9 below it.
JHF = "12345  1JZ\n12345  6JZNFNM RVFVM\n"
# CAD single-line: A a caret and a bar, B three sides of a box; advances are
# the right-most point plus the letter spacing.
LFF = ("# LetterSpacing: 2\n# WordSpacing: 5\n\n"
       "[0041] A\n0,0;3,9;6,0\n1,3;5,3\n\n"
       "[0042] B\n0,0;0,9;4,9;4,0\n")

# Per font: em, ascent, descent (units) and glyphs: advance, strokes.
GLYPHS = {
    "jhf": (32, 25, 7, {" ": (16, []), "!": (16, [[(4, 21), (4, 14)], [(12, 21), (12, 14)]])}),
    "lff": (12, 9, 3, {"A": (8, [[(0, 0), (3, 9), (6, 0)], [(1, 3), (5, 3)]]),
                       "B": (6, [[(0, 0), (0, 9), (4, 9), (4, 0)]])}),
}


def write_fonts(folder):
    """The two files in `folder`, named t.jhf and t.lff; their paths."""
    paths = {}
    for kind, text in (("jhf", JHF), ("lff", LFF)):
        paths[kind] = f"{folder}/t.{kind}"
        with open(paths[kind], "w", encoding="ascii") as f:
            f.write(text)
    return paths


def expected(kind, text, size, angle=0, spacing=0.0, width=100, anchor="baseline-left", mirror="none"):
    """The open lines in mm (y up) for `text` in the test font `kind`."""
    em, ascent, descent, glyphs = GLYPHS[kind]
    unit = size * 25.4 / 72 / em
    w = width / 100
    lines, pen = [], 0.0
    for i, c in enumerate(text):
        advance, strokes = glyphs[c]
        if i:
            pen += spacing * 25.4 / 72
        lines += [[(pen + x * unit * w, y * unit) for x, y in s] for s in strokes]
        pen += advance * unit * w
    top, bottom = ascent * unit, -descent * unit
    ay = {"top": top, "middle": (top + bottom) / 2, "centre": (top + bottom) / 2, "bottom": bottom}.get(
        anchor.split("-")[0], 0.0)
    ax = pen / 2 if "centre" in anchor else pen if anchor.endswith("right") else 0.0
    t = math.radians(angle)
    mx, my = (-1 if mirror == "x" else 1), (-1 if mirror == "y" else 1)
    return [[(mx * ((x - ax) * math.cos(t) - (y - ay) * math.sin(t)),
              my * ((x - ax) * math.sin(t) + (y - ay) * math.cos(t))) for x, y in line] for line in lines]


def arguments(case):
    """The options of a case: a dict of size, angle, spacing, width, anchor, mirror."""
    a = ["--size", str(case.get("size", 72))]
    for name in ("angle", "spacing", "width", "anchor", "mirror"):
        if name in case:
            a += ["--" + name, str(case[name])]
    return a


def apart(got, want):
    """The largest distance between matching points; inf when the lines or
    their points do not pair up."""
    if len(got) != len(want) or any(len(g) != len(w) for g, w in zip(got, want)):
        return math.inf
    return max((math.hypot(a[0] - b[0], a[1] - b[1]) for g, w in zip(got, want) for a, b in zip(g, w)),
               default=0.0)
