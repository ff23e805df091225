#include "cut/offset_trace.hpp"

#include "cut/segment_tests.hpp"
#include "cut/untangle.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <numbers>
#include <queue>
#include <utility>

namespace lw {
namespace {

struct Vec {
    double x, y;
};

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(Vec a, double k) { return {a.x * k, a.y * k}; }
double cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
Vec at(const POINT& p) { return {double(p.x), double(p.y)}; }

// Rounded to the grid, or false beyond what a coordinate may hold.
bool onGrid(Vec v, Contour& into)
{
    constexpr double kLimit = double(std::numeric_limits<std::int32_t>::max() / 2);
    if (!(std::fabs(v.x) < kLimit && std::fabs(v.y) < kLimit))
        return false;
    into.push_back(POINT{std::int32_t(std::lround(v.x)), std::int32_t(std::lround(v.y))});
    return true;
}

// One contour moved by `distance` away from the ink (`away` says which
// side of its edges that is), as a ring of lines: the moved edges, and the
// chords of a round join where the way turns from that side. Where it
// turns towards it, the lines are cut where they meet; a line cut away
// whole (a concave run tighter than the distance) goes, and its neighbours
// are cut where they meet instead, as where half-planes are intersected.
// Closed where nothing is left of it; declined where that does not settle
// it: only the general offset resolves those.
enum class Traced { Moved, Closed, Declined };
Traced traceContour(const Contour& c, double distance, double away, double step, Contour& out)
{
    struct Line {
        Vec start, along;            // from start to start + along
        double from = 0, to = 1;     // the part kept, in shares of `along`
        bool cutBefore = false;      // starts where the line before it ends
        std::size_t before = 0, after = 0;
        // The same line before it moved (offset 0): through `origin`, its
        // ends at shares `from0` and `to0` (a join's chord is then a point).
        Vec origin;
        double from0 = 0, to0 = 1;
    };
    const std::size_t n = c.size();
    const bool toRight = away * distance > 0;
    const auto move = [&](std::size_t k) {
        const Vec e = at(c[(k + 1) % n]) - at(c[k]);
        return Vec{e.y, -e.x} * (away * distance / std::hypot(e.x, e.y));
    };
    std::vector<Line> lines;
    lines.reserve(n + n / 2);
    const double radius = std::fabs(distance);
    bool joined = false;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t b = (k + n - 1) % n;
        const POINT q = c[b], p = c[k], r = c[(k + 1) % n];
        // The turn at p, exactly on the grid: right turns (with y up) are
        // towards the side the edges move to when that is right.
        const WideArea turn = WideArea(p.x - q.x) * (r.y - p.y) - WideArea(p.y - q.y) * (r.x - p.x);
        const Vec mb = move(k);
        const Vec here = at(p);
        bool cut = turn != 0 && (turn < 0) == toRight;
        if (!cut && turn != 0) {
            // A round join about p from the edge before to this one.
            const Vec ma = move(b);
            const double first = std::atan2(ma.y, ma.x);
            const double sweep = std::remainder(std::atan2(mb.y, mb.x) - first, 2 * std::numbers::pi);
            const int pieces = int(std::ceil(std::fabs(sweep) / step));
            joined = true;
            Vec last = here + ma;
            for (int j = 1; j <= pieces; ++j) {
                const double angle = first + sweep * j / pieces;
                const Vec next = j == pieces ? here + mb : here + Vec{std::cos(angle), std::sin(angle)} * radius;
                lines.push_back({last, next - last, 0, 1, false, 0, 0, here, 0, 0});
                last = next;
            }
        }
        lines.push_back({here + mb, at(r) - here, 0, 1, cut, 0, 0, here, 0, 1});
    }
    const std::size_t m = lines.size();
    for (std::size_t i = 0; i < m; ++i) {
        lines[i].before = (i + m - 1) % m;
        lines[i].after = (i + 1) % m;
    }
    const auto meet = [&](Line& a, Line& b) {
        const double turn = cross(a.along, b.along);
        if (turn == 0 || (turn < 0) != toRight)
            return false;
        a.to = cross(b.start - a.start, b.along) / turn;
        b.from = cross(b.start - a.start, a.along) / turn;
        a.to0 = cross(b.origin - a.origin, b.along) / turn;
        b.from0 = cross(b.origin - a.origin, a.along) / turn;
        b.cutBefore = true;
        return true;
    };
    // How far the offset had come, as a share of the distance, when a line
    // cut away whole shrank to nothing: its ends move in step with the offset.
    const auto vanished = [&](const Line& l) {
        const double atStart = l.to0 - l.from0, atEnd = l.to - l.from;
        const double share = atStart <= 0 ? 0.0 : atStart / (atStart - atEnd);
        return std::isfinite(share) ? share : 0.0; // keeps the queue's order strict
    };
    for (std::size_t i = 0; i < m; ++i)
        if (lines[i].cutBefore && !meet(lines[lines[i].before], lines[i]))
            return Traced::Declined;
    // Lines cut away whole go in the order they vanished as the offset
    // grew: one that went later may still meet the line beyond one that
    // went earlier.
    using Vanished = std::pair<double, std::size_t>;
    std::priority_queue<Vanished, std::vector<Vanished>, std::greater<>> gone;
    std::vector<char> alive(m, 1);
    std::size_t left = m;
    const auto push = [&](std::size_t e) {
        if (alive[e] && !(lines[e].from < lines[e].to))
            gone.emplace(vanished(lines[e]), e);
    };
    for (std::size_t i = 0; i < m; ++i)
        push(i);
    // Two lines that face each other on one line, or have passed each
    // other, once all between them is cut away: the walls of a slot no
    // wider than twice the distance, which closes. What of them lies
    // across the other goes, each whole but where one reaches further
    // back than the other; their neighbours then meet.
    bool emptied = false; // by closing a slot
    const auto closeSlot = [&](std::size_t ai, std::size_t bi) {
        for (;;) {
            const Line &a = lines[ai], &b = lines[bi];
            if (cross(a.along, b.along) != 0 || dot(a.along, b.along) >= 0)
                return false;
            const double side = cross(a.along, b.start - a.start);
            if (toRight ? side < 0 : side > 0)
                return false; // still apart: a slot that should not have closed here
            const Vec u = a.along * (1 / std::hypot(a.along.x, a.along.y));
            const double backA = dot(a.start + a.along * a.from, u), backB = dot(b.start + b.along * b.to, u);
            const double hair = 1e-9 * std::max({std::fabs(backA), std::fabs(backB), 1.0});
            const bool dropA = !(backA < backB - hair), dropB = !(backB < backA - hair);
            if (left < 3 + std::size_t(dropA) + std::size_t(dropB)) {
                emptied = true;
                return false;
            }
            const std::size_t pi = dropA ? a.before : ai, qi = dropB ? b.after : bi;
            for (const auto& [drop, e] : {std::pair{dropA, ai}, std::pair{dropB, bi}})
                if (drop) {
                    alive[e] = 0;
                    --left;
                }
            lines[pi].after = qi;
            lines[qi].before = pi;
            if (meet(lines[pi], lines[qi])) {
                push(pi);
                push(qi);
                return true;
            }
            ai = pi;
            bi = qi;
        }
    };
    // With no round join the contour bounds the intersection of the
    // half-planes alone: where too few lines are left, that is empty, and
    // the contour closes to nothing (a hole filled, a shape worn away).
    const Traced closed = joined ? Traced::Declined : Traced::Closed;
    while (!gone.empty()) {
        const auto [when, k] = gone.top();
        gone.pop();
        // Stale where the line has met another since.
        if (!alive[k] || lines[k].from < lines[k].to || when != vanished(lines[k]))
            continue;
        if (left <= 3)
            return closed;
        const std::size_t ai = lines[k].before, bi = lines[k].after;
        Line &a = lines[ai], &b = lines[bi];
        alive[k] = 0;
        --left;
        a.after = bi;
        b.before = ai;
        if (!meet(a, b)) {
            if (!closeSlot(ai, bi))
                return emptied ? closed : Traced::Declined;
            continue;
        }
        push(ai);
        push(bi);
    }
    // Cuts only shorten a line: one that reaches past its own ends met
    // another across a round join's gap, which is not an overlap.
    for (std::size_t i = 0; i < m; ++i)
        if (alive[i] && !(lines[i].from >= 0 && lines[i].to <= 1))
            return Traced::Declined;

