// A stroke face chosen in the font dialog, or its vertical "@" face: the
// preview draws its open lines, each save is the file letterwire-cli writes
// with --stroke-font and the same options, and the choices it cannot take are
// refused with nothing written.
#include "fake_view.hpp"

#include "form/stroke_drawing.hpp"
#include "form/text_style_design.hpp"

#include "../export/export_test_support.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

using namespace lw;
using lw::test::readBytes;
using lw::test::ScratchDir;
using lw::test::Window;

namespace {

std::string cliOutput(const std::string& args)
{
    std::string out;
    FILE* pipe = popen((std::string(LETTERWIRE_CLI) + " " + args).c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    EXPECT_EQ(pclose(pipe), 0) << args;
    return out;
}

// The extent in millimetres of the lines letterwire-cli's capture gives,
// and their count of segments.
struct CapturedLines {
    double width = 0, height = 0;
    std::size_t segments = 0;
};

CapturedLines capturedLines(const std::string& json)
{
    CapturedLines got;
    const auto number = [&](const char* key) {
        const std::size_t at = json.find(std::string("\"") + key + "\": ");
        return at == std::string::npos ? std::nan("") : std::strtod(json.c_str() + at + std::strlen(key) + 4, nullptr);
    };
    got.width = number("maxX") - number("minX");
    got.height = number("maxY") - number("minY");
    // Each point is "[x, y]": a bracket before a number.
    std::size_t points = 0;
    const std::size_t lines = json.find("\"lines\": "), box = json.find("\"bbox\"");
    for (std::size_t k = lines; k + 1 < box; ++k)
        points += json[k] == '[' && (json[k + 1] == '-' || (json[k + 1] >= '0' && json[k + 1] <= '9'));
    got.segments = points - std::size_t(number("lineCount"));
    return got;
}

bool installed(const std::string& face)
{
    const std::vector<std::string> names = strokeFaceNames();
    return std::find(names.begin(), names.end(), face) != names.end();
}

void chooseStrokeFace(Window& w, const std::string& face, const char* size)
{
    w.view.answerFont = [face](WindowFont f) {
        f.strokeFace = face;
        return f;
    };
    w.form.run(&Form1::cmdFont_Click);
    w.edit(TextBox::txtSize, size, &Form1::txtSize_Change);
}

} // namespace

TEST(StrokeFaceSave, EachSaveIsTheFrontEndsStrokeFileWithTheSameOptions)
{
    if (!installed("rowmans") || !installed("kst32b"))
        GTEST_SKIP() << "the Hershey and CAD stroke fonts are not installed";
    using enum SaveFormat;
    using enum SavePrecision;
    const struct {
        const char* name;
        const char* face;
        const char* text;
        SaveFormat format;
        SavePrecision precision;
        CadChoices cad;
        OutputChoices output;
        const char* options;
        int angle = 15;
    } cases[] = {
        {"dxf", "rowmans", "Room 12", Dxf, Hundredth, {}, {}, "dxf -"},
        {"svg centred, mirrored", "rowmans", "Room 12", Svg, Tenth, {.anchor = Anchor::Centre, .mirror = Mirror::X}, {},
         "svg - --anchor centre --mirror x"},
        {"dxf with text, Japanese", "kst32b", "出口 12", Dxf, Hundredth, {.anchor = Anchor::TopRight},
         {.pdf = {}, .hpgl = {}, .dxfText = true}, "dxf - --anchor top-right --dxf-text"},
        {"pen's ink", "rowmans", "AB", Dxf, Hundredth, {.offsetMm = 0.2}, {}, "dxf - --precision 0.01 --offset 0.2"},
        {"hpgl", "kst32b", "編集", Hpgl, Hundredth, {}, {}, "hpgl -"},
        {"pdf", "rowmans", "Room", Pdf, Hundredth, {}, {}, "pdf -"},
        {"svg, a wide pen", "rowmans", "Room", Svg, Hundredth, {.penMm = 0.5}, {}, "svg - --pen-width 0.5"},
        {"pdf, a fine pen", "kst32b", "出口", Pdf, Hundredth, {.penMm = 0.05}, {}, "pdf - --pen-width 0.05"},
        // Vertical "@" faces: top to bottom at 270, or turned along the angle.
        {"vertical dxf, Japanese", "@kst32b", "出口 12", Dxf, Hundredth, {}, {}, "dxf -", 270},
        {"vertical svg, anchored, a wide pen", "@kst32b", "編集ー。", Svg, Tenth,
         {.anchor = Anchor::Centre, .mirror = Mirror::Y, .penMm = 1}, {}, "svg - --anchor centre --mirror y --pen-width 1",
         270},
        {"vertical, the pen's ink", "@kst32b", "出口", Dxf, Hundredth, {.offsetMm = 0.2}, {},
         "dxf - --precision 0.01 --offset 0.2", 270},
        {"vertical hpgl, a Hershey face", "@rowmans", "Room 出口", Hpgl, Hundredth, {}, {}, "hpgl -"},
        {"vertical pdf, a wide pen", "@kst32b", "出口 12", Pdf, Hundredth, {.penMm = 0.5}, {}, "pdf - --pen-width 0.5"},
    };
    ScratchDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        chooseStrokeFace(w, c.face, "30");
        w.click(Slider::sldAngle, c.angle, &Form1::sldAngle_Click);
        w.edit(TextBox::txtInput, c.text, &Form1::txtInput_Change);
        // The preview shows open lines, no outline.
        EXPECT_TRUE(w.view.canvas.polygons.empty());
        EXPECT_GT(w.view.canvas.lines.size(), 3u);
        const std::string path = dir / (std::string(c.name) + ".out");
        w.view.answerSave = [&](const SaveChoice&) {
            return std::optional<SaveChoice>(SaveChoice{c.format, c.precision, path, c.cad, c.output});
        };
        w.form.run(&Form1::cmdOK_Click);
        ASSERT_TRUE(w.view.messages.empty()) << w.view.messages[0].text;
        const std::string saved = readBytes(path);
        ASSERT_FALSE(saved.empty());
        const std::string same = " --stroke-font " + std::string(c.face) + " --text '" + c.text +
                                 "' --size 30 --angle " + std::to_string(c.angle);
        EXPECT_EQ(saved, cliOutput(std::string(c.options) + same));
        // Remembered with the other choices.
        EXPECT_EQ(w.view.textSettings["strokeFace"], c.face);
        // The save redrew the preview at its pen: the front end's lines at
        // the screen's scale, each segment a band of one-pixel lines as wide
        // as the pen.
        const CapturedLines cli = capturedLines(cliOutput("capture" + same));
        const double pixelsPerMm = 1440.0 / design::kTwipsPerPixel / 25.4;
        const std::size_t across = std::size_t(std::max(1L, std::lround(c.cad.penMm * pixelsPerMm)));
        const auto& drawn = w.view.canvas.lines;
        ASSERT_EQ(drawn.size(), cli.segments * across);
        std::int32_t x0 = INT32_MAX, x1 = INT32_MIN, y0 = INT32_MAX, y1 = INT32_MIN;
        for (const auto& line : drawn) {
            x0 = std::min({x0, line.from.x, line.to.x}), x1 = std::max({x1, line.from.x, line.to.x});
            y0 = std::min({y0, line.from.y, line.to.y}), y1 = std::max({y1, line.from.y, line.to.y});
        }
        // Within a pixel's rounding at each side and the band's spread.
        const double slack = 2.0 + double(across);
        EXPECT_NEAR(x1 - x0, cli.width * pixelsPerMm, slack);
        EXPECT_NEAR(y1 - y0, cli.height * pixelsPerMm, slack);
    }
}

