// Form1's behaviour on its logic alone: start-up and run modes, the coupling
// of boxes and sliders with their redraws, font choice with its one caught
// failure, OK and Cancel, and the guard around every handler.
#include "fake_view.hpp"

#include "../export/export_test_support.hpp"
#include "base/failure.hpp"
#include "cut/cad_outline.hpp"
#include "export/dxf.hpp"
#include "export/face_note.hpp"
#include "export/jw_output.hpp"
#include "export/svg.hpp"
#include "outline/baseline.hpp"
#include "outline/capture.hpp"
#include "platform/canvas.hpp"
#include "platform/face_info.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>
#include <span>
#include <cmath>
#include <filesystem>
#include <new>
#include <sstream>
#include <stdexcept>

#ifndef _WIN32
#include <sys/stat.h>
#include <chrono>
#include <cstdlib>
#include <thread>
#endif

using namespace lw;
using namespace lw::test;

namespace {

int outlineHeight(const Form1& form) { return -form.capturedOutline().logFont.lfHeight; }

// The height a size in points gives at the design's 96 dpi.
int heightFor(double points) { return int(std::lround(points * 96.0 / 72.0)); }

// The text's top-left corner lies at the preview's origin (the glyphs' own
// side bearing and ascent gap aside).
bool atTheOrigin(const CapturedOutline& o)
{
    const auto end = o.pathPoints.begin() + o.pointCount;
    const int left = std::min_element(o.pathPoints.begin(), end, [](POINT a, POINT b) { return a.x < b.x; })->x;
    const int top = std::min_element(o.pathPoints.begin(), end, [](POINT a, POINT b) { return a.y < b.y; })->y;
    return o.pointCount > 0 && left >= 0 && left < 4 && top >= 0 && top < 10;
}

struct StartCase {
    const char* name;
    std::vector<std::string> words;
    const char* mode;
    const char* input;
    const char* output;
};

// "@" at the start of a word stands for a scratch folder.
std::string inFolder(const std::string& word, const ScratchDir& dir)
{
    return word.starts_with('@') ? dir / word.substr(1) : word;
}

std::vector<std::string> inFolder(const std::vector<std::string>& words, const ScratchDir& dir)
{
    std::vector<std::string> out;
    for (const std::string& w : words)
        out.push_back(inFolder(w, dir));
    return out;
}

} // namespace

TEST(Form1StartUp, WordsMakeModeAndPathsThenTheFirstPreview)
{
    ScratchDir dir;
    writeBytes(dir / "a.txt", "hq\r\n");
    writeBytes(dir / "my cmd.txt", "hq\r\n");
    const StartCase cases[] = {
        {"none", {}, "", "", ""},
        {"another word alone", {"abc"}, "", "", ""},
        {"wit upper-cased", {"wit", "C:\\out.txt"}, "WIT", "", "C:\\out.txt"},
        {"mixed case", {"jW", "@a.txt", "@b.txt"}, "JW", "@a.txt", "@b.txt"},
        {"extra words ignored", {"jw", "@a.txt", "@b.txt", "@c.txt"}, "JW", "@a.txt", "@b.txt"},
        {"other mode is preview only", {"abc", "def"}, "ABC", "", ""},
        // Each argument is one word, so a path with blanks arrives whole.
        {"path with blanks whole", {"JW", "@my cmd.txt", "@out put.txt"}, "JW", "@my cmd.txt", "@out put.txt"},
        {"quotes are characters", {"WIT", "\"a b\""}, "WIT", "", "\"a b\""},
    };
    for (const StartCase& c : cases) {
        Window w(inFolder(c.words, dir));
        EXPECT_EQ(w.form.runMode(), c.mode) << c.name;
        EXPECT_EQ(w.form.inputPath(), inFolder(c.input, dir)) << c.name;
        EXPECT_EQ(w.form.outputPath(), inFolder(c.output, dir)) << c.name;
        EXPECT_TRUE(w.view.endings.empty()) << c.name;
        // The size box's change handler draws, then the load draws once more.
        EXPECT_EQ(w.form.redrawCount(), 2) << c.name;
        EXPECT_EQ(w.view.refreshes, 2) << c.name;
        EXPECT_EQ(w.view.texts[TextBox::txtSize], "24") << c.name;
        EXPECT_EQ(w.view.positions[Slider::sldSize], 24) << c.name;
        EXPECT_EQ(w.form.windowFont().size, 24.0f) << c.name;
        EXPECT_GT(w.form.capturedOutline().pointCount, 0) << c.name;
        std::size_t figureCount = 0;
        for (const Figure& f : figures(w.form.capturedOutline()))
            figureCount += f.closed;
        EXPECT_EQ(w.view.canvas.polygons.size(), figureCount) << c.name;
    }
}

// A start in mode JW or WIT that cannot end well is reported at
// once, before the user composes anything, and ends with status 1.
TEST(Form1StartUp, AModeThatCannotWorkIsReportedBeforeAnyDrawing)
{
    ScratchDir dir;
    writeBytes(dir / "a.txt", "hq\r\n");
    std::filesystem::create_directory(dir / "folder");
    const struct {
        const char* name;
        std::vector<std::string> words;
        const char* report; // how the report starts
        const char* names;  // what else it names
    } cases[] = {
        {"JW alone", {"JW"}, "Subscript out of range: command line, word 2 missing", "JW COMMAND-FILE OUTPUT-FILE"},
        {"wit alone", {"wit"}, "Subscript out of range: command line, word 2 missing", "WIT OUTPUT-FILE"},
        {"JW without output", {"JW", "@a.txt"}, "Subscript out of range: command line, word 3 missing",
         "JW COMMAND-FILE OUTPUT-FILE"},
        {"no command file", {"JW", "@none.txt", "@b.txt"}, "File not found: JW command file ", "@none.txt"},
        {"an empty command path", {"JW", "", "@b.txt"}, "File not found: JW command file", ""},
        {"a folder as command file", {"JW", "@folder", "@b.txt"}, "Path/File access error: JW command file ",
         "@folder"},
        {"no output folder", {"JW", "@a.txt", "@nowhere/b.txt"}, "Path not found: JW output file ",
         "@nowhere/b.txt"},
        {"an empty output path", {"JW", "@a.txt", ""}, "Path not found: JW output file", ""},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        Window w(inFolder(c.words, dir));
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_EQ(w.view.messages.size(), 1u) << c.name;
        const std::string& report = w.view.messages[0].text;
        EXPECT_EQ(w.view.messages[0].caption, "Letterwire");
        EXPECT_EQ(report.rfind(c.report, 0), 0u) << report;
        EXPECT_NE(report.find(inFolder(c.names, dir)), std::string::npos) << report;
        EXPECT_EQ(err, report + "\n");
        EXPECT_EQ(w.view.endings, std::vector<int>{kFailureExitStatus}) << c.name;
        EXPECT_EQ(w.form.redrawCount(), 0) << c.name;
    }
}

