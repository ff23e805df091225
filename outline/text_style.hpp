#pragma once
// The text style: how the characters of a line are set beyond the font
// itself. The defaults are the designed capture (no spacing, the designed
// width, the fixed weight), so a default style changes no outline.
//
//   lw::TextStyle style{.spacing = 1.5, .widthPercent = 80, .bold = true};
//   style.spacingPixels(96.0 / 72) // 2: whole device pixels, as the platform rounds

#include "outline/arc_style.hpp"
#include "platform/text_shaping.hpp"

#include <cmath>
#include <cstdint>

namespace lw {

struct TextStyle {
    // Extra space after each character, in points like the size; negative
    // draws the characters closer.
    double spacing = 0;
    // The characters' width as a percentage of the designed width, from
    // kNarrowest to kWidest; the height stays.
    std::int32_t widthPercent = 100;
    // The face's bold, or the platform's emboldening where it has none.
    bool bold = false;
    // The line set on a circle instead of straight; none by default.
    ArcStyle arc{};
    // Kerning and OpenType features; none by default.
    TextShaping shaping{};

    static constexpr std::int32_t kNarrowest = 10;
    static constexpr std::int32_t kWidest = 400;

    bool isDesigned() const
    {
        return spacing == 0 && widthPercent == 100 && !bold && !arc.isArc() && shaping.isPlain();
    }

    // The spacing in device pixels at `pixelsPerPoint`, unrounded.
    double spacingExact(double pixelsPerPoint) const { return spacing * pixelsPerPoint; }
    // The spacing in whole device pixels, half away from zero, as the
    // platform's character extra takes it.
    std::int32_t spacingPixels(double pixelsPerPoint) const
    {
        return static_cast<std::int32_t>(std::lround(spacingExact(pixelsPerPoint)));
    }

    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

} // namespace lw
