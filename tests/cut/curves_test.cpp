// Exact curves: splitting the unflattened path into figures, arcs fitted
// to cubics, and which cut-ready contours keep their curve.
#include "cut/arcs.hpp"
#include "cut/cad_outline.hpp"
#include "cut/curves.hpp"
#include "outline/curved_path.hpp"
#include "platform/canvas.hpp"
#include "curve_arcs.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace {

using lw::ArcVertex;
using lw::CurvedFigure;
using lw::CurvePoint;
using lw::CurveSegment;

double segmentDistance(CurvePoint p, CurvePoint a, CurvePoint b)
{
    const double dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
    const double t = l2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// The figure's own outline, densely sampled and closed.
std::vector<CurvePoint> samplesOf(const CurvedFigure& f, int perSegment = 4000)
{
    std::vector<CurvePoint> out{f.start};
    CurvePoint from = f.start;
    for (const CurveSegment& s : f.segments) {
        for (int i = 1; i <= perSegment; ++i)
            out.push_back(lw::pointOn(s, from, double(i) / perSegment));
        from = s.end;
    }
    const CurveSegment closing{false, {}, {}, f.start};
    for (int i = 1; i <= perSegment; ++i)
        out.push_back(lw::pointOn(closing, from, double(i) / perSegment));
    return out;
}

std::vector<CurvePoint> samplesOf(const std::vector<ArcVertex>& arcs, int perArc = 100)
{
    std::vector<CurvePoint> out;
    for (std::size_t k = 0; k < arcs.size(); ++k) {
        const CurvePoint to = arcs[(k + 1) % arcs.size()].at;
        for (int i = 0; i < perArc; ++i)
            out.push_back(lw::pointOnArc(arcs[k].at, to, arcs[k].bulge, double(i) / perArc));
    }
    out.push_back(arcs.front().at);
    return out;
}

// The largest distance from a point to the polyline; the polyline is dense,
// so its nearest vertex marks the segments to measure.
double farthest(const std::vector<CurvePoint>& points, const std::vector<CurvePoint>& polyline)
{
    double worst = 0;
    for (const CurvePoint& p : points) {
        std::size_t nearest = 0;
        double best = INFINITY;
        for (std::size_t i = 0; i < polyline.size(); ++i)
            if (const double d = std::hypot(p.x - polyline[i].x, p.y - polyline[i].y); d < best) {
                best = d;
                nearest = i;
            }
        if (nearest > 0)
            best = std::min(best, segmentDistance(p, polyline[nearest - 1], polyline[nearest]));
        if (nearest + 1 < polyline.size())
            best = std::min(best, segmentDistance(p, polyline[nearest], polyline[nearest + 1]));
        worst = std::max(worst, best);
    }
    return worst;
}

double signedArea(const std::vector<CurvePoint>& ring)
{
    double sum = 0;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i)
        sum += ring[i].x * ring[i + 1].y - ring[i + 1].x * ring[i].y;
    return sum / 2;
}

CurvedFigure cubicFigure(CurvePoint p0, CurvePoint c1, CurvePoint c2, CurvePoint p3)
{
    return {p0, {{true, c1, c2, p3}}};
}

