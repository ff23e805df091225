#include "outline/cad_curves.hpp"

#include "outline/cad_contours.hpp"

#include <cmath>
#include <unordered_map>

namespace lw {
namespace {

POINT rounded(CurvePoint p)
{
    return {std::int32_t(std::floor(p.x + 0.5)), std::int32_t(std::floor(p.y + 0.5))};
}

std::size_t lowest(const Contour& c)
{
    std::size_t at = 0;
    for (std::size_t i = 1; i < c.size(); ++i)
        if (c[i].x < c[at].x || (c[i].x == c[at].x && c[i].y < c[at].y))
            at = i;
    return at;
}

std::uint64_t keyOf(const Contour& c)
{
    const POINT p = c[lowest(c)];
    return (std::uint64_t(std::uint32_t(p.x)) << 32 | std::uint32_t(p.y)) * 31 + c.size();
}

// 1: the same ring the same way round, -1: turned round, 0: another ring.
int sameRing(const Contour& a, const Contour& b)
{
    const std::size_t n = a.size();
    if (n != b.size() || n == 0)
        return 0;
    const std::size_t i = lowest(a), j = lowest(b);
    bool forward = true, backward = true;
    for (std::size_t k = 0; k < n && (forward || backward); ++k) {
        forward = forward && a[(i + k) % n] == b[(j + k) % n];
        backward = backward && a[(i + k) % n] == b[(j + n - k) % n];
    }
    return forward ? 1 : backward ? -1 : 0;
}

} // namespace

ExactCurves exactCurvesFor(const CapturedOutline& captured, const CurvedPath& path, const CapturedOutline& cut,
                           int gridScale)
{
    // The flattening keeps the figures' order and each one's first point
    // (rounded); a figure too small to flatten is the only one it drops.
    const std::vector<CurvedFigure> curved = curvedFigures(path);
    std::vector<Contour> rings;
    std::vector<const CurvedFigure*> curveOf;
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
        Contour c;
        c.reserve(f.points.size());
        for (const POINT& p : f.points)
            c.push_back(POINT{p.x * gridScale, p.y * gridScale});
        removeRepeats(c);
        if (!isUsable(c))
            continue;
        rings.push_back(std::move(c));
        curveOf.push_back(&curved[j]);
    }
    std::unordered_multimap<std::uint64_t, std::size_t> byKey;
    for (std::size_t i = 0; i < rings.size(); ++i)
        byKey.emplace(keyOf(rings[i]), i);

    ExactCurves out;
    Contour c;
    for (const Figure& f : figures(cut)) {
        if (!f.closed)
            continue;
        std::optional<CurvedFigure>& curve = out.emplace_back();
        c.assign(f.points.begin(), f.points.end());
        if (!isUsable(c))
            continue;
        const auto [first, last] = byKey.equal_range(keyOf(c));
        for (auto it = first; it != last; ++it)
            if (const int way = sameRing(c, rings[it->second]); way != 0) {
                const CurvedFigure& exact = *curveOf[it->second];
                curve = scaled(way > 0 ? exact : reversed(exact), gridScale);
                break;
            }
    }
    return out;
}

} // namespace lw
