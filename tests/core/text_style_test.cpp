// The text style on every platform backend: spacing after each character as
// the platform's character extra, the width of lfWidth, bold's weight.
#include "outline_checks.hpp"

#include "outline/text_output.hpp"
#include "outline/text_style.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace lw;
using test::boundingBox;
using test::Box;

namespace {

// 15 twips a pixel: 4/3 pixels a point, 24 pt is a 32-pixel em.
constexpr double kPixelsPerPoint = 96.0 / 72;

struct Styled {
    NullCanvas canvas;
    DeviceContext dc{canvas};
    CapturedOutline outline;

    Box run(std::string_view text, const TextStyle& style, double twipsPerPixel = design::kTwipsPerPixel,
            Advances advances = Advances::Device)
    {
        WindowFont font;
        drawFlattenPath(Placement::Origin,
                        {.text = text, .font = font, .twipsPerPixelX = twipsPerPixel, .advances = advances,
                         .style = style},
                        dc, outline);
        return boundingBox(outline);
    }
};

} // namespace

TEST(TextStyle, SpacingInWholePixelsRoundsHalfAwayFromZero)
{
    struct Case { double points; std::int32_t pixels; };
    for (auto c : {Case{0, 0}, Case{0.75, 1}, Case{0.375, 1}, Case{0.37, 0}, Case{-0.375, -1}, Case{3, 4},
                   Case{-1.5, -2}}) {
        EXPECT_EQ(TextStyle{.spacing = c.points}.spacingPixels(kPixelsPerPoint), c.pixels) << c.points;
    }
}

TEST(TextStyle, TheDefaultLeavesTheDescriptionAsDesigned)
{
    Styled s;
    s.run("編集", {});
    EXPECT_EQ(s.outline.logFont.lfWeight, FW_NORMAL);
    EXPECT_EQ(s.outline.logFont.lfWidth, 0);
    EXPECT_TRUE(TextStyle{}.isDesigned());
    EXPECT_FALSE(TextStyle{.widthPercent = 99}.isDesigned());
}

TEST(TextStyle, SpacingMovesEachFollowingCharacterByTheWholePixels)
{
    // Three characters: the last one's ink moves by two spacings; its own
    // spacing lies after it and moves no ink.
    Styled s;
    const Box plain = s.run("ロロロ", {});
    for (double points : {0.75, 3.0, 0.4, -0.75, 12.0, 0.3}) {
        const Box spaced = s.run("ロロロ", {.spacing = points});
        const int each = TextStyle{.spacing = points}.spacingPixels(kPixelsPerPoint);
        EXPECT_EQ(spaced.right - plain.right, 2 * each) << points << " pt";
        EXPECT_EQ(spaced.left, plain.left) << points << " pt";
        EXPECT_EQ(spaced.top, plain.top) << points << " pt";
    }
}

TEST(TextStyle, SpacingAtAFineGridIsUnroundedWithinOnePixel)
{
    // 0.01 mm grid: the spacing is 0.3 pt = 0.1058 mm, about 10.6 pixels.
    const double dpi = 2540;
    const double twips = 1440 / dpi;
    Styled s;
    const Box plain = s.run("ロロロ", {}, twips, Advances::Linear);
    const Box spaced = s.run("ロロロ", {.spacing = 0.3}, twips, Advances::Linear);
    const double expected = 2 * 0.3 * dpi / 72;
    EXPECT_NEAR(spaced.right - plain.right, expected, 1.0);
}

