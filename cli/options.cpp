#include "cli/options.hpp"
#include "cli/centreline_run.hpp"

#include "base/lengths.hpp"
#include "outline/arc_text.hpp"

#include "base/shown_input.hpp"
#include "outline/fit.hpp"
#include "outline/glyph_points.hpp"
#include "outline/precision.hpp"
#include "outline/work_bound.hpp"
#include "platform/font_file.hpp"

#include <algorithm>
#include <string_view>
#include <vector>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace lw::cli {
namespace {

double number(const std::string& option, const std::string& value)
{
    double result = 0;
    auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), result);
    if (ec != std::errc() || ptr != value.data() + value.size() || !std::isfinite(result))
        throw UsageError(option + ": " + quotedInput(value) + " is not a number");
    return result;
}

std::string shortest(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

// The text is one line: a control character would only draw a stray glyph
// (or a box), so it is refused where it stands, counted in characters.
std::string oneLine(std::string text)
{
    if (const std::string control = controlCharacterIn(text); !control.empty())
        throw UsageError("--text: " + control + "; the text is one line");
    return text;
}

// The options the parser knows, for "did you mean".
constexpr std::string_view kOptionNames[] = {"--help",      "--version", "--text",  "--font",      "--size",
                                             "--angle",     "--italic",  "--underline", "--strikeout",
                                             "--centre",    "--center",  "--dpi",   "--precision", "--units",
                                             "--no-convert", "--no-merge", "--offset", "--curves",
                                             "--anchor",    "--mirror",
                                             "--spacing",   "--width",   "--bold",
                                             "--size-of",   "--fit",     "--fit-by", "--oblique",
                                             "--stroke-font", "--pen-width", "--allow-missing", "--stroke",
                                             "--margin",    "--page",    "--pdf-style", "--line-width",
                                             "--colour",    "--color",   "--overcut",   "--pen",
                                             "--dxf-version", "--dxf-text", "--encoding",
                                             "--tool",      "--check",   "--report", "--stencil",
                                             "--stencil-bridges", "--arc",   "--arc-at",  "--fit-arc",
                                             "--kerning",   "--features", "--font-file",
                                             "--centreline", "--centerline"};

// Edits from a to b, a swap of two neighbours counting as one ("dfx", "dxf").
std::size_t editDistance(std::string_view a, std::string_view b)
{
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

// "; did you mean X?" for the one known word nearest `word` within two edits;
// nothing when none is that near. Long words are not compared: a typo is short.
template <typename Names>
std::string didYouMean(std::string_view word, const Names& names)
{
    constexpr std::size_t kMostEdits = 2;
    if (word.size() > 64)
        return {};
    std::string_view best;
    std::size_t bestEdits = kMostEdits + 1;
    for (std::string_view name : names) {
        const std::size_t edits = editDistance(word, name);
        if (edits < bestEdits) {
            best = name;
            bestEdits = edits;
        }
    }
    return best.empty() ? std::string() : "; did you mean " + std::string(best) + "?";
}

// The shortest text that reads back as the same number.
std::string exact(double value)
{
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, ec == std::errc() ? end : buffer);
}

// Spacing beyond this is a typing error: a thousand points is 35 cm.
constexpr double kSpacingLimitPt = 1000;

// --spacing: points, or millimetres at 1:1 with an "mm" suffix.
double spacingPoints(const std::string& value)
{
    const std::optional<Length> length = parseLength(value, LengthUnit::Point);
    if (!length)
        throw UsageError("--spacing: " + quotedInput(value) + " is not a length; give points (1.5 or 1.5pt) or millimetres (0.5mm)");
    const double points = length->points();
    if (std::fabs(points) > kSpacingLimitPt)
        throw UsageError("--spacing must be from -" + shortest(kSpacingLimitPt) + " to " +
                         shortest(kSpacingLimitPt) + " points");
    return points;
}

// A length counted in millimetres (--offset, --precision): "mm" may follow
// it; points are no unit of theirs, so "pt" is named as what is wrong.
std::optional<double> millimetresIn(const std::string& value)
{
    const std::optional<Length> length = parseLength(value, LengthUnit::Millimetre);
    if (!length || length->unit != LengthUnit::Millimetre)
        return std::nullopt;
    return length->value;
}

// --width: a whole percentage of the designed width, "%" allowed.
std::int32_t widthPercent(const std::string& value)
{
    const std::string digits = !value.empty() && value.back() == '%' ? value.substr(0, value.size() - 1) : value;
    std::int32_t result = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
    const std::string range = "from " + std::to_string(TextStyle::kNarrowest) + " to " +
                              std::to_string(TextStyle::kWidest) + " (per cent of the designed width)";
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size())
        throw UsageError("--width: " + quotedInput(value) + " is not a whole number; give " + range);
    if (result < TextStyle::kNarrowest || result > TextStyle::kWidest)
        throw UsageError("--width must be " + range);
    return result;
}

// --features: OpenType tags separated by commas, each once.
std::vector<std::string> featureTags(const std::string& value)
{
    std::vector<std::string> tags;
    std::size_t at = 0;
    while (true) {
        const std::size_t comma = value.find(',', at);
        const std::string tag = value.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        if (tag == "kern")
            throw UsageError("--features: kern is pair kerning; give --kerning");
        if (const std::string why = featureTagRefusal(tag); !why.empty())
            throw UsageError("--features: " + (tag.empty() ? why + " in " + quotedInput(value) : why));
        if (std::find(tags.begin(), tags.end(), tag) == tags.end())
            tags.push_back(tag);
        if (comma == std::string::npos)
            return tags;
        at = comma + 1;
    }
}

// --font-file PATH[#INDEX]: the face's family, once the file is added.
std::string fontFileFamily(const std::string& value)
{
    const FontFileChoice choice = fontFileChoice(value);
    if (!choice.refusal.empty())
        throw UsageError("--font-file: " + choice.refusal);
    const FontFileFace face = addFontFile(choice.path, choice.index);
    if (!face.refusal.empty())
        throw UsageError("--font-file: " + quotedInput(choice.path) + " " + face.refusal);
    return face.family;
}

constexpr double kLargestSizePt = 16384;

// --size: points, "pt" allowed, or millimetres with "mm".
double sizeValue(const std::string& value)
{
    const auto endsWith = [&](const char* unit) {
        return value.size() > 2 && value.compare(value.size() - 2, 2, unit) == 0;
    };
    const bool millimetres = endsWith("mm");
    const std::string digits = millimetres || endsWith("pt") ? value.substr(0, value.size() - 2) : value;
    double result = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size() || !std::isfinite(result))
        throw UsageError("--size: " + quotedInput(value) +
                         " is not a number; give points (12 or 12pt) or millimetres at 1:1 (10mm)");
    const double points = millimetres ? result * 72 / 25.4 : result;
    if (!(points > 0) || points > kLargestSizePt)
        throw UsageError("--size must be above 0 and at most " + shortest(kLargestSizePt) + " points (" +
                         shortest(std::floor(kLargestSizePt * 25.4 / 72)) + " mm)");
    return points;
}

