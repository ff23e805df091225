// The inspection drawing over the preview's own text: the same scale and
// place, fitted or not, with the fixed mark where it always is.

#include "fake_view.hpp"
#include "form/overlay_shift.hpp"
#include "form/preview_drawing.hpp"
#include "outline/capture.hpp"
#include "outline/segment_drawing.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace lw {
namespace {

constexpr Rgb kMark{128, 0, 0x80};

struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    void add(POINT p)
    {
        left = std::min(left, p.x), right = std::max(right, p.x);
        top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    }
    bool near(const Box& o, int pixels) const
    {
        return std::abs(left - o.left) <= pixels && std::abs(right - o.right) <= pixels
               && std::abs(top - o.top) <= pixels && std::abs(bottom - o.bottom) <= pixels;
    }
};

std::ostream& operator<<(std::ostream& out, const Box& b)
{
    return out << "[" << b.left << "," << b.top << " - " << b.right << "," << b.bottom << "]";
}

// What a view would paint: the box of the shapes and lines, marks apart.
struct Measure final : PreviewDrawing::Painter {
    Box drawn;
    std::vector<std::pair<POINT, POINT>> marks;
    void fill(std::span<const std::span<const POINT>>) override {}
    void outline(std::span<const POINT> polygon, Rgb) override
    {
        for (POINT p : polygon)
            drawn.add(p);
    }
    void line(POINT from, POINT to, Rgb pen) override
    {
        if (pen == kMark) {
            marks.emplace_back(from, to);
            return;
        }
        drawn.add(from);
        drawn.add(to);
    }
};

Measure paintOf(PreviewDrawing& drawing, bool fit)
{
    Measure measure;
    drawing.paint(drawing.shownPoints(fit, 461, 301), measure);
    return measure;
}

TEST(InspectionView, LiesOverThePreviewsTextFittedOrNot)
{
    const struct {
        const char* text;
        float size;
        int angle;
    } cases[] = {
        {"編集テキスト", 24, 0}, {"O", 9, 0},     {"BOB 出口 8", 72, 0},
        {"Wide text here", 144, 0}, {"傾き", 36, 30}, {"i", 1, 0},
        {"AB", 48, 270},
    };
    for (const auto& c : cases) {
        WindowFont font;
        font.size = c.size;
        const CaptureSource source{c.text, font, c.angle};
        PreviewDrawing preview, inspection;
        DeviceContext previewDc(preview), inspectionDc(inspection);
        CapturedOutline centred, atOrigin;
        drawFlattenPath(Placement::PreviewCentre, source, previewDc, centred);
        inspectOutline(source, inspectionDc, atOrigin, inspectionShift(source));
        for (const bool fit : {false, true}) {
            const Measure shown = paintOf(preview, fit), inspected = paintOf(inspection, fit);
            // One pixel for a height the inspection rounds in single precision;
            // a fitted view may blow that pixel up a little.
            EXPECT_TRUE(inspected.drawn.near(shown.drawn, fit ? 3 : 1))
                << c.text << " " << c.size << " fit " << fit << ": " << inspected.drawn << " vs " << shown.drawn;
            ASSERT_FALSE(inspected.marks.empty()) << c.text;
            for (const auto& [from, to] : inspected.marks) {
                EXPECT_EQ(from, (POINT{70, 176})) << c.text << " fit " << fit;
                EXPECT_EQ(to, (POINT{78, 168})) << c.text << " fit " << fit;
            }
        }
    }
}

TEST(InspectionView, NoTextNoShift)
{
    WindowFont font;
    EXPECT_EQ(inspectionShift({"", font}), (POINT{}));
    EXPECT_EQ(inspectionShift({"   ", font}), (POINT{}));
}

TEST(InspectionView, TheFormDrawsItWhereThePreviewWasAndKeepsTheOriginCapture)
{
    test::FakeView view;
    Form1 form(view);
    form.load({});
    Box polygons;
    for (const auto& polygon : view.canvas.polygons)
        for (POINT p : polygon.points)
            polygons.add(p);
    form.run(&Form1::Command3_Click);
    Box lines;
    for (const auto& line : view.canvas.lines)
        if (!(line.pen == kMark)) {
            lines.add(line.from);
            lines.add(line.to);
        }
    EXPECT_TRUE(lines.near(polygons, 1)) << lines << " vs " << polygons;
    // The outline itself stays captured at the origin, as WIT takes it.
    Box captured;
    const CapturedOutline& outline = form.capturedOutline();
    for (int k = 0; k < outline.pointCount; ++k)
        captured.add(outline.pathPoints[std::size_t(k)]);
    EXPECT_LT(captured.top, 10);
    EXPECT_LT(captured.left, 4);
}

} // namespace
} // namespace lw
