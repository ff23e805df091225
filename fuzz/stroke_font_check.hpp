#pragma once
// Bytes as a stroke font through a reader, then a line laid out in what was
// read. Whatever the bytes, a reader returns a whole font or
// refuses with a place; what it returns keeps its promises: finite points,
// strokes of two points or more, none repeating the one before, and a
// layout of as many lines as the glyphs' strokes.
#include "base/failure.hpp"
#include "outline/stroke_font.hpp"
#include "outline/stroke_text.hpp"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace lw::fuzz {

inline void checkFont(const lw::StrokeFont& font)
{
    std::u32string text;
    std::size_t strokes = 0;
    for (const auto& [code, glyph] : font.glyphs) {
        if (!std::isfinite(glyph.advance))
            std::abort();
        for (const auto& stroke : glyph.strokes) {
            if (stroke.size() < 2)
                std::abort();
            for (std::size_t k = 0; k < stroke.size(); ++k) {
                if (!std::isfinite(stroke[k].x) || !std::isfinite(stroke[k].y))
                    std::abort();
                if (k > 0 && stroke[k] == stroke[k - 1])
                    std::abort();
            }
        }
        if (text.size() < 8) {
            text += code;
            strokes += glyph.strokes.size();
        }
    }
    const lw::StrokeLayout laid = lw::layStrokeText(text, font, {}, {.sizePoints = 24, .angle = 30});
    // Scaling may merge points a glyph keeps apart, never add a line.
    if (laid.lines.count() > strokes || !laid.missing.empty())
        std::abort();
}


// Reads `bytes` as the file `file` names, checking what comes back.
inline void readAndCheck(std::string_view bytes, const char* file)
{
    try {
        checkFont(lw::readStrokeFont(bytes, file));
    } catch (const lw::Failure& f) {
        // A refusal names the file it refuses.
        if (std::string_view(f.where()).find(file) != 0)
            std::abort();
    }
}

} // namespace lw::fuzz
