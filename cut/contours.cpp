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

// One edge's term of twiceArea for points within 2^30 of the origin, taken
// in 64 bits (modulo 2^64 beyond, where callers sum wide instead).
std::int64_t areaTerm(POINT a, POINT b)
{
    return std::int64_t(std::uint64_t(std::int64_t(a.x) * b.y) - std::uint64_t(std::int64_t(b.x) * a.y));
}

// Whether twiceArea of `count` points in the box, summed in 64 bits, must
// be exact: each term is at most 2 m^2 for m the largest coordinate's size.
bool sumFits(std::size_t count, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    const std::int64_t m = std::max({-std::int64_t(left), -std::int64_t(top), std::int64_t(right), std::int64_t(bottom)});
    return m < (std::int64_t(1) << 30) && WideArea(count) * 2 * m * m < (WideArea(1) << 62);
}

// A stack walk in place, without the closing: a point equal to the top is
// a repeat, one equal to the point below the top ends a spike. The count kept.
std::size_t removeRepeatsWalk(POINT* c, std::size_t count)
{
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
    return kept;
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
    // One pass for the box and the area: within 2^30 each term fits in 64
    // bits, and wide products are dearer, so the terms are taken in 64 bits
    // (modulo 2^64, exact within the bound) and the rare ring beyond it is
    // summed again.
    POINT a = points[count - 1];
    for (const POINT& b : std::span(points, count)) {
        e.left = std::min(e.left, b.x);
        e.right = std::max(e.right, b.x);
        e.top = std::min(e.top, b.y);
        e.bottom = std::max(e.bottom, b.y);
        e.area += areaTerm(a, b);
        a = b;
    }
    constexpr std::int32_t kSmall = 1 << 30;
    if (e.left > -kSmall && e.top > -kSmall && e.right < kSmall && e.bottom < kSmall)
        return e;
    e.area = 0;
    a = points[count - 1];
    for (const POINT& b : std::span(points, count)) {
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
    return closeRing(c, removeRepeatsWalk(c, count));
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

void ringsOf(std::span<const POINT> points, std::span<const std::uint8_t> types, RingSet& set)
{
    const PointRange all{0, std::min(points.size(), types.size())};
    ringsOf(points, types, std::span(&all, 1), set);
}

namespace {

// A figure copied to its slot in one pass up to its closing point, with
// its box, its area (summed modulo 2^64; `areaExact` where the bound says
// that is the sum) and whether no point repeats the one or the two before
// it, so that the stack walk would keep every point. `count`: the points
// read, the closing one included; `closed`: whether there was one. `to`
// may lie before `q` in one buffer: each point is read once, before any
// slot it could share is written.
struct Copied {
    Extent box;
    std::size_t count = 0;
    bool closed = false, plain = true, areaExact = false;
};

Copied copyFigure(const POINT* q, const std::uint8_t* types, std::size_t most, POINT* to)
{
    Copied f;
    Extent& e = f.box;
    const POINT first = q[0];
    e.left = e.right = first.x;
    e.top = e.bottom = first.y;
    std::uint64_t area = 0;
    bool repeats = false;
    to[0] = first;
    POINT before = first, last = first; // the points one and two back, and the latest
    std::size_t k = 0;
    if (!(types[0] & PT_CLOSEFIGURE)) {
        for (k = 1; k < most; ++k) {
            const POINT p = q[k];
            e.left = std::min(e.left, p.x);
            e.right = std::max(e.right, p.x);
            e.top = std::min(e.top, p.y);
            e.bottom = std::max(e.bottom, p.y);
            area += std::uint64_t(areaTerm(last, p));
            repeats |= p == last;
            repeats |= k > 1 && p == before;
            to[k] = p;
            before = last;
            last = p;
            if (types[k] & PT_CLOSEFIGURE)
                break;
        }
    }
    f.closed = k < most;
    f.count = f.closed ? k + 1 : most;
    area += std::uint64_t(areaTerm(last, first));
    f.plain = !repeats;
    f.areaExact = sumFits(f.count, e.left, e.top, e.right, e.bottom);
    e.area = std::int64_t(area);
    return f;
}

// ringsOf's walk over one capture: the points read from `in`, the rings
// written from `out`. `out` may lie `closes` slots (the closed figures'
// count) before `in` in one buffer: a figure is then always copied to slots
// below those still to be read, since each ring before it took at most one
// slot more than its points.
void walkRings(const POINT* in, std::span<const std::uint8_t> types, std::span<const PointRange> ranges,
               std::size_t closes, POINT* out, RingSet& set)
{
    const std::size_t n = types.size();
    set.rings.reserve(closes);
    set.extents.reserve(closes);
    set.firsts.reserve(closes);
    std::int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    std::size_t start = 0; // the figure's first slot
    for (const PointRange& r : ranges) {
        const std::size_t end = std::min(r.end, n);
        for (std::size_t i = r.begin; i < end;) {
            const Copied figure = copyFigure(in + i, types.data() + i, end - i, out + start);
            left = std::min(left, figure.box.left);
            right = std::max(right, figure.box.right);
            top = std::min(top, figure.box.top);
            bottom = std::max(bottom, figure.box.bottom);
            // A range ends with its last figure, closed or not: the next
            // starts afresh, this one's points counted in the box.
            if (!figure.closed)
                break;
            const std::size_t count = figure.count;
            // The stack walk only where some point repeats the one or the
            // two before it: most figures stay as they were copied.
            const std::size_t walked = figure.plain ? count : removeRepeatsWalk(out + start, count);
            const Kept kept = closeRing(out + start, walked);
            const POINT* ring = out + start + kept.first;
            // The figure's box and area serve the ring where nothing but
            // repeats of its first point was dropped; else it is read again.
            const bool whole = figure.plain && kept.first == 0 && kept.count > 0 &&
                               std::all_of(ring + kept.count, ring + count, [&](POINT q) { return q == ring[0]; });
            const Extent extent = whole && figure.areaExact ? figure.box : extentOf(ring, kept.count);
            if (kept.count >= 3 && (extent.area != 0 || !isFlat(ring, kept.count))) {
                out[start + kept.first + kept.count] = ring[0];
                set.rings.push_back({ring, std::uint32_t(kept.count)});
                set.extents.push_back(extent);
                set.firsts.push_back(std::uint32_t(i));
                start += kept.first + kept.count + 1;
            }
            i += count;
        }
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
