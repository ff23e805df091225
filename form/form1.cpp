#include "form/form1.hpp"

#include "base/failure.hpp"
#include "base/numbers.hpp"
#include "export/byte_files.hpp"
#include "export/dxf.hpp"
#include "export/jw_command.hpp"
#include "export/jw_output.hpp"
#include "export/svg.hpp"
#include "export/wit.hpp"
#include "outline/baseline.hpp"
#include "outline/capture.hpp"
#include "outline/segment_drawing.hpp"
#include "outline/precision.hpp"
#include "outline/work_bound.hpp"
#include "platform/canvas.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>

namespace lw {

int sliderPositionFromText(std::string_view text, int minimum, int maximum)
{
    double value = roundHalfEven(leadingNumberValue(text));
    if (std::isnan(value))
        value = 0;
    // Clamped while still a double, so a value past any integer is only
    // beyond the range.
    value = std::clamp(value, double(minimum), double(maximum));
    return roundToInt32(value, "slider position");
}

std::string sizeText(float size)
{
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, size,
                                   std::chars_format::general, 7);
    (void)ec; // 32 bytes hold any float
    std::string text(buffer, end);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

double saveDpi(SavePrecision precision, float sizePoints)
{
    switch (precision) {
    case SavePrecision::Classic: return dpiForStep(kClassicStepMm);
    case SavePrecision::Tenth: return dpiForWholeEm(dpiForStep(0.1), sizePoints);
    case SavePrecision::Hundredth: return dpiForWholeEm(dpiForStep(0.01), sizePoints);
    }
    return design::kDpi;
}

Advances saveAdvances(SavePrecision precision)
{
    return precision == SavePrecision::Classic ? Advances::Device : Advances::Linear;
}

std::string saveFileName(std::string_view text, SaveFormat format)
{
    constexpr std::string_view forbidden = "<>:\"/\\|?*";
    std::string name;
    int characters = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool starts = (byte & 0xC0) != 0x80;
        if (starts && ++characters > 32)
            break;
        name += byte < 0x20 || byte == 0x7F || forbidden.find(c) != std::string_view::npos ? '_' : c;
    }
    // Blanks and dots at either end make names that vanish or hide.
    const std::size_t first = name.find_first_not_of(" .");
    name = first == std::string::npos ? std::string() : name.substr(first, name.find_last_not_of(" .") - first + 1);
    if (name.empty())
        name = "Letterwire";
    switch (format) {
    case SaveFormat::Dxf: return name + ".dxf";
    case SaveFormat::Svg: return name + ".svg";
    case SaveFormat::JwPoints: return name + ".txt";
    }
    return name;
}

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

void Form1::load(const std::vector<std::string>& words)
{
    guarded([&] { Form_Load(words); });
}

namespace {

std::string upperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

// What a mode's command line must hold, for a start that lacks a path.
std::string missingWord(std::size_t word, const std::string& mode)
{
    const std::string holds = mode == "JW" ? "a command file and an output file: JW COMMAND-FILE OUTPUT-FILE"
                                           : "an output file: WIT OUTPUT-FILE";
    return "command line, word " + std::to_string(word) + " missing; mode " + mode + " needs " + holds;
}

std::filesystem::path fsPath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Path(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool isFolder(const std::string& utf8Path)
{
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end())),
                                         error);
}

} // namespace

void Form1::checkJwFiles() const
{
    try {
        InputFile readable(inputPath_);
    } catch (const Failure& failure) {
        throw Failure(failure.kind(), "JW command file " + failure.where());
    }
    std::string target;
    try {
        target = fileio::outputTarget(outputPath_);
    } catch (const Failure& failure) {
        throw Failure(failure.kind(), "JW output file " + failure.where());
    }
    const std::string folder = fileio::folderOf(target);
    if (!isFolder(folder))
        throw Failure(FailureKind::PathNotFound, "JW output file " + outputPath_ + " (no folder " + folder + ")");
}

