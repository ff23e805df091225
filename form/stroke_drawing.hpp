#pragma once
// A text in a stroke face, for the window: laid out as open lines, drawn on
// the preview at the pen's width, and written as the front end's
// --stroke-font writes it, so the window's file and the front end's are the
// same bytes.
//
//   const StrokeText t = layStrokeFace("romans", "Room 12", {.sizePoints = 24});
//   writeStrokeDrawing(out, t.lines, {.format = SaveFormat::Dxf, .text = "Room 12"});

#include "base/byte_sink.hpp"
#include "form/form_view.hpp"
#include "form/tool_marks.hpp"
#include "outline/open_lines.hpp"
#include "outline/stroke_text.hpp"
#include "outline/text_style.hpp"
#include "platform/canvas.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace lw {

// The names of the installed stroke faces, in the order the font dialog
// lists them (after the outline faces, in a group of their own).
std::vector<std::string> strokeFaceNames();

struct StrokeText {
    OpenLines lines;
    std::u32string missing;            // characters no stroke face has; left out
    std::vector<std::string> drewToo;  // other faces that drew characters the chosen one lacks
};

// `text` (UTF-8) in the installed face `face` ("@name" writes it
// vertically), characters it lacks from the other installed faces. A face
// not installed, or one that cannot be read, is a lw::Failure.
StrokeText layStrokeFace(const std::string& face, std::string_view text, StrokeStyle style);

// The lines at `pixelsPerMm`, their box's centre at `centre`, each as wide
// as the pen (at least one pixel): parallel one-pixel lines across it.
void drawStrokePreview(const OpenLines& lines, double pixelsPerMm, POINT centre, Canvas& canvas);
// The same, each point where `frame` puts its millimetres.
void drawOpenLinesPreview(const OpenLines& lines, const MarkFrame& frame, Canvas& canvas);

// Why a save of a stroke face cannot be written with these choices (the
// front end's refusals, in the window's words), or empty.
std::string strokeSaveRefusal(SaveFormat format, const CadChoices& cad, const TextStyle& style);

// Why a save of an outline face's centreline cannot be written with these
// choices, or empty.
std::string centrelineSaveRefusal(const CadChoices& cad);

// Why the text cannot be saved in the stroke face: the characters no
// stroke face has, named; empty when every character is drawn.
std::string strokeMissingNote(std::u32string_view missing);

struct StrokeSave {
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
};

// Writes the lines (or, with an offset, their ink) in `save.format`.
void writeStrokeDrawing(ByteSink& out, const OpenLines& lines, const StrokeSave& save);

} // namespace lw
