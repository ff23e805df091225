// A preview that shows only part of its drawing: Form1 captures for it the
// glyphs that meet that part, and whatever reads the outline afterwards
// reads the whole capture, as a window that shows all of it has.
#include "fake_view.hpp"

#include "export/wit.hpp"
#include "form/face_note_key.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#ifndef _WIN32
#include "../export/export_test_support.hpp"

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#endif

using namespace lw;
using namespace lw::test;

namespace {

constexpr DeviceArea kShown{0, 0, 460, 300};

std::string repeated(std::string_view text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

bool meets(const std::vector<POINT>& points, const DeviceArea& a)
{
    std::int32_t left = points[0].x, right = left, top = points[0].y, bottom = top;
    for (const POINT& q : points) {
        left = std::min(left, q.x);
        right = std::max(right, q.x);
        top = std::min(top, q.y);
        bottom = std::max(bottom, q.y);
    }
    return left <= a.right && a.left <= right && top <= a.bottom && a.top <= bottom;
}

// The polygons drawn for the part are those of the whole drawing, in order,
// each one that meets the part among them.
void expectDrawnForThePart(const RecordingCanvas& part, const RecordingCanvas& whole)
{
    std::size_t next = 0;
    for (const auto& p : whole.polygons) {
        if (next < part.polygons.size() && part.polygons[next].points == p.points) {
            ++next;
            continue;
        }
        ASSERT_FALSE(meets(p.points, kShown)) << "a polygon that shows is missing";
    }
    EXPECT_EQ(next, part.polygons.size()) << "a polygon the whole drawing does not have there";
}

std::string witBytes(const CapturedOutline& outline)
{
    lw::StringSink out;
    writeWit(out, outline, design::kClientWidth, design::kClientHeight);
    return out.text();
}

} // namespace

TEST(Form1LimitedPreview, EveryEditReadsAsTheWholeCaptureAndDrawsWhatShows)
{
    const std::string base = repeated("編集テキストAgé", 10);
    struct Edit {
        const char* name;
        TextBox box;
        std::string text;
        void (Form1::*change)();
    };
    const std::vector<Edit> edits{
        {"large size", TextBox::txtSize, "144", &Form1::txtSize_Change},
        {"long text", TextBox::txtInput, base, &Form1::txtInput_Change},
        {"insert at the end", TextBox::txtInput, base + "字", &Form1::txtInput_Change},
        {"delete at the end", TextBox::txtInput, base, &Form1::txtInput_Change},
        {"insert at the start", TextBox::txtInput, "W" + base, &Form1::txtInput_Change},
        {"insert in the middle", TextBox::txtInput, base.substr(0, 60) + "ÿ" + base.substr(60), &Form1::txtInput_Change},
        {"delete in the middle", TextBox::txtInput, base.substr(0, 60) + base.substr(63), &Form1::txtInput_Change},
        {"delete at the start", TextBox::txtInput, base.substr(3), &Form1::txtInput_Change},
        {"turned", TextBox::txtAngle, "33", &Form1::txtAngle_Change},
        {"upright again, smaller", TextBox::txtSize, "60", &Form1::txtSize_Change},
        {"short text", TextBox::txtInput, "A", &Form1::txtInput_Change},
        {"no text", TextBox::txtInput, "", &Form1::txtInput_Change},
    };
    Window limited, whole;
    limited.view.shownArea = kShown;
    bool leftSomeOut = false;
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.name);
        limited.edit(e.box, e.text, e.change);
        whole.edit(e.box, e.text, e.change);
        expectDrawnForThePart(limited.view.canvas, whole.view.canvas);
        leftSomeOut = leftSomeOut || limited.view.canvas.polygons.size() < whole.view.canvas.polygons.size();
        // Read after the drawing: the whole outline, byte for byte in an export.
        const CapturedOutline& read = limited.form.capturedOutline();
        EXPECT_EQ(read.pointCount, whole.form.capturedOutline().pointCount);
        EXPECT_EQ(read.pathPoints, whole.form.capturedOutline().pathPoints);
        EXPECT_EQ(read.pathTypes, whole.form.capturedOutline().pathTypes);
        EXPECT_EQ(witBytes(read), witBytes(whole.form.capturedOutline()));
    }
