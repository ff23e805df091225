#pragma once
// A text in a stroke face, for the window: laid out as open lines, drawn on
// the preview at the pen's width, and written as the front end's
// --stroke-font writes it, so the window's file and the front end's are the
// same bytes.
//
//   StrokeFontCache fonts;
//   const StrokeText t = layStrokeFace("romans", "Room 12", {.sizePoints = 24}, fonts);
//   writeOpenLinesDrawing(out, t.lines, {.format = SaveFormat::Dxf, .text = "Room 12"}, work);

#include "base/byte_sink.hpp"
#include "export/open_lines_drawing.hpp"
#include "form/form_view.hpp"
#include "form/tool_marks.hpp"
#include "outline/open_lines.hpp"
#include "outline/stroke_font_cache.hpp"
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
// vertically), characters it lacks from the other installed faces, read
// through `fonts` (the window's, kept from one redraw to the next). A face
// not installed, or one that cannot be read, is a lw::Failure.
StrokeText layStrokeFace(const std::string& face, std::string_view text, StrokeStyle style, StrokeFontCache& fonts);

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

} // namespace lw
