#include "form/form1.hpp"

#include "base/failure.hpp"
#include "base/lengths.hpp"
#include "base/numbers.hpp"
#include "export/capture_json.hpp"
#include "export/converter.hpp"
#include "export/face_note.hpp"
#include "export/jw_command.hpp"
#include "export/wit.hpp"
#include "form/face_note_key.hpp"
#include "form/overlay_shift.hpp"
#include "form/run_mode.hpp"
#include "form/save_preview.hpp"
#include "form/text_style_design.hpp"
#include "outline/arc_guide.hpp"
#include "outline/arc_text.hpp"
#include "outline/capture.hpp"
#include "outline/segment_drawing.hpp"
#include "platform/canvas.hpp"
#include "platform/font_file.hpp"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <new>
#include <utility>

namespace lw {

Form1::Form1(FormView& view) : view_(view) {}

void Form1::run(void (Form1::*handler)())
{
    guarded([&] { (this->*handler)(); });
}

void Form1::guarded(const std::function<void()>& body)
{
    try {
        body();
    } catch (const Failure& failure) {
        reportUncaught(failure.what());
    } catch (const std::bad_alloc&) {
        reportUncaught("Out of memory");
    } catch (const std::exception& other) {
        reportUncaught(other.what());
    } catch (...) {
        reportUncaught("Unknown failure");
    }
}

void Form1::reportUncaught(const char* text) noexcept
{
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
    // A timer (a held slider button) can fire while the report is open; a
    // second failure then ends the program without a second box.
    if (!reporting_) {
        reporting_ = true;
        try {
            view_.showMessage(kProgramTitle, text);
        } catch (...) {
            // The report on standard error stands; end all the same.
        }
        reporting_ = false;
    }
    view_.endProgram(kFailureExitStatus);
}

void Form1::tell(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
    view_.showMessage(kProgramTitle, text);
}

void Form1::exportWit()
{
    if (arcTooLong())
        return;
    try {
        WitOut();
    } catch (const Failure& failure) {
        // Ending would lose what the user typed for a fault of the machine
        // (a converter not installed); told, the work goes on.
        tell(std::string(failure.what()) + "\nNothing was converted; the window stays with your text.");
    }
}

void Form1::load(const std::vector<std::string>& words)
{
    guarded([&] { Form_Load(words); });
}

void Form1::Form_Load(const std::vector<std::string>& words)
{
    RunMode run = parseRunMode(words);
    runMode_ = std::move(run.mode);
    inputPath_ = std::move(run.inputPath);
    outputPath_ = std::move(run.outputPath);
    // As JW mode checks its files: said before the user's work, not at OK.
    if (runMode_ == "WIT" && !converterFound())
        tell(kConverterMissing);
    // The preview shows the save's precision from the first drawing on.
    if (runMode_.empty())
        saveSettings_ = view_.loadSaveSettings().value_or(SaveSettings{});
    const TextSettings stored = decodeTextSettings([&](std::string_view name) { return view_.readTextSetting(name); });
    toolMm_ = decodeToolSize(view_.readTextSetting("tool"));
    if (!(stored == TextSettings{}))
        showTextSettings(stored);
    try {
        writeText(TextBox::txtSize, sizeText(font_.size), &Form1::txtSize_Change);
        drawFlattenPath(1);
    } catch (const Failure&) {
        // A remembered face this machine cannot draw never stops the start.
        if (stored == TextSettings{})
            throw;
        showTextSettings({});
        writeText(TextBox::txtSize, sizeText(font_.size), &Form1::txtSize_Change);
        drawFlattenPath(1);
    }
    remembered_ = stored;
    rememberTextSettings();
}

void Form1::showTextSettings(const TextSettings& settings)
{
    font_.faceName = settings.font.faceName;
    font_.fontFile.clear();
    // A remembered font file that is gone leaves its family's name, which
    // draws as any face name does.
    if (!settings.font.fontFile.empty()) {
        const FontFileFace file = addFontFileChoice(settings.font.fontFile);
        if (file.refusal.empty()) {
            font_.faceName = file.family;
            font_.fontFile = settings.font.fontFile;
        }
    }
    font_.size = settings.font.size;
    // JW and WIT take outline faces only: there the face draws.
    font_.strokeFace = runMode_.empty() ? settings.font.strokeFace : std::string();
    font_.italic = settings.font.italic;
    font_.underline = settings.font.underline;
    font_.strikeout = settings.font.strikeout;
    // The remembered bold is the style's; the text box shows it too.
    font_.bold = settings.style.bold;
    dlgCommon_.font = font_;
    view_.setInputFont(font_);
    view_.setText(TextBox::txtAngle, std::to_string(settings.angle));
    view_.setPosition(Slider::sldAngle, settings.angle);
    style_ = settings.style;
}

void Form1::setBold(bool bold)
{
    style_.bold = bold;
    if (font_.bold == bold)
        return;
    font_.bold = bold;
    view_.setInputFont(font_);
}

void Form1::showWindowNote()
{
    WindowNote note{style_, Anchor::BaselineLeft, Mirror::None, savedTo_};
    // The anchor and the mirror place only the window's own saves.
    if (runMode_.empty() && saveSettings_) {
        note.anchor = saveSettings_->cad.anchor;
        note.mirror = saveSettings_->cad.mirror;
    }
    if (note == windowNote_)
        return;
    windowNote_ = note;
    view_.showWindowNote(windowNote_);
}

void Form1::rememberTextSettings()
{
    if (!remembered_)
        return;
    TextSettings now{font_, view_.position(Slider::sldAngle), style_};
    // A run mode draws no stroke face, and forgets none either.
    if (!runMode_.empty())
        now.font.strokeFace = remembered_->font.strokeFace;
    if (now == *remembered_)
        return;
    encodeTextSettings(now, [&](std::string_view name, std::string_view value) { view_.writeTextSetting(name, value); });
    remembered_ = std::move(now);
}

void Form1::restoreDesignFont()
{
    // The anchor and the mirror are remembered as the text style is, so the
    // design's settings put them back too.
    if (runMode_.empty() && saveSettings_ &&
        (saveSettings_->cad.anchor != Anchor::BaselineLeft || saveSettings_->cad.mirror != Mirror::None)) {
        saveSettings_->cad.anchor = Anchor::BaselineLeft;
        saveSettings_->cad.mirror = Mirror::None;
        view_.storeSaveSettings(*saveSettings_);
    }
    showTextSettings({});
    writeText(TextBox::txtSize, sizeText(font_.size), &Form1::txtSize_Change);
}

void Form1::writeText(TextBox box, const std::string& text, void (Form1::*change)())
{
    view_.setText(box, text);
    (this->*change)();
}

void Form1::sldAngle_Click()
{
    const int position = view_.position(Slider::sldAngle);
    writeText(TextBox::txtAngle, std::to_string(position), &Form1::txtAngle_Change);
    drawFlattenPath(1);
}

void Form1::sldSize_Click()
{
    const int position = view_.position(Slider::sldSize);
    writeText(TextBox::txtSize, std::to_string(position), &Form1::txtSize_Change);
    drawFlattenPath(1);
}

void Form1::txtAngle_Change()
{
    view_.setPosition(Slider::sldAngle,
                      sliderPositionFromText(view_.text(TextBox::txtAngle),
                                             view_.minimum(Slider::sldAngle),
                                             view_.maximum(Slider::sldAngle)));
    drawFlattenPath(1);
}

void Form1::txtSize_Change()
{
    const std::string typed = view_.text(TextBox::txtSize);
    sizeMm_ = sizeMillimetres(typed);
    if (sizeMm_) {
        // Millimetres at 1:1 keep their own value within the slider's
        // range; the slider shows the nearest whole point.
        const double lowest = view_.minimum(Slider::sldSize), highest = view_.maximum(Slider::sldSize);
        const double points = std::clamp(Length{*sizeMm_, LengthUnit::Millimetre}.points(), lowest, highest);
        sizeMm_ = Length{points, LengthUnit::Point}.millimetres();
        view_.setPosition(Slider::sldSize, sliderPositionFromText(sizeText(float(points)), int(lowest), int(highest)));
        font_.size = static_cast<float>(points);
        drawFlattenPath(1);
        return;
    }
    view_.setPosition(Slider::sldSize,
                      sliderPositionFromText(typed,
                                             view_.minimum(Slider::sldSize),
                                             view_.maximum(Slider::sldSize)));
    font_.size = static_cast<float>(view_.position(Slider::sldSize));
    drawFlattenPath(1);
}

void Form1::showSize()
{
    const std::string text = sizeMm_ ? sizeMillimetresText(*sizeMm_) : sizeText(font_.size);
    if (view_.text(TextBox::txtSize) != text)
        view_.setText(TextBox::txtSize, text);
    view_.setPosition(Slider::sldSize, sliderPositionFromText(sizeText(font_.size), view_.minimum(Slider::sldSize),
                                                              view_.maximum(Slider::sldSize)));
}

void Form1::txtSize_EditEnded() { showSize(); }

void Form1::txtAngle_EditEnded()
{
    const std::string text = std::to_string(view_.position(Slider::sldAngle));
    if (view_.text(TextBox::txtAngle) != text)
        view_.setText(TextBox::txtAngle, text);
}

void Form1::txtInput_Change()
{
    // The note on the last save belongs to the text it saved.
    savedTo_.clear();
    drawFlattenPath(1);
}

void Form1::txtInput_GotFocus() { view_.selectAll(TextBox::txtInput); }

void Form1::cmdDraw_Click() { drawFlattenPath(1); }

void Form1::cmdFont_Click()
{
    dlgCommon_.font = font_;
    dlgCommon_.font = view_.chooseFont(dlgCommon_.font);
    applyFont();
}

void Form1::applyFont()
{
    const std::string previousFace = font_.faceName;
    const std::string previousFile = font_.fontFile;
    const std::string previousStroke = font_.strokeFace;
    try {
        WindowFont chosen = dlgCommon_.font;
        if (!chosen.strokeFace.empty()) {
            if (!runMode_.empty()) {
                view_.showMessage(kProgramTitle, kStrokeFaceRefused);
                showSize();
                return;
            }
            // The pen draws the lines as they are: no outline styles.
            chosen.bold = chosen.italic = chosen.underline = chosen.strikeout = false;
        }
        font_.strokeFace = chosen.strokeFace;
        // A font file draws by the family its file names, added for the process.
        if (!chosen.fontFile.empty()) {
            const FontFileFace file = addFontFileChoice(chosen.fontFile);
            if (!file.refusal.empty()) {
                view_.showMessage(kProgramTitle, file.refusal);
                return;
            }
            chosen.faceName = file.family;
        }
        font_.fontFile = chosen.fontFile;
        font_.faceName = chosen.faceName;
        // The font dialog's bold is the outline's bold, as every peer takes it.
        font_.bold = chosen.bold;
        style_.bold = chosen.bold;
        font_.italic = chosen.italic;
        font_.size = chosen.size;
        font_.strikeout = chosen.strikeout;
        font_.underline = chosen.underline;
        view_.setInputFont(chosen);
        drawFlattenPath(1);
    } catch (const Failure&) {
        view_.showMessage(kProgramTitle, "フォント名を変えてください");
        font_.faceName = previousFace;
        font_.fontFile = previousFile;
        font_.strokeFace = previousStroke;
    }
    // The size box and slider show the size the dialog chose, the one in use.
    showSize();
}

void Form1::Command2_Click() { exportWit(); }

void Form1::Command3_Click()
{
    const std::string text = view_.text(TextBox::txtInput);
    // The outline is captured at the origin as designed; only the drawing
    // stands where the preview shows the text.
    preview_.reset();
    outlineOwed_ = false;
    inspectOutline(captureSource(text), view_.previewDC(), outline_, inspectionShift(captureSource(text)));
    view_.refresh();
}

void Form1::JwOut()
{
    capture(0, std::nullopt); // the export reads all of it
    jwWarning_ = writeJwExport(inputPath_, outputPath_, outline_, view_.twipsPerPixelX());
}

void Form1::WitOut()
{
    completeOutline();
    lw::WitOut(outline_, view_.clientWidth(), view_.clientHeight(), view_.programDirectory(),
               outputPath_);
}

void Form1::cmdOK_Click()
{
    if (runMode_ == "JW") {
        if (arcTooLong())
            return;
        JwOut();
        // The output is as the command file asks; the user is told when it
        // cannot be what the host meant.
        if (!jwWarning_.empty()) {
            std::fprintf(stderr, "%s\n", jwWarning_.c_str());
            std::fflush(stderr);
            view_.showMessage(kProgramTitle, jwWarning_);
        }
        view_.endProgram(0);
    } else if (runMode_ == "WIT") {
        exportWit();
    } else if (runMode_.empty()) {
        saveOutline();
    }
}

void Form1::cmdCancel_Click() { view_.endProgram(0); }

void Form1::chooseTextStyle()
{
    const std::optional<TextStyle> chosen = view_.chooseTextStyle(style_, font_.bold);
    if (!chosen)
        return;
    style_ = textStyleWithin(*chosen);
    setBold(style_.bold);
    drawFlattenPath(1);
}

std::vector<PreviewCommand> Form1::previewCommands() const
{
    std::vector<PreviewCommand> commands{PreviewCommand::Redraw, PreviewCommand::InspectOutline};
    if (runMode_ == "WIT")
        commands.push_back(PreviewCommand::WitExport);
    if (view_.hasTextStyleDialog())
        commands.push_back(PreviewCommand::TextStyle);
    if (view_.hasToolSizeDialog())
        commands.push_back(PreviewCommand::ToolCheck);
    commands.push_back(PreviewCommand::RestoreDesign);
    return commands;
}

void Form1::run(PreviewCommand command)
{
    switch (command) {
    case PreviewCommand::Redraw: return run(&Form1::cmdDraw_Click);
    case PreviewCommand::InspectOutline: return run(&Form1::Command3_Click);
    case PreviewCommand::WitExport:
        if (runMode_ == "WIT")
            run(&Form1::Command2_Click);
        return;
    case PreviewCommand::TextStyle: return run(&Form1::chooseTextStyle);
    case PreviewCommand::RestoreDesign: return run(&Form1::restoreDesignFont);
    case PreviewCommand::ToolCheck: return run(&Form1::checkForTool);
    }
}

Form1::Events Form1::eventsOf(Control control)
{
    switch (control) {
    case Control::txtInput: return {.change = &Form1::txtInput_Change, .gotFocus = &Form1::txtInput_GotFocus};
    case Control::txtSize: return {.change = &Form1::txtSize_Change, .editEnded = &Form1::txtSize_EditEnded};
    case Control::txtAngle: return {.change = &Form1::txtAngle_Change, .editEnded = &Form1::txtAngle_EditEnded};
    case Control::sldSize: return {.click = &Form1::sldSize_Click};
    case Control::sldAngle: return {.click = &Form1::sldAngle_Click};
    case Control::cmdFont: return {.click = &Form1::cmdFont_Click};
    case Control::cmdDraw: return {.click = &Form1::cmdDraw_Click};
    case Control::Command2: return {.click = &Form1::Command2_Click};
    case Control::Command3: return {.click = &Form1::Command3_Click};
    case Control::cmdOK: return {.click = &Form1::cmdOK_Click};
    case Control::cmdCancel: return {.click = &Form1::cmdCancel_Click};
    case Control::Label1:
    case Control::Label2:
    case Control::picSmpl: return {};
    }
    return {};
}

} // namespace lw
