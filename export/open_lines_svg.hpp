#pragma once
// Open lines as an SVG picture for a pen: one unfilled path, each line a
// subpath never closed, stroked round at the pen's width; true to size as
// the outline's picture (millimetres, one user unit a millimetre, y down,
// the drawing's origin at (0, 0)), the picture reaching half the pen's
// width past the lines so no stroke is cut at its edge.
//
//   writeOpenLinesSvg(out, layStrokeText(U"A", font, {}, {}).lines);

#include "base/byte_sink.hpp"
#include "outline/open_lines.hpp"

#include <string>

namespace lw {

// No lines give a picture of the pen's size with an empty path.
void writeOpenLinesSvg(ByteSink& out, const OpenLines& lines);
void writeOpenLinesSvgFile(const std::string& path, const OpenLines& lines);

} // namespace lw
