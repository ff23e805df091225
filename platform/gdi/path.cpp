// The path bracket and its read-back, straight from gdi32: the platform
// flattens, and GetPath hands over its points and type bytes unchanged.

#include "platform/gdi/state.hpp"

namespace lw {

// GDI flattens with a fixed depth of subdivision and keeps the points that
// rounding makes equal, so it gives up to about twice the points at small
// and middle sizes.
const double kFlattenedPointsFactor = 2.0;

bool BeginPath(DeviceContext& dc)
{
    dc.state().pathOpen = ::BeginPath(dc.state().dc) != 0;
    return dc.state().pathOpen;
}

bool EndPath(DeviceContext& dc)
{
    dc.state().pathOpen = false;
    return ::EndPath(dc.state().dc) != 0;
}

bool FlattenPath(DeviceContext& dc) { return ::FlattenPath(dc.state().dc) != 0; }

int GetPath(DeviceContext& dc, POINT* points, std::uint8_t* types, int size)
{
    const int n = ::GetPath(dc.state().dc, platformPoints(points), types, size);
    // Glyph contours are always closed, but some GDI implementations (Wine's
    // FlattenPath) drop the close mark of a contour whose last segment was a
    // curve. A figure that ends where the next one begins, or at the end of
    // the path, is marked closed there, as the platform closed it.
    if (size > 0 && n > 0 && types) {
        for (int i = 0; i < n; ++i) {
            const bool endsFigure = i + 1 == n || types[i + 1] == PT_MOVETO;
            if (endsFigure && types[i] != PT_MOVETO)
                types[i] |= PT_CLOSEFIGURE;
        }
    }
    return n;
}

int readCurvedPath(DeviceContext& dc, std::vector<CurvePoint>& points, std::vector<std::uint8_t>& types)
{
    const int n = GetPath(dc, nullptr, nullptr, 0);
    if (n < 0)
        return -1;
    std::vector<POINT> whole(std::size_t(n) + 1);
    types.assign(std::size_t(n), 0);
    if (n > 0 && GetPath(dc, whole.data(), types.data(), n) != n)
        return -1;
    points.resize(std::size_t(n));
    for (int i = 0; i < n; ++i)
        points[std::size_t(i)] = {double(whole[std::size_t(i)].x), double(whole[std::size_t(i)].y)};
    return n;
}

int readCurvedGlyphs(DeviceContext& dc, std::vector<CurvePoint>& points, std::vector<std::uint8_t>& types,
                     std::vector<CurvedRun>& runs)
{
    runs.clear();
    return readCurvedPath(dc, points, types);
}

int flattenPathInto(DeviceContext& dc, std::vector<POINT>& points, std::vector<std::uint8_t>& types,
                    std::vector<GlyphRun>* runs)
{
    if (runs)
        runs->clear();
    FlattenPath(dc);
    const int n = GetPath(dc, nullptr, nullptr, 0);
    if (n < 0)
        return -1;
    points.reserve(std::size_t(n) + 1);
    types.reserve(std::size_t(n) + 1);
    points.assign(std::size_t(n), POINT{});
    types.assign(std::size_t(n), 0);
    if (n > 0)
        GetPath(dc, points.data(), types.data(), n);
    return n;
}

// GDI's path does not tell its glyphs apart: the whole of it.
int flattenPathWithin(DeviceContext& dc, const DeviceArea&, std::vector<POINT>& points,
                      std::vector<std::uint8_t>& types)
{
    return flattenPathInto(dc, points, types);
}

} // namespace lw