void Form1::Form_Load(const std::vector<std::string>& word)
{
    // Mended: a mode name alone starts no preview the user would work in for
    // nothing; it says what the command line must hold.
    if (word.size() == 1) {
        const std::string mode = upperAscii(word[0]);
        if (mode == "JW" || mode == "WIT")
            throw Failure(FailureKind::SubscriptOutOfRange, missingWord(2, mode));
    }
    if (word.size() >= 2) {
        // Only "JW" and "WIT" mean anything, so ASCII upper-casing decides
        // every mode the system code page can even spell.
        runMode_ = upperAscii(word[0]);
        if (runMode_ == "JW") {
            inputPath_ = word[1];
            if (word.size() < 3)
                throw Failure(FailureKind::SubscriptOutOfRange, missingWord(3, runMode_));
            outputPath_ = word[2];
            // Mended: found now, not after the user's work at OK.
            checkJwFiles();
        } else if (runMode_ == "WIT") {
            outputPath_ = word[1];
        }
    }
    writeText(TextBox::txtSize, sizeText(font_.size), &Form1::txtSize_Change);
    drawFlattenPath(1);
}

void Form1::writeText(TextBox box, const std::string& text, void (Form1::*change)())
{
    view_.setText(box, text);
    (this->*change)();
}

CaptureSource Form1::captureSource(const std::string& text) const
{
    return {text,
            font_,
            view_.position(Slider::sldAngle),
            view_.previewScaleWidth(),
            view_.previewScaleHeight(),
            view_.twipsPerPixelX()};
}

void Form1::drawFlattenPath(std::int32_t alCent)
{
    const std::string text = view_.text(TextBox::txtInput);
    lw::drawFlattenPath(alCent, captureSource(text), view_.previewDC(), outline_);
    ++redrawCount_;
    view_.refresh();
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
    view_.setPosition(Slider::sldSize,
                      sliderPositionFromText(view_.text(TextBox::txtSize),
                                             view_.minimum(Slider::sldSize),
                                             view_.maximum(Slider::sldSize)));
    font_.size = static_cast<float>(view_.position(Slider::sldSize));
    drawFlattenPath(1);
}

void Form1::showSize()
{
    const std::string text = sizeText(font_.size);
    if (view_.text(TextBox::txtSize) != text)
        view_.setText(TextBox::txtSize, text);
    view_.setPosition(Slider::sldSize, sliderPositionFromText(text, view_.minimum(Slider::sldSize),
                                                              view_.maximum(Slider::sldSize)));
}

void Form1::txtSize_EditEnded() { showSize(); }

void Form1::txtAngle_EditEnded()
{
    const std::string text = std::to_string(view_.position(Slider::sldAngle));
    if (view_.text(TextBox::txtAngle) != text)
        view_.setText(TextBox::txtAngle, text);
}

void Form1::txtInput_Change() { drawFlattenPath(1); }

void Form1::txtInput_GotFocus() { view_.selectAll(TextBox::txtInput); }

void Form1::cmdDraw_Click() { drawFlattenPath(1); }

void Form1::cmdFont_Click()
{
    dlgCommon_.flags = 3; // screen and printer fonts
    dlgCommon_.font = font_;
    dlgCommon_.font = view_.chooseFont(dlgCommon_.font, dlgCommon_.flags);
    applyFont();
}

void Form1::applyFont()
{
    const std::string previousFace = font_.faceName;
    try {
        const WindowFont& chosen = dlgCommon_.font;
        font_.faceName = chosen.faceName;
        font_.bold = chosen.bold;
        font_.italic = chosen.italic;
        font_.size = chosen.size;
        font_.strikeout = chosen.strikeout;
        font_.underline = chosen.underline;
        view_.setInputFont(chosen);
        drawFlattenPath(1);
    } catch (const Failure&) {
        view_.showMessage(kProgramTitle, "フォント名を変えてください");
        font_.faceName = previousFace;
    }
    // Mended: the size box and slider show the size the dialog chose.
    showSize();
}