TEST(Form1Guard, AnyUncaughtFailureIsReportedAndEndsWithStatusOne)
{
    struct Case {
        std::function<void()> body;
        const char* report;
    } cases[] = {
        {[] { throw Failure(FailureKind::Overflow, "here"); }, "Overflow"},
        {[] { throw std::bad_alloc(); }, "Out of memory"},
        {[] { throw std::runtime_error("odd"); }, "odd"},
        {[] { throw 7; }, "Unknown failure"},
    };
    for (const Case& c : cases) {
        Window w;
        testing::internal::CaptureStderr();
        w.form.guarded(c.body);
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_EQ(w.view.messages.size(), 1u) << c.report;
        EXPECT_NE(w.view.messages[0].text.find(c.report), std::string::npos) << w.view.messages[0].text;
        EXPECT_EQ(err, w.view.messages[0].text + "\n");
        EXPECT_EQ(w.view.endings, std::vector<int>{kFailureExitStatus}) << c.report;
    }
}

TEST(Form1Coupling, TypedSizeKeepsSliderInRangeAndRedrawsPerKeystroke)
{
    const struct {
        const char* typed;
        int position;
    } cases[] = {
        {"30", 30},   {"12.5", 12},  {"13.5", 14},  {"3,5", 3},      {"&H10", 16},
        {"0", 1},     {"abc", 1},    {"-", 1},      {"-5", 1},       {"200", 144},
        {"1E20", 144}, {"-1E20", 1}, {"1E400", 144}, {"", 1},
    };
    for (const auto& c : cases) {
        Window w;
        const int before = w.form.redrawCount();
        w.typeOver(TextBox::txtSize, c.typed, &Form1::txtSize_Change);
        EXPECT_EQ(w.view.texts[TextBox::txtSize], c.typed); // while the edit goes on
        const int redraws = w.form.redrawCount();
        EXPECT_EQ(redraws, before + std::max<int>(1, int(std::string(c.typed).size()))) << c.typed;
        EXPECT_EQ(w.view.positions[Slider::sldSize], c.position) << c.typed;
        EXPECT_EQ(w.form.windowFont().size, float(c.position)) << c.typed;
        EXPECT_EQ(outlineHeight(w.form), heightFor(c.position)) << c.typed;
        // Once the edit ends, the box shows the size in use, and
        // nothing is drawn again.
        w.form.run(&Form1::txtSize_EditEnded);
        EXPECT_EQ(w.view.texts[TextBox::txtSize], std::to_string(c.position)) << c.typed;
        EXPECT_EQ(w.view.positions[Slider::sldSize], c.position) << c.typed;
        EXPECT_EQ(w.form.redrawCount(), redraws) << c.typed;
        EXPECT_TRUE(w.view.endings.empty()) << c.typed;
    }
}

// A size typed in millimetres keeps its value (within the slider's points)
// and its unit; points, with or without their unit, go by the slider.
TEST(Form1Coupling, TypedMillimetresKeepTheirValueAndTheirUnit)
{
    const struct {
        const char* typed;
        double points; // what the size becomes: 72 points an inch
        int position;
        const char* shown; // once the edit ends
    } cases[] = {
        {"10mm", 10 * 72 / 25.4, 28, "10mm"},   {"10 mm ", 10 * 72 / 25.4, 28, "10mm"},
        {"3.5MM", 3.5 * 72 / 25.4, 10, "3.5mm"}, {"100mm", 144, 144, "50.8mm"},
        {"0.1mm", 1, 1, "0.3527778mm"},         {"12pt", 12, 12, "12"},
        {"0mm", 1, 1, "1"},                     {"mm", 1, 1, "1"},
    };
    for (const auto& c : cases) {
        Window w;
        w.typeOver(TextBox::txtSize, c.typed, &Form1::txtSize_Change);
        EXPECT_EQ(w.view.positions[Slider::sldSize], c.position) << c.typed;
        EXPECT_FLOAT_EQ(w.form.windowFont().size, float(c.points)) << c.typed;
        EXPECT_EQ(outlineHeight(w.form), heightFor(float(c.points))) << c.typed;
        w.form.run(&Form1::txtSize_EditEnded);
        EXPECT_EQ(w.view.texts[TextBox::txtSize], c.shown) << c.typed;
        EXPECT_EQ(w.view.positions[Slider::sldSize], c.position) << c.typed;
        // The slider takes the size back to whole points.
        w.click(Slider::sldSize, 30, &Form1::sldSize_Click);
        w.form.run(&Form1::txtSize_EditEnded);
        EXPECT_EQ(w.view.texts[TextBox::txtSize], "30") << c.typed;
        EXPECT_EQ(w.form.windowFont().size, 30.0f) << c.typed;
    }
}

TEST(Form1Coupling, TypedAngleKeepsSliderInRange)
{
    const struct {
        const char* typed;
        int angle;
    } cases[] = {{"1 2", 12}, {"45abc", 45}, {"2.5", 2}, {"", 0}, {"-10", 0}, {"-15", 0}, {"400", 360}, {"1E20", 360}, {"90", 90}};
    for (const auto& c : cases) {
        Window w;
        w.typeOver(TextBox::txtAngle, "90", &Form1::txtAngle_Change);
        w.typeOver(TextBox::txtAngle, c.typed, &Form1::txtAngle_Change);
        EXPECT_EQ(w.view.positions[Slider::sldAngle], c.angle) << c.typed;
        EXPECT_EQ(w.form.capturedOutline().logFont.lfEscapement, c.angle * 10) << c.typed;
        EXPECT_EQ(w.view.texts[TextBox::txtAngle], c.typed);
        const int redraws = w.form.redrawCount();
        w.form.run(&Form1::txtAngle_EditEnded); // mended: shows the angle in use
        EXPECT_EQ(w.view.texts[TextBox::txtAngle], std::to_string(c.angle)) << c.typed;
        EXPECT_EQ(w.form.redrawCount(), redraws) << c.typed;
    }
}