// --fit: millimetres at 1:1, "mm" allowed.
double fitMillimetres(const std::string& value)
{
    const bool mm = value.size() > 2 && value.compare(value.size() - 2, 2, "mm") == 0;
    const std::string digits = mm ? value.substr(0, value.size() - 2) : value;
    double result = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size() || !std::isfinite(result))
        throw UsageError("--fit: " + quotedInput(value) + " is not a length; give millimetres at 1:1 (100)");
    if (!(result > 0) || result > TextStyle::kLongestFitMm)
        throw UsageError("--fit must be above 0 and at most " + shortest(TextStyle::kLongestFitMm) + " mm");
    return result;
}

// --oblique: degrees, a slant of more than 45 degrees is a typing error.
double obliqueDegrees(const std::string& value)
{
    double result = 0;
    auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), result);
    if (value.empty() || ec != std::errc() || ptr != value.data() + value.size() || !std::isfinite(result))
        throw UsageError("--oblique: " + quotedInput(value) + " is not a number of degrees");
    if (std::fabs(result) > TextStyle::kSteepest)
        throw UsageError("--oblique must be from -" + shortest(TextStyle::kSteepest) + " to " +
                         shortest(TextStyle::kSteepest) + " degrees");
    return result;
}

// --size-of cap: the size asked for is the capital H's height; the em that
// gives it, in the face the text is drawn in.
float emForCapHeight(const Options& o, double capPoints)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    const double share = capHeightPerEm(dc, o.font);
    if (share <= 0)
        throw UsageError("--size-of cap: the face draws no capital H to measure; give the size of the em");
    const double points = capPoints / share;
    if (points > kLargestSizePt)
        throw UsageError("--size-of cap: capitals that tall need an em of " + shortest(points) +
                         " points, above the largest size, " + shortest(kLargestSizePt));
    return static_cast<float>(points);
}

std::string previewSize() { return shortest(design::kPreviewWidth) + " x " + shortest(design::kPreviewHeight); }

constexpr int kAngleLimit = 214748364;
constexpr double kDpiLowest = 10;
// A precision reaches finer grids than --dpi allows by hand.
constexpr double kDpiHighest = 10000;
// A cutter's width is millimetres; beyond this an offset is a typing error.
constexpr double kOffsetLimitMm = 100;
// A tool or a bridge wider than this is a typing error too.
constexpr double kToolLimitMm = 100;
constexpr int kMostBridges = 16;
// Ten metres: larger than any plate, and far inside the device's 32 bits
// at the finest grid.
constexpr double kArcRadiusLimitMm = 10000;

struct Command {
    const char* name;
    const char* synopsis;
    const char* description;
};

const Command kCommands[] = {
    {"capture", "capture [options] [--units mm]",
     "print the captured outline as one JSON object: text, face, family (the\n"
     "family that drew the points), file (its font file), size, angle, the\n"
     "style (kerning and features only when given), height\n"
     "(pixels), alCent, pointCount, points [[x, y], ...], types [...], then dpi,\n"
     "units, figures [[[x, y], ...], ...] and bbox, then runs (each stretch of\n"
     "the text with the family and file that drew it); with --units mm the\n"
     "figures and bbox are millimetres at 1:1, y up, from the left end of the\n"
     "baseline (and origin names that device pixel)"},
    {"jw", "jw COMMAND-FILE OUTPUT [options]",
     "the JW export: capture at the origin, copy and interpret the command\n"
     "file, write the outline behind the copied lines; a warning on standard\n"
     "error when the command file chooses a scale of 0"},
    {"wit", "wit OUTPUT [options] [--no-convert]",
     "the WIT export of the centred capture; starts the converter \"mfin\" with\n"
     "a work file of its own and OUTPUT (--no-convert: write the WIT text to\n"
     "OUTPUT and start nothing); in the preview's pixels, so --precision does\n"
     "not apply"},
    {"svg", "svg OUTPUT [options] [--no-merge] [--offset MM] [--curves]",
     "an SVG picture of the outline, all figures in one nonzero-filled path and\n"
     "nothing else: width and height in millimetres, one user unit a millimetre,\n"
     "at 1:1 from the left end of the baseline (y down), so it spans the DXF's\n"
     "extents; overlaps merged and the geometry cut-ready as for dxf"},
    {"dxf", "dxf OUTPUT [options] [--no-merge] [--offset MM] [--curves]",
     "a DXF drawing (AutoCAD 2000) for any CAD program: one closed polyline\n"
     "per contour on a layer named for the text, millimetres at 1:1, y up, the\n"
     "origin at the left end of the text's baseline"},
    {"fonts", "fonts --stroke",
     "list the stroke fonts found (for --stroke-font), one a line: the name,\n"
     "a tab, the file; the folders of LETTERWIRE_STROKE_FONTS first, then\n"
     "those Debian's hershey-fonts-data and librecad-data install"},
    {"pdf", "pdf OUTPUT [options] [--page SIZE] [--margin MM] [--pdf-style fill|cut]",
     "a one-page vector PDF true to size, each contour one closed subpath, the\n"
     "geometry cut-ready as for dxf: filled black by the nonzero rule, or with\n"
     "--pdf-style cut stroked as hairlines of one colour, as laser drivers\n"
     "take a cut line; the page is the drawing's extents plus the margin"},
    {"hpgl", "hpgl OUTPUT [options] [--overcut MM] [--pen N]",
     "HP-GL for pen plotters and vinyl cutters (.plt, .hpgl): IN;, the pen,\n"
     "then per contour one PU to its start and one PD through its points back\n"
     "to it, 40 units a millimetre, the drawing's lower left at (0,0); each\n"
     "coordinate within 1/80 mm (0.0125 mm) of the exact drawing, and with\n"
     "--curves each arc (AA) within 0.06 mm of the drawing's arc"},
    {"check", "check [options] [--tool MM] [--report FILE.json]",
     "will it cut? measures the drawing dxf would write (merged, with the same\n"
     "options) and prints its thinnest material, narrowest gap (both the width\n"
     "of the widest tool that passes there, in mm) and islands (parts of the\n"
     "sheet a letter encloses, which fall out of a stencil); with --tool, every\n"
     "place narrower than the tool, with its character and x, y in mm, and\n"
     "status 1 if there is one"},
    {"batch", "batch FILE [options] [--encoding utf-8|cp932]",
     "one drawing per row of FILE, a UTF-8 CSV file: output,text[,size[,font[,\n"
     "angle[,styles[,stroke font[,check]]]]]]; the output's extension (.dxf,\n"
     ".svg, .pdf, .plt or .hpgl) is the format, an empty optional field takes\n"
     "the command line's value, styles are words (bold italic underline\n"
     "strikeout centreline, or regular), a stroke font as --stroke-font takes\n"
     "it, the check column the row's tool for --check; a field in double\n"
     "quotes may hold commas (\"\" is a quote); empty lines and lines starting\n"
     "with # are skipped. Every other option comes from the command line. Each\n"
     "file has the bytes a single run gives; a bad row is reported by its line\n"
     "and column and the other rows are still written (status 1). A list that\n"
     "is not UTF-8 but code page 932 (Shift-JIS, as Japanese spreadsheets\n"
     "save CSV) is read as such, with a note; --encoding utf-8|cp932 forces one"},
};

