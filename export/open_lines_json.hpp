#pragma once
// Text in a stroke font as one JSON object, for scripts: the inputs, the
// stroke face and its file, then the open lines in millimetres at 1:1 (y
// up, from the drawing's origin) and their box. Locale-free numbers.
//
//   writeOpenLinesJson(out, {.text = "出口", .face = "kst32b", .file = "/usr/share/.../kst32b.lff"}, lines);
//   // {"text": "出口", "strokeFont": "kst32b", ..., "lines": [[[0.53, 3.2], ...]], ...}

#include "base/byte_sink.hpp"
#include "outline/open_lines.hpp"

#include <cstdint>
#include <string_view>

namespace lw {

struct OpenLinesJsonInputs {
    std::string_view text;
    std::string_view face; // the stroke face asked for
    std::string_view file; // its font file
    double size = 0;
    std::int32_t angle = 0;
    bool centreline = false; // the lines are an outline face's centreline
};

// Keys in order: text, strokeFont, file, size, angle, units ("mm"), pen,
// lineCount, lines [[[x, y], ...], ...], bbox {"minX", "minY", "maxX",
// "maxY"} (null without lines). One object, then a line feed. A centreline
// names its outline face "face" (for strokeFont), and after the lines gives
// "widths" [[w, ...], ...], the stroke's width at each point in mm.
void writeOpenLinesJson(ByteSink& out, const OpenLinesJsonInputs& inputs, const OpenLines& lines);

} // namespace lw
