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
    // The glyphs slanted about the baseline by this many degrees (a shear,
    // not the face's italic), from -kSteepest to kSteepest; positive leans
    // the tops forward, along the text.
    double oblique = 0;
    // Above 0: the line's advance is made this many millimetres at 1:1, by
    // the spacing (the same space between every two characters, the first
    // and the last at the ends) or by the width; it replaces the spacing.
    double fitMm = 0;
    enum class FitBy : std::uint8_t { Spacing, Width };
    FitBy fitBy = FitBy::Spacing;
    // The line set on a circle instead of straight; none by default.
    ArcStyle arc{};
    // Kerning and OpenType features; none by default.
    TextShaping shaping{};

    static constexpr std::int32_t kNarrowest = 10;
    static constexpr std::int32_t kWidest = 400;
    static constexpr double kSteepest = 45;
    // Ten metres: a sign is longer than any sheet.
    static constexpr double kLongestFitMm = 10000;

    bool isDesigned() const
    {
        return spacing == 0 && widthPercent == 100 && !bold && oblique == 0 && fitMm == 0 && !arc.isArc() &&
               shaping.isPlain();
    }
    // tan of the oblique: how far a point moves along the line per unit above the baseline.
    double slant() const { return oblique == 0 ? 0 : std::tan(oblique * 3.14159265358979323846 / 180); }

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
