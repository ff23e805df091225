// OK without a run mode: the save dialog, then the outline saved.

#include "form/form1.hpp"

#include "base/failure.hpp"
#include "export/offscreen_capture.hpp"
#include "form/save_kinds.hpp"
#include "form/stroke_drawing.hpp"
#include "export/byte_files.hpp"
#include "platform/file_io.hpp"
#include "outline/arc_text.hpp"
#include "outline/glyph_points.hpp"
#include "outline/option_limits.hpp"
#include "outline/work_bound.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <new>

namespace lw {
namespace {

std::filesystem::path fsPath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Path(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace

void Form1::saveOutline()
{
    const std::string text = view_.text(TextBox::txtInput);
    if (!saveSettings_)
        saveSettings_ = view_.loadSaveSettings().value_or(SaveSettings{});
    // A remembered folder that is gone, is no folder or is beyond the path
    // limit (a hand-edited or foreign value) opens the dialog as a first
    // save does.
    if (!saveSettings_->folder.empty() && !fileio::isUsableFolder(saveSettings_->folder))
        saveSettings_->folder.clear();
    const std::string name = saveFileName(text, saveSettings_->format);
    const SaveChoice preset{saveSettings_->format, saveSettings_->precision,
                            saveSettings_->folder.empty() ? name
                                                          : utf8Path(fsPath(saveSettings_->folder) / fsPath(name)),
                            saveSettings_->cad, saveSettings_->output};
    std::optional<SaveChoice> choice = view_.chooseSaveFile(preset);
    if (!choice)
        return;
    // A name typed with one of the formats' extensions is written in that
    // format, whatever file type the dialog shows.
    choice->format = formatForPath(choice->path, choice->format);
    const SavePrecision shown = saveSettings_->precision;
    const bool centrelineShown = centrelineChosen();
    saveSettings_ = SaveSettings{choice->format, choice->precision, utf8Path(fsPath(choice->path).parent_path()),
                                 choice->cad, choice->output};
    view_.storeSaveSettings(*saveSettings_);
    // The preview shows the grid the next save uses too.
    // So do the centreline and a pen's width.
    if (choice->precision != shown || toolReport_ || !font_.strokeFace.empty() || centrelineShown ||
        centrelineChosen())
        drawFlattenPath(1);
    // Until this save is written, the line names no earlier one.
    savedTo_.clear();
    showWindowNote();

    if (!font_.strokeFace.empty()) {
        saveStrokes(*choice, text);
        return;
    }
    const auto report = [this](const std::string& message) {
        std::fprintf(stderr, "%s\n", message.c_str());
        std::fflush(stderr);
        view_.showMessage(kProgramTitle, message);
    };
    const bool centreline = takesCadChoices(choice->format) && choice->cad.centreline;
    if (const std::string refused = centreline ? centrelineSaveRefusal(choice->cad) : std::string();
        !refused.empty()) {
        report(refused);
        return;
    }
    const double dpi = saveDpi(choice->precision, font_.size);
    GlyphPointCounts counts(text, font_, view_.position(Slider::sldAngle), style_);
    const double offsetPixels = takesCadChoices(choice->format) ? pixelsOfMm(choice->cad.offsetMm, dpi) : 0;
    if (const std::uint64_t points = counts.estimateWithin(dpi, kMaxOutlinePoints, offsetPixels);
        points > kMaxOutlinePoints) {
        report("The outline of this text at this size could have about " + std::to_string(points) +
               " points at this precision" + (offsetPixels != 0 ? " with this offset" : "") +
               " (an estimate from the font's glyphs), above the limit of " + std::to_string(kMaxOutlinePoints) +
               "; choose a coarser precision, a shorter text or a smaller size" +
               (offsetPixels != 0 ? " or offset" : "") + ". Nothing was written.");
        return;
    }
    // Nothing but the file changes, so a failure here is told and the
    // user's work in the window goes on.
    try {
        // On an arc the anchor also picks the text's start, middle or end,
        // so it is part of the capture, as on the command line.
        TextStyle style = style_;
        if (style.arc.isArc() && takesCadChoices(choice->format) && choice->cad.anchor != Anchor::BaselineLeft)
            style.arc = anchoredArc(style.arc, choice->cad.anchor);
        OffscreenCapture capture({text, font_, view_.position(Slider::sldAngle), view_.previewScaleWidth(),
                                  view_.previewScaleHeight(), design::kTwipsPerPixel, saveAdvances(choice->precision),
                                  style},
                                 Placement::Origin, dpi, choice->cad.curves && takesCadChoices(choice->format));
        if (const std::string tooLong = capture.arcShortfall(); !tooLong.empty()) {
            report("On the arc " + tooLong + ". Nothing was written.");
            return;
        }
        // Cut-ready and placed as chosen, the same figures the front end
        // writes with the same options.
        const CadChoices& cad = choice->cad;
        capture.setAnchor(cad.anchor, cad.mirror);
        capture.setOutputChoices(choice->output);
        capture.useWorkspace(cutWork_);
        if (centreline) {
            // The merged outline's centre as open lines, as --centreline writes them.
            OpenLines lines = capture.centreline(choice->format);
            lines.penMm = cad.penMm;
            OutputFile file(choice->path);
            writeOpenLinesDrawing(file.stream(), lines,
                                  {.format = choice->format,
                                   .text = text,
                                   .sizePoints = font_.size,
                                   .angle = view_.position(Slider::sldAngle),
                                   .anchor = cad.anchor,
                                   .mirror = cad.mirror,
                                   .offsetMm = cad.offsetMm,
                                   .dpi = dpi,
                                   .output = choice->output},
                                  cutWork_);
            file.close();
            savedTo_ = choice->path;
            showWindowNote();
            return;
        }
        CadOptions options{.merge = cad.merge, .offsetPixels = pixelsOfMm(cad.offsetMm, dpi),
                           .curves = cad.curves};
        // A stencil merges, as the front end's does.
        if (takesCadChoices(choice->format) && cad.stencilMm > 0) {
            options.merge = true;
            options.stencilPixels = pixelsOfMm(cad.stencilMm, dpi);
            options.stencilBridges = cad.stencilBridges;
        }
        if (const std::string note = capture.slowWorkNote(choice->format, options); !note.empty()) {
            std::fprintf(stderr, "%s\n", note.c_str());
            std::fflush(stderr);
        }
        capture.writeFile(choice->path, choice->format, options);
        savedTo_ = choice->path;
        showWindowNote();
    } catch (const Failure& failure) {
        report(failure.what());
    } catch (const std::bad_alloc&) {
        report("Out of memory: nothing was written to " + choice->path);
    }
}

} // namespace lw