std::vector<std::string_view> commandNames()
{
    std::vector<std::string_view> names;
    for (const Command& c : kCommands)
        names.emplace_back(c.name);
    return names;
}

const Command* findCommand(const std::string& word)
{
    for (const Command& c : kCommands)
        if (word == c.name)
            return &c;
    return nullptr;
}

std::string indented(const char* text, const char* indent)
{
    std::string out = indent;
    for (const char* p = text; *p; ++p) {
        out += *p;
        if (*p == '\n')
            out += indent;
    }
    return out + "\n";
}

// A usage line longer than a terminal's 78 columns goes on before an
// optional part, under the command.
std::string wrappedUsage(const std::string& line)
{
    constexpr std::size_t kColumns = 78;
    const std::string indent(std::string_view("Usage: letterwire-cli ").size(), ' ');
    std::string out;
    std::size_t start = 0;
    while (line.size() - start > kColumns - (start ? indent.size() : 0)) {
        const std::size_t room = start + kColumns - (start ? indent.size() : 0);
        const std::size_t cut = line.rfind(" [", room);
        if (cut == std::string::npos || cut <= start)
            break;
        out += line.substr(start, cut - start) + "\n" + indent;
        start = cut + 1;
    }
    return out + line.substr(start);
}

std::string optionsText()
{
    return std::string() + R"(Options (every command):
  --text TEXT       the text (default ")" + design::kText + R"(")
  --font NAME       the face name (default ")" + design::kFaceName + R"(")
  --font-file PATH[#INDEX]
                    draw with a font file that need not be installed (the
                    face INDEX of a .ttc or .otc collection, from 0); the
                    capture names its family
  --size SIZE       the size in points (12 or 12pt), or in millimetres at 1:1
                    with "mm" (10mm) (default )" + shortest(design::kFontSize) + R"()
  --size-of em|cap  what the size measures: the em, as points do (default),
                    or the height of the face's capital H
  --angle DEGREES   the angle, counter-clockwise (default 0)
  --italic, --underline, --strikeout
                    the font's styles
  --spacing LEN     extra space after each character, in points like the
                    size (1.5 or 1.5pt), or in millimetres at 1:1 with "mm"
                    (0.5mm); negative sets them closer (default 0)
  --width PCT       the characters' width in per cent of the designed width,
                    )" + std::to_string(TextStyle::kNarrowest) + " to " + std::to_string(TextStyle::kWidest) + R"(; the height stays (default 100)
  --bold            the face's bold, or the same face thickened by 1/24 of
                    the size where it has none (default: the designed weight)
  --kerning         the font's pair kerning ("AV" closer; default: none)
  --features LIST   OpenType features to turn on, by tag, separated by commas
                    (liga,palt,ss01); default: none, not even the ligatures;
                    not with --arc, where each character stands on its own
  --fit LEN         make the text's advance LEN millimetres at 1:1: the same
                    space between every two characters, the first and the
                    last at the ends (one character alone: by its width);
                    replaces --spacing
  --fit-by spacing|width
                    how --fit fits: by the spacing (default) or by the width
                    percentage, the little a whole percentage leaves by the
                    spacing; replaces --width
  --oblique DEG     slant the glyphs about the baseline by DEG degrees,
                    -)" + shortest(TextStyle::kSteepest) + " to " + shortest(TextStyle::kSteepest) + R"(; positive leans the tops forward (a shear,
                    not italic); on an arc each glyph about its own baseline
  --arc RADIUS      set the line on a circle of RADIUS mm at 1:1, each
                    character upright on it, its advance's middle on the
                    circle: positive reads clockwise on the outside, centred
                    at the top; negative counter-clockwise on the inside,
                    centred at the bottom; the origin is the circle's centre
                    (with --anchor: the anchor's point, see there); not with
                    --angle
  --arc-at DEG      the angle of the text's middle (or of its start or end,
                    with --anchor), counter-clockwise from the +x axis
                    (default 90, the top; -RADIUS: 270, the bottom)
  --fit-arc DEG     spread the text over DEG degrees of the circle, 0 to 360,
                    by its spacing (not with --spacing)
  --centre, --center
                    place the text as the preview does: alignment 1 at the
                    centre of the )" + previewSize() + R"( preview area (default for wit);
                    otherwise alignment 0 at the origin, as the JW export does
  --precision MM    the largest step of the point grid in millimetres at 1:1,
                    from )" + shortest(kFinestStepMm) + " to " + shortest(kCoarsestStepMm) + R"(, or
                    )" + kClassicWording + R"(;
                    default )" + shortest(kCadStepMm) + R"( for dxf and svg, classic for capture and
                    jw (wit always draws the preview's pixels); at a step in
                    mm the capture works at a finer device resolution, so the
                    letters keep their size and the outline its structure, and
                    each letter stands where the font's unrounded advances put
                    it, so the text is as wide at every step; the JW export
                    keeps its base point and scale
  --dpi DPI         the low-level form: the screen's dots per inch,
                    )" + shortest(kDpiLowest) + " to " + shortest(kDpiHighest) + R"( (default )" + shortest(design::kDpi) + ": " + shortest(design::kTwipsPerPixel) + R"( twips a pixel)
  --help            this text; COMMAND --help or help COMMAND: that command's
                    help

Cut-ready geometry (svg, dxf, pdf, hpgl):
  By default the figures are merged by the nonzero rule into contours that
  never overlap: one outer contour per connected shape, its holes inside,
  outer contours counter-clockwise and holes clockwise with y up; underline
  and strike-out become part of the letters they cross. No contour repeats a
  point or its first point, none has less than three points or no area.
  --no-merge        keep each captured figure as one contour (still clean)
  --offset MM       move every outer contour outward and every hole inward
                    by MM millimetres at 1:1 (0.1 or 0.1mm; negative: the
                    other way), round joins, after merging; contours that
                    vanish are dropped; from -)" + shortest(kOffsetLimitMm) + " to " + shortest(kOffsetLimitMm) + R"(
  --anchor POINT    (svg, dxf) the point of the text's box at the origin:
                    baseline-left (default), baseline-centre, baseline-right,
                    top-left, top-centre, top-right, middle-left, centre,
                    middle-right, bottom-left, bottom-centre, bottom-right;
                    left and right are the ends of the text's advance (the
                    pen's start and end, not the ink), top and bottom the
                    face's ascent and descent, middle halfway between; the
                    box turns with --angle. With --arc, left, centre and
                    right pick the text's start, middle or end to stand at
                    --arc-at, baseline, top, middle and bottom the circle,
                    the ascent outside, halfway or the descent inside
  --mirror x|y      (svg, dxf) mirror the drawing about the anchor: x turns
                    left and right over (to be read from the back), y top
                    and bottom
  --curves          the font's own curves instead of short segments: in dxf
                    circular arcs (polyline bulges) within half the grid step
                    of them, in svg its Béziers; straight edges stay straight.
                    A contour the merge or the offset changed stays segments;
                    in pdf Béziers, in hpgl arcs (AA) as in dxf. Open lines
                    (--stroke-font, --centreline) in dxf: arcs where they
                    pass within half the grid step of the points

One format's own options (a batch's rows take those of their format):
  --page SIZE       (pdf) A4, A3 or WxHmm (100x50mm, each side up to )" + shortest(kPdfLargestPageMm) + R"();
                    the drawing's origin stands the margin from the page's
                    lower left, and a drawing that leaves the page is refused
                    (default: the page is the drawing's extents plus margins)
  --margin MM       (pdf) from 0 to )" + shortest(kPdfLargestMarginMm) + R"( (default 0)
  --pdf-style fill|cut
                    (pdf) filled black (default), or hairline strokes
  --line-width MM   (pdf) the cut stroke's width, above 0 up to )" + shortest(kPdfThickestLineMm) + R"(
                    (default 0.01)
  --colour RRGGBB   (pdf) the cut stroke's colour, six hex digits (default
                    FF0000); --color is the same
  --overcut MM      (hpgl) go on past each contour's start along it, from 0
                    to )" + shortest(kHpglLongestOvercutMm) + R"( (default 0)
  --pen N           (hpgl) the pen, 1 to )" + std::to_string(kHpglHighestPen) + R"( (default 1)
  --dxf-version 2000|r12
                    (dxf) AutoCAD 2000 (default), or Release 12 (AC1009:
                    POLYLINE and VERTEX, bulges with --curves) for older
                    cutters; its layer takes R12's letters (A-Z 0-9 $ - _)
  --dxf-text        (dxf) the text itself as a TEXT entity on the layer
                    LETTERWIRE_TEXT at the origin, aligned as the anchor, with
                    the size and the angle used; the layer does not plot
                    (Release 12 has no such flag)
  --version         the program's version
  --stencil MM      (svg, dxf) a stencil: every island is held to the sheet
                    around its letter by a bridge MM wide across the letter's
                    stroke where it is narrowest; the result is merged and
                    written as segments (status 1, nothing written, where no
                    bridge can hold an island)
  --stencil-bridges N
                    bridges per island, 1 (default) to )" + std::to_string(kMostBridges) + R"(

Tool check (check; svg, dxf and batch with --check):
  --tool MM         (check) the tool's width: material or gap narrower than
                    it is listed and the status is 1
  --check MM        (svg, dxf, batch) the same check of the drawing written,
                    on standard error; a batch row's check column replaces it
  --report FILE     the check's full report as JSON (schema in the README);
                    "-" is standard output (check only)

Single-line text (capture, svg, dxf, pdf, hpgl, batch):
  --stroke-font NAME|PATH
                    set the text in a stroke font (Hershey .jhf, CAD .lff;
                    see fonts --stroke) as open lines a pen draws once:
                    dxf one open polyline per stroke (r12 and --dxf-text
                    too), svg and pdf unfilled strokes, hpgl a PU and a PD
                    per stroke (no --overcut), capture the lines in mm;
                    size, angle, spacing, width, anchor and mirror as for
                    outline faces, "@NAME" writes vertically; characters the
                    face lacks come from another stroke font (with a warning),
                    those none has are an error unless --allow-missing; with
                    --offset MM the outline of the strokes drawn with a round
                    pen 2 x MM wide. Not for jw and wit, which take outlines
  --centreline, --centerline
                    an outline face's centreline as open lines, drawn and
                    written as --stroke-font's are: the middle of each stroke
                    of the merged outline, one line on through its junctions
                    where it can; capture gives each point's stroke width;
                    vertical "@" faces, spacing, width, bold, anchor and
                    mirror as for outlines; --offset MM the outline of a
                    round pen 2 x MM wide along it. Not for jw and wit
  --pen-width MM    (svg, pdf) the stroke width of open lines (default 0.1;
                    pdf --pdf-style cut keeps its hairline)
  --allow-missing   leave out characters no stroke font has (a warning)

OUTPUT "-" is standard output (jw, svg, dxf, pdf, hpgl, and wit with
--no-convert).
An output file is written whole or not at all, and a file it replaces keeps
its mode, owner and group; a link is written through (a dangling one gets its
file). A read-only file, a loop of links, or a file with other hard links
(which a new file would part from its other names) is refused.

The text, the size and the resolution together must keep the outline within
)" + std::to_string(kMaxOutlinePoints) + R"( points (estimated before any work); the size must be at least
half a pixel high.

Exit status: 0 success, 1 a failure of the work (also when standard output
could not be written, and when a tool check finds the tool too wide), 2 a
usage error.
)";
}

