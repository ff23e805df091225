// The path bracket of the FreeType backend and its read-back: BeginPath,
// EndPath, FlattenPath (curves within kFlatness, points rounded to whole
// pixels, every figure closed) and GetPath.

#include "platform/freetype/state.hpp"

#include <algorithm>
#include <cmath>

namespace lw {
namespace {

using PathState = DeviceContext::State::PathState;

// A device coordinate: the nearest pixel, held inside the 32-bit range so an
// absurd size can never overflow the conversion.
std::int32_t devicePixel(double v)
{
    constexpr double kLimit = 1073741824.0; // 2^30
    v = v + 0.5;
    if (!(v > -kLimit))
        return static_cast<std::int32_t>(-kLimit);
    if (v > kLimit)
        return static_cast<std::int32_t>(kLimit);
    auto i = static_cast<std::int32_t>(v);
    return i - (v < i);
}

} // namespace

bool BeginPath(DeviceContext& dc)
{
    auto& s = dc.state();
    s.path.clear();
    s.flatPoints.clear();
    s.flatTypes.clear();
    s.flattened = false;
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

bool FlattenPath(DeviceContext& dc)
{
    auto& s = dc.state();
    if (s.pathState != PathState::Closed)
        return false;
    auto& points = s.flatPoints;
    auto& types = s.flatTypes;
    points.clear();
    types.clear();
    std::size_t start = 0;
    bool open = false;

    // Points are rounded as they are made; one that repeats the previous
    // point adds nothing and is dropped at once.
    auto add = [&](PointF p) {
        POINT q{devicePixel(p.x), devicePixel(p.y)};
        if (points.size() > start && points.back() == q)
            return;
        points.push_back(q);
    };
    auto finishFigure = [&] {
        // The figure closes itself; a last point on the first adds nothing.
        while (points.size() - start > 1 && points.back() == points[start])
            points.pop_back();
        std::size_t n = points.size() - start;
        if (n < 2) {
            points.resize(start);
        } else {
            types.push_back(PT_MOVETO);
            types.insert(types.end(), n - 2, PT_LINETO);
            types.push_back(PT_LINETO | PT_CLOSEFIGURE);
        }
        open = false;
    };

    const auto& path = s.path;
    PointF last{};
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto& p = path[i];
        std::uint8_t kind = p.type & ~PT_CLOSEFIGURE;
        std::uint8_t endType = p.type;
        if (kind == PT_MOVETO || !open) {
            if (open)
                finishFigure();
            start = points.size();
            open = true;
            add({p.x, p.y});
            last = {p.x, p.y};
        } else if (kind == PT_BEZIERTO && i + 2 < path.size()) {
            const auto& c2 = path[i + 1];
            const auto& e = path[i + 2];
            flattenCubic(last, {p.x, p.y}, {c2.x, c2.y}, {e.x, e.y}, kFlatness, add);
            last = {e.x, e.y};
            endType = e.type;
            i += 2;
        } else {
            add({p.x, p.y});
            last = {p.x, p.y};
        }
        if (endType & PT_CLOSEFIGURE)
            finishFigure();
    }
    // An open last figure (never made by text) still ends closed.
    if (open)
        finishFigure();
    s.flattened = true;
    return true;
}

int GetPath(DeviceContext& dc, POINT* points, std::uint8_t* types, int size)
{
    auto& s = dc.state();
    if (s.pathState != PathState::Closed)
        return -1;
    if (!s.flattened) {
        // Curves not yet flattened: their control points, rounded.
        s.flatPoints.clear();
        s.flatTypes.clear();
        for (const auto& p : s.path) {
            s.flatPoints.push_back({devicePixel(p.x), devicePixel(p.y)});
            s.flatTypes.push_back(p.type);
        }
    }
    int n = static_cast<int>(s.flatPoints.size());
    if (size == 0)
        return n;
    if (size < n || !points || !types)
        return -1;
    std::copy(s.flatPoints.begin(), s.flatPoints.end(), points);
    std::copy(s.flatTypes.begin(), s.flatTypes.end(), types);
    return n;
}

} // namespace lw
