// The form's design table against the design itself, typed here once: each
// view makes its controls from the table, so this is where a wrong place,
// caption, range or key would be caught for both windows.

#include "form/captions.hpp"
#include "form/text_style_design.hpp"
#include "form/fit_view.hpp"
#include "form/form1.hpp"
#include "form/form_design.hpp"
#include "form/save_kinds.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

namespace lw {
namespace {

TEST(FormDesign, EveryControlAsDesigned)
{
    const struct {
        const char* name;
        ControlKind kind;
        const char* caption;
        int left, top, width, height;
        int tabIndex;
        float points; // 0: the window font; -1: none
        bool shown;
    } design[] = {
        {"txtInput", ControlKind::TextBox, "編集テキスト", 120, 120, 7215, 855, 2, 0, true},
        {"Label1", ControlKind::Label, "サイズ", 240, 1200, 735, 255, 11, 9.75f, true},
        {"txtSize", ControlKind::TextBox, "0", 1560, 1200, 495, 285, 9, 9.75f, true},
        {"Label2", ControlKind::Label, "傾き", 3360, 1200, 735, 255, 12, 9.75f, true},
        {"txtAngle", ControlKind::TextBox, "0", 4560, 1200, 495, 285, 8, 9.75f, true},
        {"cmdFont", ControlKind::Button, "フォント...", 5880, 1200, 1215, 375, 3, 9, true},
        {"sldSize", ControlKind::Slider, "", 960, 1560, 1695, 255, 10, -1, true},
        {"sldAngle", ControlKind::Slider, "", 3960, 1560, 1695, 255, 4, -1, true},
        {"picSmpl", ControlKind::Picture, "", 240, 2040, 6975, 4575, 6, 72, true},
        {"cmdDraw", ControlKind::Button, "Draw", 720, 4920, 1095, 375, 1, 9, false},
        {"Command2", ControlKind::Button, "Wit", 3480, 4920, 1095, 375, 5, 9, false},
        {"Command3", ControlKind::Button, "Draw", 4920, 4920, 1095, 375, 0, 9, false},
        {"cmdOK", ControlKind::Button, "OK", 1560, 6840, 1095, 375, 7, 9, true},
        {"cmdCancel", ControlKind::Button, "キャンセル", 4080, 6840, 1095, 375, 13, 9, true},
    };
    ASSERT_EQ(std::size(design), std::size(kControls));
    for (const auto& d : design) {
        // The table lists the controls in tab order.
        const ControlDesign& c = kControls[d.tabIndex];
        EXPECT_STREQ(c.name, d.name);
        EXPECT_EQ(&controlDesign(c.control), &c) << d.name;
        EXPECT_EQ(c.kind, d.kind) << d.name;
        EXPECT_STREQ(c.caption, d.caption);
        EXPECT_EQ(c.place.left, d.left) << d.name;
        EXPECT_EQ(c.place.top, d.top) << d.name;
        EXPECT_EQ(c.place.width, d.width) << d.name;
        EXPECT_EQ(c.place.height, d.height) << d.name;
        EXPECT_EQ(c.fontPoints, d.points == 0 ? kWindowFontPoints : d.points < 0 ? 0 : d.points) << d.name;
        EXPECT_EQ(c.shown, d.shown) << d.name;
    }
    std::vector<std::string> tabStops;
    for (const ControlDesign& c : kControls)
        if (takesFocus(c))
            tabStops.push_back(c.name);
    EXPECT_EQ(tabStops, (std::vector<std::string>{"txtInput", "cmdFont", "sldAngle", "cmdOK", "txtAngle", "txtSize",
                                                  "sldSize", "cmdCancel"}));
    EXPECT_STREQ(controlDesign(controlOf(TextBox::txtSize)).name, "txtSize");
    EXPECT_STREQ(controlDesign(controlOf(Slider::sldAngle)).name, "sldAngle");
    EXPECT_EQ(kInputBackground, (Rgb{0xFF, 0xFF, 0x80}));
}

TEST(FormDesign, SlidersAsDesigned)
{
    const struct {
        Slider slider;
        int minimum, maximum, smallStep, largeStep, tickEvery, position;
    } design[] = {{Slider::sldSize, 1, 144, 2, 10, 0, 1}, {Slider::sldAngle, 0, 360, 10, 45, 45, 0}};
    for (const auto& d : design) {
        const SliderDesign& s = sliderDesign(d.slider);
        EXPECT_EQ(s.slider, d.slider);
        EXPECT_EQ(s.minimum, d.minimum);
        EXPECT_EQ(s.maximum, d.maximum);
        EXPECT_EQ(s.smallStep, d.smallStep);
        EXPECT_EQ(s.largeStep, d.largeStep);
        EXPECT_EQ(s.tickEvery, d.tickEvery);
        EXPECT_EQ(s.position, d.position);
    }
}

TEST(FormDesign, EveryControlThatActsRunsAHandler)
{
    for (const ControlDesign& c : kControls) {
        const Form1::Events e = Form1::eventsOf(c.control);
        const bool acts = c.kind == ControlKind::Button || c.kind == ControlKind::Slider;
        EXPECT_EQ(e.click != nullptr, acts) << c.name;
        EXPECT_EQ(e.change != nullptr, c.kind == ControlKind::TextBox) << c.name;
    }
    EXPECT_EQ(Form1::eventsOf(Control::txtInput).gotFocus, &Form1::txtInput_GotFocus);
    EXPECT_EQ(Form1::eventsOf(Control::txtSize).editEnded, &Form1::txtSize_EditEnded);
    EXPECT_EQ(Form1::eventsOf(Control::txtAngle).editEnded, &Form1::txtAngle_EditEnded);
}

TEST(FormDesign, CaptionsInJapaneseAndEnglish)
{
    const struct {
        const char* design;
        const char* english;
    } cases[] = {
        {"サイズ", "Size"},
        {"傾き", "Angle"},
        {"フォント...", "Font..."},
        {"キャンセル", "Cancel"},
        {"再描画", "Redraw"},
        {"アウトラインの確認", "Inspect outline"},
        {"WIT出力", "WIT export"},
        {"全体を表示", "Fit to preview"},
        {"アウトラインの保存", "Save the outline"},
        {"精度:", "Precision:"},
        {"文字スタイル...", "Text style..."},
        {"太字", "Bold"},
        // Names and texts of the design stay as they are.
        {"OK", "OK"},
        {"Draw", "Draw"},
        {"編集テキスト", "編集テキスト"},
        {"0.1 mm", "0.1 mm"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(caption(c.design, Language::Japanese), c.design);
        EXPECT_STREQ(caption(c.design, Language::English), c.english);
    }
    // Every caption a view shows in Japanese has its English.
    std::vector<const char*> shown;
    for (const ControlDesign& c : kControls)
        shown.push_back(c.caption);
    for (PreviewCommand command : {PreviewCommand::Redraw, PreviewCommand::InspectOutline, PreviewCommand::WitExport,
                                   PreviewCommand::TextStyle,
                                   PreviewCommand::RestoreDesign})
        shown.push_back(previewMenuItem(command).caption);
    shown.push_back(kTextStyleTitle);
    for (const TextStyleFieldDesign& f : kTextStyleFields)
        shown.push_back(f.caption);
    shown.push_back(kBoldIgnoredNote);
    shown.push_back(kSpacingTip);
    shown.push_back(kSavedCaption);
    shown.push_back(kFontFileButton);
    shown.push_back(kFaceIndexCaption);
    shown.push_back(kFitMenuItem.caption);
    for (const SaveFormatDesign& f : saveFormats())
        shown.push_back(f.caption);
    for (const SavePrecisionDesign& p : savePrecisions())
        shown.push_back(p.caption);
    shown.push_back(kSaveDialogTitle);
    shown.push_back(kPrecisionCaption);
    shown.push_back(kPreviewTip);
    shown.push_back(kWindowCaption);
    for (const char* design : shown) {
        const bool japanese = std::string(design).find_first_of("\x80\xff") != std::string::npos &&
                              std::string(design) != "編集テキスト";
        if (japanese) {
            EXPECT_NE(englishCaption(design), nullptr) << design;
        }
    }
}

TEST(FormDesign, PreviewMenuAndKeys)
{
    const struct {
        PreviewCommand command;
        const char* name;
        const char* caption;
        int key;
    } cases[] = {
        {PreviewCommand::Redraw, "actRedraw", "再描画", 5},
        {PreviewCommand::InspectOutline, "actInspect", "アウトラインの確認", 6},
        {PreviewCommand::WitExport, "actWit", "WIT出力", 7},
        {PreviewCommand::TextStyle, "actTextStyle", "文字スタイル...", 9},
        {PreviewCommand::RestoreDesign, "actRestore", "フォントを初期値に戻す", 11},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(previewMenuItem(c.command).name, c.name);
        EXPECT_STREQ(previewMenuItem(c.command).caption, c.caption);
        EXPECT_EQ(previewMenuItem(c.command).functionKey, c.key);
    }
    EXPECT_STREQ(kFitMenuItem.name, "actFit");
    EXPECT_STREQ(kFitMenuItem.caption, "全体を表示");
    EXPECT_EQ(kFitMenuItem.functionKey, 8);
}

TEST(FormDesign, TheBoldNoteShowsOnlyWhileTheFontsBoldIsIgnored)
{
    const struct {
        bool fontBold, styleBold, noted;
    } cases[] = {{false, false, false}, {true, false, true}, {true, true, false}, {false, true, false}};
    for (const auto& c : cases)
        EXPECT_EQ(boldNote(c.fontBold, c.styleBold) != nullptr, c.noted) << c.fontBold << c.styleBold;
}

TEST(FormDesign, ATextStyleFromTheDialogIsHeldWithinItsFieldsRanges)
{
    const struct {
        double spacing, width;
        TextStyle expected;
    } cases[] = {
        {1.5, 80, {.spacing = 1.5, .widthPercent = 80}},
        {-5000, 1000, {.spacing = -1000, .widthPercent = TextStyle::kWidest}},
        {1000.25, 100, {.spacing = 1000, .widthPercent = 100}},
        {0, 0, {.widthPercent = TextStyle::kNarrowest}},
        {std::nan(""), std::nan(""), {}},
        {0.25, 99.5, {.spacing = 0.25, .widthPercent = 100}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(textStyleWithin(c.spacing, c.width, false), c.expected) << c.spacing << " " << c.width;
    EXPECT_TRUE(textStyleWithin(0, 100, true).bold);
}

// The spacing box reads points and millimetres; a millimetre is 72 / 25.4
// points (2.83464566929...), written out here.
TEST(FormDesign, TheSpacingBoxTakesPointsAndMillimetres)
{
    const struct {
        const char* typed;
        std::optional<double> points;
    } cases[] = {
        {"1.5", 1.5},           {" 1.5 pt ", 1.5},  {"+2", 2},          {"1mm", 2.834645669291339},
        {"0.5 mm", 1.4173228346456694}, {"-2MM", -5.669291338582677}, {"10pt", 10},
        {"", std::nullopt},     {"mm", std::nullopt}, {"1e3", std::nullopt}, {"inf", std::nullopt},
        {"nan mm", std::nullopt}, {"2 px", std::nullopt}, {"--1", std::nullopt}, {"1 ptmm", std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<double> got = typedSpacingPoints(c.typed);
        ASSERT_EQ(got.has_value(), c.points.has_value()) << c.typed;
        if (got) {
            EXPECT_NEAR(*got, *c.points, 1e-12) << c.typed;
        }
    }
}

TEST(FitView, ShowsAllOfTheDrawingCentredWithinTheMargin)
{
    const struct {
        const char* name;
        std::vector<POINT> points;
        std::vector<POINT> shown;
    } cases[] = {
        {"nothing drawn", {}, {}},
        // 11 x 6 whole pixels into 461 x 301 less 8 on each side: 445 / 11
        // times, the width decides; the centres (5.5, 3) and (230.5, 150.5)
        // meet, halves rounded up.
        {"a small box", {{0, 0}, {10, 0}, {10, 5}, {0, 5}}, {{8, 29}, {413, 29}, {413, 231}, {8, 231}}},
        // One pixel, 285 times: the height decides.
        {"one pixel", {{7, 9}}, {{88, 8}}},
        // 1001 x 301 pixels: 445 / 1001 times.
        {"wider than the area", {{-500, 0}, {500, 300}}, {{8, 84}, {453, 217}}},
    };
    for (const auto& c : cases) {
        const FitTransform fit = fitToArea(c.points, 461, 301);
        std::vector<POINT> shown;
        for (POINT p : c.points)
            shown.push_back(fit(p));
        EXPECT_EQ(shown, c.shown) << c.name;
    }
}

} // namespace
} // namespace lw
