#pragma once
// The commands' work with a stroke font: the text laid out as open lines
// and written as capture JSON, SVG or DXF; and the list of stroke fonts.

#include "cli/options.hpp"

#include <functional>
#include <string>

namespace lw {
class ByteSink;
}

namespace lw::cli {

// capture, svg or dxf with --stroke-font; `warn` takes one line without
// "warning: ". Characters no stroke font has are a lw::Failure unless
// --allow-missing.
void runStroke(const Options& o, ByteSink& standardOutput, const std::function<void(const std::string&)>& warn);

// fonts --stroke: "name\tfile" a line.
void listStrokeFonts(ByteSink& out);

} // namespace lw::cli
