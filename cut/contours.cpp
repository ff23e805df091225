#include "cut/contours.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace lw {
namespace {

// The closing end of a ring cleaned by the stack walk: a repeat of the first
// point, or a spike through it, goes too.
Kept closeRing(const POINT* c, std::size_t count)
{
    std::size_t first = 0, end = count;
    while (end - first > 2) {
        if (c[first] == c[end - 1] || c[end - 2] == c[first])
            --end;
        else if (c[first + 1] == c[end - 1])
            ++first;
        else
            break;
    }
    return {first, end - first};
}

} // namespace

WideArea twiceArea(const Contour& c)
{
    WideArea sum = 0;
    if (c.empty())
        return sum;
    POINT a = c.back();
    for (const POINT& b : c) {
        sum += WideArea(a.x) * b.y - WideArea(b.x) * a.y;
        a = b;
    }
    return sum;
}

Extent extentOf(const Contour& c) { return extentOf(c.data(), c.size()); }

Extent extentOf(const POINT* points, std::size_t count)
{
    Extent e;
    if (count == 0)
        return e;
    e = {0, points[0].x, points[0].y, points[0].x, points[0].y};
    for (const POINT& b : std::span(points, count)) {
        e.left = std::min(e.left, b.x);
        e.right = std::max(e.right, b.x);
        e.top = std::min(e.top, b.y);
        e.bottom = std::max(e.bottom, b.y);
    }
    // Within 2^30 each term fits in 64 bits, and wide products are dearer.
    constexpr std::int32_t kSmall = 1 << 30;
    const bool small = e.left > -kSmall && e.top > -kSmall && e.right < kSmall && e.bottom < kSmall;
    POINT a = points[count - 1];
    for (const POINT& b : std::span(points, count)) {
        if (small)
            e.area += std::int64_t(a.x) * b.y - std::int64_t(b.x) * a.y;
        else
            e.area += WideArea(a.x) * b.y - WideArea(b.x) * a.y;
        a = b;
    }
    return e;
}

void removeRepeats(Contour& c)
{
    const Kept kept = removeRepeats(c.data(), c.size());
    c.resize(kept.first + kept.count);
    c.erase(c.begin(), c.begin() + std::ptrdiff_t(kept.first));
}

Kept removeRepeats(POINT* c, std::size_t count)
{
    // A stack walk: a point equal to the top is a repeat, one equal to the
    // point below the top ends a spike.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const POINT p = c[i];
        if (kept > 0 && c[kept - 1] == p)
            continue;
        if (kept > 1 && c[kept - 2] == p) {
            --kept;
            continue;
        }
        c[kept++] = p;
    }
    return closeRing(c, kept);
}

bool isUsable(const Contour& c) { return c.size() >= 3 && twiceArea(c) != 0; }

bool isFlat(const POINT* points, std::size_t count)
{
    if (count < 3)
        return true;
    // Cleaned rings repeat no point, so the first two make a line.
    const POINT a = points[0], b = points[1];
    for (std::size_t k = 2; k < count; ++k)
        if ((WideArea(b.x) - a.x) * (WideArea(points[k].y) - a.y) != (WideArea(points[k].x) - a.x) * (WideArea(b.y) - a.y))
            return false;
    return true;
}

void orient(Contour& c, Role role) { orient(c, role, twiceArea(c)); }

void orient(Contour& c, Role role, WideArea area)
{
    if ((role == Role::Outer) != (area < 0))
        std::reverse(c.begin(), c.end());
}

namespace {

WideArea side(POINT a, POINT b, POINT p)
{
    return (WideArea(b.x) - a.x) * (WideArea(p.y) - a.y) - (WideArea(p.x) - a.x) * (WideArea(b.y) - a.y);
}

} // namespace

bool encloses(const Contour& c, POINT p) { return encloses(c.data(), c.size(), p); }

bool encloses(const POINT* points, std::size_t count, POINT p)
{
    int winding = 0;
    POINT a = count == 0 ? p : points[count - 1];
    for (const POINT& b : std::span(points, count)) {
        if (a.y <= p.y) {
            if (b.y > p.y && side(a, b, p) > 0)
                ++winding;
        } else if (b.y <= p.y && side(a, b, p) < 0) {
            --winding;
        }
        a = b;
    }
    return winding != 0;
}