TEST(Form1Coupling, SliderClickWritesBoxAndRedrawsTwice)
{
    const struct {
        Slider slider;
        TextBox box;
        void (Form1::*click)();
        int position;
    } cases[] = {
        {Slider::sldAngle, TextBox::txtAngle, &Form1::sldAngle_Click, 90},
        {Slider::sldAngle, TextBox::txtAngle, &Form1::sldAngle_Click, 0}, // the text stays "0"
        {Slider::sldSize, TextBox::txtSize, &Form1::sldSize_Click, 14},
        {Slider::sldSize, TextBox::txtSize, &Form1::sldSize_Click, 24}, // the text stays "24"
    };
    for (const auto& c : cases) {
        Window w;
        const int before = w.form.redrawCount();
        w.click(c.slider, c.position, c.click);
        EXPECT_EQ(w.view.texts[c.box], std::to_string(c.position));
        EXPECT_EQ(w.view.positions[c.slider], c.position);
        EXPECT_EQ(w.form.redrawCount(), before + 2) << c.position;
        if (c.slider == Slider::sldAngle)
            EXPECT_EQ(w.form.capturedOutline().logFont.lfEscapement, c.position * 10);
        else
            EXPECT_EQ(outlineHeight(w.form), heightFor(c.position));
    }
}

TEST(Form1Coupling, AnyInputTextRedrawsOncePerChange)
{
    for (const char* text : {"", "-", "€😀Ω", "一行目\n二行目\r\n", "   "}) {
        Window w;
        const int before = w.form.redrawCount();
        w.edit(TextBox::txtInput, text, &Form1::txtInput_Change);
        w.form.run(&Form1::cmdDraw_Click);
        EXPECT_EQ(w.form.redrawCount(), before + 2) << text;
        EXPECT_TRUE(w.view.endings.empty()) << text;
    }
    Window w;
    w.form.run(&Form1::txtInput_GotFocus);
    EXPECT_EQ(w.view.selectedAll, std::vector<TextBox>{TextBox::txtInput});
}

TEST(Form1Font, CancelPresetsTheCurrentFontAndRedrawsUnchanged)
{
    Window w;
    const int before = w.form.redrawCount();
    const auto points = w.form.capturedOutline().pathPoints;
    w.form.run(&Form1::cmdFont_Click);
    ASSERT_EQ(w.view.presets.size(), 1u);
    EXPECT_EQ(w.view.presets.at(0).faceName, design::kFaceName);
    EXPECT_EQ(w.view.presets.at(0).size, 24.0f);
    EXPECT_EQ(w.form.redrawCount(), before + 1);
    EXPECT_EQ(w.form.capturedOutline().pathPoints, points);
}

TEST(Form1Font, AnyOfferedFaceDrawsWithoutMessage)
{
    for (const char* face : {"No Such Face", "DejaVu Sans", "IPAMincho"}) {
        Window w;
        w.view.answerFont = [&](WindowFont f) {
            f.faceName = face;
            return f;
        };
        w.form.run(&Form1::cmdFont_Click);
        EXPECT_TRUE(w.view.messages.empty()) << face;
        EXPECT_EQ(w.form.windowFont().faceName, face);
        EXPECT_EQ(w.view.inputFont.faceName, face);
        EXPECT_GT(w.form.capturedOutline().pointCount, 100) << face;
    }
}

// A face that is not there is drawn in another, silently as designed but
// for a quiet note, which goes once the chosen face draws again. The view
// hears of a change only, not of every redraw.
TEST(Form1Font, ANoteSaysWhenAnotherFaceDrawsAndGoesWithIt)
{
    struct Step {
        const char* face;
        std::optional<FaceNoteKind> shown; // the note after the choice
        std::size_t told;                  // the view's calls so far
    };
    const Step steps[] = {
        {"No Such Face Zzz", FaceNoteKind::OtherFace, 1},
        {"No Such Face Zzz", FaceNoteKind::OtherFace, 1},
        {"Another Missing Face", FaceNoteKind::OtherFace, 2},
        {"IPAMincho", std::nullopt, 3},
        {design::kFaceName, std::nullopt, 3},
        {"No Such Face Zzz", FaceNoteKind::OtherFace, 4},
    };
    Window w;
    EXPECT_TRUE(w.view.faceNotes.empty()) << "the design's face draws itself";
    for (const Step& s : steps) {
        w.view.answerFont = [&](WindowFont f) {
            f.faceName = s.face;
            return f;
        };
        w.form.run(&Form1::cmdFont_Click);
        w.typeOver(TextBox::txtInput, "Ab", &Form1::txtInput_Change);
        ASSERT_EQ(w.view.faceNotes.size(), s.told) << s.face;
        const std::optional<FaceNote>& note = w.view.faceNotes.back();
        ASSERT_EQ(note.has_value(), s.shown.has_value()) << s.face;
        EXPECT_EQ(w.form.faceNote(), note) << s.face;
        if (note) {
            EXPECT_EQ(note->kind, *s.shown) << s.face;
            EXPECT_EQ(note->asked, s.face);
            EXPECT_FALSE(note->drawnIn.empty()) << s.face;
        }
        EXPECT_TRUE(w.view.messages.empty()) << "no box waits for OK: " << s.face;
    }
}

// A Latin face with kanji: the note names the face that drew them, in the
// command line's words, on every platform; the face's own letters need none.
TEST(Form1Font, ANoteNamesTheFaceThatDrewTheCharactersTheChosenFaceLacks)
{
    Window w;
    w.view.answerFont = [](WindowFont f) {
        f.faceName = "DejaVu Sans";
        return f;
    };
    w.form.run(&Form1::cmdFont_Click);
    w.typeOver(TextBox::txtInput, "Room 12 出口", &Form1::txtInput_Change);
    ASSERT_TRUE(w.form.faceNote().has_value());
    const FaceNote note = *w.form.faceNote();
    EXPECT_EQ(note.kind, FaceNoteKind::LacksText);
    EXPECT_EQ(note.asked, "DejaVu Sans");
    const std::vector<FaceRun> runs = faceRuns("DejaVu Sans", false, "Room 12 出口");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].text, "出口");
    EXPECT_EQ(note.drawnIn, runs[1].family);
    EXPECT_EQ(faceNoteText(note), "\"DejaVu Sans\" has no Japanese characters; they are drawn in " + runs[1].family);
    w.typeOver(TextBox::txtInput, "Room 12", &Form1::txtInput_Change);
    EXPECT_FALSE(w.form.faceNote().has_value());
}

