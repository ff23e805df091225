// The path bracket of the FreeType backend and its read-back: BeginPath,
// EndPath, FlattenPath (curves within kFlatness, points rounded to whole
// pixels, every figure closed) and GetPath.

#include "platform/freetype/path_flatten.hpp"
#include "platform/freetype/path_walk.hpp"

#include <algorithm>
#include <memory>

namespace lw {
namespace {

using namespace path_walk;
using PathState = State::PathState;

// The curves of the path, each glyph that the flattening places from its
// flattened copy told as a run of that copy's curves instead.
struct CurvedGlyphs {
    CurvedControlPoints control;
    std::vector<CurvedRun>& runs;
    bool open() const { return true; }
    void point(PointF p, std::uint8_t type) { control.point(p, type); }
    void cubic(PointF c1, PointF c2, PointF e, std::uint8_t endType) { control.cubic(c1, c2, e, endType); }

    bool placed(const State::PlacedGlyph& g, const State::GlyphMap& m)
    {
        const FlatGlyph* flat = flatGlyphAt(g, m);
        if (!flat)
            return false;
        if (!flat->curves) {
            auto curves = std::make_shared<GlyphCurves>();
            State alone;
            alone.addGlyph(g.outline, m, 0, 0);
            CurvedControlPoints at{curves->points, curves->types};
            walkPath(alone, at);
            // The copy is the glyph's own, made by this thread's path.
            const_cast<FlatGlyph*>(flat)->curves = std::move(curves);
        }
        runs.push_back({flat->serial, control.points.size(), std::int32_t(g.ox), std::int32_t(g.oy), flat->curves});
        return true;
    }
};

} // namespace

// The bound's own flattening: curves within kFlatness.
const double kFlattenedPointsFactor = 1.0;

bool BeginPath(DeviceContext& dc)
{
    auto& s = dc.state();
    s.glyphs.clear();
    s.groups.clear();
    if (s.extras) {
        s.extras->path.clear();
        s.extras->flatPoints.clear();
        s.extras->flatTypes.clear();
    }
    s.flattened = false;
    s.flatReady = false;
    s.pathState = PathState::Open;
    return true;
}

bool EndPath(DeviceContext& dc)
{
    auto& s = dc.state();
    if (s.pathState != PathState::Open)
        return false;
    s.pathState = PathState::Closed;
    return true;
}

// The points are made when first read, by GetPath or flattenPathInto.
bool FlattenPath(DeviceContext& dc)
{
    auto& s = dc.state();
    if (s.pathState != PathState::Closed)
        return false;
    s.flattened = true;
    s.flatReady = false;
    return true;
}

int flattenPathInto(DeviceContext& dc, std::vector<POINT>& points, std::vector<std::uint8_t>& types,
                    std::vector<GlyphRun>* runs)
{
    if (!FlattenPath(dc))
        return -1;
    return static_cast<int>(flattenPath(dc.state(), points, types, nullptr, runs));
}

int flattenPathWithin(DeviceContext& dc, const DeviceArea& area, std::vector<POINT>& points,
                      std::vector<std::uint8_t>& types)
{
    if (!FlattenPath(dc))
        return -1;
    return static_cast<int>(flattenPath(dc.state(), points, types, &area));
}

int readCurvedPath(DeviceContext& dc, std::vector<CurvePoint>& points, std::vector<std::uint8_t>& types)
{
    auto& s = dc.state();
    if (s.pathState != PathState::Closed || s.flattened)
        return -1;
    points.clear();
    types.clear();
    CurvedControlPoints control{points, types};
    walkPath(s, control);
    return static_cast<int>(points.size());
}

int readCurvedGlyphs(DeviceContext& dc, std::vector<CurvePoint>& points, std::vector<std::uint8_t>& types,
                     std::vector<CurvedRun>& runs)
{
    runs.clear();
    auto& s = dc.state();
    // Without a move at each glyph's start the flattening reads the path
    // whole and places no copies.
    if (!glyphsStartWithMoves(s))
        return readCurvedPath(dc, points, types);
    if (s.pathState != PathState::Closed || s.flattened)
        return -1;
    points.clear();
    types.clear();
    CurvedGlyphs sink{{points, types}, runs};
    walkPath(s, sink);
    return static_cast<int>(points.size());
}

int GetPath(DeviceContext& dc, POINT* points, std::uint8_t* types, int size)
{
    auto& s = dc.state();
    if (s.pathState != PathState::Closed)
        return -1;
    auto& flat = s.madeExtras();
    if (!s.flatReady) {
        if (s.flattened) {
            flattenPath(s, flat.flatPoints, flat.flatTypes);
        } else {
            // Curves not yet flattened: their control points, rounded.
            flat.flatPoints.clear();
            flat.flatTypes.clear();
            RoundedControlPoints control{flat.flatPoints, flat.flatTypes};
            walkPath(s, control);
        }
        s.flatReady = s.flattened;
    }
    int n = static_cast<int>(flat.flatPoints.size());
    if (size == 0)
        return n;
    if (size < n || !points || !types)
        return -1;
    std::copy(flat.flatPoints.begin(), flat.flatPoints.end(), points);
    std::copy(flat.flatTypes.begin(), flat.flatTypes.end(), types);
    return n;
}

} // namespace lw
