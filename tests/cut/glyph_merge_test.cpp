// The merge through glyph runs against the merge of every ring: the same
// contours in the same order, whether each glyph's facts are new or known,
// wherever glyphs touch each other or the underline, and for runs that no
// longer fit their points.
#include "cut/cad_outline.hpp"
#include "cut/glyph_facts.hpp"
#include "cut/glyph_merge.hpp"
#include "outline/capture.hpp"
#include "outline/precision.hpp"
#include "outline_checks.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using lw::Contour;

// The whole way: no runs, so every ring goes through mergeNonzero.
lw::CadOutline mergedWithoutRuns(lw::CapturedOutline outline)
{
    outline.glyphRuns.clear();
    return lw::cadOutline(outline, {});
}

void expectSame(const lw::CadOutline& got, const lw::CadOutline& want, const std::string& what)
{
    EXPECT_EQ(got.gridScale, want.gridScale) << what;
    ASSERT_EQ(got.outline.pointCount, want.outline.pointCount) << what;
    EXPECT_EQ(got.outline.pathPoints, want.outline.pathPoints) << what;
    EXPECT_EQ(got.outline.pathTypes, want.outline.pathTypes) << what;
}

// How many glyphs the merge takes alone.
std::size_t glyphsAlone(const lw::CapturedOutline& o)
{
    lw::RingSet rest;
    lw::RunMerge byRuns;
    const std::size_t n = std::size_t(o.pointCount);
    if (!byRuns.plan(std::span(o.pathPoints).first(n), std::span(o.pathTypes).first(n), o.glyphRuns, rest))
        return 0;
    std::size_t restRings = 0, all = 0;
    restRings = rest.rings.size();
    lw::RingSet every;
    lw::ringsOf(std::span(o.pathPoints).first(n), std::span(o.pathTypes).first(n), every);
    all = every.rings.size();
    return all - restRings;
}

TEST(CadGlyphMerge, RealTextsMergeAsEveryRingMergedTogether)
{
    struct Row {
        const char* face;
        const char* text;
        float points;
        int angle;
        bool italic, underline, strikeout;
        double stepMm; // 0: the classic grid
        bool someAlone;
    };
    const Row rows[] = {
        {"ＭＳ Ｐゴシック", "編集テキスト", 24, 0, false, false, false, 0.01, true},
        {"DejaVu Serif", "Kiwi fog AVAWAy", 48, 0, true, false, false, 0.01, true}, // slanted letters touch
        {"DejaVu Sans", "gjpqy", 72, 0, false, true, false, 0.01, false},         // every descender meets the bar
        {"IPAGothic", "出口_gy", 72, 0, false, true, true, 0.01, false},
        {"IPAMincho", "回図", 72, 0, false, false, false, 0.01, true},
        {"DejaVu Sans", "gjpqy 回", 1, 0, false, true, false, 0.01, false},
        {"ＭＳ Ｐゴシック", "fffiii", 144, 0, false, false, false, 0, true},
        {"IPAMincho", "出口_gy", 48, 30, false, true, false, 0.01, false}, // off the pixel grid: no runs
        {"@ＭＳ ゴシック", "縦書き「ー」", 24, 0, false, false, true, 0.01, true},
    };
    lw::CutWorkspace work;
    for (const Row& row : rows) {
        const lw::CapturedOutline outline = lw::test::capturedAtOrigin(row);
        const std::string what = std::string(row.face) + " " + row.text;
        EXPECT_EQ(glyphsAlone(outline) > 0, row.someAlone) << what;
        const lw::CadOutline want = mergedWithoutRuns(outline);
        // First with the glyphs' facts worked out, then known.
        expectSame(lw::cadOutline(outline, {}, work), want, what + " (new)");
        expectSame(lw::cadOutline(outline, {}, work), want, what + " (known)");
    }
}

// Figures at hand: a square with a square hole (glyph A), two bars across
// each other (glyph B: its edges meet), and a lone bar (no glyph).
Contour box(int x, int y, int w, int h, bool reversed = false)
{
    Contour c{{x, y}, {x, y + h}, {x + w, y + h}, {x + w, y}};
    if (reversed)
        std::reverse(c.begin(), c.end());
    return c;
}

struct Hand {
    lw::CapturedOutline outline = empty();
    static lw::CapturedOutline empty()
    {
        lw::CapturedOutline o;
        o.pathPoints.clear();
        o.pathTypes.clear();
        return o;
    }
    void add(const Contour& figure)
    {
        for (std::size_t k = 0; k < figure.size(); ++k) {
            outline.pathPoints.push_back(figure[k]);
            outline.pathTypes.push_back(k == 0 ? lw::PT_MOVETO : k + 1 == figure.size() ? 3 : lw::PT_LINETO);
        }
    }
    void glyph(std::uint64_t copy, const std::vector<Contour>& figures, int dx, int dy)
    {
        const auto first = std::uint32_t(outline.pathPoints.size());
        for (Contour f : figures) {
            for (lw::POINT& p : f)
                p = {p.x + dx, p.y + dy};
            add(f);
        }
        outline.glyphRuns.push_back({copy, first, std::uint32_t(outline.pathPoints.size()) - first, dx, dy});
    }
    lw::CapturedOutline done()
    {
        lw::CapturedOutline o = outline;
        o.pointCount = std::int32_t(o.pathPoints.size());
        o.pathPoints.push_back({});
        o.pathTypes.push_back(0);
        return o;
    }
};