namespace {

// ringsOf's walk over one capture: the points read from `in`, the rings
// written from `out`. `out` may lie `closes` slots (the closed figures'
// count) before `in` in one buffer: a slot is then always read before it is
// written, since each point read writes at most one and each ring one more.
void walkRings(const POINT* in, std::span<const std::uint8_t> types, std::span<const PointRange> ranges,
               std::size_t closes, POINT* out, RingSet& set)
{
    const std::size_t n = types.size();
    set.rings.reserve(closes);
    set.extents.reserve(closes);
    set.firsts.reserve(closes);
    std::int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    std::size_t start = 0, at = 0; // the figure's first slot, the next free one
    for (const PointRange& r : ranges) {
        std::size_t begun = r.begin; // the figure's first point in `points`
        for (std::size_t i = r.begin; i < r.end && i < n; ++i) {
            const POINT p = in[i];
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
            // removeRepeats' stack walk, as the points arrive.
            if (at > start && out[at - 1] == p) {
            } else if (at > start + 1 && out[at - 2] == p) {
                --at;
            } else {
                out[at++] = p;
            }
            if (!(types[i] & PT_CLOSEFIGURE))
                continue;
            const Kept kept = closeRing(out + start, at - start);
            const POINT* ring = out + start + kept.first;
            const Extent extent = extentOf(ring, kept.count);
            if (kept.count >= 3 && (extent.area != 0 || !isFlat(ring, kept.count))) {
                out[start + kept.first + kept.count] = ring[0];
                set.rings.push_back({ring, std::uint32_t(kept.count)});
                set.extents.push_back(extent);
                set.firsts.push_back(std::uint32_t(begun));
                at = start + kept.first + kept.count + 1;
            } else {
                at = start;
            }
            start = at;
            begun = i + 1;
        }
        // A range ends with its last figure, closed or not: the next starts afresh.
        at = start;
    }
    if (left > right)
        left = top = right = bottom = 0;
    set.left = left;
    set.top = top;
    set.right = right;
    set.bottom = bottom;
    // The origin counts for the reach.
    set.reach = std::max({-std::int64_t(std::min(left, 0)), std::int64_t(std::max(right, 0)),
                          -std::int64_t(std::min(top, 0)), std::int64_t(std::max(bottom, 0))});
}

} // namespace

void ringsOf(std::span<const POINT> points, std::span<const std::uint8_t> types, RingSet& set)
{
    const PointRange all{0, std::min(points.size(), types.size())};
    ringsOf(points, types, std::span(&all, 1), set);
}

void ringsOf(std::span<const POINT> points, std::span<const std::uint8_t> types, std::span<const PointRange> ranges,
             RingSet& set)
{
    set.rings.clear();
    set.extents.clear();
    set.firsts.clear();
    const std::size_t n = std::min(points.size(), types.size());
    // Room for every point and a closing copy of each figure's first.
    std::size_t room = 0, closes = 0;
    for (const PointRange& r : ranges) {
        room += std::min(r.end, n) - std::min(r.begin, n);
        for (std::size_t i = r.begin; i < r.end && i < n; ++i)
            closes += types[i] & PT_CLOSEFIGURE;
    }
    set.points.resize(room + closes);
    walkRings(points.data(), types.first(n), ranges, closes, set.points.data(), set);
}

void ringsInPlace(std::vector<POINT>& points, std::span<const std::uint8_t> types, RingSet& set)
{
    const std::size_t n = std::min(points.size(), types.size());
    std::size_t closes = 0;
    for (std::size_t i = 0; i < n; ++i)
        closes += types[i] & PT_CLOSEFIGURE;
    if (points.capacity() < n + closes) {
        ringsOf(std::span(points).first(n), types.first(n), set);
        return;
    }
    set.rings.clear();
    set.extents.clear();
    set.firsts.clear();
    // The points move up by one slot a figure, within the room the buffer
    // already has, and the rings are cleaned down into the slots they left.
    points.resize(n + closes);
    std::memmove(points.data() + closes, points.data(), n * sizeof(POINT));
    set.points = std::move(points);
    points = {};
    const PointRange all{0, n};
    walkRings(set.points.data() + closes, types.first(n), std::span(&all, 1), closes, set.points.data(), set);
}

} // namespace lw