// The offset in the capture's pixels at `dpi`, as the drawing takes it.
double offsetPixels(const Options& o, double dpi) { return o.offsetMm * dpi / kMmPerInch; }

std::uint64_t styledEstimate(const Options& o, double dpi)
{
    return estimateOffsetPoints(
        estimateOutlinePoints(o.text, o.font.size, dpi, o.font.underline, o.font.strikeout, o.style.widthPercent),
        o.text, offsetPixels(o, dpi));
}

// The font's own glyphs are laid only when the cheap bound is above the limit.
std::uint64_t measuredEstimate(GlyphPointCounts& counts, const Options& o, double dpi)
{
    return styledEstimate(o, dpi) <= kMaxOutlinePoints ? 0
                                                        : estimateOffsetPoints(counts.estimate(dpi), o.text,
                                                                               offsetPixels(o, dpi));
}

// How a refusal names the offset, when one is asked for.
std::string withOffset(const Options& o)
{
    return o.offsetMm != 0 ? " with --offset " + shortest(o.offsetMm) : "";
}

// Device coordinates a line may reach: beyond them a point would be clipped.
constexpr double kLongestLinePixels = 1073741824.0;

// Requests the capture cannot serve are refused before any work: a size
// that rounds to no pixel at all (the platform would take a height of 0 for
// its default height and draw larger), and an outline beyond the work bound.
void checkWork(const Options& o, GlyphPointCounts& counts)
{
    const double pixels = double(o.font.size) * o.dpi / 72;
    if (std::nearbyint(pixels) == 0 || pixels <= 0.5)
        throw UsageError("--size " + shortest(o.font.size) + " is less than half a pixel high at " +
                         shortest(o.dpi) + " dpi; the size must be above " + shortest(0.5 * 72 / o.dpi) +
                         " points");
    const std::uint64_t points = measuredEstimate(counts, o, o.dpi);
    if (points > kMaxOutlinePoints)
        throw UsageError("the outline of this text at --size " + shortest(o.font.size) + " and --dpi " +
                         shortest(o.dpi) + withOffset(o) + " could have about " + std::to_string(points) +
                         " points (an estimate from the font's glyphs), above the limit of " +
                         std::to_string(kMaxOutlinePoints) + "; use a shorter text, a smaller size" +
                         (o.offsetMm != 0 ? ", a smaller offset" : "") + " or a lower dpi");
    // With a style, every character's advance is taken as at most its
    // width's share of two ems, plus the spacing; the line must stay within
    // the device's coordinates. Without one nothing changes.
    if (o.style.spacing == 0 && o.style.widthPercent <= 100)
        return;
    double characters = 0;
    for (const unsigned char c : o.text)
        characters += (c & 0xC0) != 0x80 ? 1 : 0;
    const double longest = characters * (2.0 * pixels * o.style.widthPercent / 100 +
                                          std::fabs(o.style.spacing) * o.dpi / 72);
    if (longest > kLongestLinePixels)
        throw UsageError("this text with --spacing " + shortest(o.style.spacing) + " and --width " +
                         std::to_string(o.style.widthPercent) + " could be " + shortest(longest) +
                         " pixels long at " + shortest(o.dpi) + " dpi, beyond the " + shortest(kLongestLinePixels) +
                         " the capture can place; use a shorter text, less spacing or a lower dpi");
}