TEST(StrokeFaceSave, WhatAStrokeFaceCannotTakeIsRefusedAndJwModesKeepTheirFace)
{
    if (!installed("rowmans"))
        GTEST_SKIP() << "the Hershey stroke fonts are not installed";
    using enum SaveFormat;
    const struct {
        const char* name;
        SaveFormat format;
        CadChoices cad;
        const char* said;
    } cases[] = {
        {"JW point lines", JwPoints, {}, "JW point lines"},
        {"stencil", Dxf, {.stencilMm = 0.5}, "stencil"},
        {"curves", Svg, {.curves = true}, "curves"},
        {"inward offset", Dxf, {.offsetMm = -0.1}, "above 0"},
    };
    ScratchDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        chooseStrokeFace(w, "rowmans", "24");
        const std::string path = dir / "refused.out";
        w.view.answerSave = [&](const SaveChoice&) {
            return std::optional<SaveChoice>(SaveChoice{c.format, SavePrecision::Hundredth, path, c.cad, {}});
        };
        w.form.run(&Form1::cmdOK_Click);
        ASSERT_EQ(w.view.messages.size(), 1u);
        EXPECT_NE(w.view.messages[0].text.find(c.said), std::string::npos) << w.view.messages[0].text;
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_TRUE(w.view.endings.empty());
    }
    // The tool check measures outlines only.
    Window w;
    chooseStrokeFace(w, "rowmans", "24");
    // Characters the face lacks come from another stroke face, as the quiet
    // note under the text box says; an outline face clears the note.
    w.edit(TextBox::txtInput, "Room 出口", &Form1::txtInput_Change);
    ASSERT_FALSE(w.view.faceNotes.empty());
    ASSERT_TRUE(w.view.faceNotes.back().has_value());
    EXPECT_EQ(w.view.faceNotes.back()->asked, "rowmans");
    EXPECT_TRUE(installed(w.view.faceNotes.back()->drawnIn) && w.view.faceNotes.back()->drawnIn != "rowmans")
        << w.view.faceNotes.back()->drawnIn;
    w.view.toolDialog = true;
    w.view.answerTool = [](double) { return std::optional<double>(0.5); };
    w.form.run(PreviewCommand::ToolCheck);
    ASSERT_EQ(w.view.messages.size(), 1u);
    EXPECT_TRUE(w.view.toolPresets.empty());
    // JW and WIT keep outline faces: the choice, vertical or not, is told
    // and changes nothing.
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"JW", dir / "in.txt", dir / "out.txt"}, std::vector<std::string>{"WIT", dir / "o"}}) {
        for (const char* face : {"rowmans", "@rowmans"}) {
            SCOPED_TRACE(words[0] + " " + face);
            {
                std::FILE* command = std::fopen((dir / "in.txt").c_str(), "wb");
                ASSERT_NE(command, nullptr);
                std::fputs("hq\r\n", command);
                std::fclose(command);
            }
            Window mode(words);
            mode.view.messages.clear();
            const WindowFont before = mode.form.windowFont();
            chooseStrokeFace(mode, face, "24");
            ASSERT_FALSE(mode.view.messages.empty());
            EXPECT_EQ(mode.view.messages[0].text, kStrokeFaceRefused);
            EXPECT_TRUE(mode.form.windowFont().strokeFace.empty());
            EXPECT_EQ(mode.form.windowFont().faceName, before.faceName);
            EXPECT_FALSE(mode.view.canvas.polygons.empty());
        }
    }
}

