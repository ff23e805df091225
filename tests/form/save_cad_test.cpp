// The save dialog's DXF and SVG choices reach the file: each save writes the
// bytes letterwire-cli writes with the same options, and JW point lines take
// none of them.
#include "fake_view.hpp"

#include "form/text_style_design.hpp"

#include "../export/export_test_support.hpp"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <cstdio>
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

std::string savedBy(const SaveChoice& choice, const TextStyle& style = {})
{
    Window w;
    w.view.textStyleDialog = true;
    w.view.answerStyle = [&](const TextStyle&) { return style; };
    w.form.run(&Form1::chooseTextStyle);
    // Underlined, so merging has overlaps to join.
    w.view.answerFont = [](WindowFont f) {
        f.underline = true;
        return f;
    };
    w.form.run(&Form1::cmdFont_Click);
    w.edit(TextBox::txtInput, "Hg_O", &Form1::txtInput_Change);
    w.view.answerSave = [&](const SaveChoice&) { return choice; };
    w.form.run(&Form1::cmdOK_Click);
    EXPECT_TRUE(w.view.messages.empty()) << (w.view.messages.empty() ? "" : w.view.messages[0].text);
    return readBytes(choice.path);
}

} // namespace

TEST(SaveCadChoices, EachSaveIsTheFrontEndsFileWithTheSameOptions)
{
    using enum SaveFormat;
    using enum SavePrecision;
    const struct {
        const char* name;
        SaveFormat format;
        SavePrecision precision;
        CadChoices cad;
        const char* options;
    } cases[] = {
        {"design", Dxf, Hundredth, {}, "dxf - --precision 0.01"},
        {"no merge", Dxf, Hundredth, {.merge = false}, "dxf - --precision 0.01 --no-merge"},
        {"offset out", Dxf, Tenth, {.offsetMm = 0.3}, "dxf - --precision 0.1 --offset 0.3"},
        {"offset in, unmerged", Svg, Hundredth, {.merge = false, .offsetMm = -0.05},
         "svg - --precision 0.01 --no-merge --offset -0.05"},
        {"centre mirrored x", Dxf, Hundredth, {.anchor = Anchor::Centre, .mirror = Mirror::X},
         "dxf - --precision 0.01 --anchor centre --mirror x"},
        {"top right mirrored y", Svg, Tenth, {.anchor = Anchor::TopRight, .mirror = Mirror::Y},
         "svg - --precision 0.1 --anchor top-right --mirror y"},
        {"every choice", Dxf, Hundredth,
         {.merge = false, .offsetMm = 0.1, .anchor = Anchor::BaselineRight, .mirror = Mirror::Y},
         "dxf - --precision 0.01 --no-merge --offset 0.1 --anchor baseline-right --mirror y"},
        {"curves", Dxf, Hundredth, {.curves = true}, "dxf - --precision 0.01 --curves"},
        {"stencil", Dxf, Hundredth, {.stencilMm = 0.5}, "dxf - --precision 0.01 --stencil 0.5"},
        {"stencil, offset, three bridges", Svg, Tenth, {.offsetMm = 0.05, .stencilMm = 0.3, .stencilBridges = 3},
         "svg - --precision 0.1 --offset 0.05 --stencil 0.3 --stencil-bridges 3"},
        {"curves unmerged, mirrored", Svg, Tenth, {.merge = false, .mirror = Mirror::X, .curves = true},
         "svg - --precision 0.1 --no-merge --mirror x --curves"},
    };
    ScratchDir dir;
    const std::string design = savedBy({Dxf, Hundredth, dir / "design.dxf", {}});
    for (const auto& c : cases) {
        const std::string path = dir / (std::string(c.name) + (c.format == Dxf ? ".dxf" : ".svg"));
        const std::string saved = savedBy({c.format, c.precision, path, c.cad});
        ASSERT_FALSE(saved.empty()) << c.name;
        EXPECT_EQ(saved, cliOutput(std::string(c.options) + " --text Hg_O --underline")) << c.name;
        if (c.format == Dxf && c.precision == Hundredth) {
            EXPECT_EQ(saved == design, c.cad == CadChoices{}) << c.name;
        }
    }
}

// A text style on an arc, as the dialog gives it.
TextStyle onArc(double radiusMm, double atDegrees, TextStyle style = {})
{
    style.arc = arcStyleWithin(radiusMm, atDegrees);
    return style;
}