TEST(CadGlyphMerge, HandMadeRunsMergeAsEveryRingMergedTogether)
{
    constexpr std::uint64_t kA = 1ull << 62, kB = kA + 1, kSpiky = kA + 2, kFrame = kA + 3;
    const std::vector<Contour> a{box(0, 0, 10, 10), box(3, 3, 4, 4, true)};
    const std::vector<Contour> b{box(0, 4, 10, 2), box(4, 0, 2, 10)};
    Contour spike = box(0, 0, 6, 6);
    spike.insert(spike.begin() + 2, {{0, 9}, {0, 6}}); // out and straight back
    const struct Row {
        const char* what;
        std::function<void(Hand&)> make;
        std::size_t alone;
    } rows[] = {
        {"apart", [&](Hand& h) { h.glyph(kA, a, 0, 0); h.glyph(kA, a, 20, 0); h.glyph(kA, a, 40, 5); }, 3},
        {"a bar under two",
         [&](Hand& h) { h.glyph(kA, a, 0, 0); h.glyph(kA, a, 20, 0); h.glyph(kA, a, 40, 0); h.add(box(15, 8, 30, 4)); },
         1},
        {"a bar before, touching at a corner",
         [&](Hand& h) { h.add(box(-5, -5, 5, 5)); h.glyph(kA, a, 0, 0); h.glyph(kA, a, 30, 0); }, 1},
        {"glyphs overlapping", [&](Hand& h) { h.glyph(kA, a, 0, 0); h.glyph(kA, a, 10, 0); h.glyph(kA, a, 30, 0); }, 1},
        {"a glyph whose edges meet", [&](Hand& h) { h.glyph(kB, b, 0, 0); h.glyph(kA, a, 20, 0); }, 1},
        {"a glyph the cleaning changes", [&](Hand& h) { h.glyph(kSpiky, {spike}, 0, 0); h.glyph(kA, a, 20, 0); }, 1},
        {"a glyph inside another's hole",
         [&](Hand& h) { h.glyph(kFrame, {box(0, 0, 30, 30), box(2, 2, 26, 26, true)}, 0, 0); h.glyph(kB, b, 10, 10); }, 0},
    };
    lw::CutWorkspace work; // the glyphs' facts new in the first pass, known in the second
    for (int pass = 0; pass < 2; ++pass) {
        for (const Row& row : rows) {
            Hand h;
            row.make(h);
            const lw::CapturedOutline o = h.done();
            EXPECT_EQ(glyphsAlone(o) / 2, row.alone) << row.what;
            expectSame(lw::cadOutline(o, {}, work), mergedWithoutRuns(o), row.what);
        }
    }
}

TEST(CadGlyphMerge, RunsThatNoLongerFitTheirPointsAreMergedTheWholeWay)
{
    constexpr std::uint64_t kA = (1ull << 62) + 10;
    const std::vector<Contour> a{box(0, 0, 10, 10), box(3, 3, 4, 4, true)};
    lw::CutWorkspace work;
    Hand h;
    h.glyph(kA, a, 0, 0);
    h.glyph(kA, a, 20, 0);
    const lw::CapturedOutline good = h.done();
    ASSERT_EQ(glyphsAlone(good), 4u);
    const struct {
        const char* what;
        std::function<void(lw::CapturedOutline&)> spoil;
    } rows[] = {
        {"a point moved", [](lw::CapturedOutline& o) { o.pathPoints[8].x += 1; }},
        {"the run's origin wrong", [](lw::CapturedOutline& o) { o.glyphRuns[1].dx += 1; }},
        {"runs out of order", [](lw::CapturedOutline& o) { std::swap(o.glyphRuns[0], o.glyphRuns[1]); }},
        {"a run past the points", [](lw::CapturedOutline& o) { o.glyphRuns[1].count += 100; }},
        {"runs overlapping", [](lw::CapturedOutline& o) { o.glyphRuns[1].first -= 1; }},
        {"a run ending inside a figure", [](lw::CapturedOutline& o) { o.glyphRuns[0].count -= 1; }},
        {"a run starting inside a figure",
         [](lw::CapturedOutline& o) {
             o.pathPoints.insert(o.pathPoints.begin(), lw::POINT{-5, 7});
             o.pathTypes.insert(o.pathTypes.begin(), std::uint8_t(lw::PT_MOVETO));
             ++o.pointCount;
             for (lw::GlyphRun& run : o.glyphRuns)
                 ++run.first;
         }},
    };
    for (const auto& row : rows) {
        lw::CapturedOutline o = good;
        row.spoil(o);
        expectSame(lw::cadOutline(o, {}, work), mergedWithoutRuns(o), row.what);
    }
}

} // namespace

TEST(CadGlyphMerge, ALineOfMoreGlyphsThanTheCacheKeepsMergesAsEveryRingMergedTogether)
{
    // More glyphs than the cache names, each of its own copy; the second
    // merge starts the cache again in its planning.
    lw::CutWorkspace work;
    Hand h;
    for (int k = 0; k < 2100; ++k)
        h.glyph((1ull << 61) + std::uint64_t(k), {box(0, 0, 6, 6), box(2, 2, 2, 2, true)}, 10 * k, 0);
    h.add(box(0, 4, 30, 4)); // a bar across the first three, touching the fourth
    const lw::CapturedOutline o = h.done();
    const lw::CadOutline want = mergedWithoutRuns(o);
    EXPECT_EQ(glyphsAlone(o), 2u * (2100 - 4));
    for (const char* what : {"first", "again"})
        expectSame(lw::cadOutline(o, {}, work), want, what);
}
