#pragma once
// The commands' work with a stroke font: the text laid out as open lines
// and written as capture JSON, SVG, DXF, PDF or HP-GL; and the list of stroke fonts.

#include "cli/options.hpp"
#include "outline/open_lines.hpp"

#include <functional>
#include <string>

namespace lw {
class ByteSink;
}

namespace lw::cli {

// capture, svg, dxf, pdf or hpgl with --stroke-font; `warn` takes one line without
// "warning: ". Characters no stroke font has are a lw::Failure unless
// --allow-missing.
void runStroke(const Options& o, ByteSink& standardOutput, const std::function<void(const std::string&)>& warn);

// Open lines as svg, dxf, pdf or hpgl to the command's file ("-": standard
// output); with --offset the outline of a round pen drawing them.
void writeOpenLinesRun(const Options& o, const OpenLines& lines, ByteSink& standardOutput);

// fonts --stroke: "name\tfile" a line.
void listStrokeFonts(ByteSink& out);

} // namespace lw::cli
