// The curves of a merge through glyph runs against the whole way (every
// ring merged, every figure's curve looked up): the same contours, the same
// contours with a curve, the same curves and arcs, whether each glyph's
// curves are new or kept, wherever glyphs touch each other or a bar.
#include "cut/arcs.hpp"
#include "cut/cad_outline.hpp"
#include "cut/glyph_curves.hpp"
#include "cut/glyph_facts.hpp"
#include "outline/capture.hpp"
#include "outline/precision.hpp"
#include "curve_arcs.hpp"
#include "outline_checks.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace {

using lw::Contour;
using lw::CurvePoint;

// The whole way: without runs the merge and the curves read every ring.
lw::CadOutline wholeWay(lw::CapturedOutline outline, const lw::CurvedPath& path)
{
    outline.glyphRuns.clear();
    return lw::cadOutline(outline, {.curves = true}, &path);
}

void expectNear(CurvePoint a, CurvePoint b, const std::string& what)
{
    // Grid units reach 2^29; moving a glyph's curve after scaling it rounds
    // apart from scaling it moved by a few units in the last place.
    EXPECT_NEAR(a.x, b.x, 1e-6) << what;
    EXPECT_NEAR(a.y, b.y, 1e-6) << what;
}

// The contours with a curve taken from a glyph's kept curves (arcs carried).
std::size_t expectSameCurves(const lw::CadOutline& got, const lw::CadOutline& want, const std::string& what)
{
    EXPECT_EQ(got.gridScale, want.gridScale) << what;
    EXPECT_EQ(got.outline.pathPoints, want.outline.pathPoints) << what;
    EXPECT_EQ(got.outline.pathTypes, want.outline.pathTypes) << what;
    EXPECT_EQ(got.curveTolerance, want.curveTolerance) << what;
    std::size_t kept = 0;
    EXPECT_EQ(got.curves.size(), want.curves.size()) << what;
    for (std::size_t k = 0; k < std::min(got.curves.size(), want.curves.size()); ++k) {
        const std::string at = what + ", contour " + std::to_string(k);
        EXPECT_EQ(bool(got.curves[k]), bool(want.curves[k])) << at;
        if (!got.curves[k] || !want.curves[k])
            continue;
        const lw::ExactCurve &g = *got.curves[k], &w = *want.curves[k];
        kept += g.arcs && !g.arcs->empty();
        expectNear(g.start, w.start, at);
        std::vector<lw::CurveSegment> gMoved, wMoved;
        const std::span<const lw::CurveSegment> gs = lw::segmentsOf(g, gMoved), ws = lw::segmentsOf(w, wMoved);
        EXPECT_EQ(gs.size(), ws.size()) << at;
        for (std::size_t s = 0; s < std::min(gs.size(), ws.size()); ++s) {
            EXPECT_EQ(gs[s].cubic, ws[s].cubic) << at;
            if (gs[s].cubic) {
                expectNear(gs[s].c1, ws[s].c1, at);
                expectNear(gs[s].c2, ws[s].c2, at);
            }
            expectNear(gs[s].end, ws[s].end, at);
        }
        // What a drawing writes: the kept arcs against a fit made now.
        const std::vector<lw::ArcVertex> ga = lw::test::fitArcs(g, got.curveTolerance),
                                         wa = lw::test::fitArcs(w, want.curveTolerance);
        EXPECT_EQ(ga.size(), wa.size()) << at;
        for (std::size_t v = 0; v < std::min(ga.size(), wa.size()); ++v) {
            expectNear(ga[v].at, wa[v].at, at);
            EXPECT_NEAR(ga[v].bulge, wa[v].bulge, 1e-9) << at;
        }
    }
    return kept;
}

TEST(CadGlyphCurves, RealTextsGiveTheWholeWaysCurvesNewAndKept)
{
    const std::string mixed = "編集テキストのアウトラインを書きこみます。Letterwire 2026 漢字かなカナABC";
    struct Row {
        const char* face;
        std::string text;
        float points;
        int angle;
        bool italic, underline, strikeout;
        double stepMm;
        bool someKept; // some glyph's curves come from the kept ones
    };
    const Row rows[] = {
        {"ＭＳ Ｐゴシック", "編集テキスト", 24, 0, false, false, false, 0.01, true},
        {"DejaVu Serif", "Kiwi fog AVAWAy", 48, 0, true, false, false, 0.01, true}, // slanted letters touch
        {"DejaVu Sans", "gjpqy", 72, 0, false, true, false, 0.01, false},         // every descender meets the bar
        {"DejaVu Sans", "oSe gjpqy ^*", 144, 0, false, true, false, 0.01, true},  // the marks clear it
        {"IPAMincho", "回図", 72, 0, false, false, false, 0.01, true},
        {"DejaVu Sans", "gjpqy 回 O", 1, 0, false, false, false, 0.01, true},
        {"IPAMincho", "出口_gy", 48, 30, false, true, false, 0.01, false}, // off the pixel grid: no runs
        {"@ＭＳ ゴシック", "縦書き「ー」", 24, 0, false, false, true, 0.01, true},
        {"ＭＳ Ｐゴシック", mixed, 144, 0, false, false, false, 0.01, true},
        {"ＭＳ Ｐゴシック", mixed, 144, 0, false, false, false, 0, true},
    };
    for (const Row& row : rows) {
        lw::CutWorkspace work;
        lw::CurvedPath path;
        const lw::CapturedOutline outline = lw::test::capturedAtOrigin(row, &path);
        const std::string what = std::string(row.face) + " " + row.text + " " + std::to_string(row.points);
        const lw::CadOutline want = wholeWay(outline, path);
        const std::size_t fresh = expectSameCurves(lw::cadOutline(outline, {.curves = true}, work, &path), want, what + " (new)");
        const std::size_t kept = expectSameCurves(lw::cadOutline(outline, {.curves = true}, work, &path), want, what + " (kept)");
        EXPECT_EQ(fresh > 0, row.someKept) << what;
        EXPECT_EQ(kept, fresh) << what;
    }
}