    out.clear();
    out.reserve(left);
    for (std::size_t i = 0; i < m; ++i)
        if (alive[i] && !onGrid(lines[i].start + lines[i].along * lines[i].from, out))
            return Traced::Declined;
    return Traced::Moved;
}

// Whether any two edges of the contours, neighbours on one contour aside,
// share a point: a sweep along the longer side of their box, each edge
// checked against those whose span it overlaps. Only edges `keep` keeps
// take part.
template <class Keep>
bool anyMeet(const std::vector<Contour>& contours, Keep keep)
{
    struct Edge {
        POINT a, b;
        std::int64_t low, high; // along the sweep
        std::uint32_t contour, index;
    };
    std::int64_t left = std::numeric_limits<std::int64_t>::max(), right = std::numeric_limits<std::int64_t>::min();
    std::int64_t top = left, bottom = right;
    for (const Contour& c : contours)
        for (const POINT& p : c) {
            left = std::min<std::int64_t>(left, p.x);
            right = std::max<std::int64_t>(right, p.x);
            top = std::min<std::int64_t>(top, p.y);
            bottom = std::max<std::int64_t>(bottom, p.y);
        }
    if (left > right)
        return false; // no points, so no edges
    const bool alongX = right - left >= bottom - top;
    std::vector<Edge> edges;
    for (std::uint32_t k = 0; k < contours.size(); ++k) {
        const Contour& c = contours[k];
        for (std::uint32_t i = 0; i < c.size(); ++i) {
            const POINT a = c[i], b = c[(i + 1) % c.size()];
            if (!keep(k, a, b))
                continue;
            const std::int64_t u = alongX ? a.x : a.y, v = alongX ? b.x : b.y;
            edges.push_back({a, b, std::min(u, v), std::max(u, v), k, i});
        }
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& e, const Edge& f) { return e.low < f.low; });
    const auto neighbours = [&](const Edge& e, const Edge& f) {
        if (e.contour != f.contour)
            return false;
        const std::size_t n = contours[e.contour].size();
        return (e.index + 1) % n == f.index || (f.index + 1) % n == e.index;
    };
    std::vector<const Edge*> open;
    for (const Edge& e : edges) {
        std::erase_if(open, [&](const Edge* f) { return f->high < e.low; });
        for (const Edge* f : open)
            if (!neighbours(e, *f) && segmentsShare(e.a, e.b, f->a, f->b))
                return true;
        open.push_back(&e);
    }
    return false;
}