#ifndef _WIN32
    // GDI's path keeps every glyph; the FreeType one leaves out what cannot show.
    EXPECT_TRUE(leftSomeOut);
#endif
    EXPECT_EQ(limited.form.redrawCount(), whole.form.redrawCount());
}

// Fitted, the preview shows all of its drawing: a drawing of only the part
// it showed is captured again whole, and one that was whole already is not.
// A redraw that would capture what the preview shows already draws nothing
// again (still a redraw, refreshed); anything the capture reads that
// differs, or another drawing on the preview since, draws again.
TEST(Form1LimitedPreview, ARedrawOfWhatShowsAlreadyDrawsNothingAgain)
{
    struct Case {
        const char* name;
        std::function<void(Window&)> between;
        bool drawsAgain;
    };
    const Case cases[] = {
        {"nothing changed", [](Window&) {}, false},
        {"the text", [](Window& w) { w.view.texts[TextBox::txtInput] = "別"; }, true},
        {"the angle", [](Window& w) { w.view.positions[Slider::sldAngle] = 30; }, true},
        {"the part shown", [](Window& w) { w.view.shownArea = DeviceArea{0, 0, 200, 100}; }, true},
        {"all of it shown", [](Window& w) { w.view.shownArea.reset(); }, true},
        {"the inspection drew", [](Window& w) { w.form.run(&Form1::Command3_Click); }, true},
        {"the outline read whole", [](Window& w) { (void)w.form.capturedOutline(); }, true},
    };
    for (const Case& c : cases) {
        Window w;
        w.view.shownArea = kShown;
        w.form.run(&Form1::cmdDraw_Click);
        const std::vector<RecordingCanvas::Polygon> drawn = w.view.canvas.polygons;
        c.between(w);
        const int clears = w.view.canvas.clears, refreshes = w.view.refreshes, redraws = w.form.redrawCount();
        w.form.run(&Form1::cmdDraw_Click);
        EXPECT_EQ(w.view.canvas.clears, clears + (c.drawsAgain ? 1 : 0)) << c.name;
        EXPECT_EQ(w.view.refreshes, refreshes + 1) << c.name;
        EXPECT_EQ(w.form.redrawCount(), redraws + 1) << c.name;
        if (!c.drawsAgain) {
            EXPECT_EQ(w.view.canvas.polygons.size(), drawn.size()) << c.name;
            Window whole;
            EXPECT_EQ(w.form.capturedOutline().pathPoints, whole.form.capturedOutline().pathPoints) << c.name;
            EXPECT_EQ(w.form.capturedOutline().pathTypes, whole.form.capturedOutline().pathTypes) << c.name;
        }
    }
}

TEST(Form1LimitedPreview, ShowingAllOfTheDrawingCapturesItWhole)
{
    Window limited, whole;
    limited.view.shownArea = kShown;
    for (Window* w : {&limited, &whole}) {
        w->edit(TextBox::txtSize, "144", &Form1::txtSize_Change);
        w->edit(TextBox::txtInput, repeated("編集テキスト", 8), &Form1::txtInput_Change);
    }
    const int before = limited.form.redrawCount();
    limited.view.shownArea.reset();
    limited.form.run(&Form1::previewAreaChanged);
    EXPECT_EQ(limited.form.redrawCount(), before + 1);
    ASSERT_EQ(limited.view.canvas.polygons.size(), whole.view.canvas.polygons.size());
    for (std::size_t i = 0; i < whole.view.canvas.polygons.size(); ++i)
        EXPECT_EQ(limited.view.canvas.polygons[i].points, whole.view.canvas.polygons[i].points) << i;

    limited.form.run(&Form1::previewAreaChanged);
    EXPECT_EQ(limited.form.redrawCount(), before + 1);
}

// A drawing limited to the part shown stays limited when the outline is
// read whole (an export in mode WIT, which keeps the window): showing all of
// it afterwards still draws it whole.
TEST(Form1LimitedPreview, ShowingAllAfterTheOutlineWasReadDrawsTheWhole)
{
    for (const std::vector<std::string>& words : {std::vector<std::string>{}, {"WIT", "out.jww"}}) {
        Window limited(words), whole(words);
        limited.view.shownArea = kShown;
        for (Window* w : {&limited, &whole}) {
            w->edit(TextBox::txtSize, "144", &Form1::txtSize_Change);
            w->edit(TextBox::txtInput, repeated("編集テキスト", 8), &Form1::txtInput_Change);
        }
        (void)limited.form.capturedOutline();
        limited.view.shownArea.reset();
        limited.form.run(&Form1::previewAreaChanged);
        ASSERT_EQ(limited.view.canvas.polygons.size(), whole.view.canvas.polygons.size()) << words.size();
        for (std::size_t i = 0; i < whole.view.canvas.polygons.size(); ++i)
            EXPECT_EQ(limited.view.canvas.polygons[i].points, whole.view.canvas.polygons[i].points) << i;
    }
}

