// Form1's behaviour on its logic alone: start-up and run modes, the coupling
// of boxes and sliders with their redraws, font choice with its one caught
// failure, OK and Cancel, and the guard around every handler.
#include "fake_view.hpp"

#include "../export/export_test_support.hpp"
#include "base/failure.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <new>
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

} // namespace

TEST(Form1StartUp, WordsMakeModeAndPathsThenTheFirstPreview)
{
    const StartCase cases[] = {
        {"none", {}, "", "", ""},
        {"JW alone is one word", {"JW"}, "", "", ""},
        {"WIT alone is one word", {"WIT"}, "", "", ""},
        {"wit upper-cased", {"wit", "C:\\out.txt"}, "WIT", "", "C:\\out.txt"},
        {"mixed case", {"jW", "a.txt", "b.txt"}, "JW", "a.txt", "b.txt"},
        {"extra words ignored", {"jw", "a.txt", "b.txt", "c.txt"}, "JW", "a.txt", "b.txt"},
        {"an empty word is a path", {"JW", "", "a.txt", "b.txt"}, "JW", "", "a.txt"},
        {"an empty last word", {"JW", "a.txt", ""}, "JW", "a.txt", ""},
        {"other mode is preview only", {"abc", "def"}, "ABC", "", ""},
        // Mended: each argument is one word, so a path with blanks arrives whole.
        {"path with blanks whole", {"JW", "/x/my cmd.txt", "/x/out.txt"}, "JW", "/x/my cmd.txt", "/x/out.txt"},
        {"quotes are characters", {"WIT", "\"a b\""}, "WIT", "", "\"a b\""},
    };
    for (const StartCase& c : cases) {
        Window w(c.words);
        EXPECT_EQ(w.form.runMode(), c.mode) << c.name;
        EXPECT_EQ(w.form.inputPath(), c.input) << c.name;
        EXPECT_EQ(w.form.outputPath(), c.output) << c.name;
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

TEST(Form1StartUp, JwWithoutOutputPathFailsBeforeAnyDrawing)
{
    testing::internal::CaptureStderr();
    Window w({"JW", "a.txt"});
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(w.view.messages.size(), 1u);
    EXPECT_EQ(w.view.messages[0].caption, "Letterwire");
    EXPECT_EQ(w.view.messages[0].text.rfind("Subscript out of range", 0), 0u) << w.view.messages[0].text;
    EXPECT_EQ(err, w.view.messages[0].text + "\n");
    EXPECT_EQ(w.view.endings, std::vector<int>{kFailureExitStatus});
    EXPECT_EQ(w.form.inputPath(), "a.txt");
    EXPECT_EQ(w.form.redrawCount(), 0);
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
        EXPECT_EQ(w.view.texts[TextBox::txtSize], c.typed); // the box keeps what was typed
        EXPECT_EQ(w.form.redrawCount(), before + std::max<int>(1, int(std::string(c.typed).size()))) << c.typed;
        EXPECT_EQ(w.view.positions[Slider::sldSize], c.position) << c.typed;
        EXPECT_EQ(w.form.windowFont().size, float(c.position)) << c.typed;
        EXPECT_EQ(outlineHeight(w.form), heightFor(c.position)) << c.typed;
        EXPECT_TRUE(w.view.endings.empty()) << c.typed;
    }
}

TEST(Form1Coupling, TypedAngleKeepsSliderInRange)
{
    const struct {
        const char* typed;
        int angle;
    } cases[] = {{"1 2", 12}, {"45abc", 45}, {"2.5", 2}, {"", 0}, {"-10", 0}, {"400", 360}, {"1E20", 360}};
    for (const auto& c : cases) {
        Window w;
        w.typeOver(TextBox::txtAngle, "90", &Form1::txtAngle_Change);
        w.typeOver(TextBox::txtAngle, c.typed, &Form1::txtAngle_Change);
        EXPECT_EQ(w.view.positions[Slider::sldAngle], c.angle) << c.typed;
        EXPECT_EQ(w.form.capturedOutline().logFont.lfEscapement, c.angle * 10) << c.typed;
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
    EXPECT_EQ(w.view.flags, std::vector<int>{3});
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

TEST(Form1Font, ChosenSizeLeavesSizeBoxUntilNextTyping)
{
    Window w;
    w.view.answerFont = [](WindowFont f) {
        f.size = 36;
        f.bold = true;
        return f;
    };
    w.form.run(&Form1::cmdFont_Click);
    EXPECT_EQ(w.form.windowFont().size, 36.0f);
    EXPECT_EQ(outlineHeight(w.form), heightFor(36));
    EXPECT_EQ(w.view.texts[TextBox::txtSize], "24");
    EXPECT_EQ(w.view.positions[Slider::sldSize], 24);
    EXPECT_TRUE(w.view.inputFont.bold);
    // The dialog opens with the current font each time.
    w.view.answerFont = [](const WindowFont& preset) { return preset; };
    w.form.run(&Form1::cmdFont_Click);
    EXPECT_EQ(w.view.presets.at(1).size, 36.0f);
    EXPECT_TRUE(w.view.presets.at(1).bold);
    w.typeOver(TextBox::txtSize, "30", &Form1::txtSize_Change);
    EXPECT_EQ(outlineHeight(w.form), heightFor(30));
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

TEST(Form1Buttons, CancelEndsAtOnceAndOkWithoutModeDoesNothing)
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

TEST(Form1Buttons, OkInModeJwCapturesAtTheOriginWritesAndEnds)
{
    ScratchDir dir;
    writeBytes(dir / "my cmd.txt", "hp1 100 50\r\nlg0\r\n");
    Window w({"JW", dir / "my cmd.txt", dir / "out put.txt"});
    w.form.run(&Form1::cmdOK_Click);
    EXPECT_EQ(w.view.endings, std::vector<int>{0});
    EXPECT_TRUE(w.view.messages.empty());
    EXPECT_EQ(readBytes(dir / "out put.txt").rfind("hp1 100 50\r\nlg0\r\n", 0), 0u);
    EXPECT_GT(readBytes(dir / "out put.txt").size(), 100u);
    EXPECT_TRUE(atTheOrigin(w.form.capturedOutline()));
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