// A precision the capture cannot serve, in the option's words.
// `offset` names the offset as withOffset does.
std::string precisionRefusal(const PrecisionOutcome& outcome, double stepMm, const std::string& offset)
{
    using Refusal = PrecisionOutcome::Refusal;
    const std::string limit = std::to_string(kMaxOutlinePoints);
    switch (outcome.refusal) {
    case Refusal::None:
        break;
    case Refusal::OutOfRange:
        return "must be from " + exact(kFinestStepMm) + " to " + exact(kCoarsestStepMm) +
               " mm (the largest grid step at 1:1), or " + kClassicWording;
    case Refusal::AboveBoundAlways:
        return "this text at this size" + offset + " is above " + limit +
               " points at any precision (an estimate from the font's glyphs); use a shorter text" +
               (offset.empty() ? " or a smaller size" : ", a smaller size or a smaller offset");
    case Refusal::AboveBound: {
        char digits[32];
        const auto written = std::to_chars(digits, digits + sizeof digits, outcome.finestStepMm,
                                           std::chars_format::general, 3);
        return exact(stepMm) + " would make the outline of this text" + offset + " above " + limit +
               " points (an estimate from the font's glyphs); for this text and size" +
               (offset.empty() ? "" : " and offset") + " it must be from " +
               std::string(digits, written.ptr) + " to " +
               exact(kCoarsestStepMm) + " mm";
    }
    }
    return {};
}

} // namespace

bool isCommand(const std::string& word) { return findCommand(word) != nullptr; }

std::string synopsis(const std::string& command)
{
    const Command* c = findCommand(command);
    return c ? c->synopsis : command;
}

std::string usageText(const std::string& command)
{
    if (const Command* c = findCommand(command))
        return wrappedUsage(std::string("Usage: letterwire-cli ") + c->synopsis) + "\n\n" + indented(c->description, "") + "\n" +
               optionsText();
    std::string commands;
    for (const Command& c : kCommands) {
        commands += "  ";
        commands += c.synopsis;
        commands += "\n";
        commands += indented(c.description, "    ");
    }
    return R"(Usage: letterwire-cli COMMAND [ARGS] [OPTIONS]
       letterwire-cli help [COMMAND]

Turns one line of text, set in an outline font at a size and an angle, into
closed polylines, without a window.

Commands:
)" + commands + "\n" + optionsText();
}

