#include "cli/stroke_run.hpp"

#include "base/codepage.hpp"
#include "base/failure.hpp"
#include "cut/cut.hpp"
#include "export/byte_files.hpp"
#include "export/dxf.hpp"
#include "export/face_note.hpp"
#include "export/hpgl.hpp"
#include "export/open_lines_json.hpp"
#include "export/open_lines_svg.hpp"
#include "export/pdf.hpp"
#include "export/svg.hpp"
#include "outline/open_line_arcs.hpp"
#include "outline/stroke_font_files.hpp"
#include "outline/stroke_offset.hpp"
#include "outline/stroke_text.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace lw::cli {
namespace {

bool japanese(char32_t c) { return isWideCharacter(c) || (c >= 0xFF61 && c <= 0xFF9F); }

std::string named(std::u32string_view characters)
{
    std::string out;
    for (const char32_t c : characters) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", unsigned(c));
        out += (out.empty() ? "\"" : ", \"") + codepointsToUtf8(std::u32string_view(&c, 1)) + "\" (" + code + ")";
    }
    return out;
}

// The outline faces' sentence where the characters are Japanese, naming
// them after it; the same shape for others.
std::string fallbackNote(const std::string& asked, const StrokeFaceUse& use)
{
    const FaceNote note{FaceNoteKind::LacksText, asked, use.font->name};
    if (std::all_of(use.characters.begin(), use.characters.end(), japanese))
        return faceNoteText(note) + ": " + named(use.characters);
    return fillFaceNote("\"%1\" has no " + named(use.characters) + "; they are drawn in %2", note);
}

} // namespace

void runStroke(const Options& o, StrokeFontCache& fonts, CutWorkspace& work, ByteSink& standardOutput,
               const std::function<void(const std::string&)>& warn)
{
    const bool vertical = o.strokeFont.starts_with('@');
    const std::string asked = vertical ? o.strokeFont.substr(1) : o.strokeFont;
    const std::u32string text = utf8ToCodepoints(o.text);
    StrokeFontShelf shelf(installedStrokeFaces(), fonts);
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
        const std::string what = "no stroke font has " + named(laid.missing);
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
    const bool dxf = o.command == "dxf";
    std::optional<DxfText> textEntity;
    if (dxf && o.output.dxfText) {
        // The em and the angle the lines were set with, as for an outline.
        const double angle = std::fmod(double(o.angle), 360.0);
        textEntity = DxfText{.heightMm = o.font.size * kMmPerInch / 72,
                             .angleDegrees = angle < 0 ? angle + 360 : angle,
                             .anchor = o.anchor,
                             .mirror = o.mirror};
    }
    const std::string& path = o.positional[0];
    const auto write = [&](auto writeTo) {
        if (path == "-") {
            writeTo(standardOutput);
        } else {
            OutputFile file(path);
            writeTo(file.stream());
            file.close();
        }
    };
    if (o.offsetMm > 0) {
        // The ink of a round pen, on the drawing's grid, made cut-ready.
        const double dpi = o.dpi;
        const CadOutline cut = cadOutline(strokeInk(lines, o.offsetMm, dpi), {.merge = o.merge}, work);
        if (cut.outline.pointCount == 0 && lines.count() != 0)
            throw Failure(FailureKind::NothingToDraw, "the strokes drawn with the pen leave no outline");
        const MmPlacement mm = onCadGrid({.originX = 0, .originY = 0, .dpi = dpi}, cut);
        write([&](ByteSink& out) {
            if (dxf)
                writeDxf(out, cut.outline,
                         {.mm = mm, .text = o.text, .version = o.output.dxfVersion, .textEntity = textEntity});
            else if (o.command == "pdf")
                writePdf(out, cut.outline, mm, nullptr, o.output.pdf);
            else if (o.command == "hpgl")
                writeHpgl(out, cut.outline, mm, {}, o.output.hpgl);
            else
                writeSvg(out, cut.outline, mm);
        });
        return;
    }
    if (dxf && o.curves) {
        // Arcs within half the drawing's grid step, as the outline's curves.
        const ArcLines arcs = linesAsArcs(lines, kMmPerInch / o.dpi / 2);
        write([&](ByteSink& out) {
            writeOpenLinesDxf(out, arcs.lines,
                              OpenLinesDxf{.text = o.text, .version = o.output.dxfVersion, .textEntity = textEntity,
                                           .bulges = arcs.bulges});
        });
        return;
    }
    write([&](ByteSink& out) {
        if (dxf)
            writeOpenLinesDxf(out, lines,
                              OpenLinesDxf{.text = o.text, .version = o.output.dxfVersion, .textEntity = textEntity});
        else if (o.command == "pdf")
            writeOpenLinesPdf(out, lines, o.output.pdf);
        else if (o.command == "hpgl")
            writeOpenLinesHpgl(out, lines, o.output.hpgl.pen);
        else
            writeOpenLinesSvg(out, lines);
    });
}

void listStrokeFonts(ByteSink& out)
{
    for (const StrokeFaceFile& face : installedStrokeFaces())
        out << face.name << '\t' << face.file << '\n';
}

} // namespace lw::cli
