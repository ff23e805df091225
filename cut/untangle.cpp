#include "cut/untangle.hpp"

#include "cut/segment_tests.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace lw {
namespace {

// More crossings than this are not a neck or two closing: sorting their
// loops by who holds whom would cost more than the general offset.
constexpr std::size_t kMostCrossings = 8;

struct Crossing {
    std::size_t first, second; // the edges, first < second
    double atFirst, atSecond;  // where along each, in shares of it
    POINT at;
};

// Every crossing of two edges that are not neighbours, by a sweep along x;
// false where two edges touch or overlap instead, or the crossings are
// too many.
bool crossingsOf(const Contour& c, std::vector<Crossing>& found)
{
    const std::size_t n = c.size();
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i)
        order[i] = i;
    const auto low = [&](std::size_t i) { return std::min(c[i].x, c[(i + 1) % n].x); };
    const auto high = [&](std::size_t i) { return std::max(c[i].x, c[(i + 1) % n].x); };
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return low(a) < low(b); });
    std::vector<std::size_t> open;
    for (const std::size_t e : order) {
        std::erase_if(open, [&](std::size_t f) { return high(f) < low(e); });
        const POINT a = c[e], b = c[(e + 1) % n];
        for (const std::size_t f : open) {
            if ((e + 1) % n == f || (f + 1) % n == e)
                continue;
            const POINT p = c[f], q = c[(f + 1) % n];
            const int s1 = sideOf(a, b, p), s2 = sideOf(a, b, q), s3 = sideOf(p, q, a), s4 = sideOf(p, q, b);
            if (s1 * s2 < 0 && s3 * s4 < 0) {
                if (found.size() == kMostCrossings)
                    return false;
                const double ex = double(b.x) - a.x, ey = double(b.y) - a.y;
                const double fx = double(q.x) - p.x, fy = double(q.y) - p.y;
                const double turn = ex * fy - ey * fx;
                const double gx = double(p.x) - a.x, gy = double(p.y) - a.y;
                const double te = (gx * fy - gy * fx) / turn, tf = (gx * ey - gy * ex) / turn;
                const POINT at{std::int32_t(std::lround(a.x + ex * te)), std::int32_t(std::lround(a.y + ey * te))};
                found.push_back(e < f ? Crossing{e, f, te, tf, at} : Crossing{f, e, tf, te, at});
                continue;
            }
            if ((s1 == 0 && within(a, b, p)) || (s2 == 0 && within(a, b, q)) || (s3 == 0 && within(p, q, a)) ||
                (s4 == 0 && within(p, q, b)))
                return false;
        }
        open.push_back(e);
    }
    return true;
}

} // namespace

bool untangle(const Contour& contour, bool positive, std::vector<Contour>& same, std::vector<Contour>& reversed)
{
    std::vector<Crossing> crossings;
    if (!crossingsOf(contour, crossings))
        return false;
    if (crossings.empty()) {
        same.push_back(contour);
        return true;
    }
    // The contour's points with each crossing put in twice, once on each
    // edge, in order along the edge; then at each crossing the ways out
    // are swapped, which cuts the contour into loops that do not cross.
    struct Stop {
        std::size_t edge;
        double along;
        std::size_t crossing; // or none: a point of the contour
    };
    constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    std::vector<Stop> stops;
    stops.reserve(contour.size() + 2 * crossings.size());
    for (std::size_t i = 0; i < contour.size(); ++i)
        stops.push_back({i, -1, kNone});
    for (std::size_t k = 0; k < crossings.size(); ++k) {
        stops.push_back({crossings[k].first, crossings[k].atFirst, k});
        stops.push_back({crossings[k].second, crossings[k].atSecond, k});
    }
    std::sort(stops.begin(), stops.end(),
              [](const Stop& a, const Stop& b) { return a.edge != b.edge ? a.edge < b.edge : a.along < b.along; });
    const std::size_t m = stops.size();
    std::vector<std::size_t> next(m), seen(crossings.size(), kNone);
    for (std::size_t i = 0; i < m; ++i) {
        next[i] = (i + 1) % m;
        if (const std::size_t k = stops[i].crossing; k != kNone) {
            if (seen[k] == kNone)
                seen[k] = i;
            else
                std::swap(next[seen[k]], next[i]);
        }
    }
    const auto pointOf = [&](const Stop& s) { return s.crossing == kNone ? contour[s.edge] : crossings[s.crossing].at; };

    struct Loop {
        Contour points;
        POINT inside; // a point of the contour's own, not a crossing
        int runs;     // +1 the contour's way, -1 the other
    };
    std::vector<Loop> loops;
    std::vector<char> done(m, 0);
    for (std::size_t start = 0; start < m; ++start) {
        if (done[start])
            continue;
        Loop loop{{}, {}, 0};
        bool own = false;
        for (std::size_t i = start; !done[i]; i = next[i]) {
            done[i] = 1;
            loop.points.push_back(pointOf(stops[i]));
            if (!own && stops[i].crossing == kNone) {
                loop.inside = loop.points.back();
                own = true;
            }
        }
        removeRepeats(loop.points);
        if (!isUsable(loop.points))
            continue; // a sliver that closed to nothing
        if (!own)
            return false;
        loop.runs = (twiceArea(loop.points) > 0) == positive ? 1 : -1;
        loops.push_back(std::move(loop));
    }
    // Loops that do not cross lie one inside another or apart: how often
    // the contour winds round a loop's outside is the sum over the loops
    // that hold it. A loop bounds the ink where it goes from 0 to 1.
    std::vector<Contour> keptSame, keptReversed;
    for (const Loop& loop : loops) {
        int outside = 0;
        for (const Loop& other : loops)
            if (&other != &loop && encloses(other.points, loop.inside))
                outside += other.runs;
        if (loop.runs == 1 && outside == 0)
            keptSame.push_back(loop.points);
        else if (loop.runs == -1 && outside == 1)
            keptReversed.push_back(loop.points);
    }
    same.insert(same.end(), keptSame.begin(), keptSame.end());
    reversed.insert(reversed.end(), keptReversed.begin(), keptReversed.end());
    return true;
}

} // namespace lw
