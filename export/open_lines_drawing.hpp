#pragma once
// Open lines (a stroke font's, a centreline's) written as a drawing: open
// polylines in svg, dxf, pdf or hpgl, or with an offset the closed outline
// of a round pen drawing them, made cut-ready. The command line and the
// window both write through it, so their files are the same bytes.
//
//   writeOpenLinesDrawing(out, lines, {.format = SaveFormat::Dxf, .text = "Room 12"}, work);

#include "base/byte_sink.hpp"
#include "cut/workspace.hpp"
#include "export/output_choices.hpp"
#include "export/save_format.hpp"
#include "outline/anchor.hpp"
#include "outline/open_lines.hpp"

#include <cstdint>
#include <span>
#include <string_view>

namespace lw {

struct OpenLinesDrawing {
    SaveFormat format = SaveFormat::Dxf;
    std::string_view text;     // UTF-8: the DXF's layer and its TEXT
    double sizePoints = 24;    // the em, for the DXF's TEXT
    std::int32_t angle = 0;
    Anchor anchor = Anchor::BaselineLeft;
    Mirror mirror = Mirror::None;
    bool merge = true;
    double offsetMm = 0;       // above 0: the pen's ink around the lines, closed
    double dpi = 2540;         // the ink's grid
    OutputChoices output{};
    // DXF only, without an offset: empty, or one bulge a point
    // (open_line_arcs.hpp), the lines then arcs.
    std::span<const double> bulges{};
};

// Writes the lines (or, with an offset, their ink, made cut-ready in
// `work`) in `drawing.format`. A pen that leaves no outline is a Failure.
void writeOpenLinesDrawing(ByteSink& out, const OpenLines& lines, const OpenLinesDrawing& drawing, CutWorkspace& work);

} // namespace lw