// Calls `pair(i, j)` for every two `boxes` whose x ranges overlap, found
// by a sweep along x; stops at the first call that returns true, and says
// whether one did.
template <class Pair>
bool anyOverlapInX(const std::vector<Extent>& boxes, Pair pair)
{
    std::vector<std::size_t> order(boxes.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return boxes[a].left < boxes[b].left; });
    std::vector<std::size_t> open;
    for (const std::size_t j : order) {
        std::erase_if(open, [&](std::size_t i) { return boxes[i].right < boxes[j].left; });
        for (const std::size_t i : open)
            if (pair(i, j))
                return true;
        open.push_back(j);
    }
    return false;
}

// Whether one of the contours `which` (indexes into `contours`) holds
// another's first point by `holds(i, point)`; only contours whose boxes
// hold the other's box are asked, found by a sweep along x.
template <class Holds>
bool anyHolds(const std::vector<Contour>& contours, const std::vector<std::size_t>& which, Holds holds)
{
    std::vector<Extent> boxes;
    for (const std::size_t i : which)
        boxes.push_back(extentOf(contours[i]));
    const auto inside = [&](std::size_t j, std::size_t i) {
        return boxes[j].left >= boxes[i].left && boxes[j].right <= boxes[i].right && boxes[j].top >= boxes[i].top &&
               boxes[j].bottom <= boxes[i].bottom && holds(which[i], contours[which[j]][0]);
    };
    return anyOverlapInX(boxes, [&](std::size_t i, std::size_t j) { return inside(i, j) || inside(j, i); });
}

// Whether a shape, its contours (from `outers[i]` to `outers[i + 1]` in
// `traced`) clear of the others', lies in another's ink all the same
// (grown into a notch around it): then they overlap.
bool anyInInk(const std::vector<Contour>& traced, const std::vector<std::size_t>& outers)
{
    std::vector<std::size_t> shapesAt(outers.begin(), outers.end() - 1);
    const auto inInk = [&](std::size_t o, POINT p) {
        if (!encloses(traced[o], p))
            return false;
        const std::size_t end = *std::upper_bound(outers.begin(), outers.end(), o);
        for (std::size_t h = o + 1; h < end; ++h)
            if (encloses(traced[h], p))
                return false;
        return true;
    };
    return anyHolds(traced, shapesAt, inInk);
}

} // namespace

bool apart(const std::vector<Shape>& traced)
{
    std::vector<Contour> contours;
    std::vector<std::size_t> outers;
    for (const Shape& s : traced) {
        outers.push_back(contours.size());
        contours.push_back(s.outer);
        contours.insert(contours.end(), s.holes.begin(), s.holes.end());
    }
    outers.push_back(contours.size());
    if (traced.size() < 2)
        return true;
    // Each shape's own edges were checked when it was traced: only an edge
    // within another shape's box can meet that shape's.
    std::vector<Extent> boxes;
    for (const Shape& s : traced)
        boxes.push_back(extentOf(s.outer));
    std::vector<std::size_t> shapeOf(contours.size());
    for (std::size_t i = 0; i < traced.size(); ++i)
        std::fill(shapeOf.begin() + std::ptrdiff_t(outers[i]), shapeOf.begin() + std::ptrdiff_t(outers[i + 1]), i);
    // The shapes whose boxes overlap each one's, by a sweep along x.
    std::vector<std::vector<std::size_t>> overlapping(boxes.size());
    anyOverlapInX(boxes, [&](std::size_t i, std::size_t j) {
        if (boxes[i].top <= boxes[j].bottom && boxes[j].top <= boxes[i].bottom) {
            overlapping[i].push_back(j);
            overlapping[j].push_back(i);
        }
        return false;
    });
    const auto nearOther = [&](std::size_t k, POINT a, POINT b) {
        for (const std::size_t i : overlapping[shapeOf[k]])
            if (std::max(a.x, b.x) >= boxes[i].left && std::min(a.x, b.x) <= boxes[i].right &&
                std::max(a.y, b.y) >= boxes[i].top && std::min(a.y, b.y) <= boxes[i].bottom)
                return true;
        return false;
    };
    return !anyMeet(contours, nearOther) && !anyInInk(contours, outers);
}