TEST(FitArcs, EveryPointOfArcsAndCurveWithinTheTolerance)
{
    const double k = 0.5522847498; // a quarter circle's cubic
    const struct {
        std::string name;
        CurvedFigure figure;
    } cases[] = {
        {"quarter circle", cubicFigure({1000, 0}, {1000, 1000 * k}, {1000 * k, 1000}, {0, 1000})},
        {"s-curve", cubicFigure({0, 0}, {400, 300}, {-100, 600}, {300, 900})},
        {"loop", cubicFigure({0, 0}, {600, 400}, {-200, 400}, {400, 0})},
        {"cusp", cubicFigure({0, 0}, {500, 300}, {-100, 300}, {400, 0})},
        {"controls on the ends", cubicFigure({0, 0}, {0, 0}, {300, 200}, {300, 200})},
        {"tiny", cubicFigure({0, 0}, {0.3, 0.1}, {0.5, 0.4}, {0.6, 0.2})},
        // A font's quadratic raised to a cubic, turning the other way.
        {"quadratic", cubicFigure({0, 0}, {200, -400.0 * 2 / 3}, {600 - 400.0 / 3, -400.0 * 2 / 3}, {600, 0})},
        // Round, then hooked back past where an arc to the end would stop.
        {"hook at the end", cubicFigure({0, 0}, {0, 800}, {900, 1000}, {500, 700})},
        // A long curve at the finest grid: the fit's own samples lie far apart.
        {"long", cubicFigure({0, 0}, {2e4, 0}, {2e4, 2e4}, {4e4, 1.5e4})},
        {"full circle of two",
         {{0, -500},
          {{true, {500 * k, -500}, {500, -500 * k}, {500, 0}},
           {true, {500, 500 * k}, {500 * k, 500}, {0, 500}},
           {true, {-500 * k, 500}, {-500, 500 * k}, {-500, 0}},
           {true, {-500, -500 * k}, {-500 * k, -500}, {0, -500}}}}},
    };
    for (const double tolerance : {0.5, 4.0}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name + " at " + std::to_string(tolerance));
            const std::vector<ArcVertex> arcs = lw::fitArcs(c.figure, tolerance);
            ASSERT_FALSE(arcs.empty());
            EXPECT_EQ(arcs.front().at.x, c.figure.start.x);
            EXPECT_EQ(arcs.front().at.y, c.figure.start.y);
            for (const ArcVertex& v : arcs)
                EXPECT_LE(std::fabs(v.bulge), 1.0) << "an arc of more than half a turn";
            const std::vector<CurvePoint> curve = samplesOf(c.figure), fitted = samplesOf(arcs);
            // A whisker over the tolerance: the fit measures at samples.
            EXPECT_LE(farthest(fitted, curve), tolerance * 1.05);
            double worst = 0;
            for (const CurvePoint& p : curve) {
                double best = INFINITY;
                for (std::size_t a = 0; a < arcs.size(); ++a)
                    best = std::min(best, lw::distanceToArc(p, arcs[a].at, arcs[(a + 1) % arcs.size()].at,
                                                            arcs[a].bulge));
                worst = std::max(worst, best);
            }
            EXPECT_LE(worst, tolerance * 1.05);
        }
    }
}

TEST(FitArcs, FewerVerticesThanAFlatteningWouldGive)
{
    const double k = 0.5522847498;
    const CurvedFigure quarter = cubicFigure({1000, 0}, {1000, 1000 * k}, {1000 * k, 1000}, {0, 1000});
    // One arc for the curve, one straight edge back.
    const std::vector<ArcVertex> arcs = lw::fitArcs(quarter, 0.5);
    EXPECT_EQ(arcs.size(), 2u);
    EXPECT_NEAR(arcs[0].bulge, std::tan(M_PI / 8), 1e-3);
    EXPECT_EQ(arcs[1].bulge, 0);
}

TEST(FitArcs, ACircularCurveIsOneArcEitherWayRound)
{
    // Cubics that follow a circle closely: one arc each, of the circle's
    // sweep and turn, on any radius.
    const struct {
        double radius, sweep; // radians, negative: clockwise
    } cases[] = {{1000, M_PI / 2}, {1000, -M_PI / 2}, {40, M_PI / 3}, {2e4, M_PI / 12}, {3000, -M_PI / 8},
                 {20, 0.9 * M_PI}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.radius) + " " + std::to_string(c.sweep));
        const double k = 4.0 / 3 * std::tan(c.sweep / 4), a0 = 0.3, a1 = a0 + c.sweep;
        const auto on = [&](double a, double along) {
            return CurvePoint{c.radius * (std::cos(a) - along * std::sin(a)),
                              c.radius * (std::sin(a) + along * std::cos(a))};
        };
        const CurvedFigure f = cubicFigure(on(a0, 0), on(a0, k), on(a1, -k), on(a1, 0));
        const std::vector<ArcVertex> arcs = lw::fitArcs(f, 0.5);
        ASSERT_EQ(arcs.size(), 2u); // the arc and the chord back
        EXPECT_NEAR(arcs[0].bulge, std::tan(c.sweep / 4), 1e-3);
        EXPECT_EQ(arcs[1].bulge, 0);
    }
}

