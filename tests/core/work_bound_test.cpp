// The work bound against real captures: never below what a capture gives,
// and the window's own requests far below the limit.
#include "cut/cad_outline.hpp"
#include "outline/capture.hpp"
#include "outline/work_bound.hpp"
#include "outline_checks.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using lw::test::repeated;

#ifdef _WIN32
// GDI's flattening gives up to twice the points at small sizes, and the
// estimate covers it everywhere.
constexpr std::uint64_t kSlack = 24;
#else
constexpr std::uint64_t kSlack = 12;
#endif

// The points of a real capture of `text` at 24 pt on a 96-dpi screen.
std::uint64_t capturedPoints(const std::string& text, bool underline, bool strikeout)
{
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    lw::WindowFont font;
    font.faceName = "ＭＳ Ｐゴシック";
    font.size = 24;
    font.underline = underline;
    font.strikeout = strikeout;
    lw::CapturedOutline outline;
    std::int32_t alCent = 0;
    lw::drawFlattenPath(lw::placementFor(alCent), {text, font, 0, 461, 301, 15}, dc, outline);
    return std::uint64_t(outline.pointCount);
}

} // namespace

TEST(WorkBound, NeverBelowTheRealPointCount)
{
    struct Case {
        std::string text;
        const char* face;
        float size;
        double dpi;
    };
    // The densest kanji of the Mincho face, Latin with many curves, and mixed
    // text, from the smallest height to the largest size.
    const Case cases[] = {
        {"繼鸞驫", "ＭＳ 明朝", 1, 96},       {"繼鸞驫", "ＭＳ 明朝", 24, 96},
        {"繼鸞驫", "ＭＳ 明朝", 144, 96},     {"繼鸞驫", "ＭＳ 明朝", 16384, 96},
        {"繼鸞驫", "ＭＳ 明朝", 144, 1200},   {"纔繼鬣", "ＭＳ Ｐゴシック", 2000, 96},
        {"@&%$8gS", "DejaVu Serif", 500, 96}, {"編集テキスト ABC", "ＭＳ Ｐゴシック", 72, 96},
    };
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    for (const Case& c : cases) {
        lw::WindowFont font;
        font.faceName = c.face;
        font.size = c.size;
        font.underline = font.strikeout = true;
        lw::CapturedOutline outline;
        std::int32_t alCent = 0;
        lw::drawFlattenPath(lw::placementFor(alCent), {c.text, font, 0, 461, 301, 1440.0 / c.dpi}, dc, outline);
        const std::uint64_t estimate = lw::estimateOutlinePoints(c.text, c.size, c.dpi, true, true);
        EXPECT_GE(estimate, std::uint64_t(outline.pointCount)) << c.text << " " << c.face << " " << c.size;
        // Close enough that a request is refused only when its outline is
        // within a factor of the limit.
        EXPECT_LE(estimate, kSlack * std::uint64_t(outline.pointCount) + 200) << c.text << " " << c.size;
    }
}

// Underline and strikeout each add a figure to what the glyphs give: the
// estimate grows by at least the points they add, so that its margin for the
// glyphs is never spent on them.
TEST(WorkBound, GrowsByWhatUnderlineAndStrikeoutAdd)
{
    const struct {
        bool underline, strikeout;
    } styles[] = {{true, false}, {false, true}, {true, true}};
    for (const std::string text : {"A", "編集", " "}) {
        const std::uint64_t plain = capturedPoints(text, false, false);
        const std::uint64_t plainEstimate = lw::estimateOutlinePoints(text, 24, 96, false, false);
        for (const auto& s : styles) {
            const std::uint64_t added = capturedPoints(text, s.underline, s.strikeout) - plain;
            const std::uint64_t estimated = lw::estimateOutlinePoints(text, 24, 96, s.underline, s.strikeout);
            const std::string what = "\"" + text + "\"" + (s.underline ? " underlined" : "")
                                     + (s.strikeout ? " struck out" : "");
            EXPECT_GE(added, 4u * (s.underline + s.strikeout)) << what;
            EXPECT_GE(estimated - plainEstimate, added) << what;
        }
    }
}

TEST(WorkBound, TheWindowsRangesStayFarBelowTheLimit)
{
    // The window: sizes up to 144 pt on a 96-dpi screen. Its text box sets no
    // length of its own; a line of a thousand of the densest characters is
    // far longer than any label drawn with it.
    const std::string longLine = repeated("繼", 1000);
    for (float size : {1.0f, 24.0f, 144.0f})
        EXPECT_LT(lw::estimateOutlinePoints(longLine, size, 96, true, true), lw::kMaxOutlinePoints / 10 * kSlack / 12)
            << size;
}

TEST(WorkBound, TheHostileRequestIsAboveAndNothingOverflows)
{
    const std::string text(100000, 'W');
    EXPECT_GT(lw::estimateOutlinePoints(text, 16384, 100000, false, false), lw::kMaxOutlinePoints);
    EXPECT_EQ(lw::estimateOutlinePoints(text, 1e300, 1e300, false, false), UINT64_MAX);
    EXPECT_EQ(lw::estimateOutlinePoints("", 16384, 100000, false, false), 0u);
}

// An offset's estimate is never below the points the offset outline has,
// merged or not, outward or inward, from a small offset's many short joins
// to a large one's long arcs; no offset adds nothing.
TEST(WorkBound, TheOffsetEstimateIsNeverBelowTheOffsetOutline)
{
    struct Case {
        std::string text;
        const char* face;
        float size;
        double dpi, offsetPixels;
    };
    const Case cases[] = {
        {"繼鸞驫鬱", "ＭＳ 明朝", 144, 254, 5},     {"繼鸞驫鬱", "ＭＳ 明朝", 144, 254, -3},
        {"繼鸞驫鬱", "ＭＳ 明朝", 144, 254, 50},    {"@&%$8gS", "DejaVu Serif", 72, 600, 0.5},
        {"@&%$8gS", "DejaVu Serif", 72, 600, 80}, {"回図 gjpqy", "ＭＳ Ｐゴシック", 48, 2540, 120},
        {"回図 gjpqy", "ＭＳ Ｐゴシック", 48, 2540, -20},
    };
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    for (const Case& c : cases)
        for (const bool merge : {true, false}) {
            SCOPED_TRACE(c.text + " at " + std::to_string(c.offsetPixels) + (merge ? " merged" : " unmerged"));
            lw::WindowFont font;
            font.faceName = c.face;
            font.size = c.size;
            lw::CapturedOutline outline;
            std::int32_t alCent = 0;
            lw::drawFlattenPath(lw::placementFor(alCent), {c.text, font, 0, 461, 301, 1440.0 / c.dpi}, dc, outline);
            const std::uint64_t points = std::uint64_t(outline.pointCount);
            const lw::CadOutline cut = lw::cadOutline(outline, {.merge = merge, .offsetPixels = c.offsetPixels});
            EXPECT_GE(lw::estimateOffsetPoints(points, c.text, c.offsetPixels), std::uint64_t(cut.outline.pointCount));
            EXPECT_EQ(lw::estimateOffsetPoints(points, c.text, 0), points);
        }
    EXPECT_EQ(lw::estimateOffsetPoints(UINT64_MAX, "W", 1), UINT64_MAX);
}
