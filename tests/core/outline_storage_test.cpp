// The captured outline's arrays: sized to what the capture gave, not to the
// bound it was flattened under, and the same after a larger capture before.
#include "outline_checks.hpp"

using namespace lw;
using namespace lw::test;

TEST(OutlineStorage, ArraysHoldLittleMoreThanThePointsAtEverySize)
{
    const std::string text = "編集テキスト Letterwire 漢字かなカナABC";
    Capture c;
    // Large first, then small: a small capture must not keep the room of
    // the large one before it.
    for (float size : {144.0f, 1.0f, 2.0f, 8.0f, 24.0f, 1.0f}) {
        const CapturedOutline& o = c.run(text, fontOf(design::kFaceName, size));
        ASSERT_GT(o.pointCount, 0) << size;
        const std::size_t slots = std::size_t(o.pointCount) + 1;
        EXPECT_EQ(o.pathPoints.size(), slots) << size;
        EXPECT_EQ(o.pathTypes.size(), slots) << size;
        EXPECT_LE(o.pathPoints.capacity(), 2 * slots + 64) << size;
        EXPECT_LE(o.pathTypes.capacity(), 2 * slots + 64) << size;
        EXPECT_TRUE(wellFormed(o)) << size;
        // The slot after the points stays empty.
        EXPECT_EQ(o.pathPoints.back(), POINT{}) << size;
        EXPECT_EQ(o.pathTypes.back(), 0) << size;
    }
}