// The size box and slider show the size the dialog chose, which the
// preview and the exports use; the next typing sets it from the slider again.
TEST(Form1Font, ChosenSizeShowsInSizeBoxAndSlider)
{
    const struct {
        float chosen;
        const char* box;
        int slider;
    } cases[] = {{72, "72", 72},  {10.5f, "10.5", 10},         {200, "200", 144},
                 {24, "24", 24},  {12.34567f, "12.34567", 12}, {100.0625f, "100.0625", 100}};
    for (const auto& c : cases) {
        Window w;
        w.view.answerFont = [&](WindowFont f) {
            f.size = c.chosen;
            f.bold = true;
            return f;
        };
        const int before = w.form.redrawCount();
        w.form.run(&Form1::cmdFont_Click);
        EXPECT_EQ(w.form.redrawCount(), before + 1) << c.box;
        EXPECT_EQ(w.form.windowFont().size, c.chosen);
        EXPECT_EQ(outlineHeight(w.form), heightFor(c.chosen)) << c.box;
        EXPECT_EQ(w.view.texts[TextBox::txtSize], c.box);
        EXPECT_EQ(w.view.positions[Slider::sldSize], c.slider) << c.box;
        EXPECT_TRUE(w.view.inputFont.bold);
        // Leaving the box unchanged changes nothing.
        w.form.run(&Form1::txtSize_EditEnded);
        EXPECT_EQ(w.form.windowFont().size, c.chosen);
        // The dialog opens with the whole current font each time.
        w.view.answerFont = [](const WindowFont& preset) { return preset; };
        w.form.run(&Form1::cmdFont_Click);
        EXPECT_EQ(w.view.presets.at(1).size, c.chosen);
        EXPECT_TRUE(w.view.presets.at(1).bold);
        w.typeOver(TextBox::txtSize, "30", &Form1::txtSize_Change);
        EXPECT_EQ(outlineHeight(w.form), heightFor(30));
    }
}

TEST(Form1Font, FailingRedrawRestoresOnlyTheFaceName)
{
    Window w;
    w.view.answerFont = [](WindowFont f) {
        f.faceName = "IPAMincho";
        f.size = 1e10f; // a height past any integer: the capture fails
        f.italic = true;
        return f;
    };
    int redrawsAtMessage = -1;
    w.view.onMessage = [&] { redrawsAtMessage = w.form.redrawCount(); };
    const int before = w.form.redrawCount();
    w.form.run(&Form1::cmdFont_Click);
    ASSERT_EQ(w.view.messages.size(), 1u);
    EXPECT_EQ(w.view.messages[0].caption, "Letterwire");
    EXPECT_EQ(w.view.messages[0].text, "フォント名を変えてください");
    EXPECT_EQ(redrawsAtMessage, before);
    EXPECT_EQ(w.form.redrawCount(), before);
    EXPECT_TRUE(w.view.endings.empty());
    EXPECT_EQ(w.form.windowFont().faceName, design::kFaceName);
    EXPECT_EQ(w.form.windowFont().size, 1e10f);
    EXPECT_TRUE(w.form.windowFont().italic);
    EXPECT_EQ(w.view.inputFont.faceName, "IPAMincho");
    EXPECT_TRUE(w.view.inputFont.italic);

    // The same failure in any other handler is uncaught: reported, and the end.
    testing::internal::CaptureStderr();
    w.edit(TextBox::txtInput, "x", &Form1::txtInput_Change);
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(w.view.messages.size(), 2u);
    EXPECT_EQ(w.view.messages[1].text.rfind("Overflow", 0), 0u) << w.view.messages[1].text;
    EXPECT_EQ(w.view.endings, std::vector<int>{kFailureExitStatus});
}

TEST(Form1Inspection, CapturesAtTheOriginAndDrawsSegments)
{
    Window w;
    const int before = w.form.redrawCount();
    w.form.run(&Form1::Command3_Click);
    EXPECT_EQ(w.form.redrawCount(), before);
    EXPECT_EQ(w.view.refreshes, before + 1);
    const CapturedOutline& outline = w.form.capturedOutline();
    EXPECT_TRUE(atTheOrigin(outline));
    EXPECT_TRUE(w.view.canvas.polygons.empty());
    const auto red = std::count_if(w.view.canvas.lines.begin(), w.view.canvas.lines.end(),
                                   [](const RecordingCanvas::Line& l) { return l.pen == Rgb{128, 0, 0}; });
    EXPECT_GT(red, 0);

    w.edit(TextBox::txtInput, "", &Form1::txtInput_Change);
    w.form.run(&Form1::Command3_Click);
    EXPECT_EQ(outline.pointCount, 0);
    EXPECT_EQ(outline.pathPoints.size(), 1u);
    EXPECT_TRUE(w.view.canvas.lines.empty());
}

TEST(Form1Buttons, CancelEndsAtOnceAndOkInAnUnknownModeDoesNothing)
{
    Window w({"abc", "def"});
    const int before = w.form.redrawCount();
    w.form.run(&Form1::cmdOK_Click);
    EXPECT_EQ(w.form.redrawCount(), before);
    EXPECT_TRUE(w.view.endings.empty());
    w.form.run(&Form1::cmdCancel_Click);
    EXPECT_EQ(w.view.endings, std::vector<int>{0});
    EXPECT_TRUE(w.view.messages.empty());
}

// The window on its own: OK asks where and how to save, writes the outline
// captured at the origin at the chosen precision, and the window stays.
namespace {

// The capture the saved file must hold, made here at the origin at `dpi`.
std::string expectedFile(const std::string& text, float size, SaveFormat format, double dpi,
                         Advances advances)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    CapturedOutline outline;
    WindowFont font;
    font.size = size;
    std::int32_t alCent = 0;
    drawFlattenPath(placementFor(alCent),
                    {text, font, 0, design::kPreviewWidth, design::kPreviewHeight, 1440 / dpi, advances}, dc, outline);
    lw::StringSink out;
    switch (format) {
    case SaveFormat::Dxf: {
        const CadOutline cut = cadOutline(outline, {});
        writeDxf(out, cut.outline, {onCadGrid(baselinePlacement(dc, outline.logFont, dpi), cut), text});
        break;
    }
    case SaveFormat::Svg: {
        const CadOutline cut = cadOutline(outline, {});
        writeSvg(out, cut.outline, onCadGrid(baselinePlacement(dc, outline.logFont, dpi), cut));
        break;
    }
    case SaveFormat::JwPoints: writeJwOutline(out, outline, {0, 0, 1, 1440 / dpi}); break;
    case SaveFormat::Pdf: {
        const CadOutline cut = cadOutline(outline, {});
        writePdf(out, cut.outline, onCadGrid(baselinePlacement(dc, outline.logFont, dpi), cut), nullptr, {});
        break;
    }
    case SaveFormat::Hpgl: {
        const CadOutline cut = cadOutline(outline, {});
        writeHpgl(out, cut.outline, onCadGrid(baselinePlacement(dc, outline.logFont, dpi), cut), {}, {});
        break;
    }
    }
    return out.text();
}

