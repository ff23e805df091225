#pragma once
// A bound on a capture's work before it is done: the outline's point count
// estimated from the text, the size and the resolution, so that a request
// whose outline could not fit in memory is refused instead of tried. This
// bound is cheap and well above the real count; a request above it is
// measured in the font itself (glyph_points.hpp) before it is refused. An
// offset for CAD adds the points of its round joins.
//
//   if (estimateOutlinePoints(text, 24, 96, false, false) > kMaxOutlinePoints) ...
//   if (estimateOffsetPoints(points, text, 50) > kMaxOutlinePoints) ...

#include <cstdint>
#include <string_view>

namespace lw {

// The largest outline a capture is asked for: 10 million points (about
// 90 MB of points and types, a few times that while the path is built).
inline constexpr std::uint64_t kMaxOutlinePoints = 10'000'000;

// An upper estimate of the points of the outline of `text` (UTF-8, each
// character one glyph) at `sizePoints` on a screen of `dpi`. A flattened
// curve has segments in proportion to the square root of its size in
// pixels, so a glyph gives at most a fixed part plus a part growing with
// the root of its pixel height; the factors cover the densest kanji of the
// Japanese fonts with room to spare (about 415 points at 192 px), times
// the platform's kFlattenedPointsFactor. Underline and strikeout add a
// rectangle each (five points with the first repeated, as GDI gives it).
// A width above 100 % flattens each curve into more segments, as the root
// of the widening. Saturates, never overflows.
std::uint64_t estimateOutlinePoints(std::string_view text, double sizePoints, double dpi, bool underline,
                                    bool strikeout, std::int32_t widthPercent = 100);

// Full circles of round join a glyph's offset may add, summed over its
// contours: one per contour that only turns one way, more for notches. The
// densest kanji add about seven (large offsets fill their notches: fewer).
inline constexpr double kOffsetCirclesPerGlyph = 12;

// An upper estimate of the points of an outline of `outlinePoints` points
// from `text` once offset by `offsetPixels` (either way): every point may
// become the two ends of a join, and each glyph adds kOffsetCirclesPerGlyph
// circles of joins at the offset's chords. An offset of 0 adds nothing.
// Saturates, never overflows.
std::uint64_t estimateOffsetPoints(std::uint64_t outlinePoints, std::string_view text, double offsetPixels);

// About how many seconds the cut-ready drawing of a capture of `points`
// points takes, merged, offset by `offsetPixels` (0: none) and written: what
// a busy machine of two cores gives, on the high side. It tells the user of
// a long export before it starts; nothing depends on it.
double estimateCadSeconds(std::uint64_t points, double offsetPixels);

} // namespace lw
