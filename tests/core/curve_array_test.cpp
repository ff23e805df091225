// Curves flattened straight into an array must give the points of the
// scalar flattening, rounded, with each repeat of the point before dropped,
// also when the array has to move to make room.
#include "platform/freetype/device_points.hpp"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace lw;

TEST(CurveArray, GivesTheScalarPointsWithoutRepeatsWhereverTheArrayLives)
{
    std::mt19937 random(2612);
    // Tiny curves repeat pixels on almost every step; large ones never do.
    for (double range : {0.6, 3.0, 300.0, 3e5, 3e9}) {
        std::uniform_real_distribution<double> coordinate(-range, range);
        for (int round = 0; round < 300; ++round) {
            PointF p[4];
            for (auto& q : p)
                q = {coordinate(random), coordinate(random)};
            std::vector<POINT> expected{devicePoint(p[0])};
            flattenCubic(p[0], p[1], p[2], p[3], kFlatness, [&](PointF q) {
                POINT d{devicePixel(q.x), devicePixel(q.y)};
                if (!(d == expected.back()))
                    expected.push_back(d);
            });

            const bool move = round % 2 == 1;
            std::vector<POINT> first{devicePoint(p[0])}, second;
            std::vector<POINT>* in = &first;
            std::size_t asked = 0;
            POINT* end = flattenCubicToArray(p[0], p[1], p[2], p[3], kFlatness, first.data() + 1, [&](std::size_t n) {
                asked = n;
                if (move) {
                    second.assign(first.begin(), first.end());
                    in = &second;
                }
                in->resize(1 + n);
                return in->data() + 1;
            });
            ASSERT_EQ(asked, std::size_t(flatteningSegments(p[0], p[1], p[2], p[3], kFlatness))) << range;
            in->resize(std::size_t(end - in->data()));
            ASSERT_EQ(*in, expected) << range << " " << round;
        }
    }
}