TEST(FitArcs, StraightEdgesStayStraight)
{
    const CurvedFigure square{{0, 0}, {{false, {}, {}, {10, 0}}, {false, {}, {}, {10, 10}}, {false, {}, {}, {0, 10}}}};
    const CurvedFigure straightCubic = cubicFigure({0, 0}, {10, 0}, {20, 0}, {30, 0});
    const CurvedFigure repeats{{0, 0}, {{false, {}, {}, {0, 0}}, {false, {}, {}, {5, 0}}, {false, {}, {}, {5, 5}}}};
    const struct {
        std::string name;
        CurvedFigure figure;
        std::size_t vertices;
    } cases[] = {{"square", square, 4}, {"cubic on a line", straightCubic, 2}, {"repeated point", repeats, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<ArcVertex> arcs = lw::fitArcs(c.figure, 0.5);
        EXPECT_EQ(arcs.size(), c.vertices);
        for (const ArcVertex& v : arcs)
            EXPECT_EQ(v.bulge, 0);
    }
}

TEST(ArcsOf, TheCarriedArcsWithoutACopyElseAFreshFitInTheScratch)
{
    const double k = 0.5522847498;
    const CurvedFigure quarter = cubicFigure({1000, 0}, {1000, 1000 * k}, {1000 * k, 1000}, {0, 1000});
    const CurvedFigure square{{0, 0}, {{false, {}, {}, {10, 0}}, {false, {}, {}, {10, 10}}, {false, {}, {}, {0, 10}}}};
    lw::ExactCurve carried(quarter);
    carried.arcs = std::make_shared<const std::vector<ArcVertex>>(lw::fitArcs(quarter, 0.5));
    carried.arcTolerance = 0.5;
    lw::ExactCurve stale = carried; // moved after its fit: its arcs no longer start where it does
    stale.start.x += 1;
    lw::ExactCurve placed = carried; // moved with its arcs' shift: the same arcs, moved
    placed.start = {quarter.start.x + 3, quarter.start.y - 2};
    placed.arcShift = {3, -2};
    const struct {
        std::string name;
        lw::ExactCurve curve;
        double tolerance;
        bool own; // the view is of the curve's own arcs
        CurvePoint shift; // of the view from the arcs fitted where the curve was made
    } cases[] = {{"carried, same tolerance", carried, 0.5, true, {0, 0}},
                 {"carried, another tolerance", carried, 0.05, false, {0, 0}},
                 {"moved after the fit", stale, 0.5, false, {0, 0}}, // fitted afresh where it stands
                 {"moved with its shift", placed, 0.5, false, {3, -2}},
                 {"none carried", lw::ExactCurve(square), 0.5, false, {0, 0}}};
    // A scratch left longer by a bigger fit must not show its old tail.
    std::vector<ArcVertex> scratch(50, ArcVertex{{-7, -7}, 9});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // As the writer reads them: the shared arcs with their shift, no copy.
        std::vector<ArcVertex> writerScratch;
        const lw::PlacedArcs placed = lw::placedArcsOf(c.curve, c.tolerance, writerScratch);
        const bool shared = c.curve.arcs && placed.arcs.data() == c.curve.arcs->data();
        EXPECT_EQ(shared, c.own || (c.shift.x != 0 || c.shift.y != 0));
        EXPECT_EQ(placed.shift.x, shared ? c.shift.x : 0);
        EXPECT_EQ(placed.shift.y, shared ? c.shift.y : 0);

        const std::span<const ArcVertex> view = lw::test::arcsOf(c.curve, c.tolerance, scratch);
        EXPECT_EQ(view.data() == (c.curve.arcs ? c.curve.arcs->data() : nullptr), c.own);
        if (!c.own) {
            EXPECT_EQ(view.data(), scratch.data());
        }
        // The arcs a fit made now from the curve's own figure give, at its place.
        const lw::CurvedFigure unplaced{{c.curve.start.x - c.shift.x, c.curve.start.y - c.shift.y},
                                        c.curve.segments};
        const std::vector<ArcVertex> want = lw::fitArcs(unplaced, c.tolerance);
        ASSERT_EQ(view.size(), want.size());
        ASSERT_EQ(placed.arcs.size(), want.size());
        for (std::size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(view[i].at.x, want[i].at.x + c.shift.x);
            EXPECT_EQ(view[i].at.y, want[i].at.y + c.shift.y);
            EXPECT_EQ(view[i].bulge, want[i].bulge);
            EXPECT_EQ(placed.arcs[i].at.x + placed.shift.x, view[i].at.x);
            EXPECT_EQ(placed.arcs[i].at.y + placed.shift.y, view[i].at.y);
        }
        const std::vector<ArcVertex> copied = lw::test::fitArcs(c.curve, c.tolerance);
        ASSERT_EQ(copied.size(), view.size());
        EXPECT_TRUE(std::equal(copied.begin(), copied.end(), view.begin(), [](const ArcVertex& a, const ArcVertex& b) {
            return a.at.x == b.at.x && a.at.y == b.at.y && a.bulge == b.bulge;
        }));
    }
}

