# From the JSON of "letterwire-cli capture", the lines an export must write
# for that outline, computed here independently of the product's writers, so
# that a window export compared with them shows which capture it wrote.
#
#   awk -v mode=jw -v P=15 -v s=2.5 -v Rx=100 -v Ry=50 -f capture_lines.awk capture.json
#     the JW outline: each point "x y" in millimetres, y up, device x 0 on Rx
#     and the lowest point on Ry; every closed figure back to its first point,
#     then an empty line
#   awk -v mode=wit -v H=494 -f capture_lines.awk capture.json
#     the WIT entities: "POLYLINE2", "1 0", then each point as x and H - y
#
# Lines end in CR LF. Numbers take the print form: a blank or "-", at most 15
# significant digits, no 0 before ".", an upper-case exponent, one blank.

function printForm(v,    t, sign) {
    t = sprintf("%.15g", v)
    sign = " "
    if (substr(t, 1, 1) == "-") { sign = "-"; t = substr(t, 2) }
    if (substr(t, 1, 2) == "0.") t = substr(t, 2)
    sub(/e/, "E", t)
    return sign t " "
}

function between(s, from, to,    i) {
    i = index(s, from)
    if (i == 0) { print "no " from " in the capture" > "/dev/stderr"; exit 2 }
    s = substr(s, i + length(from))
    return substr(s, 1, index(s, to) - 1)
}

function jwLine(j) {
    printf "%s%s\r\n", printForm(Rx + px[j] * k), printForm(Ry - (py[j] - B) * k)
}

{ json = json $0 }

END {
    count = between(json, "\"pointCount\": ", ",") + 0
    coords = between(json, "\"points\": [", "], \"types\"")
    gsub(/[][ ]/, "", coords)
    if (count > 0 && split(coords, c, ",") != 2 * count) { print "points do not match pointCount" > "/dev/stderr"; exit 2 }
    typeText = between(json, "\"types\": [", "]")
    gsub(/ /, "", typeText)
    if (count > 0 && split(typeText, t, ",") != count) { print "types do not match pointCount" > "/dev/stderr"; exit 2 }
    for (j = 0; j < count; j++) {
        px[j] = c[2 * j + 1] + 0; py[j] = c[2 * j + 2] + 0; type[j] = t[j + 1] + 0
    }

    if (mode == "jw") {
        k = ((P / 1440) * 25.4) * s
        B = 0
        for (j = 0; j < count; j++) if (py[j] > B) B = py[j]
        first = 0
        for (j = 0; j < count; j++) {
            jwLine(j)
            if (type[j] % 2 == 1) { jwLine(first); printf "\r\n"; first = j + 1 }
        }
    } else if (mode == "wit") {
        for (j = 0; j < count; j++) {
            if (type[j] == 6) printf "POLYLINE2\r\n1 0\r\n"
            printf "%s%s\r\n", printForm(px[j]), printForm(H - py[j])
        }
    } else {
        print "mode must be jw or wit" > "/dev/stderr"; exit 2
    }
}
