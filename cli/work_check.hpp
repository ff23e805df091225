#pragma once
// Requests the capture cannot serve, refused before any work: a size below
// half a pixel, an outline beyond the work bound, a line beyond the
// device's coordinates, a precision too fine for the text.

#include "cli/options.hpp"
#include "outline/glyph_points.hpp"
#include "outline/precision.hpp"

#include <cstdint>
#include <string>

namespace lw::cli {

// The outline's points as the font's own glyphs give them at `dpi`, laid
// only when the cheap bound is above the limit (0 then).
std::uint64_t measuredEstimate(GlyphPointCounts& counts, const Options& o, double dpi);
// " with --offset 0.1", or nothing without an offset.
std::string withOffset(const Options& o);
// A UsageError for a request the capture cannot serve.
void checkWork(const Options& o, GlyphPointCounts& counts);
// A precision the capture cannot serve, in the option's words; `offset`
// names the offset as withOffset does.
std::string precisionRefusal(const PrecisionOutcome& outcome, double stepMm, const std::string& offset);

} // namespace lw::cli