#ifndef _WIN32
// OK in mode WIT exports the outline of the last preview: the whole of it,
// though the preview captured only what it showed.
TEST(Form1LimitedPreview, TheWitExportWritesTheWholeOutline)
{
    ScratchDir dir;
    // A converter that keeps a copy of the work file it is handed.
    writeBytes(dir / "mfin", "#!/bin/sh\ncp \"$1\" '" + dir / "copy.wmf" + "'\n");
    ::chmod((dir / "mfin").c_str(), 0755);
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (dir.path().string() + ":" + path).c_str(), 1);
    Window limited({"wit", dir / "out.jww"}), whole;
    limited.view.shownArea = kShown;
    limited.view.folder = dir.path().string();
    for (Window* w : {&limited, &whole}) {
        w->edit(TextBox::txtSize, "144", &Form1::txtSize_Change);
        w->edit(TextBox::txtInput, repeated("編集テキスト", 8), &Form1::txtInput_Change);
    }
    limited.form.run(&Form1::cmdOK_Click);
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_TRUE(limited.view.messages.empty());
    // The converter runs detached: wait for its copy.
    const std::string expected = witBytes(whole.form.capturedOutline());
    std::string copied;
    for (int i = 0; i < 100 && copied.size() < expected.size(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        copied = std::filesystem::exists(dir / "copy.wmf") ? readBytes(dir / "copy.wmf") : std::string();
    }
    EXPECT_EQ(copied.size(), expected.size());
    EXPECT_TRUE(copied == expected);
}
#endif

// The face note is asked again only when the face, its styles or the set
// of characters changed: the order and count of the characters never change
// which face draws them.
TEST(FaceNoteKey, ChangesWithTheFaceItsStylesAndTheSetOfCharactersOnly)
{
    struct Case {
        const char* name;
        const char* face;
        bool italic, bold;
        std::string text;
        bool same; // as the first key
    };
    const std::string first = "編集テキストabc";
    const std::vector<Case> cases{
        {"repeated characters", "IPAPGothic", false, false, first + first + "aaa", true},
        {"another order", "IPAPGothic", false, false, "cbaトスキテ集編", true},
        {"one character fewer, still there", "IPAPGothic", false, false, "編集テキストab" + std::string("c"), true},
        {"a character gone", "IPAPGothic", false, false, "編集テキストab", false},
        {"a character more", "IPAPGothic", false, false, first + "字", false},
        {"a character beyond the basic plane", "IPAPGothic", false, false, first + "😀", false},
        {"two beyond, repeated", "IPAPGothic", false, false, first + "😀😁😀", false},
        {"another face", "IPAMincho", false, false, first, false},
        {"a longer face name", "IPAPGothicX", false, false, first, false},
        {"italic", "IPAPGothic", true, false, first, false},
        {"bold", "IPAPGothic", false, true, first, false},
        {"no text", "IPAPGothic", false, false, "", false},
    };
    const std::string key = faceNoteKey("IPAPGothic", false, false, first);
    for (const Case& c : cases)
        EXPECT_EQ(faceNoteKey(c.face, c.italic, c.bold, c.text) == key, c.same) << c.name;
    EXPECT_EQ(faceNoteKey("a", false, false, "😁x😀😁"), faceNoteKey("a", false, false, "😀x😁"));
    EXPECT_NE(faceNoteKey("a", false, false, "😀x"), faceNoteKey("a", false, false, "😁x"));
    // A face name ending where the characters begin stays apart from them.
    EXPECT_NE(faceNoteKey("a", false, false, "b"), faceNoteKey("ab", false, false, ""));
    EXPECT_EQ(faceNoteKey("a", false, false, ""), faceNoteKey("a", false, false, ""));
}