// The file holds the outline the preview shows: in the text style chosen.
TEST(SaveCadChoices, TheTextStyleReachesTheFile)
{
    const struct {
        TextStyle style;
        const char* options;
    } cases[] = {
        {{.spacing = 3}, "--spacing 3"},
        {{.spacing = -1.5, .widthPercent = 150}, "--spacing -1.5 --width 150"},
        {{.widthPercent = 60, .bold = true}, "--width 60 --bold"},
        {onArc(40, 90), "--arc 40"},
        {onArc(-25, 200, {.spacing = 2, .bold = true}), "--arc -25 --arc-at 200 --spacing 2 --bold"},
    };
    ScratchDir dir;
    const std::string plain = savedBy({SaveFormat::Dxf, SavePrecision::Tenth, dir / "plain.dxf", {}});
    for (const auto& c : cases) {
        const std::string saved = savedBy({SaveFormat::Dxf, SavePrecision::Tenth, dir / "styled.dxf", {}}, c.style);
        EXPECT_NE(saved, plain) << c.options;
        EXPECT_EQ(saved, cliOutput("dxf - --precision 0.1 --text Hg_O --underline " + std::string(c.options)))
            << c.options;
    }
}

// On an arc the save dialog's anchor picks the text's point as --anchor
// does; a text longer than its circle writes nothing and says why.
TEST(SaveCadChoices, AnAnchorOnAnArcIsTheFrontEndsAndATooLongTextWritesNothing)
{
    ScratchDir dir;
    const std::string path = dir / "arc.dxf";
    const std::string saved =
        savedBy({SaveFormat::Dxf, SavePrecision::Hundredth, path, {.anchor = Anchor::TopRight}}, onArc(30, 45));
    EXPECT_EQ(saved, cliOutput("dxf - --precision 0.01 --text Hg_O --underline --arc 30 --arc-at 45 --anchor top-right"));

    Window w;
    w.view.textStyleDialog = true;
    w.view.answerStyle = [](const TextStyle&) { return onArc(2, 90); };
    w.form.run(&Form1::chooseTextStyle);
    const std::string none = dir / "none.dxf";
    w.view.answerSave = [&](const SaveChoice&) { return SaveChoice{SaveFormat::Dxf, SavePrecision::Hundredth, none, {}}; };
    w.form.run(&Form1::cmdOK_Click);
    ASSERT_EQ(w.view.messages.size(), 1u);
    EXPECT_NE(w.view.messages[0].text.find("mm along the circle"), std::string::npos) << w.view.messages[0].text;
    EXPECT_FALSE(std::filesystem::exists(none));
}

TEST(SaveCadChoices, JwPointLinesIgnoreThem)
{
    ScratchDir dir;
    const std::string plain = savedBy({SaveFormat::JwPoints, SavePrecision::Tenth, dir / "plain.txt", {}});
    const std::string chosen =
        savedBy({SaveFormat::JwPoints, SavePrecision::Tenth, dir / "chosen.txt",
                 {.merge = false, .offsetMm = 2, .anchor = Anchor::Centre, .mirror = Mirror::X, .curves = true}});
    EXPECT_FALSE(plain.empty());
    EXPECT_EQ(chosen, plain);
}

// An inward offset that erases every stroke is told, and the old file stays:
// an empty drawing in its place would look like a save.
TEST(SaveCadChoices, AnOffsetThatErasesTheTextIsToldAndNothingWritten)
{
    ScratchDir dir;
    for (const SaveFormat format : {SaveFormat::Dxf, SaveFormat::Svg}) {
        const std::string path = dir / (format == SaveFormat::Dxf ? "old.dxf" : "old.svg");
        lw::test::writeBytes(path, "the old drawing");
        Window w;
        w.edit(TextBox::txtInput, "Hg_O", &Form1::txtInput_Change);
        w.view.answerSave = [&](const SaveChoice&) {
            return SaveChoice{format, SavePrecision::Hundredth, path, {.offsetMm = -2}};
        };
        w.form.run(&Form1::cmdOK_Click);
        ASSERT_EQ(w.view.messages.size(), 1u);
        EXPECT_NE(w.view.messages[0].text.find("offset of 2 mm erased the whole text"), std::string::npos)
            << w.view.messages[0].text;
        EXPECT_EQ(readBytes(path), "the old drawing");
    }
}