TEST(TextStyle, WidthScalesTheXExtentsAndKeepsTheHeight)
{
    Styled s;
    for (const char* text : {"回", "H", "編集"}) {
        const Box designed = s.run(text, {});
        for (std::int32_t percent : {10, 50, 80, 150, 200, 400}) {
            const Box box = s.run(text, {.widthPercent = percent});
            TEXTMETRICA metrics;
            {
                LOGFONT upright = s.outline.logFont;
                upright.lfWidth = 0;
                SelectedFont font(s.dc, CreateFontIndirectA(toAnsiLogFont(upright)));
                ASSERT_TRUE(GetTextMetricsA(s.dc, &metrics));
            }
            ASSERT_GT(metrics.tmAveCharWidth, 0);
            // Halves to even, as the program rounds every pixel value.
            EXPECT_EQ(s.outline.logFont.lfWidth,
                      std::max(1.0, std::nearbyint(metrics.tmAveCharWidth * percent / 100.0)))
                << text << " " << percent;
            // The ratio lfWidth has, not the one asked for: the platform
            // scales by the whole-pixel width it was given. One pixel a
            // character for the rounded advances, one for the grid.
            const double ratio = double(s.outline.logFont.lfWidth) / metrics.tmAveCharWidth;
            const double slack = 1.0 + double(std::u8string_view(reinterpret_cast<const char8_t*>(text)).size() / 3);
            EXPECT_NEAR(box.left, designed.left * ratio, slack) << text << " " << percent;
            EXPECT_NEAR(box.right, designed.right * ratio, slack) << text << " " << percent;
            EXPECT_NEAR(box.top, designed.top, 1) << text << " " << percent;
            EXPECT_NEAR(box.bottom, designed.bottom, 1) << text << " " << percent;
        }
    }
}

TEST(TextStyle, WidthOnAFineGridIsTheExactPercentage)
{
    // The unrounded advances take the percentage itself, not the ratio of
    // whole-pixel widths, so a line is as wide on every fine grid: within a
    // pixel for the rounded starts and one for the grid, widened.
    for (const double dpi : {254.0, 2540.0}) {
        const double twips = 1440 / dpi;
        Styled s;
        const Box designed = s.run("編集テキスト", {}, twips, Advances::Linear);
        for (std::int32_t percent : {50, 80, 150}) {
            const Box box = s.run("編集テキスト", {.widthPercent = percent}, twips, Advances::Linear);
            const double ratio = percent / 100.0;
            EXPECT_NEAR(box.left, designed.left * ratio, 1 + ratio) << dpi << " dpi, " << percent << " %";
            EXPECT_NEAR(box.right, designed.right * ratio, 1 + ratio) << dpi << " dpi, " << percent << " %";
            EXPECT_NEAR(box.top, designed.top, 1) << dpi << " dpi, " << percent << " %";
        }
    }
}

TEST(TextStyle, WidthIsTheSameWhateverTheAngle)
{
    Styled s;
    s.run("編集", {.widthPercent = 60});
    const std::int32_t upright = s.outline.logFont.lfWidth;
    WindowFont font;
    drawFlattenPath(Placement::Origin, {.text = "編集", .font = font, .angle = 90, .style = {.widthPercent = 60}},
                    s.dc, s.outline);
    EXPECT_EQ(s.outline.logFont.lfWidth, upright);
    // Turned a quarter, the narrowed characters are short in y.
    const Box turned = boundingBox(s.outline);
    const Box designedTurned = [&] {
        drawFlattenPath(Placement::Origin, {.text = "編集", .font = font, .angle = 90}, s.dc, s.outline);
        return boundingBox(s.outline);
    }();
    EXPECT_LT(turned.height(), designedTurned.height() * 0.7);
    EXPECT_NEAR(turned.width(), designedTurned.width(), 1);
}

TEST(TextStyle, BoldThickensEachStrokeByAbout1Over24OfTheEm)
{
    // IPA fonts have no bold: the platform's emboldening. A 32-pixel em
    // grows each stem by 32/24 pixels and each advance by one pixel.
    Styled s;
    const Box regular = s.run("l", {});
    EXPECT_EQ(s.outline.logFont.lfWeight, FW_NORMAL);
    const Box bold = s.run("l", {.bold = true});
    EXPECT_EQ(s.outline.logFont.lfWeight, FW_BOLD);
    EXPECT_NEAR(bold.width() - regular.width(), 32.0 / 24, 1.0);
    EXPECT_GT(bold.width(), regular.width());

    const Box regularPair = s.run("ll", {});
    const Box boldPair = s.run("ll", {.bold = true});
    // The second "l" stands one pixel further on, and its ink is wider.
    EXPECT_NEAR((boldPair.right - bold.right) - (regularPair.right - regular.right), 1.0, 1.0);
}
