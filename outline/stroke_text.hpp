#pragma once
// One line of text set in a stroke font, as open lines: the same size (the
// em, in points), angle, spacing, width, anchor and mirror as an outline
// face takes, and the vertical writing of a face asked for with "@" (wide
// characters turned a quarter counter-clockwise in a cell of one em, so
// that the line turned to -90 degrees reads top to bottom).
//
//   StrokeLayout l = layStrokeText(U"Room 12", font, noFallback, {.sizePoints = 24});
//   writeOpenLinesSvg(out, l.lines);

#include "outline/anchor.hpp"
#include "outline/open_lines.hpp"
#include "outline/stroke_font.hpp"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lw {

struct StrokeStyle {
    double sizePoints = 24;
    std::int32_t angle = 0;     // degrees, counter-clockwise
    double spacingPoints = 0;   // between characters
    std::int32_t widthPercent = 100;
    Anchor anchor = Anchor::BaselineLeft;
    Mirror mirror = Mirror::None;
    bool vertical = false;
    double penMm = kDefaultPenMm;
};

// Another face for a character the chosen one lacks, or nullptr.
using StrokeFallback = std::function<const StrokeFont*(char32_t)>;

struct StrokeFaceUse {
    const StrokeFont* font = nullptr;
    std::u32string characters; // in the order the text first has them
};

struct StrokeLayout {
    OpenLines lines;
    std::vector<StrokeFaceUse> fallbacks; // faces other than the chosen one that drew characters
    std::u32string missing;               // characters no face has, each once; they take no room
};

// Lays `text` out; a space the face lacks takes a quarter of an em. The
// anchor's box: left and right the advance's ends (the spacing counts
// between characters only), top and bottom the face's ascent and descent.
StrokeLayout layStrokeText(std::u32string_view text, const StrokeFont& font, const StrokeFallback& fallback,
                           const StrokeStyle& style);

// Wide characters (CJK and full-width forms), which stand upright in
// vertical writing.
bool isWideCharacter(char32_t c);

} // namespace lw
