// The segment count decided without a square root must be the count of the
// square-root formula everywhere, above all where n^2 meets the bound.
#include "platform/freetype/flatten.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace lw;

namespace {

// The m2 at which n segments become exactly enough: 0.75 sqrt(m2) / tol = n^2.
double boundaryOf(int n, double tolerance)
{
    double r = double(n) * n * tolerance / 0.75;
    return r * r;
}

} // namespace

TEST(SegmentCount, MatchesTheSquareRootFormulaOnEveryBoundaryAndItsNeighbours)
{
    for (double tolerance : {kFlatness, 0.1, 1.0 / 3.0, 2.0}) {
        for (int n = 1; n <= kMaxSegments + 2; ++n) {
            double m2 = boundaryOf(n, tolerance);
            // A few units in the last place either side: rounding decides here.
            double down = m2, up = m2;
            for (int step = 0; step < 4; ++step) {
                ASSERT_EQ(flatteningSegments(down, tolerance), flatteningSegmentsBySquareRoot(down, tolerance))
                    << tolerance << " n " << n << " m2 " << down;
                ASSERT_EQ(flatteningSegments(up, tolerance), flatteningSegmentsBySquareRoot(up, tolerance))
                    << tolerance << " n " << n << " m2 " << up;
                down = std::nextafter(down, 0.0);
                up = std::nextafter(up, 1e300);
            }
        }
    }
}

TEST(SegmentCount, MatchesTheSquareRootFormulaAcrossMagnitudes)
{
    std::mt19937_64 random(26);
    std::uniform_real_distribution<double> exponent(-30, 40);
    for (int round = 0; round < 200000; ++round) {
        double m2 = std::pow(10.0, exponent(random));
        ASSERT_EQ(flatteningSegments(m2, kFlatness), flatteningSegmentsBySquareRoot(m2, kFlatness)) << m2;
    }
}

TEST(SegmentCount, OddInputsGiveOneSegmentOrTheCap)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double m2;
        int segments;
    } table[] = {
        {0, 1},
        {-0.0, 1},
        {std::numeric_limits<double>::denorm_min(), 1},
        {1e-250, 1},
        {nan, 1},
        {inf, kMaxSegments},
        {1e300, kMaxSegments},
        {boundaryOf(kMaxSegments, kFlatness), kMaxSegments},
        {std::nextafter(boundaryOf(kMaxSegments, kFlatness), inf), kMaxSegments},
    };
    for (const auto& row : table)
        EXPECT_EQ(flatteningSegments(row.m2, kFlatness), row.segments) << row.m2;
}