// Hand-made glyphs: a square with a square hole, as runs of one copy each,
// their curves the same straight figures, and a bar across some of them.
Contour box(int x, int y, int w, int h, bool reversed = false)
{
    Contour c{{x, y}, {x, y + h}, {x + w, y + h}, {x + w, y}};
    if (reversed)
        std::reverse(c.begin(), c.end());
    return c;
}

Contour moved(Contour c, int dx, int dy)
{
    for (lw::POINT& p : c)
        p = {p.x + dx, p.y + dy};
    return c;
}

struct Hand {
    lw::CapturedOutline outline = empty();
    lw::CurvedPath path;
    static lw::CapturedOutline empty()
    {
        lw::CapturedOutline o;
        o.pathPoints.clear();
        o.pathTypes.clear();
        return o;
    }
    static std::uint8_t typeAt(std::size_t k, std::size_t n)
    {
        return k == 0 ? lw::PT_MOVETO : k + 1 == n ? lw::PT_LINETO | lw::PT_CLOSEFIGURE : lw::PT_LINETO;
    }
    void bar(const Contour& figure)
    {
        for (std::size_t k = 0; k < figure.size(); ++k) {
            outline.pathPoints.push_back(figure[k]);
            outline.pathTypes.push_back(typeAt(k, figure.size()));
            path.points.push_back({double(figure[k].x), double(figure[k].y)});
            path.types.push_back(typeAt(k, figure.size()));
        }
    }
    void glyph(std::uint64_t copy, const std::vector<Contour>& figures, int dx, int dy)
    {
        auto curves = std::make_shared<lw::GlyphCurves>();
        const auto first = std::uint32_t(outline.pathPoints.size());
        for (const Contour& f : figures)
            for (std::size_t k = 0; k < f.size(); ++k) {
                outline.pathPoints.push_back({f[k].x + dx, f[k].y + dy});
                outline.pathTypes.push_back(typeAt(k, f.size()));
                curves->points.push_back({double(f[k].x), double(f[k].y)});
                curves->types.push_back(typeAt(k, f.size()));
            }
        outline.glyphRuns.push_back({copy, first, std::uint32_t(outline.pathPoints.size()) - first, dx, dy});
        path.runs.push_back({copy, path.points.size(), dx, dy, curves});
    }
    lw::CapturedOutline done() const
    {
        lw::CapturedOutline o = outline;
        o.pointCount = std::int32_t(o.pathPoints.size());
        o.pathPoints.push_back({});
        o.pathTypes.push_back(0);
        return o;
    }
};

TEST(CadGlyphCurves, HandMadeRunsGiveTheWholeWaysCurves)
{
    const std::vector<Contour> ring{box(0, 0, 6, 6), box(2, 2, 2, 2, true)};
    struct Row {
        const char* what;
        int glyphs;
        bool sameCopy;          // every glyph of one copy, or each its own
        bool barAcross;         // a bar across the first three, touching the fourth
        bool pathWithoutRuns;   // the curved path read whole: the whole way
        std::size_t keptRings;  // rings whose curves come from kept ones
        int inPlaceAfter = -1;  // a glyph flattened in place, apart, after this one
    };
    const Row rows[] = {
        {"one copy", 20, true, false, false, 40},
        {"one copy, a bar", 20, true, true, false, 32},
        {"each its own", 20, false, true, false, 32},
        {"more than the store keeps", 2100, false, true, false, 2 * (2100 - 4)},
        {"a path without runs", 20, true, true, true, 0},
        {"a glyph in place between runs", 20, true, true, false, 32, 9},
        {"a glyph in place last", 20, false, false, false, 40, 19},
    };
    for (const Row& row : rows) {
        lw::CutWorkspace work;
        Hand h;
        for (int k = 0; k < row.glyphs; ++k) {
            h.glyph(row.sameCopy ? 7 : (1ull << 61) + std::uint64_t(k), ring, 10 * k, 0);
            if (k == row.inPlaceAfter)
                for (const Contour& c : ring)
                    h.bar(moved(c, 10 * k, 20));
        }
        if (row.barAcross)
            h.bar(box(0, 4, 30, 4));
        const lw::CapturedOutline o = h.done();
        lw::CurvedPath path = h.path;
        if (row.pathWithoutRuns) {
            path.points.clear();
            path.types.clear();
            for (const lw::Figure& f : lw::figures(o))
                for (std::size_t k = 0; k < f.points.size(); ++k) {
                    path.points.push_back({double(f.points[k].x), double(f.points[k].y)});
                    path.types.push_back(f.types[k]);
                }
            path.runs.clear();
        }
        const lw::CadOutline want = wholeWay(o, path);
        for (const char* pass : {"new", "kept"}) {
            const lw::CadOutline got = lw::cadOutline(o, {.curves = true}, work, &path);
            EXPECT_EQ(expectSameCurves(got, want, std::string(row.what) + ", " + pass), row.keptRings)
                << row.what << ", " << pass;
        }
    }
}

} // namespace
