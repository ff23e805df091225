#pragma once
// The commands' work with a stroke font: the text laid out as open lines
// and written as capture JSON, SVG, DXF, PDF or HP-GL; and the list of stroke fonts.

#include "cli/options.hpp"
#include "outline/open_lines.hpp"

#include <functional>
#include <string>

namespace lw {
class ByteSink;
struct CutWorkspace;
class StrokeFontCache;
} // namespace lw

namespace lw::cli {

// capture, svg, dxf, pdf or hpgl with --stroke-font, the fonts read through
// `fonts` (a batch's, kept for its rows); `warn` takes one line without
// "warning: ". Characters no stroke font has are a lw::Failure unless
// --allow-missing. A pen's ink is made cut-ready in `work`.
void runStroke(const Options& o, StrokeFontCache& fonts, CutWorkspace& work, ByteSink& standardOutput,
               const std::function<void(const std::string&)>& warn);

// Open lines as svg, dxf, pdf or hpgl to the command's file ("-": standard
// output); with --offset the outline of a round pen drawing them, made
// cut-ready in `work`.
void writeOpenLinesRun(const Options& o, const OpenLines& lines, CutWorkspace& work, ByteSink& standardOutput);

// fonts --stroke: "name\tfile" a line.
void listStrokeFonts(ByteSink& out);

} // namespace lw::cli