TEST(SegmentsOf, SharedSegmentsReadMovedByTheShiftAndTakenOwnBeforeAChange)
{
    const double k = 0.5522847498;
    // A cubic and a straight edge: the straight one's controls mean nothing.
    const CurvedFigure figure{{1000, 0},
                              {{true, {1000, 1000 * k}, {1000 * k, 1000}, {0, 1000}}, {false, {}, {}, {0, 0}}}};
    const auto shared = [&](CurvePoint shift) {
        lw::ExactCurve c;
        c.start = {figure.start.x + shift.x, figure.start.y + shift.y};
        c.keptSegments = std::make_shared<const std::vector<CurveSegment>>(figure.segments);
        c.arcs = std::make_shared<const std::vector<ArcVertex>>(lw::fitArcs(figure, 0.5));
        c.arcShift = shift;
        c.arcTolerance = 0.5;
        return c;
    };
    const struct {
        std::string name;
        lw::ExactCurve curve;
        CurvePoint shift;
        bool keptView; // no copy: the view is of the shared segments
    } cases[] = {{"own segments", lw::ExactCurve(figure), {0, 0}, false},
                 {"shared, in place", shared({0, 0}), {0, 0}, true},
                 {"shared, moved", shared({-3, 250}), {-3, 250}, false}};
    // A scratch left longer by a bigger curve must not show its old tail.
    std::vector<CurveSegment> scratch(9, CurveSegment{true, {-7, -7}, {-7, -7}, {-7, -7}});
    const auto expectMoved = [&](std::span<const CurveSegment> got, CurvePoint shift) {
        ASSERT_EQ(got.size(), figure.segments.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            const CurveSegment& want = figure.segments[i];
            EXPECT_EQ(got[i].cubic, want.cubic) << i;
            EXPECT_EQ(got[i].end.x, want.end.x + shift.x) << i;
            EXPECT_EQ(got[i].end.y, want.end.y + shift.y) << i;
            if (want.cubic) {
                EXPECT_EQ(got[i].c1.x, want.c1.x + shift.x) << i;
                EXPECT_EQ(got[i].c2.y, want.c2.y + shift.y) << i;
            }
        }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::span<const CurveSegment> view = lw::segmentsOf(c.curve, scratch);
        if (c.keptView) {
            EXPECT_EQ(view.data(), c.curve.keptSegments->data());
        }
        expectMoved(view, c.shift);

        // A fit at another tolerance comes from the segments where they lie,
        // not from the (empty) own ones.
        const lw::CurvedFigure placed{c.curve.start, std::vector<CurveSegment>(view.begin(), view.end())};
        std::vector<ArcVertex> arcScratch;
        const std::span<const ArcVertex> arcs = lw::test::arcsOf(c.curve, 0.05, arcScratch);
        const std::vector<ArcVertex> want = lw::fitArcs(placed, 0.05);
        ASSERT_EQ(arcs.size(), want.size());
        for (std::size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(arcs[i].at.x, want[i].at.x);
            EXPECT_EQ(arcs[i].bulge, want[i].bulge);
        }

        // Taken own, the curve can change in place and nothing shared does.
        lw::ExactCurve own = c.curve;
        lw::ownSegments(own);
        EXPECT_FALSE(own.keptSegments);
        expectMoved(own.segments, c.shift);
        lw::reverse(own);
        if (c.curve.keptSegments) {
            expectMoved(*c.curve.keptSegments, {0, 0});
        }
        // Its arcs still read where they did.
        std::vector<ArcVertex> before, after;
        const std::span<const ArcVertex> a = lw::test::arcsOf(c.curve, 0.5, before);
        lw::ExactCurve again = c.curve;
        lw::ownSegments(again);
        const std::span<const ArcVertex> b = lw::test::arcsOf(again, 0.5, after);
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i)
            EXPECT_EQ(a[i].at.x, b[i].at.x);
    }
}

