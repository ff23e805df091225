#pragma once
// Where a device context draws: a raster surface in the window, a recording
// in tests, nothing at all in the command-line front end.

#include "platform/gdi_types.hpp"

#include <span>
#include <vector>

namespace lw {

class Canvas {
public:
    virtual ~Canvas() = default;
    // Erases everything drawn.
    virtual void clear() = 0;
    // A closed polygon (the last point joins the first), outlined in `pen`
    // and filled with the device context's brush (white, alternate fill).
    virtual void polygon(std::span<const POINT> points, Rgb pen) = 0;
    // One segment in `pen`.
    virtual void line(POINT from, POINT to, Rgb pen) = 0;
    // A segment fixed to the surface, not to what is drawn: a view that
    // scales the drawing to fit leaves it where it is.
    virtual void mark(POINT from, POINT to, Rgb pen) { line(from, to, pen); }
};

// Draws nothing: for captures nobody looks at.
class NullCanvas final : public Canvas {
public:
    void clear() override {}
    void polygon(std::span<const POINT>, Rgb) override {}
    void line(POINT, POINT, Rgb) override {}
};

// Keeps every call, in order: for tests and inspection.
class RecordingCanvas final : public Canvas {
public:
    struct Polygon {
        std::vector<POINT> points;
        Rgb pen;
    };
    struct Line {
        POINT from;
        POINT to;
        Rgb pen;
    };
    int clears = 0;
    std::vector<Polygon> polygons;
    std::vector<Line> lines;

    void clear() override
    {
        ++clears;
        polygons.clear();
        lines.clear();
    }
    void polygon(std::span<const POINT> points, Rgb pen) override
    {
        polygons.push_back({{points.begin(), points.end()}, pen});
    }
    void line(POINT from, POINT to, Rgb pen) override { lines.push_back({from, to, pen}); }
};

} // namespace lw
