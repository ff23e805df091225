#pragma once
// The outline as a one-page vector PDF, true to size: one user unit a
// millimetre (the page's matrix scales them to points), y up, every closed
// figure one closed subpath. Filled by the nonzero rule as the font's
// outlines are made for, or stroked as hairlines of one colour, as laser
// drivers take a cut line. No fonts, no images, no compression, no date:
// the same drawing gives the same bytes on every platform.
//
//   writePdf(out, outline, placement, nullptr, {.page = MmSize{210, 297}, .marginMm = 10});

#include "base/byte_sink.hpp"
#include "cut/cut.hpp"
#include "outline/captured_outline.hpp"
#include "outline/open_lines.hpp"
#include "outline/precision.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lw {

struct MmSize {
    double width = 0;
    double height = 0;
    bool operator==(const MmSize&) const = default;
};

enum class PdfPaint { Fill, Cut };

struct PdfForm {
    // None: the page is the drawing's extents plus the margin on each side.
    // A size: the drawing's origin stands `marginMm` from the page's lower
    // left in x and y, and the drawing must lie on the page.
    std::optional<MmSize> page{};
    double marginMm = 0;
    PdfPaint paint = PdfPaint::Fill;
    double lineWidthMm = 0.01;      // Cut only
    std::uint32_t colour = 0xFF0000; // Cut only: 0xRRGGBB
    bool operator==(const PdfForm&) const = default;
};

// Limits the writer and every front end share. A larger page is beyond
// what PDF readers are bound to take (200 inches).
inline constexpr double kPdfLargestPageMm = 5080;
inline constexpr double kPdfLargestMarginMm = 1000;
inline constexpr double kPdfThickestLineMm = 10;

// "A4", "A3" (portrait, any letter case) or "WxHmm" ("100x50mm"), each side
// above 0 and at most kPdfLargestPageMm; nothing for any other word.
std::optional<MmSize> pdfPageNamed(std::string_view word);
// "FF0000" or "#ff0000": six hex digits; nothing for any other word.
std::optional<std::uint32_t> pdfColourNamed(std::string_view word);

// Writes the whole file. With `curves` (one entry per closed figure) a
// figure that has a curve is written as its segments and cubic Béziers.
// A drawing that does not lie on a chosen page is a lw::Failure of kind
// DoesNotFit, and nothing is written.
void writePdf(ByteSink& out, const CapturedOutline& outline, const MmPlacement& mm, const ExactCurves* curves,
              const PdfForm& form);

// Open lines on the same page: each line one open subpath (never closed),
// stroked. Fill paints them black at the pen's width with round ends, the
// ink's reach counted in the extents; Cut as hairlines of the form's width
// and colour. The same refusal when they leave a chosen page.
void writeOpenLinesPdf(ByteSink& out, const OpenLines& lines, const PdfForm& form);

} // namespace lw
