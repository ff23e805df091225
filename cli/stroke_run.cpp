#include "cli/stroke_run.hpp"

#include "base/codepage.hpp"
#include "base/failure.hpp"
#include "base/shown_input.hpp"
#include "cut/cut.hpp"
#include "export/byte_files.hpp"
#include "export/face_note.hpp"
#include "export/open_lines_drawing.hpp"
#include "export/open_lines_json.hpp"
#include "outline/open_line_arcs.hpp"
#include "outline/stroke_font_files.hpp"
#include "outline/stroke_text.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace lw::cli {
namespace {

bool japanese(char32_t c) { return isWideCharacter(c) || (c >= 0xFF61 && c <= 0xFF9F); }

// The outline faces' sentence where the characters are Japanese, naming
// them after it; the same shape for others.
std::string fallbackNote(const std::string& asked, const StrokeFaceUse& use)
{
    const FaceNote note{FaceNoteKind::LacksText, asked, use.font->name};
    if (std::all_of(use.characters.begin(), use.characters.end(), japanese))
        return faceNoteText(note) + ": " + namedCharacters(use.characters);
    return fillFaceNote("\"%1\" has no " + namedCharacters(use.characters) + "; they are drawn in %2", note);
}

} // namespace

void runStroke(const Options& o, StrokeFontCache& fonts, CutWorkspace& work, ByteSink& standardOutput,
               const std::function<void(const std::string&)>& warn)
{
    const bool vertical = o.strokeFont.starts_with('@');
    const std::string asked = vertical ? o.strokeFont.substr(1) : o.strokeFont;
    const std::u32string text = utf8ToCodepoints(o.text);
    StrokeFontShelf shelf(installedStrokeFaces, fonts);
    const StrokeFont* font = shelf.chosen(asked, text);
    if (!font)
        throw UsageError("--stroke-font: no stroke font \"" + asked + "\" (letterwire-cli fonts --stroke lists them)");
    const StrokeStyle style{.sizePoints = o.font.size,
                            .angle = o.angle,
                            .spacingPoints = o.style.spacing,
                            .widthPercent = o.style.widthPercent,
                            .anchor = o.anchor,
                            .mirror = o.mirror,
                            .vertical = vertical,
                            .penMm = o.penMm.value_or(kDefaultPenMm)};
    const StrokeLayout laid = layStrokeText(text, *font,
                                            [&](char32_t c) { return shelf.fallbackFor(c); }, style);
    if (o.text.empty())
        warn("the text is empty: there are no lines");
    for (const StrokeFaceUse& use : laid.fallbacks)
        warn(fallbackNote(font->name, use));
    if (!laid.missing.empty()) {
        const std::string what = "no stroke font has " + namedCharacters(laid.missing);
        if (!o.allowMissing)
            throw Failure(FailureKind::TypeMismatch, what + " (--allow-missing leaves them out)");
        warn(what + "; left out");
    }

    if (o.command == "capture") {
        writeOpenLinesJson(standardOutput, {.text = o.text, .face = o.strokeFont, .file = font->file,
                                            .size = o.font.size, .angle = o.angle},
                           laid.lines);
        return;
    }
    writeOpenLinesRun(o, laid.lines, work, standardOutput);
}

void writeOpenLinesRun(const Options& o, const OpenLines& lines, CutWorkspace& work, ByteSink& standardOutput)
{
    const SaveFormat format = o.command == "dxf"    ? SaveFormat::Dxf
                              : o.command == "pdf"  ? SaveFormat::Pdf
                              : o.command == "hpgl" ? SaveFormat::Hpgl
                                                    : SaveFormat::Svg;
    OpenLinesDrawing drawing{.format = format,
                             .text = o.text,
                             .sizePoints = o.font.size,
                             .angle = o.angle,
                             .anchor = o.anchor,
                             .mirror = o.mirror,
                             .merge = o.merge,
                             .offsetMm = o.offsetMm,
                             .dpi = o.dpi,
                             .output = o.output};
    // Arcs within half the drawing's grid step, as the outline's curves.
    const ArcLines arcs = format == SaveFormat::Dxf && o.curves && o.offsetMm <= 0
                              ? linesAsArcs(lines, kMmPerInch / o.dpi / 2)
                              : ArcLines{};
    if (!arcs.bulges.empty())
        drawing.bulges = arcs.bulges;
    const OpenLines& written = arcs.bulges.empty() ? lines : arcs.lines;
    const std::string& path = o.positional[0];
    if (path == "-") {
        writeOpenLinesDrawing(standardOutput, written, drawing, work);
    } else {
        OutputFile file(path);
        writeOpenLinesDrawing(file.stream(), written, drawing, work);
        file.close();
    }
}

void listStrokeFonts(ByteSink& out)
{
    for (const StrokeFaceFile& face : installedStrokeFaces())
        out << face.name << '\t' << face.file << '\n';
}

} // namespace lw::cli
