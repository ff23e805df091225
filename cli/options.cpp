#include "cli/options.hpp"

#include "outline/precision.hpp"
#include "outline/work_bound.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace lw::cli {
namespace {

double number(const std::string& option, const std::string& value)
{
    double result = 0;
    auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), result);
    if (ec != std::errc() || ptr != value.data() + value.size() || !std::isfinite(result))
        throw UsageError(option + ": \"" + value + "\" is not a number");
    return result;
}

std::string shortest(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

std::string previewSize() { return shortest(design::kPreviewWidth) + " x " + shortest(design::kPreviewHeight); }

constexpr int kAngleLimit = 214748364;
constexpr double kDpiLowest = 10;
// A precision reaches finer grids than --dpi allows by hand.
constexpr double kDpiHighest = 10000;
// A cutter's width is millimetres; beyond this an offset is a typing error.
constexpr double kOffsetLimitMm = 100;

struct Command {
    const char* name;
    const char* synopsis;
    const char* description;
};

const Command kCommands[] = {
    {"capture", "capture [options] [--units mm]",
     "print the captured outline as one JSON object: text, face, family (the\n"
     "family that drew the points), file (its font file), size, angle, height\n"
     "(pixels), alCent, pointCount, points [[x, y], ...], types [...], then dpi,\n"
     "units, figures [[[x, y], ...], ...] and bbox; with --units mm the figures\n"
     "and bbox are millimetres at 1:1, y up, from the left end of the baseline\n"
     "(and origin names that device pixel)"},
    {"jw", "jw COMMAND-FILE OUTPUT [options]",
     "the JW export: capture at the origin, copy and interpret the command\n"
     "file, write the outline behind the copied lines; a warning on standard\n"
     "error when the command file chooses a scale of 0"},
    {"wit", "wit OUTPUT [options] [--no-convert]",
     "the WIT export of the centred capture; starts the converter \"mfin\" with\n"
     "a work file of its own and OUTPUT (--no-convert: write the WIT text to\n"
     "OUTPUT and start nothing); in the preview's pixels, so --precision does\n"
     "not apply"},
    {"svg", "svg OUTPUT [options] [--no-merge] [--offset MM]",
     "an SVG picture of the outline, all figures in one nonzero-filled path;\n"
     "overlaps merged and the geometry cut-ready as for dxf"},
    {"dxf", "dxf OUTPUT [options] [--no-merge] [--offset MM]",
     "a DXF drawing (AutoCAD 2000) for any CAD program: one closed polyline\n"
     "per contour on a layer named for the text, millimetres at 1:1, y up, the\n"
     "origin at the left end of the text's baseline"},
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

std::string optionsText()
{
    return std::string() + R"(Options (every command):
  --text TEXT       the text (default ")" + design::kText + R"(")
  --font NAME       the face name (default ")" + design::kFaceName + R"(")
  --size POINTS     the size in points (default )" + shortest(design::kFontSize) + R"()
  --angle DEGREES   the angle, counter-clockwise (default 0)
  --italic, --underline, --strikeout
                    the font's styles
  --centre          place the text as the preview does: alignment 1 at the
                    centre of the )" + previewSize() + R"( preview area (default for wit);
                    otherwise alignment 0 at the origin, as the JW export does
  --precision MM    the largest step of the point grid in millimetres at 1:1,
                    from )" + shortest(kFinestStepMm) + " to " + shortest(kCoarsestStepMm) + R"( (default: the classic screen pixel,
                    25.4/96 = )" + shortest(kClassicStepMm) + R"( mm); the capture works at a finer device
                    resolution, so the letters keep their size and the outline
                    its structure; the JW export keeps its base point and scale
  --dpi DPI         the low-level form: the screen's dots per inch, )" + shortest(kDpiLowest) + " to " +
           shortest(kDpiHighest) + R"(
                    (default )" + shortest(design::kDpi) + ": " + shortest(design::kTwipsPerPixel) + R"( twips a pixel)
  --help            this text; COMMAND --help or help COMMAND: that command's

Cut-ready geometry (svg, dxf):
  By default the figures are merged by the nonzero rule into contours that
  never overlap: one outer contour per connected shape, its holes inside,
  outer contours counter-clockwise and holes clockwise with y up; underline
  and strike-out become part of the letters they cross. No contour repeats a
  point or its first point, none has less than three points or no area.
  --no-merge        keep each captured figure as one contour (still clean)
  --offset MM       move every outer contour outward and every hole inward
                    by MM millimetres at 1:1 (negative: the other way), round
                    joins, after merging; contours that vanish are dropped;
                    from -)" + shortest(kOffsetLimitMm) + " to " + shortest(kOffsetLimitMm) + R"(
  --version         the program's version

OUTPUT "-" is standard output (jw, svg, dxf).

The text, the size and the resolution together must keep the outline within
)" + std::to_string(kMaxOutlinePoints) + R"( points (estimated before any work); the size must be at least
half a pixel high.

Exit status: 0 success, 1 a failure of the work (also when standard output
could not be written), 2 a usage error.
)";
}

// Requests the capture cannot serve are refused before any work: a size
// that rounds to no pixel at all (the platform would take a height of 0 for
// its default height and draw larger), and an outline beyond the work bound.
void checkWork(const Options& o)
{
    const double pixels = double(o.font.size) * o.dpi / 72;
    if (std::nearbyint(pixels) == 0 || pixels <= 0.5)
        throw UsageError("--size " + shortest(o.font.size) + " is less than half a pixel high at " +
                         shortest(o.dpi) + " dpi; the size must be above " + shortest(0.5 * 72 / o.dpi) +
                         " points");
    const std::uint64_t points = estimateOutlinePoints(o.text, o.font.size, o.dpi, o.font.underline,
                                                       o.font.strikeout);
    if (points > kMaxOutlinePoints)
        throw UsageError("the outline of this text at --size " + shortest(o.font.size) + " and --dpi " +
                         shortest(o.dpi) + " could have about " + std::to_string(points) +
                         " points, above the limit of " + std::to_string(kMaxOutlinePoints) +
                         "; use a shorter text, a smaller size or a lower dpi");
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
        return std::string("Usage: letterwire-cli ") + c->synopsis + "\n\n" + indented(c->description, "") + "\n" +
               optionsText();
    std::string commands;
    for (const Command& c : kCommands) {
        commands += "  ";
        commands += c.synopsis;
        commands += "\n";
        commands += indented(c.description, "      ");
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
    std::string unitsGiven;
    std::string cadGiven;
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
            o.text = value();
        } else if (a == "--font") {
            o.font.faceName = value();
        } else if (a == "--size") {
            double size = number(a, value());
            if (size <= 0 || size > 16384)
                throw UsageError("--size must be above 0 and at most 16384 points");
            o.font.size = static_cast<float>(size);
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
        } else if (a == "--centre" || a == "--center") {
            o.centre = true;
        } else if (a == "--dpi") {
            o.dpi = number(a, value());
            dpiGiven = true;
            if (!(o.dpi >= kDpiLowest && o.dpi <= kDpiHighest))
                throw UsageError("--dpi must be from " + shortest(kDpiLowest) + " to " + shortest(kDpiHighest));
        } else if (a == "--precision") {
            const std::string& text = value();
            double mm = 0;
            auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), mm);
            if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(mm))
                throw UsageError("--precision: \"" + text + "\" is not a number; give the grid step in mm, from " +
                                 shortest(kFinestStepMm) + " to " + shortest(kCoarsestStepMm));
            o.precisionMm = mm;
        } else if (a == "--units") {
            unitsGiven = value();
            if (unitsGiven != "mm" && unitsGiven != "px")
                throw UsageError("--units must be mm or px");
            o.millimetres = unitsGiven == "mm";
        } else if (a == "--no-convert") {
            o.noConvert = true;
        } else if (a == "--no-merge") {
            o.merge = false;
            cadGiven = a;
        } else if (a == "--offset") {
            o.offsetMm = number(a, value());
            cadGiven = a;
            if (std::fabs(o.offsetMm) > kOffsetLimitMm)
                throw UsageError("--offset must be from -" + shortest(kOffsetLimitMm) + " to " +
                                 shortest(kOffsetLimitMm) + " mm");
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            throw UsageError("unknown option " + a);
        } else if (o.command.empty()) {
            o.command = a;
        } else {
            o.positional.push_back(a);
        }
    }
    if (o.request == Request::Version)
        return o;
    // "help COMMAND" is "COMMAND --help".
    if (o.command == "help") {
        o.request = Request::Help;
        o.command = o.positional.empty() ? std::string() : o.positional.front();
        if (!o.command.empty() && !isCommand(o.command))
            throw UsageError("no command " + o.command + " (capture, jw, wit, svg or dxf)");
        return o;
    }
    if (o.request == Request::Help)
        return o;
    if (o.command.empty())
        throw UsageError("no command given (capture, jw, wit, svg or dxf); see --help");
    if (!isCommand(o.command))
        throw UsageError("unknown command " + o.command + "; see --help");
    for (const std::string& file : o.positional)
        if (file.empty())
            throw UsageError(o.command + ": a file path is empty");
    if (!cadGiven.empty() && o.command != "svg" && o.command != "dxf")
        throw UsageError(cadGiven + " applies to svg and dxf only");
    if (!unitsGiven.empty() && o.command != "capture")
        throw UsageError("--units applies to capture only");
    if (o.millimetres && o.centre)
        throw UsageError("--units mm measures from the baseline of the capture at the origin; --centre does not apply");
    if (o.precisionMm) {
        if (dpiGiven)
            throw UsageError("--precision and --dpi both set the resolution; give one");
        if (o.command == "wit")
            throw UsageError("wit writes the preview's pixels; --precision does not apply");
        try {
            o.dpi = dpiForPrecision(*o.precisionMm, [&](double dpi) {
                return estimateOutlinePoints(o.text, o.font.size, dpi, o.font.underline, o.font.strikeout);
            }, kMaxOutlinePoints);
        } catch (const PrecisionError& e) {
            throw UsageError(std::string("--precision: ") + e.what());
        }
    }
    checkWork(o);
    return o;
}

} // namespace lw::cli
