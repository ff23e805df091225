// The rings the merge reads: each figure's box, and how far the set reaches
// from the origin (which sets the merge's grid).
#include "cut/merge.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lw::POINT;

struct Figures {
    std::vector<POINT> points;
    std::vector<std::uint8_t> types;

    Figures& square(std::int32_t x, std::int32_t y, std::int32_t side, bool backwards = false)
    {
        std::vector<POINT> corners{{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
        if (backwards)
            std::swap(corners[1], corners[3]);
        for (std::size_t k = 0; k < corners.size(); ++k) {
            points.push_back(corners[k]);
            types.push_back(k == 0 ? lw::PT_MOVETO : k + 1 == corners.size() ? lw::PT_LINETO | lw::PT_CLOSEFIGURE
                                                                             : lw::PT_LINETO);
        }
        return *this;
    }
};

TEST(CadMerge, RingsGiveTheBoxOfTheirPointsAndTheReachFromTheOrigin)
{
    struct Row {
        std::string what;
        Figures figures;
        std::int32_t left, top, right, bottom;
        std::int64_t reach;
    };
    const std::vector<Row> rows{
        {"nothing", Figures{}, 0, 0, 0, 0, 0},
        // The box is the points' own; the reach still counts the origin.
        {"away from the origin", Figures{}.square(50, 60, 10), 50, 60, 60, 70, 70},
        {"left of and above it", Figures{}.square(-90, -80, 10), -90, -80, -80, -70, 90},
    };
    for (const Row& row : rows) {
        lw::RingSet rings;
        lw::ringsOf(row.figures.points, row.figures.types, rings);
        EXPECT_EQ(rings.left, row.left) << row.what;
        EXPECT_EQ(rings.top, row.top) << row.what;
        EXPECT_EQ(rings.right, row.right) << row.what;
        EXPECT_EQ(rings.bottom, row.bottom) << row.what;
        EXPECT_EQ(rings.reach, row.reach) << row.what;
    }
}

} // namespace