Options parseOptions(const std::vector<std::string>& args)
{
    Options o;
    bool dpiGiven = false;
    bool spacingGiven = false, widthGiven = false;
    std::string sizeOf, fitBy;
    bool anchorGiven = false;
    std::string unitsGiven;
    std::string cadGiven;
    bool encodingGiven = false;
    bool toolGiven = false, checkGiven = false, bridgesGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError(a + " needs a value");
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            o.request = Request::Help;
        } else if (a == "--version") {
            o.request = Request::Version;
        } else if (a == "--text") {
            o.text = oneLine(value());
            o.textGiven = true;
        } else if (a == "--font") {
            o.font.faceName = value();
        } else if (a == "--font-file") {
            // As a face name, so the last of --font and --font-file chooses
            // (a batch row's font stands after the command line's options).
            o.font.faceName = fontFileFamily(value());
        } else if (a == "--size") {
            o.font.size = static_cast<float>(sizeValue(value()));
        } else if (a == "--size-of") {
            sizeOf = value();
            if (sizeOf != "em" && sizeOf != "cap")
                throw UsageError("--size-of must be em (the em, as points measure) or cap (the height of a capital H)");
        } else if (a == "--fit") {
            o.style.fitMm = fitMillimetres(value());
        } else if (a == "--fit-by") {
            fitBy = value();
            if (fitBy != "spacing" && fitBy != "width")
                throw UsageError("--fit-by must be spacing (between the characters) or width (the characters' width)");
            o.style.fitBy = fitBy == "width" ? TextStyle::FitBy::Width : TextStyle::FitBy::Spacing;
        } else if (a == "--oblique") {
            o.style.oblique = obliqueDegrees(value());
        } else if (a == "--angle") {
            double angle = number(a, value());
            if (std::trunc(angle) != angle)
                throw UsageError("--angle must be a whole number of degrees");
            // Ten times the angle is the font's escapement, a 32-bit number.
            if (std::fabs(angle) > kAngleLimit)
                throw UsageError("--angle must be from -" + std::to_string(kAngleLimit) + " to " +
                                 std::to_string(kAngleLimit) + " degrees");
            o.angle = static_cast<std::int32_t>(angle);
        } else if (a == "--italic") {
            o.font.italic = true;
        } else if (a == "--underline") {
            o.font.underline = true;
        } else if (a == "--strikeout") {
            o.font.strikeout = true;
        } else if (a == "--spacing") {
            o.style.spacing = spacingPoints(value());
            spacingGiven = true;
        } else if (a == "--width") {
            o.style.widthPercent = widthPercent(value());
            widthGiven = true;
        } else if (a == "--bold") {
            o.style.bold = true;
        } else if (a == "--arc") {
            o.style.arc.radiusMm = number(a, value());
            if (o.style.arc.radiusMm == 0 || std::fabs(o.style.arc.radiusMm) > kArcRadiusLimitMm)
                throw UsageError("--arc must be a radius from -" + shortest(kArcRadiusLimitMm) + " to " +
                                 shortest(kArcRadiusLimitMm) + " mm, not 0 (negative: inside the circle)");
        } else if (a == "--arc-at") {
            const double at = number(a, value());
            if (std::fabs(at) > kWholeCircleDegrees)
                throw UsageError("--arc-at must be from -360 to 360 degrees");
            o.style.arc.atDegrees = at;
        } else if (a == "--fit-arc") {
            const double fit = number(a, value());
            if (!(fit > 0 && fit <= kWholeCircleDegrees))
                throw UsageError("--fit-arc must be above 0 and at most 360 degrees");
            o.style.arc.fitDegrees = fit;
        } else if (a == "--kerning") {
            o.style.shaping.kerning = true;
        } else if (a == "--features") {
            o.style.shaping.features = featureTags(value());
        } else if (a == "--centre" || a == "--center") {
            o.centre = true;
        } else if (a == "--dpi") {
            o.dpi = number(a, value());
            dpiGiven = true;
            if (!(o.dpi >= kDpiLowest && o.dpi <= kDpiHighest))
                throw UsageError("--dpi must be from " + shortest(kDpiLowest) + " to " + shortest(kDpiHighest));
        } else if (a == "--precision") {
            const std::string& text = value();
            if (text == kClassicWord) {
                o.classic = true;
                continue;
            }
            const std::optional<double> mm = millimetresIn(text);
            if (!mm)
                throw UsageError("--precision: " + quotedInput(text) + " is not a number; give the grid step in mm, from " +
                                 shortest(kFinestStepMm) + " to " + shortest(kCoarsestStepMm) + ", or " +
                                 kClassicWording);
            o.precisionMm = *mm;
            o.classic = false;
        } else if (a == "--units") {
            unitsGiven = value();
            if (unitsGiven != "mm" && unitsGiven != "px")
                throw UsageError("--units must be mm (or px, the default)");
            o.millimetres = unitsGiven == "mm";
        } else if (a == "--no-convert") {
            o.noConvert = true;
        } else if (a == "--no-merge") {
            o.merge = false;
            cadGiven = a;
        } else if (a == "--offset") {
            const std::string& text = value();
            const std::optional<double> mm = millimetresIn(text);
            if (!mm)
                throw UsageError("--offset: " + quotedInput(text) + " is not a number of millimetres (0.1 or 0.1mm)");
            o.offsetMm = *mm;
            cadGiven = a;
            if (std::fabs(o.offsetMm) > kOffsetLimitMm)
                throw UsageError("--offset must be from -" + shortest(kOffsetLimitMm) + " to " +
                                 shortest(kOffsetLimitMm) + " mm");
        } else if (a == "--anchor") {
            const std::string& word = value();
            const std::optional<Anchor> anchor = anchorNamed(word);
            if (!anchor)
                throw UsageError("--anchor: " + quotedInput(word) + " is not a point of the text's box" +
                                 didYouMean(word, kAnchorWords) + " (see --help)");
            o.anchor = *anchor;
            anchorGiven = true;
            cadGiven = a;
        } else if (a == "--mirror") {
            const std::string& word = value();
            const std::optional<Mirror> mirror = mirrorNamed(word);
            if (!mirror)
                throw UsageError("--mirror must be x (left and right) or y (top and bottom)");
            o.mirror = *mirror;
            cadGiven = a;
        } else if (a == "--stroke-font") {
            o.strokeFont = value();
            if (o.strokeFont.empty() || o.strokeFont == "@")
                throw UsageError("--stroke-font needs a name or a path (see fonts --stroke)");
        } else if (a == "--pen-width") {
            o.penMm = number(a, value());
            if (!(*o.penMm > 0 && *o.penMm <= kOffsetLimitMm))
                throw UsageError("--pen-width must be above 0 and at most " + shortest(kOffsetLimitMm) + " mm");
        } else if (a == "--allow-missing") {
            o.allowMissing = true;
        } else if (a == "--stroke") {
            o.stroke = true;
        } else if (a == "--centreline" || a == "--centerline") {
            o.centreline = true;
        } else if (a == "--encoding") {
            o.encodingAt = i;
            const std::string& word = value();
            if (word == "utf-8" || word == "UTF-8" || word == "utf8")
                o.encoding = ListEncoding::Utf8;
            else if (word == "cp932" || word == "CP932" || word == "shift-jis" || word == "sjis")
                o.encoding = ListEncoding::Cp932;
            else
                throw UsageError("--encoding must be utf-8 or cp932 (Shift-JIS)");
            encodingGiven = true;
        } else if (a == "--curves") {
            o.curves = true;
            cadGiven = a;
        } else if (a == "--page") {
            const std::string& word = value();
            o.output.pdf.page = pdfPageNamed(word);
            if (!o.output.pdf.page)
                throw UsageError("--page: " + quotedInput(word) + " is not a page; give A4, A3 or WxHmm (100x50mm), "
                                 "each side above 0 and at most " + shortest(kPdfLargestPageMm) + " mm");
            o.formatOptions.emplace_back(a, "pdf");
        } else if (a == "--margin") {
            o.output.pdf.marginMm = number(a, value());
            if (!(o.output.pdf.marginMm >= 0 && o.output.pdf.marginMm <= kPdfLargestMarginMm))
                throw UsageError("--margin must be from 0 to " + shortest(kPdfLargestMarginMm) + " mm");
            o.formatOptions.emplace_back(a, "pdf");
        } else if (a == "--pdf-style") {
            const std::string& word = value();
            if (word != "fill" && word != "cut")
                throw UsageError("--pdf-style must be fill or cut");
            o.output.pdf.paint = word == "cut" ? PdfPaint::Cut : PdfPaint::Fill;
            o.formatOptions.emplace_back(a, "pdf");
        } else if (a == "--line-width") {
            o.output.pdf.lineWidthMm = number(a, value());
            if (!(o.output.pdf.lineWidthMm > 0 && o.output.pdf.lineWidthMm <= kPdfThickestLineMm))
                throw UsageError("--line-width must be above 0 and at most " + shortest(kPdfThickestLineMm) + " mm");
            o.formatOptions.emplace_back(a, "pdf");
        } else if (a == "--colour" || a == "--color") {
            const std::string& word = value();
            const std::optional<std::uint32_t> colour = pdfColourNamed(word);
            if (!colour)
                throw UsageError(a + ": " + quotedInput(word) + " is not a colour; give six hex digits RRGGBB (FF0000)");
            o.output.pdf.colour = *colour;
            o.formatOptions.emplace_back(a, "pdf");
        } else if (a == "--overcut") {
            o.output.hpgl.overcutMm = number(a, value());
            if (!(o.output.hpgl.overcutMm >= 0 && o.output.hpgl.overcutMm <= kHpglLongestOvercutMm))
                throw UsageError("--overcut must be from 0 to " + shortest(kHpglLongestOvercutMm) + " mm");
            o.formatOptions.emplace_back(a, "hpgl");
        } else if (a == "--pen") {
            const std::string& word = value();
            int pen = 0;
            const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), pen);
            if (word.empty() || error != std::errc() || end != word.data() + word.size() || pen < 1 ||
                pen > kHpglHighestPen)
                throw UsageError("--pen must be a whole number from 1 to " + std::to_string(kHpglHighestPen));
            o.output.hpgl.pen = pen;
            o.formatOptions.emplace_back(a, "hpgl");
        } else if (a == "--dxf-version") {
            const std::string& word = value();
            if (word == "2000")
                o.output.dxfVersion = DxfVersion::R2000;
            else if (word == "r12" || word == "R12")
                o.output.dxfVersion = DxfVersion::R12;
            else
                throw UsageError("--dxf-version must be 2000 or r12");
            o.formatOptions.emplace_back(a, "dxf");
        } else if (a == "--dxf-text") {
            o.output.dxfText = true;
            o.formatOptions.emplace_back(a, "dxf");
        } else if (a == "--tool" || a == "--check") {
            const double mm = number(a, value());
            if (!(mm > 0 && mm <= kToolLimitMm))
                throw UsageError(a + " must be above 0 and at most " + shortest(kToolLimitMm) + " mm (the tool's width)");
            o.toolMm = mm;
            o.checkAsked = true;
            (a == "--tool" ? toolGiven : checkGiven) = true;
        } else if (a == "--report") {
            o.reportPath = value();
            if (o.reportPath.empty())
                throw UsageError("--report: the file path is empty");
        } else if (a == "--stencil") {
            o.stencilMm = number(a, value());
            if (!(o.stencilMm > 0 && o.stencilMm <= kToolLimitMm))
                throw UsageError("--stencil must be above 0 and at most " + shortest(kToolLimitMm) +
                                 " mm (the bridges' width)");
            cadGiven = a;
        } else if (a == "--stencil-bridges") {
            const double n = number(a, value());
            if (!(n >= 1 && n <= kMostBridges) || std::trunc(n) != n)
                throw UsageError("--stencil-bridges must be a whole number from 1 to " + std::to_string(kMostBridges));
            o.stencilBridges = int(n);
            bridgesGiven = true;
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            throw UsageError("unknown option " + shownInput(a) + didYouMean(a, kOptionNames));
        } else if (o.command.empty()) {
            o.command = a;
            o.commandAt = i;
        } else {
            o.positional.push_back(a);
            o.positionalAt.push_back(i);
        }
    }
    if (o.request == Request::Version)
        return o;
    // "help COMMAND" is "COMMAND --help".
    if (o.command == "help") {
        o.request = Request::Help;
        o.command = o.positional.empty() ? std::string() : o.positional.front();
        if (!o.command.empty() && !isCommand(o.command))
            throw UsageError("no command " + o.command + " (capture, jw, wit, svg, dxf, pdf, hpgl, check or batch)" +
                             didYouMean(o.command, commandNames()));
        return o;
    }
    if (o.request == Request::Help)
        return o;
    if (o.command.empty())
        throw UsageError("no command given (capture, jw, wit, svg, dxf, pdf, hpgl, check or batch); see --help");
    if (!isCommand(o.command)) {
        const std::string meant = didYouMean(o.command, commandNames());
        throw UsageError("unknown command " + o.command + (meant.empty() ? "; see --help" : meant));
    }
    if (o.stroke != (o.command == "fonts"))
        throw UsageError(o.stroke ? "--stroke applies to fonts only" : "fonts lists the stroke fonts; give --stroke");
    if (o.command == "fonts") {
        if (!o.positional.empty())
            throw UsageError("usage: letterwire-cli " + synopsis(o.command));
        return o;
    }
    if (!o.strokeFont.empty() && (o.command == "jw" || o.command == "wit"))
        throw UsageError("--stroke-font: " + o.command + " takes the closed outline of an outline face, "
                         "which a stroke font's open lines are not");
    // An overcut closes a contour's cut; a pen's open stroke has no contour
    // to go on round, and silently dropping what was asked would mislead.
    if (!o.strokeFont.empty() && o.offsetMm == 0 && o.output.hpgl.overcutMm > 0)
        throw UsageError("--overcut: a stroke font's lines are open and have no contour to cut past; "
                         "--overcut applies with --offset, whose outlines are closed");
    if (!o.strokeFont.empty() && (o.stencilMm > 0 || o.checkAsked))
        throw UsageError(std::string("--stroke-font: ") + (o.stencilMm > 0 ? "--stencil" : "the tool check") +
                         " measures closed outlines; a stroke font's open lines have none");
    if (!o.strokeFont.empty() && o.style.arc.isArc())
        throw UsageError("--stroke-font: --arc places outline glyphs so far; a stroke font's lines stay straight");
    if (!o.strokeFont.empty() && o.curves)
        refuseOpenCurves(o);
    if (!o.strokeFont.empty() && (o.font.italic || o.font.underline || o.font.strikeout || o.style.bold))
        throw UsageError("--stroke-font draws the strokes as they are; --italic, --underline, --strikeout "
                         "and --bold apply to outline faces");
    if (!o.strokeFont.empty() && !o.style.shaping.isPlain())
        throw UsageError(std::string(o.style.shaping.kerning ? "--kerning" : "--features") +
                         " shapes an outline face's glyphs; a stroke font's characters have no such tables");
    if (!o.strokeFont.empty() && (o.style.oblique != 0 || o.style.fitMm > 0 || sizeOf == "cap"))
        throw UsageError(std::string("--stroke-font: ") +
                         (o.style.oblique != 0 ? "--oblique" : o.style.fitMm > 0 ? "--fit" : "--size-of cap") +
                         " applies to outline faces so far; a stroke font's lines are drawn as they are");
    if (o.centreline)
        refuseWithCentreline(o, unitsGiven);
    if (o.strokeFont.empty() && ((o.penMm && !o.centreline) || o.allowMissing))
        throw UsageError(std::string(o.penMm ? "--pen-width applies with --stroke-font only, or with --centreline"
                                             : "--allow-missing applies with --stroke-font only"));
    if (!o.strokeFont.empty() && o.offsetMm < 0)
        throw UsageError("--offset with --stroke-font is the pen's radius around the strokes; it must be above 0");
    if (!o.strokeFont.empty() && o.centre)
        throw UsageError("--stroke-font places the text by its own box; --centre does not apply (--anchor centre does)");
    if (o.penMm && o.command != "svg" && o.command != "pdf" && o.command != "batch")
        throw UsageError("--pen-width applies to svg and pdf only");
    for (const std::string& file : o.positional)
        if (file.empty())
            throw UsageError(o.command + ": a file path is empty");
    const bool drawn = o.command == "dxf" || o.command == "svg" || o.command == "pdf" || o.command == "hpgl" ||
                       o.command == "batch";
    const bool drawing = drawn || o.command == "check";
    // A centreline's capture is placed as its drawings are.
    if (!cadGiven.empty() && !drawing && !(o.centreline && o.command == "capture"))
        throw UsageError(cadGiven + " applies to svg, dxf, pdf and hpgl only");
    if (!o.formatOptions.empty() && !drawn)
        throw UsageError(o.formatOptions.front().first + " applies to " + o.formatOptions.front().second + " only");
    if (toolGiven && o.command != "check")
        throw UsageError("--tool applies to check only (svg, dxf and batch take --check MM)");
    if (checkGiven && !drawn)
        throw UsageError(o.command == "check" ? "check takes the tool as --tool MM"
                                              : "--check applies to svg, dxf, pdf, hpgl and batch only");
    if (o.command == "check")
        o.checkAsked = true;
    if (!o.reportPath.empty() && !o.checkAsked)
        throw UsageError("--report writes a tool check's report: give --check MM (or run check)");
    if (!o.reportPath.empty() && o.command == "batch")
        throw UsageError("--report: batch checks many drawings; give each row's check on standard error instead");
    if (o.reportPath == "-" && o.command != "check")
        throw UsageError("--report -: only check writes its report to standard output");
    if (bridgesGiven && o.stencilMm <= 0)
        throw UsageError("--stencil-bridges needs --stencil MM");
    if (o.stencilMm > 0 && !o.merge)
        throw UsageError("--stencil merges the drawing; --no-merge does not apply");
    if (o.centre && (o.anchor != Anchor::BaselineLeft || o.mirror != Mirror::None))
        throw UsageError("--anchor and --mirror place the text by its own box; --centre does not apply");
    if (encodingGiven && o.command != "batch")
        throw UsageError("--encoding applies to batch only (the list's encoding)");
    if (anchorGiven && o.style.arc.isArc())
        o.style.arc = anchoredArc(o.style.arc, o.anchor);
    if (!o.style.arc.isArc() && (o.style.arc.atDegrees || o.style.arc.fitDegrees))
        throw UsageError(std::string(o.style.arc.atDegrees ? "--arc-at" : "--fit-arc") +
                         " places the text on a circle; give its radius with --arc");
    if (o.style.arc.isArc() && o.angle != 0)
        throw UsageError("--arc turns each character onto the circle; --angle does not apply (turn the text "
                         "with --arc-at)");
    // Each character stands on its own on the circle, at its kerned advance;
    // a feature may join or move characters across that.
    if (o.style.arc.isArc() && !o.style.shaping.features.empty())
        throw UsageError("--features with --arc: each character stands on its own on the circle, so ligatures "
                         "and contextual forms cannot join (--kerning applies)");
    if (o.style.arc.fitDegrees && o.style.spacing != 0)
        throw UsageError("--fit-arc and --spacing both set the spacing; give one");
    if (o.style.arc.fitDegrees && o.style.fitMm > 0)
        throw UsageError("--fit-arc and --fit both set the spacing; give one");
    if (!unitsGiven.empty() && o.command != "capture")
        throw UsageError("--units applies to capture only");
    if (o.millimetres && o.centre)
        throw UsageError("--units mm measures from the baseline of the capture at the origin; --centre does not apply");
    if (o.classic) {
        o.precisionMm.reset();
        if (dpiGiven)
            throw UsageError("--precision and --dpi both set the resolution; give one");
    }
    if (!fitBy.empty() && o.style.fitMm == 0)
        throw UsageError("--fit-by says how --fit fits; give --fit LEN too");
    if (o.style.fitMm > 0 && spacingGiven)
        throw UsageError("--fit sets the spacing itself; --spacing does not apply");
    if (o.style.fitMm > 0 && o.style.fitBy == TextStyle::FitBy::Width && widthGiven)
        throw UsageError("--fit-by width sets the width itself; --width does not apply");
    if (sizeOf == "cap")
        o.font.size = emForCapHeight(o, o.font.size);
    // A drawing for CAD is fine unless the user asks for another grid.
    if ((drawing || o.centreline) && !o.precisionMm && !o.classic && !dpiGiven)
        o.precisionMm = kCadStepMm;
    // A stroke font draws no outline: the outline's estimate bounds nothing
    // there, and the precision is only the grid an offset works on.
    if (!o.strokeFont.empty()) {
        if (o.precisionMm && dpiGiven)
            throw UsageError("--precision and --dpi both set the resolution; give one");
        if (o.precisionMm && !(*o.precisionMm >= kFinestStepMm && *o.precisionMm <= kCoarsestStepMm))
            throw UsageError("--precision: " + precisionRefusal({.refusal = PrecisionOutcome::Refusal::OutOfRange},
                                                                *o.precisionMm, {}));
        if (o.precisionMm)
            o.dpi = dpiForStep(*o.precisionMm);
        return o;
    }
    GlyphPointCounts counts(o.text, o.font, o.angle, o.style);
    if (o.precisionMm) {
        if (dpiGiven)
            throw UsageError("--precision and --dpi both set the resolution; give one");
        if (o.command == "wit")
            throw UsageError("wit writes the preview's pixels; --precision does not apply");
        const PrecisionOutcome outcome = dpiForPrecision(*o.precisionMm, [&](double dpi) {
            return measuredEstimate(counts, o, dpi);
        }, kMaxOutlinePoints);
        if (outcome.refusal != PrecisionOutcome::Refusal::None)
            throw UsageError("--precision: " + precisionRefusal(outcome, *o.precisionMm, withOffset(o)));
        o.dpi = dpiForWholeEm(outcome.dpi, o.font.size);
        o.advances = Advances::Linear;
    }
    checkWork(o, counts);
    return o;
}

std::string controlCharacterIn(std::string_view text)
{
    std::size_t character = 0;
    for (const unsigned char c : text) {
        if ((c & 0xC0) != 0x80)
            ++character;
        if (c >= 0x20 && c != 0x7F)
            continue;
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", c);
        const std::string what = c == '\n'   ? "a line feed"
                                 : c == '\r' ? "a carriage return"
                                 : c == '\t' ? "a tab"
                                              : std::string("control character ") + code;
        return what + " at character " + std::to_string(character);
    }
    return {};
}

} // namespace lw::cli
