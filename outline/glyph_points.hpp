#pragma once
// The work bound measured in the font itself: each distinct character of a
// text is laid and flattened alone at a few pixel heights, and the text's
// points at any resolution are read from those counts. Close to what the
// capture gives (within a factor of two either way), where the plain
// estimate of work_bound.hpp is a cheap upper bound many times above it.
//
//   lw::GlyphPointCounts counts(text, font, angle, style);
//   if (counts.estimate(dpi) > lw::kMaxOutlinePoints) ... refuse

#include "outline/text_style.hpp"
#include "outline/window_font.hpp"
#include "platform/canvas.hpp"
#include "platform/device_context.hpp"
#include "platform/gdi_types.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

class GlyphPointCounts {
public:
    // Keeps a copy of the text; the fonts are laid on first use.
    GlyphPointCounts(std::string_view text, const WindowFont& font, std::int32_t angle = 0,
                     const TextStyle& style = {});

    // The points of the text's outline at the font's size on a device of
    // `dpi`, underline and strikeout included. Exact at a whole power of two
    // pixels up to kLargestWhole; between two such heights it follows the
    // root of the height from one count to the next. Up to kLargestMeasured
    // the most frequent characters scale the count, and above it the count
    // grows as it did below. Each height is measured once per object.
    // Saturates, never overflows.
    std::uint64_t estimate(double dpi);

    // What a request is checked against: the cheap upper bound of
    // estimateOutlinePoints while it stays within `limit` (nothing is laid),
    // else the measured estimate; either with an offset of `offsetPixels`
    // for CAD (estimateOffsetPoints).
    std::uint64_t estimateWithin(double dpi, std::uint64_t limit, double offsetPixels = 0);

    // Pixel heights 1, 2, 4 ... kLargestWhole are measured for every
    // character, where a glyph is at most some thousands of points; larger
    // ones, to kLargestMeasured, for the kSampled most frequent.
    static constexpr int kWholeLevels = 11;
    static constexpr int kLevels = 15;
    static constexpr int kLargestWhole = 1 << (kWholeLevels - 1);
    static constexpr int kLargestMeasured = 1 << (kLevels - 1);
    static constexpr std::size_t kSampled = 16;

private:
    struct Character {
        std::string bytes; // UTF-8
        std::uint64_t count = 0;
    };
    LOGFONT fontAt(const WindowFont& font, int level);
    int pointsOf(const LOGFONT& logFont, std::string_view bytes);
    double pointsAtLevel(int level);
    double sampledAt(int level);

    std::string text_;
    bool counted_ = false;
    std::vector<Character> characters_;
    WindowFont font_;
    std::int32_t angle_;
    TextStyle style_;
    NullCanvas canvas_;
    std::optional<DeviceContext> dc_;
    std::array<double, kLevels> measured_{};
    std::array<bool, kLevels> done_{};
};

} // namespace lw
