#pragma once
// The outline as a DXF drawing (AutoCAD 2000, AC1015) for any CAD program:
// one closed LWPOLYLINE per closed figure on a layer named for the text,
// millimetres at 1:1 ($INSUNITS 4), y up, the origin where the placement
// puts it (the left end of the text's baseline). Locale-free numbers, the
// shortest text that reads back as the same double. Text in code page 932.
//
//   writeDxf(out, outline, {.mm = baselinePlacement(dc, outline.logFont, 96), .text = "編集"});

#include "base/byte_sink.hpp"
#include "outline/cad_curves.hpp"
#include "outline/captured_outline.hpp"
#include "outline/open_lines.hpp"
#include "outline/precision.hpp"

#include <cstddef>
#include <string>
#include <string_view>

namespace lw {

struct DxfPlacement {
    MmPlacement mm;        // device pixels to millimetres
    std::string_view text; // UTF-8; names the layer
    // Exact curves, one entry per closed figure: a figure that has one is
    // written as arcs (vertex bulges) within `curveTolerance` of it, in the
    // outline's units; the others as their points. The extents are then the
    // exact box of the arcs as written.
    const ExactCurves* curves = nullptr;
    double curveTolerance = 0;
};

// Writes the whole drawing; an empty outline gives a drawing with no entities.
void writeDxf(ByteSink& out, const CapturedOutline& outline, const DxfPlacement& placement);

// Opens, writes, closes; a file that cannot be written is a lw::Failure.
void writeDxfFile(const std::string& path, const CapturedOutline& outline, const DxfPlacement& placement);

// Open lines as a drawing: one open LWPOLYLINE per line (never closed, no
// closing repeat) on the text's layer, millimetres as they are; the same
// frame as the outline's drawing.
void writeOpenLinesDxf(ByteSink& out, const OpenLines& lines, std::string_view text);
void writeOpenLinesDxfFile(const std::string& path, const OpenLines& lines, std::string_view text);

// The longest layer name, in bytes of code page 932.
inline constexpr std::size_t kLayerNameBytes = 255;

// The layer name for `text` (UTF-8, the result too): each character a DXF
// name may not hold (<>/\":;?*|=` and controls) and each one outside code
// page 932 becomes "_", blanks at either end go, whole characters are cut
// to fit kLayerNameBytes; nothing left gives "Letterwire". A name that is
// "0" or "Defpoints" in any letter case (the standard layer, and the one
// that never prints) gets a "_" in front.
//
//   dxfLayerName("a/b") // "a_b";  dxfLayerName(" 0 ") // "_0"
std::string dxfLayerName(std::string_view text);

} // namespace lw