TEST(DistanceToArc, InsideAndOutsideTheSweep)
{
    // A half circle of radius 10 about the origin, from (10, 0) through
    // (0, 10) to (-10, 0): a bulge of 1 turns from +x towards +y.
    const CurvePoint a{10, 0}, b{-10, 0};
    EXPECT_NEAR(lw::pointOnArc(a, b, 1, 0.5).y, 10, 1e-9);
    EXPECT_NEAR(lw::distanceToArc({0, 12}, a, b, 1), 2, 1e-9);
    EXPECT_NEAR(lw::distanceToArc({0, 0}, a, b, 1), 10, 1e-9);
    // Beyond the sweep the nearest point is an end.
    EXPECT_NEAR(lw::distanceToArc({0, -10}, a, b, 1), std::hypot(10, 10), 1e-9);
    EXPECT_NEAR(lw::distanceToArc({0, -10}, a, b, -1), 0, 1e-9);
    EXPECT_NEAR(lw::distanceToArc({5, 3}, a, b, 0), 3, 1e-9);
}

TEST(CurvedFigures, FiguresStartAtMovesAndAfterCloseMarks)
{
    using lw::PT_BEZIERTO;
    using lw::PT_CLOSEFIGURE;
    using lw::PT_LINETO;
    using lw::PT_MOVETO;
    const std::uint8_t closeLine = PT_LINETO | PT_CLOSEFIGURE, closeCurve = PT_BEZIERTO | PT_CLOSEFIGURE;
    const struct {
        std::string name;
        std::vector<std::uint8_t> types;
        std::vector<std::size_t> segments; // per figure
    } cases[] = {
        {"empty", {}, {}},
        {"lone move", {PT_MOVETO}, {}},
        {"two moves", {PT_MOVETO, PT_MOVETO, PT_LINETO}, {1}},
        {"closed triangle", {PT_MOVETO, PT_LINETO, closeLine}, {2}},
        {"curve then line", {PT_MOVETO, PT_BEZIERTO, PT_BEZIERTO, PT_BEZIERTO, closeLine}, {2}},
        {"curve closes", {PT_MOVETO, PT_BEZIERTO, PT_BEZIERTO, closeCurve, PT_MOVETO, closeLine}, {1, 1}},
        {"line after a close", {PT_MOVETO, closeLine, PT_LINETO, PT_LINETO, closeLine}, {1, 2}},
        {"curve cut short", {PT_MOVETO, PT_LINETO, PT_BEZIERTO, PT_BEZIERTO}, {3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        lw::CurvedPath path;
        for (std::size_t i = 0; i < c.types.size(); ++i)
            path.points.push_back({double(i), double(i * i)});
        path.types = c.types;
        const std::vector<CurvedFigure> got = lw::curvedFigures(path);
        ASSERT_EQ(got.size(), c.segments.size());
        for (std::size_t f = 0; f < got.size(); ++f)
            EXPECT_EQ(got[f].segments.size(), c.segments[f]) << "figure " << f;
    }
}

TEST(CurvedFigures, ReversedRunsTheSameOutlineTheOtherWay)
{
    const double k = 0.5522847498;
    const CurvedFigure cases[] = {
        cubicFigure({1000, 0}, {1000, 1000 * k}, {1000 * k, 1000}, {0, 1000}), // closes in a line
        {{0, 0}, {{false, {}, {}, {10, 0}}, {true, {12, 3}, {8, 9}, {0, 10}}, {false, {}, {}, {0, 0}}}},
    };
    for (const CurvedFigure& f : cases) {
        const CurvedFigure r = lw::reversed(f);
        const std::vector<CurvePoint> forward = samplesOf(f, 200), backward = samplesOf(r, 200);
        EXPECT_NEAR(signedArea(backward), -signedArea(forward), 1e-6 * std::fabs(signedArea(forward)));
        EXPECT_LE(farthest(backward, forward), 1e-9);
        EXPECT_LE(farthest(forward, backward), 1e-9);
    }
}

// A capture of closed figures given as device points, and the same figures
// as the unflattened path (straight lines only).
struct Captured {
    lw::CapturedOutline outline;
    lw::CurvedPath path;
};
Captured captureOf(const std::vector<std::vector<lw::POINT>>& figures)
{
    Captured c;
    c.outline.pathPoints.clear();
    c.outline.pathTypes.clear();
    for (const auto& f : figures)
        for (std::size_t k = 0; k < f.size(); ++k) {
            const std::uint8_t type = k == 0 ? lw::PT_MOVETO : k + 1 == f.size() ? 3 : lw::PT_LINETO;
            c.outline.pathPoints.push_back(f[k]);
            c.outline.pathTypes.push_back(type);
            c.path.points.push_back({double(f[k].x), double(f[k].y)});
            c.path.types.push_back(type);
        }
    c.outline.pointCount = std::int32_t(c.outline.pathPoints.size());
    c.outline.pathPoints.push_back({});
    c.outline.pathTypes.push_back(0);
    return c;
}

TEST(ExactCurves, OnlyContoursTheMergeLeftAsTheyWereKeepTheirCurve)
{
    // Clockwise with y up in device terms is the wrong way for an outer
    // contour: the cut-ready contour turns it round, and its curve with it.
    const std::vector<lw::POINT> alone{{100, 0}, {110, 0}, {110, 10}, {100, 10}};
    const std::vector<lw::POINT> left{{0, 0}, {0, 10}, {10, 10}, {10, 0}};
    const std::vector<lw::POINT> crossing{{5, 5}, {5, 15}, {15, 15}, {15, 5}};
    const Captured c = captureOf({alone, left, crossing});
    for (const bool merge : {true, false}) {
        SCOPED_TRACE(merge ? "merged" : "as captured");
        const lw::CadOutline cut = lw::cadOutline(c.outline, {.merge = merge, .curves = true}, &c.path);
        std::size_t n = 0, withCurve = 0;
        for (const lw::Figure& f : lw::figures(cut.outline)) {
            ASSERT_LT(n, cut.curves.size());
            const auto& curve = cut.curves[n++];
            if (!curve)
                continue;
            ++withCurve;
            // The curve runs the contour's way, on the contour's grid.
            std::vector<CurvePoint> ring = samplesOf(*curve, 1);
            double area = 0;
            for (std::size_t i = 0; i + 1 < f.points.size() + 1; ++i) {
                const lw::POINT a = f.points[i], b = f.points[(i + 1) % f.points.size()];
                area += double(a.x) * b.y - double(b.x) * a.y;
            }
            EXPECT_NEAR(signedArea(ring), area / 2, 1e-6 * std::fabs(area));
        }
        EXPECT_EQ(n, cut.curves.size());
        EXPECT_EQ(withCurve, merge ? 1u : 3u);
        EXPECT_EQ(cut.curveTolerance, 0.5 * cut.gridScale);
    }
    // Without the path, or without asking, there are none.
    EXPECT_TRUE(lw::cadOutline(c.outline, {.curves = true}).curves.empty());
    EXPECT_TRUE(lw::cadOutline(c.outline, {}, &c.path).curves.empty());
}

TEST(ExactCurves, ARingKeepsItsCurveWhateverTheCleaningDropsOrWhereItStarts)
{
    const struct {
        std::string name;
        std::vector<lw::POINT> figure;
    } cases[] = {
        {"repeated point", {{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}}},
        {"spike", {{0, 0}, {10, 0}, {15, 0}, {10, 0}, {10, 10}, {0, 10}}},
        {"lowest point last", {{10, 0}, {10, 10}, {0, 10}, {0, 0}}},
        {"turned round, lowest in the middle", {{10, 10}, {10, 0}, {0, 0}, {0, 10}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Captured captured = captureOf({c.figure});
        const lw::CadOutline cut = lw::cadOutline(captured.outline, {.merge = false, .curves = true}, &captured.path);
        ASSERT_EQ(cut.curves.size(), 1u);
        EXPECT_TRUE(cut.curves[0].has_value());
    }
}

// Whether `curve` runs through exactly the contour's points (as they lie on
// the cut's grid), the same way round.
void expectCurveIsContour(const CurvedFigure& curve, const lw::Figure& contour)
{
    std::vector<CurvePoint> corners{curve.start};
    for (const CurveSegment& s : curve.segments)
        corners.push_back(s.end);
    if (corners.size() > 1 && corners.back().x == corners.front().x && corners.back().y == corners.front().y)
        corners.pop_back();
    ASSERT_EQ(corners.size(), contour.points.size());
    for (const lw::POINT& p : contour.points)
        EXPECT_NE(std::find_if(corners.begin(), corners.end(),
                               [&](CurvePoint c) { return c.x == p.x && c.y == p.y; }),
                  corners.end())
            << p.x << "," << p.y << " is not on the curve";
    corners.push_back(corners.front());
    double area = 0;
    for (std::size_t i = 0; i < contour.points.size(); ++i) {
        const lw::POINT a = contour.points[i], b = contour.points[(i + 1) % contour.points.size()];
        area += double(a.x) * b.y - double(b.x) * a.y;
    }
    EXPECT_NEAR(signedArea(corners), area / 2, 1e-9 * std::fabs(area));
}

TEST(ExactCurves, EachContourTakesItsOwnFiguresCurve)
{
    // Figures the cleaning drops must not shift which curve goes where,
    // even where one starts on the very point the next one starts on.
    const std::vector<lw::POINT> square{{20, 0}, {30, 0}, {30, 10}, {20, 10}};
    const std::vector<lw::POINT> other{{40, 0}, {40, 10}, {55, 10}, {50, 0}};
    const std::vector<lw::POINT> spikeAtSquare{{20, 0}, {25, 5}, {20, 0}};
    const std::vector<lw::POINT> flat{{0, 0}, {5, 0}, {9, 0}};
    const struct {
        std::string name;
        std::vector<std::vector<lw::POINT>> figures;
        std::size_t contours;
    } cases[] = {
        {"a dropped figure first", {flat, square, other}, 2},
        {"a dropped figure on the next one's start", {spikeAtSquare, square, other}, 2},
        {"dropped figures between", {square, flat, spikeAtSquare, other}, 2},
        {"the same figure twice", {square, square, other}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Captured captured = captureOf(c.figures);
        const lw::CadOutline cut = lw::cadOutline(captured.outline, {.merge = false, .curves = true}, &captured.path);
        ASSERT_EQ(cut.curves.size(), c.contours);
        std::size_t n = 0;
        for (const lw::Figure& f : lw::figures(cut.outline)) {
            ASSERT_TRUE(cut.curves[n].has_value()) << "contour " << n;
            expectCurveIsContour(*cut.curves[n++], f);
        }
        EXPECT_EQ(n, c.contours);
    }
}

TEST(ExactCurves, AContourTheClipperGivesBackAsItWasKeepsItsCurve)
{
    // A bar through an L sends the three to the clipper together (their
    // boxes overlap); the square in the L's corner comes back untouched,
    // as a copy, and is still the captured figure.
    const std::vector<lw::POINT> ell{{0, 0}, {30, 0}, {30, 8}, {8, 8}, {8, 30}, {0, 30}};
    const std::vector<lw::POINT> bar{{-5, 2}, {40, 2}, {40, 5}, {-5, 5}};
    const std::vector<lw::POINT> corner{{15, 15}, {25, 15}, {25, 25}, {15, 25}};
    const Captured captured = captureOf({ell, bar, corner});
    const lw::CadOutline cut = lw::cadOutline(captured.outline, {.merge = true, .curves = true}, &captured.path);
    std::size_t n = 0, withCurve = 0;
    for (const lw::Figure& f : lw::figures(cut.outline)) {
        ASSERT_LT(n, cut.curves.size());
        if (const auto& curve = cut.curves[n++]) {
            ++withCurve;
            expectCurveIsContour(*curve, f);
            EXPECT_EQ(f.points.size(), corner.size());
        }
    }
    EXPECT_EQ(n, 2u); // the joined L and bar, and the square
    EXPECT_EQ(withCurve, 1u);
}

TEST(CurvedFigures, ReversingInPlaceIsTheReversedFigure)
{
    const double k = 0.5522847498;
    const struct {
        std::string name;
        CurvedFigure figure;
        bool closesOnItsStart;
    } cases[] = {
        {"closes in a line", cubicFigure({1000, 0}, {1000, 1000 * k}, {1000 * k, 1000}, {0, 1000}), false},
        {"closes on a curve", {{0, 0}, {{false, {}, {}, {10, 0}}, {true, {12, 3}, {8, 9}, {0, 0}}}}, true},
        {"lines back to the start",
         {{0, 0}, {{false, {}, {}, {10, 0}}, {false, {}, {}, {10, 5}}, {false, {}, {}, {0, 0}}}},
         true},
        {"curves only", {{0, 0}, {{true, {1, 2}, {3, 4}, {5, 0}}, {true, {6, -2}, {2, -3}, {0, 0}}}}, true},
        {"no segments", {{3, 4}, {}}, true},
    };
    const auto same = [](const CurvedFigure& a, const CurvedFigure& b) {
        if (a.start.x != b.start.x || a.start.y != b.start.y || a.segments.size() != b.segments.size())
            return false;
        for (std::size_t i = 0; i < a.segments.size(); ++i) {
            const CurveSegment &s = a.segments[i], &t = b.segments[i];
            if (s.cubic != t.cubic || s.end.x != t.end.x || s.end.y != t.end.y ||
                (s.cubic && (s.c1.x != t.c1.x || s.c1.y != t.c1.y || s.c2.x != t.c2.x || s.c2.y != t.c2.y)))
                return false;
        }
        return true;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CurvedFigure inPlace = c.figure;
        lw::reverse(inPlace);
        const CurvedFigure r = lw::reversed(c.figure);
        EXPECT_TRUE(same(inPlace, r));
        if (c.closesOnItsStart) {
            lw::reverse(inPlace);
            EXPECT_TRUE(same(inPlace, c.figure)) << "twice round is not the figure";
        }
        // The reversed figure walks its closing line itself: it ends on its start.
        if (!r.segments.empty()) {
            EXPECT_TRUE(r.segments.back().end.x == r.start.x && r.segments.back().end.y == r.start.y);
        }
    }
}

TEST(ReadCurvedPath, ReplacesWhatTheArraysHeld)
{
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    const lw::POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    lw::BeginPath(dc);
    lw::Polygon(dc, square, 4);
    lw::EndPath(dc);
    std::vector<CurvePoint> points(50, CurvePoint{7, 7});
    std::vector<std::uint8_t> types(30, lw::PT_BEZIERTO);
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(lw::readCurvedPath(dc, points, types), 4);
        ASSERT_EQ(points.size(), 4u);
        ASSERT_EQ(types.size(), 4u);
        EXPECT_EQ(points[2].x, 10);
        EXPECT_EQ(points[2].y, 10);
        EXPECT_EQ(types[0], lw::PT_MOVETO);
        EXPECT_EQ(types[3], lw::PT_LINETO | lw::PT_CLOSEFIGURE);
    }
    // Once flattened there is no curve left to read.
    lw::FlattenPath(dc);
    EXPECT_EQ(lw::readCurvedPath(dc, points, types), -1);
}

} // namespace
