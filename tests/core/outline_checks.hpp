#pragma once
// Invariants every captured outline must keep, and small geometry helpers
// for the capture tests.

#include "outline/capture.hpp"
#include "outline/segment_drawing.hpp"
#include "outline/outline_dump.hpp"
#include "outline/precision.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace lw::test {

// A long text made of one piece over and over.
inline std::string repeated(const std::string& piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// A row's text captured at the origin as a drawing captures it: at the
// grid of its step in mm (0: the classic grid), with its curves into `path`
// when one is given. Any row with these fields will do.
template <class Row>
CapturedOutline capturedAtOrigin(const Row& row, CurvedPath* path = nullptr)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    WindowFont font;
    font.faceName = row.face;
    font.size = row.points;
    font.italic = row.italic;
    font.underline = row.underline;
    font.strikeout = row.strikeout;
    const double dpi = row.stepMm > 0 ? dpiForStep(row.stepMm) : design::kDpi;
    CaptureSource source{row.text, font, row.angle, design::kPreviewWidth, design::kPreviewHeight, 1440 / dpi};
    source.advances = row.stepMm > 0 ? Advances::Linear : Advances::Device;
    CapturedOutline outline;
    drawFlattenPath(Placement::Origin, source, dc, outline, path);
    return outline;
}

struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return left > right; }
};

inline Box boundingBox(const CapturedOutline& o)
{
    Box b;
    for (std::int32_t i = 0; i < o.pointCount; ++i) {
        const POINT& p = o.pathPoints[std::size_t(i)];
        b.left = std::min(b.left, p.x);
        b.right = std::max(b.right, p.x);
        b.top = std::min(b.top, p.y);
        b.bottom = std::max(b.bottom, p.y);
    }
    return b;
}

// Closed figures as index ranges [first, last].
inline std::vector<std::pair<int, int>> figureRanges(const CapturedOutline& o)
{
    std::vector<std::pair<int, int>> out;
    for (const Figure& f : figures(o))
        if (f.closed)
            out.emplace_back(int(f.first), int(f.first + f.points.size()) - 1);
    return out;
}

// Every figure starts with 6, ends with 3, has 2 in between, has two points
// or more, no point repeating its predecessor and no last point on its own
// first (the platform closes it); slot n is (0,0)/0.
inline ::testing::AssertionResult wellFormed(const CapturedOutline& o)
{
    if (o.pointCount < 0)
        return ::testing::AssertionFailure() << "negative count";
    if (o.pathPoints.size() != std::size_t(o.pointCount) + 1 || o.pathTypes.size() != std::size_t(o.pointCount) + 1)
        return ::testing::AssertionFailure() << "arrays are not indexed 0 to n";
    if (!(o.pathPoints.back() == POINT{}) || o.pathTypes.back() != 0)
        return ::testing::AssertionFailure() << "slot n is not (0,0)/0";
    int covered = 0;
    for (auto [first, last] : figureRanges(o)) {
        if (last - first < 1)
            return ::testing::AssertionFailure() << "figure of one point at " << first;
        for (int i = first; i <= last; ++i) {
            std::uint8_t want = i == first ? PT_MOVETO : (i == last ? 3 : PT_LINETO);
            if (o.pathTypes[std::size_t(i)] != want)
                return ::testing::AssertionFailure() << "type " << int(o.pathTypes[std::size_t(i)]) << " at " << i;
            if (i > first && o.pathPoints[std::size_t(i)] == o.pathPoints[std::size_t(i - 1)])
                return ::testing::AssertionFailure() << "repeated point at " << i;
        }
        if (o.pathPoints[std::size_t(last)] == o.pathPoints[std::size_t(first)])
            return ::testing::AssertionFailure() << "figure at " << first << " ends on its first point";
        covered = last + 1;
    }
    if (covered != o.pointCount)
        return ::testing::AssertionFailure() << "points after the last figure";
    return ::testing::AssertionSuccess();
}

struct Capture {
    NullCanvas canvas;
    DeviceContext dc{canvas};
    CapturedOutline outline;

    const CapturedOutline& run(std::string_view text, const WindowFont& font, int angle = 0,
                               std::int32_t alCent = 0, float width = design::kPreviewWidth,
                               float height = design::kPreviewHeight)
    {
        drawFlattenPath(placementFor(alCent), {text, font, angle, width, height}, dc, outline);
        return outline;
    }
};

inline WindowFont fontOf(const char* face, float size = 24)
{
    WindowFont f;
    f.faceName = face;
    f.size = size;
    return f;
}

} // namespace lw::test