// The JW point lines as (x, y) in millimetres.
std::vector<std::pair<double, double>> jwPoints(const std::string& lines)
{
    std::vector<std::pair<double, double>> points;
    std::istringstream in(lines);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        double x = 0, y = 0;
        if (words >> x >> y)
            points.emplace_back(x, y);
    }
    return points;
}

SaveChoice answer(SaveFormat format, SavePrecision precision, const std::string& path)
{
    return {format, precision, path, {}};
}

} // namespace

TEST(Form1Save, OkWithoutModeWritesTheWholeFileAtThePrecisionAndStays)
{
    using enum SaveFormat;
    using enum SavePrecision;
    const struct {
        SaveFormat format;
        SavePrecision precision;
        double dpi;
    } cases[] = {
        // 24 pt is a whole 85 px at 255 dpi and 847 px at 2541 dpi.
        {Dxf, Classic, 96},    {Dxf, Tenth, 255},    {Dxf, Hundredth, 2541},
        {Svg, Classic, 96},    {Svg, Tenth, 255},    {Svg, Hundredth, 2541},
        {JwPoints, Classic, 96}, {JwPoints, Tenth, 255}, {JwPoints, Hundredth, 2541},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        Window w;
        w.edit(TextBox::txtInput, "Io", &Form1::txtInput_Change);
        const auto preview = w.form.capturedOutline().pathPoints;
        const int redraws = w.form.redrawCount();
        w.view.answerSave = [&](const SaveChoice&) { return answer(c.format, c.precision, dir / "out"); };
        w.form.run(&Form1::cmdOK_Click);
        const std::string name = std::to_string(int(c.format)) + "/" + std::to_string(c.dpi);
        EXPECT_EQ(w.view.savePresets.size(), 1u) << name;
        const Advances advances = c.precision == Classic ? Advances::Device : Advances::Linear;
        EXPECT_EQ(readBytes(dir / "out"), expectedFile("Io", 24, c.format, c.dpi, advances)) << name;
        EXPECT_TRUE(w.view.endings.empty()) << name;
        EXPECT_TRUE(w.view.messages.empty()) << name;
        // The outline stays as it was: centred, at the screen's resolution.
        // The preview is drawn again only to show another precision, the
        // one the next save takes.
        EXPECT_EQ(w.form.capturedOutline().pathPoints, preview) << name;
        EXPECT_EQ(w.form.redrawCount(), redraws + (c.precision == Hundredth ? 0 : 1)) << name;
    }
}

// The name as typed says the format on every platform: "a.svg" with the DXF
// file type chosen is an SVG, and that format is remembered.
TEST(Form1Save, ATypedExtensionDecidesTheFormat)
{
    using enum SaveFormat;
    const struct {
        const char* name;
        SaveFormat chosen;
        SaveFormat written;
    } cases[] = {
        {"a.svg", Dxf, Svg}, {"a.DXF", JwPoints, Dxf}, {"a.txt", Svg, JwPoints}, {"a.png", Svg, Svg}, {"a", Dxf, Dxf},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        Window w;
        w.view.answerSave = [&](const SaveChoice&) { return answer(c.chosen, SavePrecision::Classic, dir / c.name); };
        w.form.run(&Form1::cmdOK_Click);
        EXPECT_EQ(readBytes(dir / c.name), expectedFile(design::kText, 24, c.written, 96, Advances::Device)) << c.name;
        ASSERT_TRUE(w.view.storedSettings) << c.name;
        EXPECT_EQ(w.view.storedSettings->format, c.written) << c.name;
    }
}

TEST(Form1Save, EveryPrecisionKeepsTheLettersSizeOnAFinerGrid)
{
    const struct {
        SavePrecision precision;
        double step;
    } cases[] = {{SavePrecision::Classic, 25.4 / 96}, {SavePrecision::Tenth, 0.1}, {SavePrecision::Hundredth, 0.01}};
    double classicHeight = 0;
    std::size_t coarserPoints = 0;
    for (const auto& c : cases) {
        ScratchDir dir;
        Window w;
        w.edit(TextBox::txtInput, "O", &Form1::txtInput_Change);
        w.view.answerSave = [&](const SaveChoice&) { return answer(SaveFormat::JwPoints, c.precision, dir / "o.txt"); };
        w.form.run(&Form1::cmdOK_Click);
        const auto points = jwPoints(readBytes(dir / "o.txt"));
        ASSERT_FALSE(points.empty()) << c.step;
        double low = 1e9, high = -1e9;
        for (const auto& [x, y] : points) {
            EXPECT_GE(x, 0) << c.step;
            low = std::min(low, y);
            high = std::max(high, y);
        }
        EXPECT_EQ(low, 0) << c.step; // the lowest point on the base point
        if (classicHeight == 0)
            classicHeight = high;
        EXPECT_NEAR(high, classicHeight, 25.4 / 96 + c.step) << c.step;
        EXPECT_GT(points.size(), coarserPoints) << c.step;
        coarserPoints = points.size();
    }
}

