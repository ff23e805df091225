#include "export/dxf_figures.hpp"

#include "outline/curve_bounds.hpp"

#include <algorithm>

namespace lw::dxf {

Extents extentsOf(const CapturedOutline& outline, const MmPlacement& mm, unsigned& closedFigures)
{
    Extents e;
    bool any = false;
    closedFigures = 0;
    // Millimetres move one way with x and one way with y, so the extreme
    // pixels give the extreme millimetres exactly: only two corners are
    // converted.
    POINT low{}, high{};
    for (const Figure& f : figures(outline)) {
        if (!f.closed)
            continue;
        ++closedFigures;
        if (f.points.empty())
            continue;
        if (!any)
            low = high = f.points.front();
        any = true;
        // Plain minima and maxima, which the compiler can run side by side.
        for (const POINT& p : f.points) {
            low.x = std::min(low.x, p.x);
            low.y = std::min(low.y, p.y);
            high.x = std::max(high.x, p.x);
            high.y = std::max(high.y, p.y);
        }
    }
    if (any) {
        const MmPoint a = toMillimetres(mm, low), b = toMillimetres(mm, high);
        e.min = {std::min(a.x, b.x), std::min(a.y, b.y)};
        e.max = {std::max(a.x, b.x), std::max(a.y, b.y)};
    }
    return e;
}

FigureArcs arcsOf(const DxfPlacement& placement, unsigned closedFigures)
{
    FigureArcs a;
    const ExactCurves* curves = placement.curves;
    if (!curves)
        return a;
    a.placed.resize(closedFigures);
    a.fitted.resize(closedFigures);
    for (std::size_t k = 0; k < closedFigures && k < curves->size(); ++k)
        if ((*curves)[k])
            a.placed[k] = placedArcsOf(*(*curves)[k], placement.curveTolerance, a.fitted[k]);
    return a;
}

bool asArcs(const FigureArcs& a, std::size_t k) { return k < a.placed.size() && a.placed[k].arcs.size() >= 2; }

Extents writtenExtentsOf(const CapturedOutline& outline, const MmPlacement& mm, const FigureArcs& arcs)
{
    CurveBox box;
    std::size_t k = 0;
    for (const Figure& f : figures(outline)) {
        if (!f.closed)
            continue;
        if (const std::size_t mine = k++; asArcs(arcs, mine)) {
            const PlacedArcs& a = arcs.placed[mine];
            const auto at = [&](std::size_t i) {
                const ArcVertex& v = a.arcs[i % a.arcs.size()];
                return CurvePoint{v.at.x + a.shift.x, v.at.y + a.shift.y};
            };
            box.add(at(0));
            for (std::size_t i = 0; i < a.arcs.size(); ++i)
                boundArc(box, at(i), at(i + 1), a.arcs[i].bulge);
            continue;
        }
        for (const POINT& p : f.points)
            box.add({double(p.x), double(p.y)});
    }
    Extents e;
    if (box.any) {
        // As the vertices are placed (Tags::vertices, Tags::arcVertices).
        const double mmPerUnit = kMmPerInch / mm.dpi;
        const double x0 = (box.left - mm.originX) * mmPerUnit, x1 = (box.right - mm.originX) * mmPerUnit;
        const double y0 = (mm.originY - box.top) * mmPerUnit, y1 = (mm.originY - box.bottom) * mmPerUnit;
        e.min = {std::min(x0, x1), std::min(y0, y1)};
        e.max = {std::max(x0, x1), std::max(y0, y1)};
    }
    return e;
}

} // namespace lw::dxf
