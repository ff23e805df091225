#include "cli/work_check.hpp"

#include "base/numbers.hpp"
#include "base/utf8.hpp"
#include "cli/option_values.hpp"
#include "outline/option_limits.hpp"
#include "outline/work_bound.hpp"

#include <charconv>
#include <cmath>

namespace lw::cli {
namespace {

// The offset in the capture's pixels at `dpi`, as the drawing takes it.
double offsetPixels(const Options& o, double dpi) { return pixelsOfMm(o.offsetMm, dpi); }

std::uint64_t styledEstimate(const Options& o, double dpi)
{
    return estimateOffsetPoints(
        estimateOutlinePoints(o.text, o.font.size, dpi, o.font.underline, o.font.strikeout, o.style.widthPercent),
        o.text, offsetPixels(o, dpi));
}

} // namespace

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
                         shortest(o.dpi) + " dpi; the size must be above " + roughly(0.5 * 72 / o.dpi) +
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
    const double characters = double(utf8Characters(o.text));
    const double longest = characters * (2.0 * pixels * o.style.widthPercent / 100 +
                                          std::fabs(o.style.spacing) * o.dpi / 72);
    if (longest > kLongestLinePixels)
        throw UsageError("this text with --spacing " + shortest(o.style.spacing) + " and --width " +
                         std::to_string(o.style.widthPercent) + " could be " + roughly(longest) +
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
        return "must be from " + shortest(kFinestStepMm) + " to " + shortest(kCoarsestStepMm) +
               " mm (the largest grid step at 1:1), or " + kClassicWording;
    case Refusal::AboveBoundAlways:
        return "this text at this size" + offset + " is above " + limit +
               " points at any precision (an estimate from the font's glyphs); use a shorter text" +
               (offset.empty() ? " or a smaller size" : ", a smaller size or a smaller offset");
    case Refusal::AboveBound: {
        char digits[32];
        const auto written = std::to_chars(digits, digits + sizeof digits, outcome.finestStepMm,
                                           std::chars_format::general, 3);
        return shortest(stepMm) + " would make the outline of this text" + offset + " above " + limit +
               " points (an estimate from the font's glyphs); for this text and size" +
               (offset.empty() ? "" : " and offset") + " it must be from " +
               std::string(digits, written.ptr) + " to " +
               shortest(kCoarsestStepMm) + " mm";
    }
    }
    return {};
}

} // namespace lw::cli
