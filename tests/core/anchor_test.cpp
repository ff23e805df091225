// The anchor of a CAD drawing and its mirror: exact on a known box, and the
// box true to the layout of a real face.
#include "cut/mirror.hpp"
#include "outline/anchor.hpp"
#include "outline/baseline.hpp"
#include "outline/capture.hpp"
#include "platform/canvas.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// The box of a line 100 px long, ascent 28, descent 4, its baseline 28 px
// below the origin (alignment 0), as the capture at the origin places it.
constexpr lw::TextFrame kBox{100, 28, 4};
constexpr lw::MmPlacement kBaseline{0, 28, 96};

TEST(Anchor, EveryPointOfTheBoxUpright)
{
    struct Case {
        lw::Anchor anchor;
        double x, y; // device pixels, y down
    };
    const Case cases[] = {
        {lw::Anchor::BaselineLeft, 0, 28},   {lw::Anchor::BaselineCentre, 50, 28}, {lw::Anchor::BaselineRight, 100, 28},
        {lw::Anchor::TopLeft, 0, 0},         {lw::Anchor::TopCentre, 50, 0},       {lw::Anchor::TopRight, 100, 0},
        {lw::Anchor::MiddleLeft, 0, 16},     {lw::Anchor::Centre, 50, 16},         {lw::Anchor::MiddleRight, 100, 16},
        {lw::Anchor::BottomLeft, 0, 32},     {lw::Anchor::BottomCentre, 50, 32},   {lw::Anchor::BottomRight, 100, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(lw::anchorWord(c.anchor)));
        const lw::MmPlacement p = lw::anchoredPlacement(kBaseline, kBox, c.anchor, 0);
        EXPECT_EQ(p.originX, c.x);
        EXPECT_EQ(p.originY, c.y);
        EXPECT_EQ(p.dpi, 96);
    }
}

TEST(Anchor, TurnsWithTheText)
{
    // At 90 degrees the text runs up the screen (towards -y) and its top faces -x.
    const lw::MmPlacement baseline{28, 0, 96}; // baselinePlacement's at 90: ascent along +x
    struct Case {
        lw::Anchor anchor;
        double x, y;
    };
    const Case cases[] = {{lw::Anchor::BaselineRight, 28, -100}, {lw::Anchor::TopLeft, 0, 0},
                          {lw::Anchor::BottomCentre, 32, -50}, {lw::Anchor::Centre, 16, -50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(lw::anchorWord(c.anchor)));
        const lw::MmPlacement p = lw::anchoredPlacement(baseline, kBox, c.anchor, 900);
        EXPECT_NEAR(p.originX, c.x, 1e-12);
        EXPECT_NEAR(p.originY, c.y, 1e-12);
    }
}

TEST(Anchor, WordsReadBackAndForeignOnesAreRefused)
{
    for (std::size_t i = 0; i < std::size(lw::kAnchorWords); ++i)
        EXPECT_EQ(lw::anchorNamed(lw::kAnchorWords[i]), lw::Anchor(i));
    EXPECT_EQ(lw::anchorNamed("center"), lw::Anchor::Centre);
    EXPECT_EQ(lw::anchorNamed("top-center"), lw::Anchor::TopCentre);
    for (const char* foreign : {"", "Centre", "middle-centre", "top", "-center", "baseline-left "})
        EXPECT_EQ(lw::anchorNamed(foreign), std::nullopt) << foreign;
    EXPECT_EQ(lw::mirrorNamed("x"), lw::Mirror::X);
    EXPECT_EQ(lw::mirrorNamed("y"), lw::Mirror::Y);
    EXPECT_EQ(lw::mirrorNamed("X"), std::nullopt);
}

double signedArea(const lw::CapturedOutline& o, std::size_t first, std::size_t last)
{
    double twice = 0;
    for (std::size_t i = first; i <= last; ++i) {
        const lw::POINT a = o.pathPoints[i], b = o.pathPoints[i == last ? first : i + 1];
        twice += double(a.x) * b.y - double(b.x) * a.y;
    }
    return twice / 2;
}

