#pragma once
// The commands' work with a stroke font: the text laid out as open lines
// and written as capture JSON, SVG, DXF, PDF or HP-GL; and the list of stroke fonts.

#include "cli/options.hpp"

#include <functional>
#include <string>

namespace lw {
class ByteSink;
struct CutWorkspace;
}

namespace lw::cli {

// capture, svg, dxf, pdf or hpgl with --stroke-font; `warn` takes one line without
// "warning: ". Characters no stroke font has are a lw::Failure unless
// --allow-missing. A pen's ink is made cut-ready in `work`.
void runStroke(const Options& o, CutWorkspace& work, ByteSink& standardOutput,
               const std::function<void(const std::string&)>& warn);

// fonts --stroke: "name\tfile" a line.
void listStrokeFonts(ByteSink& out);

} // namespace lw::cli
