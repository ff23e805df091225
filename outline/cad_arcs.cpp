#include "outline/cad_arcs.hpp"

#include <algorithm>
#include <cmath>

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

// Samples per curve piece when measuring a fit: the pieces are short and
// smooth, and the fit aims at half the tolerance a test allows.
constexpr int kCurveSamples = 16;
constexpr int kArcSamples = 8;
constexpr int kCoarseSamples = 8;
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

// The bulge of the arc that leaves `a` along `tangent` and reaches `b`; the
// chord's angle to the tangent is half the sweep.
double bulgeFrom(CurvePoint a, Vec tangent, CurvePoint b)
{
    const Vec chord = b - a;
    return std::tan(std::atan2(cross(tangent, chord), dot(tangent, chord)) / 2);
}

struct Cubic {
    CurvePoint p0, p1, p2, p3;
    CurvePoint at(double t) const
    {
        const double u = 1 - t, a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        return {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y};
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

// The directions at either end; a control on its end point gives way to
// the next one.
Vec startTangent(const Cubic& c)
{
    for (CurvePoint q : {c.p1, c.p2, c.p3})
        if (Vec v = q - c.p0; length(v) > 0)
            return v;
    return {0, 0};
}
Vec endTangent(const Cubic& c)
{
    for (CurvePoint q : {c.p2, c.p1, c.p0})
        if (Vec v = c.p3 - q; length(v) > 0)
            return v;
    return {0, 0};
}

bool nearlyStraight(const Cubic& c, double tolerance)
{
    // The curve stays in the hull of its controls.
    return distanceToSegment(c.p1, c.p0, c.p3) <= tolerance && distanceToSegment(c.p2, c.p0, c.p3) <= tolerance;
}

// The distance from p to the curve near parameter t: Newton's method on
// the squared distance. A local minimum can only overstate the distance,
// so a fit is never accepted on its account.
double distanceToCubic(CurvePoint p, const Cubic& c, double t, double tolerance)
{
    // B' and B'' from the control differences.
    const Vec d0 = c.p1 - c.p0, d1 = c.p2 - c.p1, d2 = c.p3 - c.p2;
    for (int i = 0; i < 4; ++i) {
        const double u = 1 - t;
        const Vec b1{3 * (u * u * d0.x + 2 * u * t * d1.x + t * t * d2.x),
                     3 * (u * u * d0.y + 2 * u * t * d1.y + t * t * d2.y)};
        const Vec b2{6 * (u * (d1.x - d0.x) + t * (d2.x - d1.x)), 6 * (u * (d1.y - d0.y) + t * (d2.y - d1.y))};
        const Vec off = c.at(t) - p;
        const double g = dot(off, b1), slope = dot(b1, b1) + dot(off, b2);
        if (!(slope > 0))
            break;
        const double next = std::clamp(t - g / slope, 0.0, 1.0);
        // Done once a step moves the point by a sliver of the tolerance.
        const bool settled = std::fabs(next - t) * length(b1) < 1e-3 * tolerance;
        t = next;
        if (settled)
            break;
    }
    return length(p - c.at(t));
}

// The arcs' circles, worked out once for the many distances a fit takes.
struct FittedArc {
    CurvePoint from, to;
    bool straight;
    Arc arc;
};

double distanceTo(CurvePoint p, const FittedArc& a)
{
    if (a.straight)
        return distanceToSegment(p, a.from, a.to);
    const Arc& arc = a.arc;
    const CurvePoint centre{arc.cx, arc.cy};
    const Vec toP = p - centre;
    // Within the arc's sector (never more than half a turn): on the turning
    // side of the radius to its start and the other side of the one to its end.
    const double turn = arc.sweep > 0 ? 1 : -1;
    if (turn * cross(a.from - centre, toP) >= 0 && turn * cross(toP, a.to - centre) >= 0)
        return std::fabs(length(toP) - arc.radius);
    return std::min(length(p - a.from), length(p - a.to));
}

// Whether both one-sided distances between the curve and the arcs stay
// within the tolerance, at samples of either.
bool fits(const Cubic& c, const ArcVertex* arcs, std::size_t count, double tolerance)
{
    FittedArc fitted[2];
    for (std::size_t k = 0; k < count; ++k) {
        FittedArc& f = fitted[k];
        f.from = arcs[k].at;
        f.to = k + 1 < count ? arcs[k + 1].at : c.p3;
        f.straight = !arcOf(f.from, f.to, arcs[k].bulge, f.arc);
    }
    for (int i = 1; i < kCurveSamples; ++i) {
        const CurvePoint p = c.at(double(i) / kCurveSamples);
        double best = INFINITY;
        for (std::size_t k = 0; k < count; ++k)
            best = std::min(best, distanceTo(p, fitted[k]));
        if (best > tolerance)
            return false;
    }
    CurvePoint coarse[kCoarseSamples + 1];
    for (int i = 0; i <= kCoarseSamples; ++i)
        coarse[i] = c.at(double(i) / kCoarseSamples);
    for (std::size_t k = 0; k < count; ++k)
        for (int i = 1; i < kArcSamples; ++i) {
            const FittedArc& f = fitted[k];
            const double s = double(i) / kArcSamples;
            const CurvePoint p = f.straight ? CurvePoint{f.from.x + (f.to.x - f.from.x) * s,
                                                         f.from.y + (f.to.y - f.from.y) * s}
                                            : CurvePoint{f.arc.cx + f.arc.radius * std::cos(f.arc.startAngle + f.arc.sweep * s),
                                                         f.arc.cy + f.arc.radius * std::sin(f.arc.startAngle + f.arc.sweep * s)};
            int nearest = 0;
            double best = INFINITY;
            for (int j = 0; j <= kCoarseSamples; ++j)
                if (const Vec v = p - coarse[j]; dot(v, v) < best) {
                    best = dot(v, v);
                    nearest = j;
                }
            if (best > tolerance * tolerance && distanceToCubic(p, c, double(nearest) / kCoarseSamples, tolerance) > tolerance)
                return false;
        }
    return true;
}

// The biarc of equal tangent legs: from p0 along t0 to a joint, and on to
// p3 arriving along t1. False where no such biarc exists.
bool biarc(const Cubic& c, ArcVertex out[2])
{
    Vec t0 = startTangent(c), t1 = endTangent(c);
    const double l0 = length(t0), l1 = length(t1);
    if (l0 == 0 || l1 == 0)
        return false;
    t0 = {t0.x / l0, t0.y / l0};
    t1 = {t1.x / l1, t1.y / l1};
    const Vec v = c.p3 - c.p0;
    const Vec t{t0.x + t1.x, t0.y + t1.y};
    const double a = 2 * (1 - dot(t0, t1)), vt = dot(v, t), vv = dot(v, v);
    double d;
    if (a < 1e-12)
        d = vt > 0 ? vv / (2 * vt) : -1;
    else
        d = (-vt + std::sqrt(vt * vt + a * vv)) / a;
    if (!(d > 0) || !std::isfinite(d))
        return false;
    const CurvePoint q0 = plus(c.p0, t0, d), q1 = plus(c.p3, t1, -d);
    const CurvePoint joint{(q0.x + q1.x) / 2, (q0.y + q1.y) / 2};
    const double b0 = bulgeFrom(c.p0, t0, joint);
    // An arc meets its chord at the same angle at either end.
    const Vec back{-t1.x, -t1.y};
    const double b1 = -bulgeFrom(c.p3, back, joint);
    if (!std::isfinite(b0) || !std::isfinite(b1) || std::fabs(b0) > 1 || std::fabs(b1) > 1)
        return false;
    out[0] = {c.p0, b0};
    out[1] = {joint, b1};
    return true;
}

void fitCubic(const Cubic& c, double tolerance, int depth, std::vector<ArcVertex>& out)
{
    if (nearlyStraight(c, tolerance)) {
        if (length(c.p3 - c.p0) > 0)
            out.push_back({c.p0, 0});
        return;
    }
    // One arc where it fits (most pieces of a round letter), else two.
    if (const Vec t0 = startTangent(c); length(t0) > 0) {
        const ArcVertex one{c.p0, bulgeFrom(c.p0, t0, c.p3)};
        if (std::fabs(one.bulge) <= 1 && fits(c, &one, 1, tolerance)) {
            out.push_back(one);
            return;
        }
    }
    ArcVertex arcs[2];
    if (depth >= kMaxDepth || (biarc(c, arcs) && fits(c, arcs, 2, tolerance))) {
        if (depth >= kMaxDepth && !biarc(c, arcs)) {
            out.push_back({c.p0, 0});
            return;
        }
        out.push_back(arcs[0]);
        out.push_back(arcs[1]);
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
    FittedArc f{from, to, false, {}};
    f.straight = !arcOf(from, to, bulge, f.arc);
    return distanceTo(p, f);
}

std::vector<ArcVertex> fitArcs(const CurvedFigure& figure, double tolerance)
{
    std::vector<ArcVertex> out;
    CurvePoint from = figure.start;
    for (const CurveSegment& s : figure.segments) {
        if (s.cubic)
            fitCubic({from, s.c1, s.c2, s.end}, tolerance, 0, out);
        else if (length(s.end - from) > 0)
            out.push_back({from, 0});
        from = s.end;
    }
    // A figure that ends away from its start closes in a straight line.
    if (length(from - figure.start) > 0)
        out.push_back({from, 0});
    return out;
}

} // namespace lw
