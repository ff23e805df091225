#pragma once
// The path as the FreeType backend holds it, walked in order: its own points
// and its glyphs where they stand, as points and as cubic curves (two
// controls and an end point), into a sink that the flattening and the
// read-back each give. A sink has open(), point(p, type) and cubic(c1, c2,
// e, endType); leftOut(g, m) and placed(g, m) where it passes glyphs over.

#include "platform/freetype/device_points.hpp"
#include "platform/freetype/state.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace lw::path_walk {

using State = DeviceContext::State;

// A glyph expanded from its outline: points and cubic curves, as walkPath
// gives them. Its figure closes at its last point before the next move and
// at the glyph's end.
template <typename Sink>
void walkGlyph(const State::PlacedGlyph& g, const State::GlyphGroup& group, Sink& sink)
{
    const State::GlyphMap& m = group.map;
    if constexpr (requires { sink.leftOut(g, m); }) {
        if (sink.leftOut(g, m))
            return;
    }
    if constexpr (requires { sink.turned(g, group); }) {
        if (group.turned && sink.turned(g, group))
            return;
    }
    if constexpr (requires { sink.placed(g, m); }) {
        if (sink.placed(g, m))
            return;
    }
    auto device = [&g, &m](double fx, double fy) {
        return PointF{g.ox + m.m00 * fx + m.m01 * fy, g.oy + m.m10 * fx + m.m11 * fy};
    };
    const auto& steps = g.outline->steps;
    double lastX = 0, lastY = 0; // font units, for conic to cubic
    for (std::size_t k = 0; k < steps.size(); ++k) {
        const OutlineStep& st = steps[k];
        std::uint8_t close = (k + 1 == steps.size() || steps[k + 1].kind == OutlineStep::Move)
                           ? PT_CLOSEFIGURE : 0;
        switch (st.kind) {
        case OutlineStep::Move:
        case OutlineStep::Line:
            sink.point(device(st.x[0], st.y[0]),
                       std::uint8_t((st.kind == OutlineStep::Move ? PT_MOVETO : PT_LINETO) | close));
            lastX = st.x[0];
            lastY = st.y[0];
            break;
        case OutlineStep::Conic:
            // The exact cubic of a quadratic: controls 2/3 of the way to
            // the quadratic's control point.
            sink.cubic(device(lastX + 2.0 / 3.0 * (st.x[0] - lastX), lastY + 2.0 / 3.0 * (st.y[0] - lastY)),
                       device(st.x[1] + 2.0 / 3.0 * (st.x[0] - st.x[1]),
                              st.y[1] + 2.0 / 3.0 * (st.y[0] - st.y[1])),
                       device(st.x[1], st.y[1]), std::uint8_t(PT_BEZIERTO | close));
            lastX = st.x[1];
            lastY = st.y[1];
            break;
        case OutlineStep::Cubic:
            sink.cubic(device(st.x[0], st.y[0]), device(st.x[1], st.y[1]), device(st.x[2], st.y[2]),
                       std::uint8_t(PT_BEZIERTO | close));
            lastX = st.x[2];
            lastY = st.y[2];
            break;
        }
    }
}

// Walks the path in order, its own points and its glyphs where they stand,
// as points and as cubic curves (two controls and an end point).
template <typename Sink>
void walkPath(const State& s, Sink& sink)
{
    const auto path = s.path();
    std::size_t next = 0;
    auto explicitUpTo = [&](std::size_t end) {
        for (; next < end; ++next) {
            const auto& p = path[next];
            if ((p.type & ~PT_CLOSEFIGURE) == PT_BEZIERTO && sink.open() && next + 2 < path.size()) {
                sink.cubic({p.x, p.y}, {path[next + 1].x, path[next + 1].y}, {path[next + 2].x, path[next + 2].y},
                           path[next + 2].type);
                next += 2;
            } else {
                sink.point({p.x, p.y}, p.type);
            }
        }
    };
    for (std::size_t group = 0; group < s.groups.size(); ++group) {
        explicitUpTo(s.groups[group].before);
        const std::size_t end = group + 1 < s.groups.size() ? s.groups[group + 1].first : s.glyphs.size();
        for (std::size_t i = s.groups[group].first; i < end; ++i)
            walkGlyph(s.glyphs[i], s.groups[group], sink);
    }
    explicitUpTo(path.size());
}

// Every glyph outline starts with a move (FreeType opens each contour with
// one), so a glyph's curve always continues an open figure.
inline bool glyphsStartWithMoves(const State& s)
{
    return std::all_of(s.glyphs.begin(), s.glyphs.end(),
                       [](const State::PlacedGlyph& g) { return g.outline->steps.front().kind == OutlineStep::Move; });
}

// The control points as the path holds them, in double precision.
struct ControlPoints {
    std::vector<State::PathPoint>& out;
    bool open() const { return true; }
    void point(PointF p, std::uint8_t type) { out.push_back({p.x, p.y, type}); }
    void cubic(PointF c1, PointF c2, PointF e, std::uint8_t endType)
    {
        out.push_back({c1.x, c1.y, PT_BEZIERTO});
        out.push_back({c2.x, c2.y, PT_BEZIERTO});
        out.push_back({e.x, e.y, endType});
    }
};

// The control points as they are, straight into the caller's arrays.
struct CurvedControlPoints {
    std::vector<CurvePoint>& points;
    std::vector<std::uint8_t>& types;
    bool open() const { return true; }
    void point(PointF p, std::uint8_t type)
    {
        points.push_back({p.x, p.y});
        types.push_back(type);
    }
    void cubic(PointF c1, PointF c2, PointF e, std::uint8_t endType)
    {
        point(c1, PT_BEZIERTO);
        point(c2, PT_BEZIERTO);
        point(e, endType);
    }
};

// The control points rounded, as GetPath reads an unflattened path.
struct RoundedControlPoints {
    std::vector<POINT>& points;
    std::vector<std::uint8_t>& types;
    bool open() const { return true; }
    void point(PointF p, std::uint8_t type)
    {
        points.push_back(devicePoint(p));
        types.push_back(type);
    }
    void cubic(PointF c1, PointF c2, PointF e, std::uint8_t endType)
    {
        point(c1, PT_BEZIERTO);
        point(c2, PT_BEZIERTO);
        point(e, endType);
    }
};

} // namespace lw::path_walk