TEST(Form1Save, CancelInTheDialogWritesAndRemembersNothing)
{
    ScratchDir dir;
    Window w;
    w.view.answerSave = [](const SaveChoice&) { return std::optional<SaveChoice>(); };
    w.form.run(&Form1::cmdOK_Click);
    EXPECT_EQ(w.view.savePresets.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_EQ(w.view.settingsWrites, 0);
    EXPECT_TRUE(w.view.endings.empty());
    EXPECT_TRUE(w.view.messages.empty());
}

TEST(Form1Save, TheDialogOpensOnTheRememberedChoice)
{
    using enum SaveFormat;
    using enum SavePrecision;
    ScratchDir scratch;
    const std::string kHere = scratch.path().string();
    writeBytes(scratch / "file.txt", "x");
    const struct {
        const char* name;
        std::optional<SaveSettings> stored;
        SaveFormat format;
        SavePrecision precision;
        std::string folder; // the preset path's folder; empty: a bare name
    } cases[] = {
        {"first run: a DXF at 0.01 mm", std::nullopt, Dxf, Hundredth, ""},
        {"remembered", SaveSettings{Svg, Hundredth, kHere, {}}, Svg, Hundredth, kHere},
        {"no folder remembered", SaveSettings{JwPoints, Tenth, "", {}}, JwPoints, Tenth, ""},
        // The format and precision stay; the folder is offered only when usable.
        {"a folder that is gone", SaveSettings{Svg, Tenth, kHere + "/gone", {}}, Svg, Tenth, ""},
        {"a file, not a folder", SaveSettings{Svg, Tenth, kHere + "/file.txt", {}}, Svg, Tenth, ""},
        {"beyond the path limit", SaveSettings{Svg, Tenth, kHere + "/" + std::string(16000, 'a'), {}}, Svg, Tenth, ""},
    };
    for (const auto& c : cases) {
        Window w(c.stored);
        w.form.run(&Form1::cmdOK_Click);
        ASSERT_EQ(w.view.savePresets.size(), 1u) << c.name;
        const SaveChoice& preset = w.view.savePresets[0];
        EXPECT_EQ(preset.format, c.format) << c.name;
        EXPECT_EQ(preset.precision, c.precision) << c.name;
        const std::string file = saveFileName(design::kText, c.format);
        if (c.folder.empty())
            EXPECT_EQ(preset.path, file) << c.name;
        else
            EXPECT_EQ(std::filesystem::path(std::u8string(preset.path.begin(), preset.path.end())),
                      std::filesystem::path(c.folder) / std::filesystem::path(std::u8string(file.begin(), file.end())))
                << c.name;
    }
}

TEST(Form1Save, AChoiceIsRememberedForTheNextSaveAndTheNextRun)
{
    ScratchDir dir;
    std::optional<SaveSettings> store;
    {
        Window w;
        w.view.answerSave = [&](const SaveChoice&) {
            return answer(SaveFormat::Svg, SavePrecision::Tenth, dir / "a.svg");
        };
        w.form.run(&Form1::cmdOK_Click);
        w.form.run(&Form1::cmdOK_Click);
        EXPECT_EQ(w.view.settingsReads, 1); // read once, then kept
        ASSERT_EQ(w.view.savePresets.size(), 2u);
        EXPECT_EQ(w.view.savePresets[1].format, SaveFormat::Svg);
        EXPECT_EQ(w.view.savePresets[1].precision, SavePrecision::Tenth);
        const std::string& path = w.view.savePresets[1].path;
        EXPECT_EQ(std::filesystem::path(std::u8string(path.begin(), path.end())),
                  dir.path() / std::filesystem::path(u8"編集テキスト.svg"));
        store = w.view.storedSettings;
    }
    ASSERT_TRUE(store);
    EXPECT_EQ(std::filesystem::path(std::u8string(store->folder.begin(), store->folder.end())), dir.path());
    EXPECT_EQ(store->format, SaveFormat::Svg);
    EXPECT_EQ(store->precision, SavePrecision::Tenth);
    Window next(store);
    next.form.run(&Form1::cmdOK_Click);
    ASSERT_EQ(next.view.savePresets.size(), 1u);
    EXPECT_EQ(next.view.savePresets[0].format, SaveFormat::Svg);
    EXPECT_EQ(next.view.savePresets[0].precision, SavePrecision::Tenth);
}

TEST(Form1Save, RunModesNeitherAskNorReadSettings)
{
    ScratchDir dir;
    writeBytes(dir / "cmd.txt", "hp1 100 50\r\nhs 1 \r\nlg0\r\n");
    const std::vector<std::vector<std::string>> starts{
        {"JW", dir / "cmd.txt", dir / "out.txt"}, {"WIT", dir / "out.jww"}, {"abc", "def"}};
    for (const auto& words : starts) {
        Window w(words);
        w.view.folder = dir.path().string();
        w.view.answerSave = [&](const SaveChoice&) { return answer(SaveFormat::Dxf, SavePrecision::Classic, dir / "x"); };
        testing::internal::CaptureStderr(); // a WIT converter that is not there
        w.form.run(&Form1::cmdOK_Click);
        testing::internal::GetCapturedStderr();
        EXPECT_TRUE(w.view.savePresets.empty()) << words[0];
        EXPECT_EQ(w.view.settingsReads, 0) << words[0];
        EXPECT_EQ(w.view.settingsWrites, 0) << words[0];
        EXPECT_FALSE(std::filesystem::exists(dir / "x")) << words[0];
    }
}

TEST(Form1Save, AFileThatCannotBeWrittenIsToldAndTheWindowStays)
{
    ScratchDir dir;
    // Letters of many curves, each some hundreds of points at 144 pt and 0.01 mm.
    std::string curvedLetters;
    for (int i = 0; i < 10000; ++i)
        curvedLetters += "Sog8";
    writeBytes(dir / "old.dxf", "old");
    std::filesystem::create_directory(dir.path() / "a folder");
    const struct {
        const char* name;
        std::string path;
        std::string said; // in the message
        std::string text;
        SavePrecision precision;
    } cases[] = {
        {"no such folder", dir / "no folder/out.dxf", "no folder", "Io", SavePrecision::Classic},
        {"a folder", dir / "a folder", "a folder", "Io", SavePrecision::Classic},
        {"beyond the work bound", dir / "old.dxf", "choose a coarser precision", curvedLetters,
         SavePrecision::Hundredth},
    };
    for (const auto& c : cases) {
        Window w;
        w.edit(TextBox::txtSize, "144", &Form1::txtSize_Change);
        w.edit(TextBox::txtInput, c.text, &Form1::txtInput_Change);
        w.view.answerSave = [&](const SaveChoice&) { return answer(SaveFormat::Dxf, c.precision, c.path); };
        testing::internal::CaptureStderr();
        w.form.run(&Form1::cmdOK_Click);
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_EQ(w.view.messages.size(), 1u) << c.name;
        EXPECT_EQ(w.view.messages[0].caption, kProgramTitle) << c.name;
        EXPECT_NE(w.view.messages[0].text.find(c.said), std::string::npos) << w.view.messages[0].text;
        EXPECT_EQ(err, w.view.messages[0].text + "\n") << c.name;
        EXPECT_TRUE(w.view.endings.empty()) << c.name;
        EXPECT_EQ(readBytes(dir / "old.dxf"), "old") << c.name;
        // The next save goes on as usual.
        w.edit(TextBox::txtInput, "Io", &Form1::txtInput_Change);
        w.view.answerSave = [&](const SaveChoice&) { return answer(SaveFormat::Dxf, SavePrecision::Classic, dir / "ok.dxf"); };
        w.form.run(&Form1::cmdOK_Click);
        EXPECT_EQ(w.view.messages.size(), 1u) << c.name;
        EXPECT_EQ(readBytes(dir / "ok.dxf"), expectedFile("Io", 144, SaveFormat::Dxf, 96, Advances::Device)) << c.name;
    }
}

TEST(Form1Save, TheSuggestedNameIsTheTextAsAFileName)
{
    const struct {
        std::string text;
        SaveFormat format;
        std::string name;
    } cases[] = {
        {"編集テキスト", SaveFormat::Dxf, "編集テキスト.dxf"},
        {"a/b\\c:d*e?f\"g<h>i|j", SaveFormat::Svg, "a_b_c_d_e_f_g_h_i_j.svg"},
        {"tab\there", SaveFormat::JwPoints, "tab_here.txt"},
        {" .hidden. ", SaveFormat::Dxf, "hidden.dxf"},
        {"", SaveFormat::Dxf, "Letterwire.dxf"},
        {" .. ", SaveFormat::Svg, "Letterwire.svg"},
        {std::string(40, 'x'), SaveFormat::Dxf, std::string(32, 'x') + ".dxf"},
        {"漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字", SaveFormat::Dxf,
         "漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字.dxf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(saveFileName(c.text, c.format), c.name) << c.text;
}

TEST(Form1Buttons, OkInModeJwCapturesAtTheOriginWritesAndEnds)
{
    ScratchDir dir;
    writeBytes(dir / "my cmd.txt", "hp1 100 50\r\nhs 1 \r\nlg0\r\n");
    Window w({"JW", dir / "my cmd.txt", dir / "out put.txt"});
    w.form.run(&Form1::cmdOK_Click);
    EXPECT_EQ(w.view.endings, std::vector<int>{0});
    EXPECT_TRUE(w.view.messages.empty());
    EXPECT_EQ(readBytes(dir / "out put.txt").rfind("hp1 100 50\r\nhs 1 \r\nlg0\r\n", 0), 0u);
    EXPECT_GT(readBytes(dir / "out put.txt").size(), 100u);
    EXPECT_TRUE(atTheOrigin(w.form.capturedOutline()));
}

// A command file that puts every point on the base point still
// gives the output it asks for, but the user is told why before the end.
TEST(Form1Buttons, OkInModeJwWarnsWhenEveryPointLandsOnTheBasePoint)
{
    const struct {
        const char* name;
        const char* command;
        const char* cause; // nullptr: no warning
    } cases[] = {
        {"a usable scale", "hp1 100 50\r\nhs 2 3 \r\nlg1\r\n", nullptr},
        // A negative scale mirrors the outline; only a scale of 0 collapses it.
        {"a negative scale", "hp1 100 50\r\nhs 2 -3 \r\nlg1\r\n", nullptr},
        {"a tiny negative scale", "hp1 100 50\r\nhs 2 -1e-9 \r\nlg1\r\n", nullptr},
        {"a scale of -0", "hp1 100 50\r\nhs 2 -0 \r\nlg1\r\n", "chose a scale entry of 0"},
        {"line feeds alone end lines", "hd 1\nhp1 100 50\nhs 2 3 \nlg1\n", nullptr},
        {"no hs line", "hp1 100 50\r\nlg1\r\n", "no \"hs\" line"},
        {"no lg line", "hp1 100 50\r\nhs 2 3 \r\n", "no \"lg\" line"},
        {"lg before hs", "lg1\r\nhs 2 3 \r\n", "chose a scale entry of 0"},
        {"only hq lines", "hq\r\n", "no \"hs\" line"},
        {"an empty file", "", "no \"hs\" line"},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        writeBytes(dir / "cmd.txt", c.command);
        Window w({"JW", dir / "cmd.txt", dir / "out.txt"});
        testing::internal::CaptureStderr();
        w.form.run(&Form1::cmdOK_Click);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(w.view.endings, std::vector<int>{0}) << c.name;
        EXPECT_GT(readBytes(dir / "out.txt").size(), 100u) << c.name;
        if (!c.cause) {
            EXPECT_TRUE(w.view.messages.empty()) << c.name;
            EXPECT_EQ(err, "") << c.name;
            continue;
        }
        ASSERT_EQ(w.view.messages.size(), 1u) << c.name;
        const std::string& text = w.view.messages[0].text;
        EXPECT_EQ(text.rfind("Warning: the chosen scale is 0", 0), 0u) << text;
        EXPECT_NE(text.find(dir / "cmd.txt"), std::string::npos) << text;
        EXPECT_NE(text.find(c.cause), std::string::npos) << text;
        EXPECT_EQ(err, text + "\n");
    }
}

// The work of the hidden buttons, within reach in the preview's
// context menu; the WIT export in mode WIT only.
TEST(Form1PreviewMenu, OffersTheHiddenButtonsWork)
{
    using enum PreviewCommand;
    const struct {
        std::vector<std::string> words;
        std::vector<PreviewCommand> offered;
    } cases[] = {
        {{}, {Redraw, InspectOutline, RestoreDesign}},
        {{"abc", "def"}, {Redraw, InspectOutline, RestoreDesign}},
        {{"WIT", "out.jww"}, {Redraw, InspectOutline, WitExport, RestoreDesign}},
    };
    for (const auto& c : cases) {
        Window w(c.words);
        EXPECT_EQ(w.form.previewCommands(), c.offered);
    }
    Window w;
    const int before = w.form.redrawCount();
    w.form.run(Redraw);
    EXPECT_EQ(w.form.redrawCount(), before + 1);
    EXPECT_FALSE(w.view.canvas.polygons.empty());
    w.form.run(InspectOutline);
    EXPECT_TRUE(atTheOrigin(w.form.capturedOutline()));
    EXPECT_TRUE(w.view.canvas.polygons.empty());
    EXPECT_FALSE(w.view.canvas.lines.empty());
    w.form.run(WitExport); // not offered without mode WIT: nothing
    EXPECT_TRUE(w.view.messages.empty());
    EXPECT_TRUE(w.view.endings.empty());
}

// The outline's extent in x, device pixels.
static int inkWidth(const CapturedOutline& o)
{
    const auto points = std::span(o.pathPoints).first(std::size_t(o.pointCount));
    const auto [left, right] = std::ranges::minmax(points | std::views::transform(&POINT::x));
    return right - left;
}

TEST(Form1TextStyle, TheDialogIsOfferedWhereTheViewHasOneAndItsStyleReachesTheCapture)
{
    using enum PreviewCommand;
    Window w;
    w.view.textStyleDialog = true;
    EXPECT_EQ(w.form.previewCommands(), (std::vector<PreviewCommand>{Redraw, InspectOutline, TextStyle, RestoreDesign}));

    // Cancel: nothing changes, nothing is drawn again.
    int before = w.form.redrawCount();
    w.form.run(TextStyle);
    EXPECT_EQ(w.form.redrawCount(), before);
    EXPECT_EQ(w.form.textStyle(), lw::TextStyle{});
    EXPECT_EQ(w.form.capturedOutline().logFont.lfWeight, FW_NORMAL);

    // A style chosen (its width beyond the range held in it) redraws once.
    const int designedRight = inkWidth(w.form.capturedOutline());
    w.view.answerStyle = [](const lw::TextStyle&) {
        return std::optional<lw::TextStyle>({.spacing = 3, .widthPercent = 900, .bold = true});
    };
    w.form.run(TextStyle);
    EXPECT_EQ(w.form.redrawCount(), before + 1);
    EXPECT_EQ(w.form.textStyle(), (lw::TextStyle{.spacing = 3, .widthPercent = 400, .bold = true}));
    EXPECT_EQ(w.form.capturedOutline().logFont.lfWeight, FW_BOLD);
    EXPECT_NE(w.form.capturedOutline().logFont.lfWidth, 0);
    EXPECT_GT(inkWidth(w.form.capturedOutline()), 3 * designedRight);

    // The next time the dialog opens on that style, told of the font's bold.
    w.view.answerFont = [](WindowFont f) {
        f.bold = true;
        return f;
    };
    w.form.run(&Form1::cmdFont_Click);
    w.view.answerStyle = [](const lw::TextStyle&) { return std::optional<lw::TextStyle>(); };
    w.form.run(TextStyle);
    ASSERT_EQ(w.view.stylePresets.size(), 3u);
    EXPECT_FALSE(w.view.stylePresets[0].second);
    EXPECT_EQ(w.view.stylePresets[2].first, w.form.textStyle());
    EXPECT_TRUE(w.view.stylePresets[2].second);
}

TEST(Form1TextStyle, TheObliqueAndTheFitReachTheCaptureWithinTheirRanges)
{
    Window w;
    w.view.textStyleDialog = true;
    const int upright = inkWidth(w.form.capturedOutline());
    w.view.answerStyle = [](const lw::TextStyle&) { return std::optional<lw::TextStyle>({.oblique = 60}); };
    w.form.run(PreviewCommand::TextStyle);
    EXPECT_EQ(w.form.textStyle(), (lw::TextStyle{.oblique = 45}));
    // The tops lean forward by their height (the last character's right
    // edge is a third of the way up: 11 px at 24 pt), the feet stay.
    EXPECT_GT(inkWidth(w.form.capturedOutline()), upright + 8);

    w.view.answerStyle = [](const lw::TextStyle&) {
        return std::optional<lw::TextStyle>({.fitMm = 50, .fitBy = lw::TextStyle::FitBy::Width});
    };
    w.form.run(PreviewCommand::TextStyle);
    // 50 mm at 96 dpi is 189 px from pen to pen; the ink within a bearing of it.
    EXPECT_NEAR(inkWidth(w.form.capturedOutline()), 50 / 25.4 * 96, 12);
}

// An arc chosen in the dialog: the preview's text stands on its circle,
// drawn as a thin guide that is no part of the outline, and the text's
// middle stays on the preview's centre; a straight line again drops it.
TEST(Form1TextStyle, AnArcSetsThePreviewOnItsCircleWithAGuideOutsideTheOutline)
{
    Window w;
    w.view.textStyleDialog = true;
    for (const double radius : {30.0, -30.0}) {
        SCOPED_TRACE(radius);
        w.view.answerStyle = [radius](const lw::TextStyle&) {
            lw::TextStyle style;
            style.arc.radiusMm = radius;
            return std::optional<lw::TextStyle>(style);
        };
        w.form.run(PreviewCommand::TextStyle);
        // 96 dpi: the radius in pixels; the top (bottom inside) of the circle
        // on the preview's reference point (230, 150), so the centre lies
        // below (above) it.
        const double r = std::fabs(radius) * 96 / 25.4;
        const double cx = 230, cy = 150 + (radius > 0 ? r : -r);
        const auto& lines = w.view.canvas.lines;
        ASSERT_GE(lines.size(), 100u);
        for (const auto& line : lines)
            ASSERT_NEAR(std::hypot(line.from.x - cx, line.from.y - cy), r, 1.0);
        const CapturedOutline& o = w.form.capturedOutline();
        ASSERT_GT(o.pointCount, 0);
        // Every point of the outline is a glyph's: within an em of the circle
        // on its lettered side, none on the far side of it.
        const double em = 24 * 96 / 72.0;
        for (int i = 0; i < o.pointCount; ++i) {
            const double d = std::hypot(o.pathPoints[i].x - cx, o.pathPoints[i].y - cy) - r;
            ASSERT_TRUE(radius > 0 ? d > -0.3 * em && d < 1.1 * em : d < 0.3 * em && d > -1.1 * em) << d;
        }
        EXPECT_EQ(w.view.canvas.polygons.size(), std::size_t(std::ranges::distance(figures(o))));
    }
    w.view.answerStyle = [](const lw::TextStyle&) { return std::optional<lw::TextStyle>(lw::TextStyle{}); };
    w.form.run(PreviewCommand::TextStyle);
    EXPECT_TRUE(w.view.canvas.lines.empty());
}

#ifndef _WIN32
TEST(Form1Buttons, OkInModeWitExportsEachPressAndTheWindowStays)
{
    ScratchDir dir;
    const std::string log = dir / "mfin.log";
    writeBytes(dir / "mfin", "#!/bin/sh\necho \"$1|$2\" >> '" + log + "'\n");
    ::chmod((dir / "mfin").c_str(), 0755);
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (dir.path().string() + ":" + path).c_str(), 1);
    Window w({"wit", dir / "out.jww"});
    w.view.folder = dir.path().string();
    w.form.run(&Form1::cmdOK_Click);
    w.form.run(&Form1::cmdOK_Click);
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_TRUE(w.view.endings.empty());
    EXPECT_TRUE(w.view.messages.empty());
    // The converter runs detached: wait for both starts.
    std::string started;
    for (int i = 0; i < 100 && std::count(started.begin(), started.end(), '\n') < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        started = readBytes(log);
    }
    EXPECT_EQ(std::count(started.begin(), started.end(), '\n'), 2);
    EXPECT_NE(started.find(".wmf|" + dir / "out.jww" + "\n"), std::string::npos) << started;
}
#endif