TEST(Mirror, ReflectsAboutTheAnchorAndKeepsEachContoursTurn)
{
    // Two figures: a 4-point square and a triangle, on a grid of 10 per pixel.
    lw::CadOutline cut;
    cut.gridScale = 10;
    cut.outline.pathPoints = {{10, 0}, {30, 0}, {30, 20}, {10, 20}, {40, 5}, {50, 5}, {45, 15}, {}};
    cut.outline.pathTypes = {6, 2, 2, 3, 6, 2, 3, 0};
    cut.outline.pointCount = 7;
    const lw::CadOutline before = cut;
    for (const lw::Mirror how : {lw::Mirror::X, lw::Mirror::Y}) {
        lw::CadOutline m = before;
        lw::MmPlacement mm{25, 8, 960};
        lw::mirror(m, mm, how);
        const bool x = how == lw::Mirror::X;
        EXPECT_EQ(mm.originX, x ? -25 : 25);
        EXPECT_EQ(mm.originY, x ? 8 : -8);
        EXPECT_EQ(m.outline.pathTypes, before.outline.pathTypes);
        EXPECT_EQ(signedArea(m.outline, 0, 3), signedArea(before.outline, 0, 3));
        EXPECT_EQ(signedArea(m.outline, 4, 6), signedArea(before.outline, 4, 6));
        // Each contour starts where it did and walks back; in millimetres
        // every point is the original's mirror about the anchor.
        const std::size_t back[] = {0, 3, 2, 1, 4, 6, 5};
        const lw::MmPlacement original{25, 8, 960};
        for (std::size_t i = 0; i < 7; ++i) {
            const lw::MmPoint was = lw::toMillimetres(original, before.outline.pathPoints[back[i]]);
            const lw::MmPoint is = lw::toMillimetres(mm, m.outline.pathPoints[i]);
            EXPECT_EQ(is.x, x ? -was.x : was.x) << i;
            EXPECT_EQ(is.y, x ? was.y : -was.y) << i;
        }
    }
    lw::CadOutline same = before;
    lw::MmPlacement mm{25, 8, 960};
    lw::mirror(same, mm, lw::Mirror::None);
    EXPECT_EQ(same.outline.pathPoints, before.outline.pathPoints);
}

// The box of a real face: the underline spans the advance, so its rectangle's
// ends are the box's left and right; ascent as the baseline has it.
TEST(Anchor, BoxOfARealLineIsItsAdvanceAndItsFaceMetrics)
{
    for (const lw::Advances advances : {lw::Advances::Device, lw::Advances::Linear}) {
        SCOPED_TRACE(advances == lw::Advances::Linear ? "linear" : "device");
        lw::NullCanvas canvas;
        lw::DeviceContext dc(canvas);
        lw::CapturedOutline outline;
        lw::WindowFont font;
        font.size = 30;
        font.underline = true;
        lw::drawFlattenPath(lw::Placement::Origin, {"WiW 編", font, 0, 461, 301, 1440.0 / 600, advances}, dc,
                            outline);
        const lw::TextFrame box = lw::textFrame(dc, outline.logFont, "WiW 編", advances);
        EXPECT_EQ(box.ascent, lw::captureAscent(dc, outline.logFont));
        EXPECT_GT(box.descent, 0);
        // The underline is the last figure.
        std::size_t last = std::size_t(outline.pointCount) - 1, first = last;
        while (first > 0 && !(outline.pathTypes[first - 1] & 1))
            --first;
        int left = outline.pathPoints[first].x, right = left;
        for (std::size_t i = first; i <= last; ++i) {
            left = std::min(left, outline.pathPoints[i].x);
            right = std::max(right, outline.pathPoints[i].x);
        }
        EXPECT_EQ(left, 0);
        EXPECT_EQ(right, box.advance);
    }
}

} // namespace
