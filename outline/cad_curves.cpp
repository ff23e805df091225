#include "outline/cad_curves.hpp"

#include "outline/cad_contours.hpp"

#include <algorithm>
#include <cmath>
#include <span>

namespace lw {
namespace {

POINT rounded(CurvePoint p)
{
    return {std::int32_t(std::floor(p.x + 0.5)), std::int32_t(std::floor(p.y + 0.5))};
}

std::size_t lowest(std::span<const POINT> c)
{
    std::size_t at = 0;
    for (std::size_t i = 1; i < c.size(); ++i)
        if (c[i].x < c[at].x || (c[i].x == c[at].x && c[i].y < c[at].y))
            at = i;
    return at;
}

std::uint64_t keyOf(POINT lowestPoint, std::size_t size)
{
    return (std::uint64_t(std::uint32_t(lowestPoint.x)) << 32 | std::uint32_t(lowestPoint.y)) * 31 + size;
}

// 1: the same ring the same way round, -1: turned round, 0: another ring;
// i and j are the rings' lowest points.
int sameRing(std::span<const POINT> a, std::size_t i, std::span<const POINT> b, std::size_t j)
{
    const std::size_t n = a.size();
    if (n != b.size() || n == 0)
        return 0;
    // Indices stepped and wrapped by hand: a division per point would cost
    // more than the comparison.
    bool forward = true;
    for (std::size_t k = 0, x = i, y = j; k < n && forward; ++k) {
        forward = a[x] == b[y];
        x = x + 1 == n ? 0 : x + 1;
        y = y + 1 == n ? 0 : y + 1;
    }
    if (forward)
        return 1;
    bool backward = true;
    for (std::size_t k = 0, x = i, y = j; k < n && backward; ++k) {
        backward = a[x] == b[y];
        x = x + 1 == n ? 0 : x + 1;
        y = y == 0 ? n - 1 : y - 1;
    }
    return backward ? -1 : 0;
}

void scale(CurvedFigure& f, double factor)
{
    const auto times = [factor](CurvePoint& p) { p = {p.x * factor, p.y * factor}; };
    times(f.start);
    for (CurveSegment& s : f.segments) {
        times(s.c1);
        times(s.c2);
        times(s.end);
    }
}

// A captured figure as the cleaning leaves it, in a buffer all share.
struct Ring {
    std::uint64_t key;
    std::size_t first, size, lowest;
    const CurvedFigure* curve;
};

} // namespace

ExactCurves exactCurvesFor(const CapturedOutline& captured, const CurvedPath& path, const CapturedOutline& cut,
                           int gridScale)
{
    // The flattening keeps the figures' order and each one's first point
    // (rounded); a figure too small to flatten is the only one it drops.
    // Every cut contour is usable (a ring of some area), so a captured ring
    // that is not can never match one and needs no test of its own.
    const std::vector<CurvedFigure> curved = curvedFigures(path);
    Contour points;
    points.reserve(std::size_t(std::max(captured.pointCount, 0)));
    std::vector<Ring> rings;
    Contour c;
    std::size_t next = 0;
    for (const Figure& f : figures(captured)) {
        if (!f.closed || f.points.empty())
            continue;
        std::size_t j = next;
        while (j < curved.size() && !(rounded(curved[j].start) == f.points[0]))
            ++j;
        if (j == curved.size())
            continue;
        next = j + 1;
        c.resize(f.points.size());
        for (std::size_t i = 0; i < c.size(); ++i)
            c[i] = POINT{f.points[i].x * gridScale, f.points[i].y * gridScale};
        removeRepeats(c);
        if (c.size() < 3)
            continue;
        const std::size_t low = lowest(c);
        rings.push_back({keyOf(c[low], c.size()), points.size(), c.size(), low, &curved[j]});
        points.insert(points.end(), c.begin(), c.end());
    }
    std::sort(rings.begin(), rings.end(),
              [](const Ring& a, const Ring& b) { return a.key < b.key || (a.key == b.key && a.first < b.first); });

    ExactCurves out;
    for (const Figure& f : figures(cut)) {
        if (!f.closed)
            continue;
        std::optional<CurvedFigure>& curve = out.emplace_back();
        if (f.points.size() < 3)
            continue;
        const std::size_t low = lowest(f.points);
        const std::uint64_t key = keyOf(f.points[low], f.points.size());
        auto it = std::lower_bound(rings.begin(), rings.end(), key,
                                   [](const Ring& r, std::uint64_t k) { return r.key < k; });
        for (; it != rings.end() && it->key == key; ++it)
            if (const int way = sameRing(f.points, low, {points.data() + it->first, it->size}, it->lowest); way != 0) {
                curve = way > 0 ? *it->curve : reversed(*it->curve);
                scale(*curve, gridScale);
                break;
            }
    }
    return out;
}

} // namespace lw
