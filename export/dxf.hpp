#pragma once
// The outline as a DXF drawing (AutoCAD 2000, AC1015) for any CAD program:
// one closed LWPOLYLINE per closed figure on a layer named for the text,
// millimetres at 1:1 ($INSUNITS 4), y up, the origin where the placement
// puts it (the left end of the text's baseline). Locale-free numbers, the
// shortest text that reads back as the same double. Text in code page 932.
//
//   writeDxf(out, outline, {.mm = baselinePlacement(dc, outline.logFont, 96), .text = "編集"});

#include "base/byte_sink.hpp"
#include "cut/cut.hpp"
#include "outline/anchor.hpp"
#include "outline/captured_outline.hpp"
#include "outline/open_lines.hpp"
#include "outline/precision.hpp"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lw {

// AutoCAD 2000 (AC1015, LWPOLYLINE), or Release 12 (AC1009) for older
// cutters and laser programs: POLYLINE/VERTEX/SEQEND, no handles, no
// objects, and a layer name R12 takes (see dxfR12LayerName).
enum class DxfVersion { R2000, R12 };

// The text itself beside its outline, so a drawing can be searched and
// edited: one TEXT on the layer kDxfTextLayer, at the drawing's origin (the
// anchor), aligned as the anchor names, mirrored as the outline is.
struct DxfText {
    double heightMm = 0;      // the em, as the outline was set
    double angleDegrees = 0;  // counter-clockwise
    Anchor anchor = Anchor::BaselineLeft;
    Mirror mirror = Mirror::None;
};

// Off for plotting in the 2000 drawing (R12 has no such flag).
inline constexpr const char* kDxfTextLayer = "LETTERWIRE_TEXT";

struct DxfPlacement {
    MmPlacement mm;        // device pixels to millimetres
    std::string_view text; // UTF-8; names the layer
    // Exact curves, one entry per closed figure: a figure that has one is
    // written as arcs (vertex bulges) within `curveTolerance` of it, in the
    // outline's units; the others as their points. The extents are then the
    // exact box of the arcs as written.
    const ExactCurves* curves = nullptr;
    double curveTolerance = 0;
    DxfVersion version = DxfVersion::R2000;
    std::optional<DxfText> textEntity{}; // with `text` as its string
};

// Writes the whole drawing; an empty outline gives a drawing with no entities.
void writeDxf(ByteSink& out, const CapturedOutline& outline, const DxfPlacement& placement);

// Opens, writes, closes; a file that cannot be written is a lw::Failure.
void writeDxfFile(const std::string& path, const CapturedOutline& outline, const DxfPlacement& placement);

// Open lines as a drawing: one open LWPOLYLINE per line (never closed, no
// closing repeat) on the text's layer, millimetres as they are; the same
// frame as the outline's drawing.
void writeOpenLinesDxf(ByteSink& out, const OpenLines& lines, std::string_view text);

// The same in either version: Release 12 writes each line as an open
// POLYLINE (flag 0) of VERTEXes; with `textEntity`, the text beside the
// lines as for an outline.
struct OpenLinesDxf {
    std::string_view text; // UTF-8; names the layer
    DxfVersion version = DxfVersion::R2000;
    std::optional<DxfText> textEntity{};
    // Empty, or one a point: the bulge of the arc to the next point
    // (open_line_arcs.hpp); the extents are then the arcs'.
    std::span<const double> bulges{};
};
void writeOpenLinesDxf(ByteSink& out, const OpenLines& lines, const OpenLinesDxf& form);
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

// The same for a Release 12 drawing, whose readers take at most 31 letters,
// digits, "$", "-" and "_": upper case, other ASCII as "_", the rest left
// out; "LETTERWIRE" when no letter or digit is left.
//
//   dxfR12LayerName("Hello world") // "HELLO_WORLD";  dxfR12LayerName("編集") // "LETTERWIRE"
std::string dxfR12LayerName(std::string_view text);

} // namespace lw