void Form1::Command2_Click() { WitOut(); }

void Form1::Command3_Click()
{
    const std::string text = view_.text(TextBox::txtInput);
    inspectOutline(captureSource(text), view_.previewDC(), outline_);
    view_.refresh();
}

void Form1::JwOut()
{
    drawFlattenPath(0);
    jwWarning_ = writeJwExport(inputPath_, outputPath_, outline_, view_.twipsPerPixelX());
}

void Form1::WitOut()
{
    lw::WitOut(outline_, view_.clientWidth(), view_.clientHeight(), view_.programDirectory(),
               outputPath_);
}

void Form1::saveOutline()
{
    const std::string text = view_.text(TextBox::txtInput);
    if (!saveSettings_)
        saveSettings_ = view_.loadSaveSettings().value_or(SaveSettings{});
    const std::string name = saveFileName(text, saveSettings_->format);
    const SaveChoice preset{saveSettings_->format, saveSettings_->precision,
                            saveSettings_->folder.empty() ? name
                                                          : utf8Path(fsPath(saveSettings_->folder) / fsPath(name))};
    const std::optional<SaveChoice> choice = view_.chooseSaveFile(preset);
    if (!choice)
        return;
    saveSettings_ = SaveSettings{choice->format, choice->precision, utf8Path(fsPath(choice->path).parent_path())};
    view_.storeSaveSettings(*saveSettings_);

    const auto report = [this](const std::string& message) {
        std::fprintf(stderr, "%s\n", message.c_str());
        std::fflush(stderr);
        view_.showMessage(kProgramTitle, message);
    };
    const double dpi = saveDpi(choice->precision, font_.size);
    if (estimateOutlinePoints(text, font_.size, dpi, font_.underline, font_.strikeout) > kMaxOutlinePoints) {
        report("The outline of this text at this size could have more than " + std::to_string(kMaxOutlinePoints) +
               " points at this precision; choose a coarser precision, a shorter text or a smaller size. Nothing "
               "was written.");
        return;
    }
    // Nothing but the file changes, so a failure here is told and the
    // user's work in the window goes on.
    try {
        NullCanvas canvas;
        DeviceContext dc(canvas);
        CapturedOutline outline;
        std::int32_t alCent = 0;
        const double twipsPerPixel = 1440.0 / dpi;
        lw::drawFlattenPath(alCent,
                            {text, font_, view_.position(Slider::sldAngle), view_.previewScaleWidth(),
                             view_.previewScaleHeight(), twipsPerPixel, saveAdvances(choice->precision)},
                            dc, outline);
        switch (choice->format) {
        case SaveFormat::Dxf:
            writeDxfFile(choice->path, outline, {baselinePlacement(dc, outline.logFont, dpi), text});
            break;
        case SaveFormat::Svg: writeSvgFile(choice->path, outline, baselinePlacement(dc, outline.logFont, dpi)); break;
        case SaveFormat::JwPoints: {
            OutputFile file(choice->path);
            writeJwOutline(file.stream(), outline, {.baseX = 0, .baseY = 0, .scale = 1, .twipsPerPixel = twipsPerPixel});
            file.close();
            break;
        }
        }
    } catch (const Failure& failure) {
        report(failure.what());
    } catch (const std::bad_alloc&) {
        report("Out of memory: nothing was written to " + choice->path);
    }
}

void Form1::cmdOK_Click()
{
    if (runMode_ == "JW") {
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
        WitOut();
    } else if (runMode_.empty()) {
        saveOutline();
    }
}

void Form1::cmdCancel_Click() { view_.endProgram(0); }

std::vector<PreviewCommand> Form1::previewCommands() const
{
    std::vector<PreviewCommand> commands{PreviewCommand::Redraw, PreviewCommand::InspectOutline};
    if (runMode_ == "WIT")
        commands.push_back(PreviewCommand::WitExport);
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
    }
}

} // namespace lw