// The save dialog's centreline: the preview draws the lines the save
// writes, and each save is letterwire-cli's --centreline with the same options.
TEST(CentrelineSave, EachSaveIsTheFrontEndsCentrelineWithTheSameOptions)
{
    using enum SaveFormat;
    using enum SavePrecision;
    const struct {
        const char* name;
        const char* text;
        SaveFormat format;
        SavePrecision precision;
        CadChoices cad;
        const char* options;
    } cases[] = {
        {"dxf", "BOB 8", Dxf, Hundredth, {.centreline = true}, "dxf - --precision 0.01 --centreline"},
        {"svg, anchored, a wide pen", "出口", Svg, Tenth,
         {.anchor = Anchor::Centre, .mirror = Mirror::Y, .penMm = 0.3, .centreline = true},
         "svg - --precision 0.1 --centreline --anchor centre --mirror y --pen-width 0.3"},
        {"the pen's ink", "Ag", Dxf, Hundredth, {.offsetMm = 0.2, .centreline = true},
         "dxf - --precision 0.01 --centreline --offset 0.2"},
        {"hpgl", "回", Hpgl, Hundredth, {.centreline = true}, "hpgl - --precision 0.01 --centreline"},
    };
    ScratchDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Window w(SaveSettings{c.format, c.precision, "", c.cad});
        w.edit(TextBox::txtInput, c.text, &Form1::txtInput_Change);
        // The preview shows the lines, no outline.
        EXPECT_TRUE(w.view.canvas.polygons.empty());
        EXPECT_GT(w.view.canvas.lines.size(), 3u);
        const std::string path = dir / (std::string(c.name) + ".out");
        w.view.answerSave = [&](const SaveChoice&) {
            return std::optional<SaveChoice>(SaveChoice{c.format, c.precision, path, c.cad, {}});
        };
        w.form.run(&Form1::cmdOK_Click);
        ASSERT_TRUE(w.view.messages.empty()) << w.view.messages[0].text;
        const std::string saved = readBytes(path);
        ASSERT_FALSE(saved.empty());
        EXPECT_EQ(saved, cliOutput(std::string(c.options) + " --text '" + c.text + "'"));
    }
    // Off again, the outline comes back; a centreline with a stencil writes nothing.
    Window w(SaveSettings{Dxf, Hundredth, "", {.centreline = true}});
    const std::string path = dir / "stencil.dxf";
    w.view.answerSave = [&](const SaveChoice&) {
        return std::optional<SaveChoice>(SaveChoice{Dxf, Hundredth, path, {.merge = true, .stencilMm = 0.5, .centreline = true}, {}});
    };
    w.form.run(&Form1::cmdOK_Click);
    ASSERT_EQ(w.view.messages.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(path));
    w.view.answerSave = [&](const SaveChoice&) {
        return std::optional<SaveChoice>(SaveChoice{Dxf, Hundredth, path, {}, {}});
    };
    w.form.run(&Form1::cmdOK_Click);
    EXPECT_FALSE(w.view.canvas.polygons.empty());
}
