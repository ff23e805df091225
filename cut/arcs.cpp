#include "cut/arcs.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace lw {
namespace {

struct Vec {
    double x, y;
};
Vec operator-(CurvePoint a, CurvePoint b) { return {a.x - b.x, a.y - b.y}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
double length(Vec v) { return std::sqrt(v.x * v.x + v.y * v.y); }
CurvePoint plus(CurvePoint p, Vec v, double k) { return {p.x + v.x * k, p.y + v.y * k}; }

constexpr int kMaxDepth = 16;

struct Arc {
    double cx, cy, radius, startAngle, sweep;
};

// The circle through an arc, or nothing for a straight one.
bool arcOf(CurvePoint a, CurvePoint b, double bulge, Arc& arc)
{
    const Vec chord = b - a;
    const double c = length(chord);
    if (std::fabs(bulge) < 1e-12 || c == 0)
        return false;
    const double sweep = 4 * std::atan(bulge);
    const Vec u{chord.x / c, chord.y / c};
    const Vec left{-u.y, u.x};
    const double h = c / (2 * std::tan(sweep / 2));
    const CurvePoint centre = plus({(a.x + b.x) / 2, (a.y + b.y) / 2}, left, h);
    arc = {centre.x, centre.y, std::fabs(c / (2 * std::sin(sweep / 2))), std::atan2(a.y - centre.y, a.x - centre.x),
           sweep};
    return true;
}

double distanceToSegment(CurvePoint p, CurvePoint a, CurvePoint b)
{
    const Vec ab = b - a, ap = p - a;
    const double l2 = dot(ab, ab);
    const double t = l2 > 0 ? std::clamp(dot(ap, ab) / l2, 0.0, 1.0) : 0.0;
    return length(p - plus(a, ab, t));
}

// The distance from p to the arc (or segment) from `from` to `to`.
double distanceTo(CurvePoint p, CurvePoint from, CurvePoint to, bool straight, const Arc& arc)
{
    if (straight)
        return distanceToSegment(p, from, to);
    const CurvePoint centre{arc.cx, arc.cy};
    const Vec toP = p - centre;
    // Within the arc's sector (never more than half a turn): on the turning
    // side of the radius to its start and the other side of the one to its end.
    const double turn = arc.sweep > 0 ? 1 : -1;
    if (turn * cross(from - centre, toP) >= 0 && turn * cross(toP, to - centre) >= 0)
        return std::fabs(length(toP) - arc.radius);
    return std::min(length(p - from), length(p - to));
}

struct Cubic {
    CurvePoint p0, p1, p2, p3;
    CurvePoint middle() const
    {
        return {(p0.x + 3 * (p1.x + p2.x) + p3.x) / 8, (p0.y + 3 * (p1.y + p2.y) + p3.y) / 8};
    }
    void split(Cubic& left, Cubic& right) const
    {
        const auto mid = [](CurvePoint a, CurvePoint b) { return CurvePoint{(a.x + b.x) / 2, (a.y + b.y) / 2}; };
        const CurvePoint a = mid(p0, p1), b = mid(p1, p2), c = mid(p2, p3);
        const CurvePoint d = mid(a, b), e = mid(b, c), m = mid(d, e);
        left = {p0, a, d, m};
        right = {m, e, c, p3};
    }
};

bool nearlyStraight(const Cubic& c, double tolerance)
{
    // The curve stays in the hull of its controls.
    return distanceToSegment(c.p1, c.p0, c.p3) <= tolerance && distanceToSegment(c.p2, c.p0, c.p3) <= tolerance;
}

// The bulge of the arc from a through m to b: the angle at m subtends the
// chord, so tan(sweep / 4) = (1 + cos) / sin of it; 0 where m lies on the
// chord, large where it lies beyond an end.
double bulgeThrough(CurvePoint a, CurvePoint m, CurvePoint b)
{
    const Vec u = a - m, v = b - m;
    const double turn = -cross(u, v);
    return turn == 0 ? 0 : (length(u) * length(v) + dot(u, v)) / turn;
}

// Samples of a curve piece when measuring a fit: the pieces are short and
// smooth, and the fit aims at half the step a reader is allowed.
constexpr int kSamples = 16;

// Whether every point of the cubic lies within the tolerance of the arc
// from its start to its end, and every point of the arc within it of the
// cubic. The curve is measured against the circle by squared distances:
// where the Bernstein coefficients of |B - centre|^2 (degree 6) all lie in
// the band, so does the whole curve; else at samples. How far it may stray
// past an end of the arc is bounded by the coefficients of its cross
// products with the end radii. A curve that keeps within that band and
// runs from one end to the other passes every angle of the arc, so the arc
// keeps within the tolerance of the curve as well: no nearest points needed.
bool arcHolds(const Cubic& c, double bulge, double tolerance)
{
    const Vec chord = c.p3 - c.p0;
    const double k = (1 - bulge * bulge) / (4 * bulge);
    const CurvePoint centre{(c.p0.x + c.p3.x) / 2 - chord.y * k, (c.p0.y + c.p3.y) / 2 + chord.x * k};
    const double radius = length(chord) * (1 + bulge * bulge) / (4 * std::fabs(bulge));
    const Vec q0 = c.p0 - centre, q1 = c.p1 - centre, q2 = c.p2 - centre, q3 = c.p3 - centre;

    // B(t) = q0 + c1 t + c2 t^2 + c3 t^3, about the centre. The quarters
    // first, where a curve that does not fit strays farthest (the middle is
    // on the arc already), against the widest band there can be: most
    // pieces that fail go at once.
    const Vec c1{3 * (q1.x - q0.x), 3 * (q1.y - q0.y)};
    const Vec c2{3 * (q2.x - 2 * q1.x + q0.x), 3 * (q2.y - 2 * q1.y + q0.y)};
    const Vec c3{q3.x - 3 * q2.x + 3 * q1.x - q0.x, q3.y - 3 * q2.y + 3 * q1.y - q0.y};
    const auto squaredAt = [&](double t) {
        const Vec p{q0.x + t * (c1.x + t * (c2.x + t * c3.x)), q0.y + t * (c1.y + t * (c2.y + t * c3.y))};
        return dot(p, p);
    };
    const double quarter = squaredAt(0.25), threeQuarters = squaredAt(0.75);
    const double widest = radius + tolerance, narrowest = std::max(radius - tolerance, 0.0);
    if (std::max(quarter, threeQuarters) > widest * widest || std::min(quarter, threeQuarters) < narrowest * narrowest)
        return false;

    const double turn = bulge > 0 ? 1 : -1;
    double past = std::min(0.0, turn * cross(q0, q3));
    for (const Vec q : {q1, q2}) {
        past = std::min(past, turn * cross(q0, q)); // before the start
        past = std::min(past, turn * cross(q, q3)); // beyond the end
    }
    // |x| sin(the angle past an end) <= -past / r, and the arc over that
    // angle is at most pi / 2 times as long.
    const double band = tolerance + past / radius * 1.6;
    if (band <= 0)
        return false;
    const double inner = std::max(radius - band, 0.0), outer = radius + band;
    const double low = inner * inner, high = outer * outer;
    const auto inBand = [&](double r2) { return r2 >= low && r2 <= high; };
    if (!inBand(quarter) || !inBand(threeQuarters))
        return false;

    const double f[7] = {dot(q0, q0), dot(q0, q1), (6 * dot(q0, q2) + 9 * dot(q1, q1)) / 15,
                         (2 * dot(q0, q3) + 18 * dot(q1, q2)) / 20, (6 * dot(q1, q3) + 9 * dot(q2, q2)) / 15,
                         dot(q2, q3), dot(q3, q3)};
    double least = f[0], most = f[0];
    for (const double v : f) {
        least = std::min(least, v);
        most = std::max(most, v);
    }
    if (least >= low && most <= high)
        return true;

    static constexpr std::uint8_t order[] = {2, 6, 10, 14, 1, 3, 5, 7, 9, 11, 13, 15};
    for (const std::uint8_t i : order)
        if (!inBand(squaredAt(i * (1.0 / kSamples))))
            return false;
    return true;
}

void fitCubic(const Cubic& c, double tolerance, int depth, std::vector<ArcVertex>& out)
{
    if (nearlyStraight(c, tolerance)) {
        if (c.p3.x != c.p0.x || c.p3.y != c.p0.y)
            out.push_back({c.p0, 0});
        return;
    }
    // The arc through the ends and the curve's middle (at most half a turn).
    const double bulge = bulgeThrough(c.p0, c.middle(), c.p3);
    if (std::fabs(bulge) > 1e-9 && std::fabs(bulge) <= 1 && arcHolds(c, bulge, tolerance)) {
        out.push_back({c.p0, bulge});
        return;
    }
    if (depth >= kMaxDepth) {
        // Only a degenerate curve gets here: its chord is all that is left.
        out.push_back({c.p0, 0});
        return;
    }
    Cubic left, right;
    c.split(left, right);
    fitCubic(left, tolerance, depth + 1, out);
    fitCubic(right, tolerance, depth + 1, out);
}

} // namespace

CurvePoint pointOnArc(CurvePoint from, CurvePoint to, double bulge, double s)
{
    Arc arc;
    if (!arcOf(from, to, bulge, arc))
        return {from.x + (to.x - from.x) * s, from.y + (to.y - from.y) * s};
    const double angle = arc.startAngle + arc.sweep * s;
    return {arc.cx + arc.radius * std::cos(angle), arc.cy + arc.radius * std::sin(angle)};
}

double distanceToArc(CurvePoint p, CurvePoint from, CurvePoint to, double bulge)
{
    Arc arc{};
    const bool straight = !arcOf(from, to, bulge, arc);
    return distanceTo(p, from, to, straight, arc);
}

namespace {

void fitInto(CurvePoint start, std::span<const CurveSegment> segments, double tolerance, std::vector<ArcVertex>& out)
{
    out.clear();
    out.reserve(2 * segments.size() + 1);
    CurvePoint from = start;
    for (const CurveSegment& s : segments) {
        if (s.cubic)
            fitCubic({from, s.c1, s.c2, s.end}, tolerance, 0, out);
        else if (length(s.end - from) > 0)
            out.push_back({from, 0});
        from = s.end;
    }
    // A figure that ends away from its start closes in a straight line.
    if (length(from - start) > 0)
        out.push_back({from, 0});
}

// A curve moved or turned in place after its fit starts elsewhere.
bool carriesArcs(const ExactCurve& curve, double tolerance)
{
    if (!curve.arcs || curve.arcs->empty() || curve.arcTolerance != tolerance)
        return false;
    const CurvePoint first = curve.arcs->front().at;
    return first.x + curve.arcShift.x == curve.start.x && first.y + curve.arcShift.y == curve.start.y;
}

} // namespace

std::vector<ArcVertex> fitKeptArcs(CurvePoint start, std::span<const CurveSegment> segments, double tolerance)
{
    std::vector<ArcVertex> out;
    fitInto(start, segments, tolerance, out);
    return out;
}

std::vector<ArcVertex> fitArcs(const CurvedFigure& figure, double tolerance)
{
    std::vector<ArcVertex> out;
    fitInto(figure.start, figure.segments, tolerance, out);
    return out;
}

PlacedArcs placedArcsOf(const ExactCurve& curve, double tolerance, std::vector<ArcVertex>& scratch)
{
    if (carriesArcs(curve, tolerance))
        return {*curve.arcs, curve.arcShift};
    if (curve.keptSegments && curve.keptStart) {
        fitInto(*curve.keptStart, *curve.keptSegments, tolerance, scratch);
        return {scratch, curve.arcShift};
    }
    // A curve's own segments come as a view: `moved` is filled only for shared ones.
    std::vector<CurveSegment> moved;
    fitInto(curve.start, segmentsOf(curve, moved), tolerance, scratch);
    return {scratch, {}};
}

std::span<const CurveSegment> segmentsOf(const ExactCurve& curve, std::vector<CurveSegment>& scratch)
{
    if (!curve.keptSegments)
        return curve.segments;
    const double dx = curve.arcShift.x, dy = curve.arcShift.y;
    if (dx == 0 && dy == 0)
        return *curve.keptSegments;
    scratch.resize(curve.keptSegments->size());
    CurveSegment* to = scratch.data();
    for (const CurveSegment& s : *curve.keptSegments) {
        *to++ = s.cubic ? CurveSegment{true, {s.c1.x + dx, s.c1.y + dy}, {s.c2.x + dx, s.c2.y + dy},
                                       {s.end.x + dx, s.end.y + dy}}
                        : CurveSegment{false, {}, {}, {s.end.x + dx, s.end.y + dy}};
    }
    return scratch;
}

void ownSegments(ExactCurve& curve)
{
    if (!curve.keptSegments)
        return;
    std::vector<CurveSegment> own;
    const std::span<const CurveSegment> view = segmentsOf(curve, own);
    if (view.data() != own.data())
        own.assign(view.begin(), view.end());
    curve.segments = std::move(own);
    curve.keptSegments.reset();
}

} // namespace lw
