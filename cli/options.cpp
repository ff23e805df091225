#include "cli/options.hpp"

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
constexpr double kDpiHighest = 10000;

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

std::string usageText()
{
    return std::string() + R"(Usage: letterwire-cli COMMAND [ARGS] [OPTIONS]

Turns one line of text, set in an outline font at a size and an angle, into
closed polylines, without a window.

Commands:
  capture                  print the captured outline as one JSON object:
                           text, face, family (the family actually used), file
                           (the font file), size, angle, height (pixels),
                           alCent, pointCount, points [[x, y], ...], types [...]
  jw COMMAND-FILE OUTPUT   the JW export: capture at the origin, copy and
                           interpret the command file, write the outline
  wit OUTPUT               the WIT export of the centred capture; starts the
                           converter "mfin" with the work file and OUTPUT
  svg OUTPUT               an SVG picture of the outline, one path per figure

Options (every command):
  --text TEXT     the text (default ")" + std::string(design::kText) + R"(")
  --font NAME     the face name (default ")" + std::string(design::kFaceName) + R"(")
  --size POINTS   the size in points (default )" + shortest(design::kFontSize) + R"()
  --angle DEGREES the angle, counter-clockwise (default 0)
  --italic, --underline, --strikeout
                  the font's styles
  --centre        place the text as the preview does: alignment 1 at the
                  centre of the )" + previewSize() + R"( preview area (default for wit);
                  otherwise alignment 0 at the origin, as the JW export does
  --dpi DPI       the screen's dots per inch, )" + shortest(kDpiLowest) + " to " + shortest(kDpiHighest) + R"( (default )" + shortest(design::kDpi) + ": " + shortest(design::kTwipsPerPixel) + R"( twips a pixel)
  --no-convert    wit: write the WIT text to OUTPUT, start no converter
  --help          this text

The text, the size and the dpi together must keep the outline within
)" + std::to_string(kMaxOutlinePoints) + R"( points (estimated before any work); the size must be at least
half a pixel high.

Exit status: 0 success, 1 a failure of the work (also when standard output
could not be written), 2 a usage error.
)";
}

Options parseOptions(const std::vector<std::string>& args)
{
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError(a + " needs a value");
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
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
            if (!(o.dpi >= kDpiLowest && o.dpi <= kDpiHighest))
                throw UsageError("--dpi must be from " + shortest(kDpiLowest) + " to " + shortest(kDpiHighest));
        } else if (a == "--no-convert") {
            o.noConvert = true;
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            throw UsageError("unknown option " + a);
        } else if (o.command.empty()) {
            o.command = a;
        } else {
            o.positional.push_back(a);
        }
    }
    if (o.help)
        return o;
    if (o.command.empty())
        throw UsageError("no command given (capture, jw, wit or svg); see --help");
    for (const std::string& file : o.positional)
        if (file.empty())
            throw UsageError(o.command + ": a file path is empty");
    checkWork(o);
    return o;
}

} // namespace lw::cli
