#pragma once
// The commands' work with --centreline: an outline face's centreline, as
// open lines, written as capture JSON, SVG, DXF, PDF or HP-GL.

#include "cli/options.hpp"

#include <functional>
#include <string>

namespace lw {
class ByteSink;
class OffscreenCapture;
struct CutWorkspace;
} // namespace lw

namespace lw::cli {

// Refuses --curves where open lines cannot take arcs: every format but
// dxf, and the pen's outline.
void refuseOpenCurves(const Options& o);

// Refuses, as a UsageError naming why, what --centreline cannot go with.
// `units` is --units as given ("" without it).
void refuseWithCentreline(const Options& o, const std::string& units);

// capture, svg, dxf, pdf or hpgl with --centreline, of the capture `made`
// (at the origin, its anchor and mirror set; an --offset pen's ink made
// cut-ready in `work`); `warn` takes one line
// without "warning: ".
void runCentreline(const Options& o, OffscreenCapture& made, CutWorkspace& work, ByteSink& standardOutput,
                   const std::function<void(const std::string&)>& warn);

} // namespace lw::cli
