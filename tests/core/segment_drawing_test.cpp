// Drawing segment by segment: a capture at the origin drawn segment by segment.
#include "outline_checks.hpp"

using namespace lw;
using namespace lw::test;

namespace {

constexpr Rgb kBlack{0, 0, 0}, kRed{128, 0, 0}, kGreen{0, 128, 0}, kMagenta{128, 0, 128};

int countPen(const RecordingCanvas& canvas, Rgb pen)
{
    int n = 0;
    for (const auto& l : canvas.lines)
        n += l.pen == pen;
    return n;
}

} // namespace

TEST(SegmentDrawing, DrawsRedSegmentsTheClosingStepAndTheMarkForEveryPoint)
{
    RecordingCanvas canvas;
    DeviceContext dc(canvas);
    CapturedOutline o;
    WindowFont font;
    inspectOutline({"O", font}, dc, o);
    ASSERT_TRUE(wellFormed(o));
    auto f = figureRanges(o);
    ASSERT_EQ(f.size(), 2u);
    EXPECT_TRUE(canvas.polygons.empty());
    EXPECT_EQ(countPen(canvas, kRed), o.pointCount - 2); // every point but the two move-tos
    EXPECT_EQ(countPen(canvas, kMagenta), o.pointCount);
    EXPECT_EQ(countPen(canvas, kGreen), 2);              // both figures close to their own start
    EXPECT_EQ(countPen(canvas, kBlack), 2);
    EXPECT_EQ(dc.penColour(), kBlack);
    for (const auto& l : canvas.lines) {
        if (l.pen == kMagenta) {
            EXPECT_EQ(l.from, (POINT{70, 176}));
            EXPECT_EQ(l.to, (POINT{78, 168}));
        }
        if (l.pen == kGreen) { // from a closing point back to its figure's first point
            EXPECT_TRUE(l.to == o.pathPoints[std::size_t(f[0].first)] || l.to == o.pathPoints[std::size_t(f[1].first)]);
        }
    }
}

TEST(SegmentDrawing, CapturesAtTheOriginWhateverThePreviewUsedBefore)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    CapturedOutline centred, inspected;
    WindowFont font;
    std::int32_t alCent = 1;
    drawFlattenPath(placementFor(alCent), {"編集", font}, dc, centred);
    inspectOutline({"編集", font}, dc, inspected);
    Capture origin;
    EXPECT_EQ(dumpOutline(inspected), dumpOutline(origin.run("編集", font)));
    EXPECT_NE(dumpOutline(inspected), dumpOutline(centred));
}

TEST(SegmentDrawing, EmptyTextDrawsNothingButClears)
{
    RecordingCanvas canvas;
    DeviceContext dc(canvas);
    CapturedOutline o;
    WindowFont font;
    inspectOutline({"", font}, dc, o);
    EXPECT_EQ(o.pointCount, 0);
    EXPECT_TRUE(wellFormed(o));
    EXPECT_TRUE(canvas.lines.empty());
    EXPECT_EQ(canvas.clears, 1);
}