bool traceOffset(const std::vector<Shape>& shapes, const std::vector<std::size_t>& members, double distance,
                 int perCircle, std::vector<Shape>& out)
{
    const double step = 2 * std::numbers::pi / std::max(perCircle, 3);
    std::vector<Contour> traced;
    std::vector<std::size_t> outers; // where each shape's contours start in `traced`
    for (const std::size_t m : members) {
        const Shape& shape = shapes[m];
        outers.push_back(traced.size());
        for (std::size_t k = 0; k <= shape.holes.size(); ++k) {
            const Contour& c = k == 0 ? shape.outer : shape.holes[k - 1];
            const WideArea area = twiceArea(c);
            if (c.size() < 3 || area == 0)
                return false;
            // Away from the ink: out of an outer contour, into a hole.
            const double away = (area > 0) == (k == 0) ? 1 : -1;
            Contour& moved = traced.emplace_back();
            const Traced how = traceContour(c, distance, away, step, moved);
            if (how == Traced::Declined)
                return false;
            if (how == Traced::Closed) {
                traced.pop_back();
                // A hole filled leaves the rest; a shape worn away, nothing.
                if (k > 0)
                    continue;
                outers.pop_back();
                break;
            }
            removeRepeats(moved);
            // A contour that turned over or shrank to nothing is not the offset.
            if (!isUsable(moved) || (twiceArea(moved) > 0) != (area > 0))
                return false;
        }
    }
    outers.push_back(traced.size());
    const auto all = [](std::size_t, POINT, POINT) { return true; };
    if (anyMeet(traced, all)) {
        // One may cross itself where a slot closed at its neck over a
        // wider room, which stays as a hole of its own.
        std::vector<Contour> untangled;
        std::vector<std::size_t> starts;
        for (std::size_t i = 0; i + 1 < outers.size(); ++i) {
            starts.push_back(untangled.size());
            for (std::size_t t = outers[i]; t < outers[i + 1]; ++t) {
                std::vector<Contour> same, reversed;
                if (!untangle(traced[t], twiceArea(traced[t]) > 0, same, reversed))
                    return false;
                if (t == outers[i]) {
                    // The ink in one piece still, round the rooms it closed off.
                    if (same.size() != 1)
                        return false;
                    untangled.push_back(std::move(same.front()));
                    std::move(reversed.begin(), reversed.end(), std::back_inserter(untangled));
                } else {
                    // A hole may part in two, but no ink comes up inside it.
                    if (!reversed.empty())
                        return false;
                    std::move(same.begin(), same.end(), std::back_inserter(untangled));
                }
            }
        }
        starts.push_back(untangled.size());
        traced = std::move(untangled);
        outers = std::move(starts);
        if (anyMeet(traced, all))
            return false;
    }
    // Contours that do not meet may still lie one inside the other where
    // they should not: a hole outside its outer contour (the outer shrunk
    // into it, the shape gone), or a hole grown round another.
    for (std::size_t i = 0; i + 1 < outers.size(); ++i) {
        const Contour& outer = traced[outers[i]];
        std::vector<std::size_t> holes;
        for (std::size_t h = outers[i] + 1; h < outers[i + 1]; ++h) {
            if (encloses(traced[h], outer[0]) || !encloses(outer, traced[h][0]))
                return false;
            holes.push_back(h);
        }
        if (holes.size() > 1 && anyHolds(traced, holes, [&](std::size_t h, POINT p) { return encloses(traced[h], p); }))
            return false;
    }
    if (members.size() > 1 && anyInInk(traced, outers))
        return false;
    for (std::size_t i = 0; i + 1 < outers.size(); ++i) {
        Shape moved{std::move(traced[outers[i]]), {}};
        orient(moved.outer, Role::Outer);
        for (std::size_t h = outers[i] + 1; h < outers[i + 1]; ++h) {
            orient(traced[h], Role::Hole);
            moved.holes.push_back(std::move(traced[h]));
        }
        out.push_back(std::move(moved));
    }
    return true;
}

} // namespace lw
