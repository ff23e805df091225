#pragma once
// An SVG picture of a captured outline, for people who would rather look
// than read: one closed <path> per figure, in device pixels, even-odd fill.
// Holes (figures wound against the outlines, such as the inside of an "O")
// are painted in the background colour after the outlines, so the picture
// shows the letters as they are, with one path element per figure.

#include "outline/captured_outline.hpp"

#include <ostream>
#include <string>

namespace lw {

void writeSvg(std::ostream& out, const CapturedOutline& outline);

// Opens, writes, closes; a file that cannot be written is a lw::Failure.
void writeSvgFile(const std::string& path, const CapturedOutline& outline);

} // namespace lw
