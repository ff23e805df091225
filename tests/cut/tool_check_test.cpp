// The tool check on shapes whose widths, islands and areas follow from
// their construction: bars, rings, nested squares, touching squares and
// stencils of them, each contour as cadOutline leaves it (outer contours
// counter-clockwise with y up, holes clockwise; on the grid y runs down).
#include "cut/stencil.hpp"
#include "cut/tool_check.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using lw::Contour;

// An axis-aligned box as an outer contour or a hole.
Contour box(int left, int top, int right, int bottom, lw::Role role)
{
    Contour c{{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    lw::orient(c, role);
    return c;
}
Contour outer(int l, int t, int r, int b) { return box(l, t, r, b, lw::Role::Outer); }
Contour hole(int l, int t, int r, int b) { return box(l, t, r, b, lw::Role::Hole); }

// A frame of two Ls, the left and bottom bars and the top and right ones,
// 100 wide, meeting only at (100, 100) and (900, 900).
std::vector<Contour> twoLs()
{
    Contour a{{0, 100}, {100, 100}, {100, 900}, {900, 900}, {900, 1000}, {0, 1000}};
    Contour b{{100, 0}, {1000, 0}, {1000, 900}, {900, 900}, {900, 100}, {100, 100}};
    lw::orient(a, lw::Role::Outer);
    lw::orient(b, lw::Role::Outer);
    return {a, b};
}

// A ring whose counter a band from corner to corner splits, touching it
// only at (100, 100) and (900, 900).
std::vector<Contour> bandAcross()
{
    Contour band{{100, 100}, {500, 450}, {900, 900}, {450, 500}};
    lw::orient(band, lw::Role::Outer);
    return {outer(0, 0, 1000, 1000), hole(100, 100, 900, 900), band};
}

lw::CadOutline cutOf(const std::vector<Contour>& contours)
{
    lw::CadOutline cut{.outline = {}, .gridScale = 1};
    cut.outline.pathPoints.push_back({});
    cut.outline.pathTypes.push_back(0);
    for (const Contour& c : contours)
        for (std::size_t k = 0; k < c.size(); ++k) {
            cut.outline.pathPoints.insert(cut.outline.pathPoints.end() - 1, c[k]);
            cut.outline.pathTypes.insert(cut.outline.pathTypes.end() - 1,
                                         k == 0 ? lw::PT_MOVETO : k + 1 == c.size() ? lw::PT_LINETO | lw::PT_CLOSEFIGURE : lw::PT_LINETO);
        }
    cut.outline.pointCount = std::int32_t(cut.outline.pathPoints.size() - 1);
    return cut;
}

constexpr double kNotTold = -2; // a width the construction does not tell

struct Case {
    std::string name;
    std::vector<Contour> contours;
    double thinnest;  // the ink's narrowest, -1: none
    double narrowest; // the sheet's, -1: none
    std::vector<double> islandAreas;
};

TEST(ToolCheck, WidthsAndIslandsOfBuiltShapes)
{
    const std::vector<Case> cases = {
        {"a bar vanishes at its width", {outer(0, 0, 1000, 200)}, 200, -1, {}},
        {"two bars: the gap between them",
         {outer(0, 0, 1000, 200), outer(0, 270, 1000, 470)}, 200, 70, {}},
        {"a ring: its thinner side breaks first, its counter closes at its width",
         {outer(0, 0, 1000, 1000), hole(150, 100, 850, 900)}, 100, 700, {700.0 * 800}},
        {"回: the ring between the squares and the middle are two islands",
         {outer(0, 0, 1000, 1000), hole(100, 100, 900, 900), outer(300, 300, 700, 700), hole(400, 400, 600, 600)},
         100, 200, {800.0 * 800 - 400.0 * 400, 200.0 * 200}},
        // The widest disc sits in the corner, touching both outer sides and
        // the inner corner: r = w sqrt 2 / (1 + sqrt 2); the arms thin away
        // before it, but the L stays one part until that disc is gone.
        {"an L: the disc in its corner is the last to go",
         {[] {
             Contour c{{0, 0}, {100, 0}, {100, 900}, {1000, 900}, {1000, 1000}, {0, 1000}};
             lw::orient(c, lw::Role::Outer);
             return c;
         }()},
         2 * 100 * std::sqrt(2.0) / (1 + std::sqrt(2.0)), -1, {}},
        {"squares touching at a corner: a gap of nothing",
         {outer(0, 0, 500, 500), outer(500, 500, 1000, 1000)}, 500, 0, {}},
        // No hole bounds the middle: the two Ls touch at two corners, which
        // seal it off all the same.
        {"two Ls touching at two corners enclose a pocket", twoLs(), 2 * 100 * std::sqrt(2.0) / (1 + std::sqrt(2.0)),
         0, {800.0 * 800}},
        // A band across a counter from corner to corner, touching it only
        // there, splits it in two halves of (800 x 800 - 40000) / 2.
        {"a band touching a counter's corners splits it into two islands", bandAcross(), kNotTold, 0,
         {300000, 300000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const lw::ToolCheck found = lw::checkTool(c.contours, 0, 0.5);
        if (c.thinnest != kNotTold) {
            ASSERT_EQ(found.thinnest.has_value(), c.thinnest >= 0);
            if (found.thinnest) {
                EXPECT_NEAR(found.thinnest->width, c.thinnest, 1e-6);
            }
        }
        ASSERT_EQ(found.narrowest.has_value(), c.narrowest >= 0);
        if (found.narrowest) {
            EXPECT_NEAR(found.narrowest->width, c.narrowest, 1e-6);
        }
        ASSERT_EQ(found.islands.size(), c.islandAreas.size());
        for (std::size_t k = 0; k < c.islandAreas.size(); ++k)
            EXPECT_NEAR(found.islands[k].area, c.islandAreas[k], 1e-6);
        EXPECT_TRUE(found.tooNarrow.empty());
    }
}

TEST(ToolCheck, EveryPlaceNarrowerThanTheTool)
{
    // Two necks of 60 and 80 between three blocks: a tool of 70 lists the
    // first, one of 90 both, each where the neck is.
    std::vector<Contour> shape{[] {
        Contour c{{0, 0},      {300, 0},   {300, 120}, {400, 120}, {400, 0},   {700, 0},   {700, 110},
                  {800, 110},  {800, 0},   {1100, 0},  {1100, 300}, {800, 300}, {800, 190}, {700, 190},
                  {700, 300},  {400, 300}, {400, 180}, {300, 180}, {300, 300}, {0, 300}};
        lw::orient(c, lw::Role::Outer);
        return c;
    }()};
    const lw::ToolCheck seventy = lw::checkTool(shape, 70, 0.5);
    ASSERT_EQ(seventy.tooNarrow.size(), 1u);
    EXPECT_NEAR(seventy.tooNarrow[0].width, 60, 1e-6);
    EXPECT_NEAR(seventy.tooNarrow[0].y, 150, 1e-6);
    EXPECT_GE(seventy.tooNarrow[0].x, 300);
    EXPECT_LE(seventy.tooNarrow[0].x, 400);
    const lw::ToolCheck ninety = lw::checkTool(shape, 90, 0.5);
    ASSERT_EQ(ninety.tooNarrow.size(), 2u);
    EXPECT_NEAR(ninety.tooNarrow[1].width, 80, 1e-6);
    EXPECT_GE(ninety.tooNarrow[1].x, 700);
    EXPECT_LE(ninety.tooNarrow[1].x, 800);
}

TEST(Stencil, BridgesHoldEveryIslandAcrossTheNarrowestStroke)
{
    // A ring whose left side is the thinnest (60): the bridge crosses it
    // there, 120 wide, and the stencil has no island and one contour.
    lw::CadOutline cut{.outline = {}, .gridScale = 1};
    const std::vector<Contour> ring{outer(0, 0, 1000, 1000), hole(60, 100, 900, 900)};
    for (const Contour& c : ring)
        for (std::size_t k = 0; k < c.size(); ++k) {
            cut.outline.pathPoints.insert(cut.outline.pathPoints.end() - 1, c[k]);
            cut.outline.pathTypes.insert(cut.outline.pathTypes.end() - 1,
                                         k == 0 ? lw::PT_MOVETO : k + 1 == c.size() ? lw::PT_LINETO | lw::PT_CLOSEFIGURE : lw::PT_LINETO);
        }
    cut.outline.pointCount = std::int32_t(cut.outline.pathPoints.size() - 1);
    const lw::CadOutline stencil = lw::withBridges(cut, 120, 1);
    ASSERT_EQ(stencil.bridges.size(), 1u);
    const lw::Bridge& b = stencil.bridges[0];
    EXPECT_NEAR(b.fromX, 60, 1e-6);
    EXPECT_NEAR(b.toX, 0, 1e-6);
    EXPECT_NEAR(b.fromY, b.toY, 1e-6);
    const std::vector<Contour> after = lw::cutContours(stencil.outline);
    EXPECT_EQ(after.size(), 1u);
    EXPECT_TRUE(lw::checkTool(after, 0, 0.5).islands.empty());
    // The ink lost the bridge's strip across the stroke, no more: 60 x (120
    // and the grid unit each side that rounding may take).
    const double before = 1000.0 * 1000 - 840.0 * 800;
    const double left = -double(lw::twiceArea(after[0])) / 2;
    EXPECT_GE(before - left, 60.0 * 120);
    EXPECT_LE(before - left, 60.0 * 122);
}

TEST(Stencil, PocketsSealedByTouchesOpenWhereTheInkTouches)
{
    // The two Ls' pocket opens at one touch, the ink cut back there by the
    // bridge's width every way; nothing else of the ink goes.
    const lw::CadOutline stencil = lw::withBridges(cutOf(twoLs()), 120, 1);
    ASSERT_EQ(stencil.bridges.size(), 1u);
    const lw::Bridge& b = stencil.bridges[0];
    EXPECT_EQ(b.fromX, b.toX);
    EXPECT_EQ(b.fromY, b.toY);
    EXPECT_TRUE((b.fromX == 100 && b.fromY == 100) || (b.fromX == 900 && b.fromY == 900));
    EXPECT_TRUE(stencil.unheld.empty());
    const std::vector<Contour> after = lw::cutContours(stencil.outline);
    EXPECT_TRUE(lw::checkTool(after, 0, 0.5).islands.empty());
    double left = 0;
    for (const Contour& c : after)
        left -= double(lw::twiceArea(c)) / 2;
    // Each L loses its bar's end within the square round the touch: 100
    // across, 121 along (the width and the grid unit rounding may take).
    const double before = 2 * (100.0 * 900 + 800.0 * 100);
    const double lost = 2 * 100.0 * 121;
    EXPECT_NEAR(before - left, lost, 1e-6);
}

TEST(Stencil, NoIslandLeftWhereTouchesSealThem)
{
    for (const std::vector<Contour>& shape : {twoLs(), bandAcross()}) {
        const lw::CadOutline stencil = lw::withBridges(cutOf(shape), 120, 1);
        EXPECT_TRUE(stencil.unheld.empty());
        EXPECT_TRUE(lw::checkTool(lw::cutContours(stencil.outline), 0, 0.5).islands.empty());
    }
}

} // namespace
