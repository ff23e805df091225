#include "cli/usage_text.hpp"

#include "cli/option_values.hpp"
#include "base/numbers.hpp"
#include "export/pdf.hpp"
#include "export/hpgl.hpp"
#include "outline/precision.hpp"
#include "outline/work_bound.hpp"

#include <string>

namespace lw::cli {
namespace {

std::string previewSize() { return shortest(design::kPreviewWidth) + " x " + shortest(design::kPreviewHeight); }

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
                    vanish are dropped; from )" + shortest(optionLimit(LimitedOption::Offset).lowest) + " to " + shortest(optionLimit(LimitedOption::Offset).highest) + R"(
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

} // namespace

std::vector<std::string_view> commandNames()
{
    std::vector<std::string_view> names;
    for (const Command& c : kCommands)
        names.emplace_back(c.name);
    return names;
}

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

} // namespace lw::cli
