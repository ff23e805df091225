// Glyphs placed again from their flattened copy: the certainty test, and the
// points against flattening the same glyphs afresh.
#include "outline/text_output.hpp"
#include "platform/device_context.hpp"
#include "platform/freetype/flat_glyph.hpp"
#include "platform/freetype/state.hpp"

#include <gtest/gtest.h>

#include <vector>

using namespace lw;

TEST(ShiftCheck, TiesAreSureOnlyWhereMovingCannotTipThem)
{
    struct Row {
        const char* what;
        double reach;
        bool xAlone, yAlone;
        std::vector<PointF> points; // a start, then cubics of three
        bool sure;
    };
    const Row rows[] = {
        {"ties on the grid, no cross term", 0x1p24, true, true, {{3.25, -7.5}}, true},
        {"a tie with a cross term", 0x1p24, true, false, {{3.25, -7.5}}, false},
        {"far from any tie", 0x1p24, false, false, {{0.1, 40.3}}, true},
        {"off the grid, a hair above a tie", 0x1p24, false, false, {{2.5 + 1e-13, 1}}, false},
        {"near a tie for a far origin only", 0x1p11, false, false, {{0.5 + 1e-7, 1}}, true},
        {"near a tie for a far origin", 0x1p24, false, false, {{0.5 + 1e-7, 1}}, false},
        {"a level curve along ties", 0x1p24, true, true, {{0, 0.5}, {3, 0.5}, {0, 0.5}, {3, 0.5}}, true},
        {"the same with a cross term", 0x1p24, true, false, {{0, 0.5}, {3, 0.5}, {0, 0.5}, {3, 0.5}}, false},
        {"a segment count on its boundary", 0x1p11, true, true, {{0, 0.25}, {0, 0.25}, {3, 0.25}, {3, 0.25}}, false},
        {"a segment count clear of it", 0x1p11, true, true, {{0, 0.25}, {0, 0.25}, {3.5, 0.25}, {3.5, 0.25}}, true},
    };
    for (const Row& row : rows) {
        ShiftCheck check(row.reach, 4, row.xAlone, row.yAlone);
        check.point(row.points[0], PT_MOVETO);
        for (std::size_t i = 1; i + 2 < row.points.size(); i += 3)
            check.cubic(row.points[i], row.points[i + 1], row.points[i + 2], PT_BEZIERTO);
        EXPECT_EQ(check.sure(), row.sure) << row.what;
    }
}

namespace {

struct Capture {
    std::vector<POINT> points;
    std::vector<std::uint8_t> types;
    int reused = 0; // glyphs whose flattened copy held at their origin
};

Capture capture(DeviceContext& dc, const LOGFONT& lf, const char* text, int x, int y)
{
    Capture c;
    BeginPath(dc);
    outputText(dc, lf, text, 0, x, y);
    EndPath(dc);
    flattenPathInto(dc, c.points, c.types);
    dc.state().forEachGlyph([&c](const auto& g, const auto& group) {
        const auto& m = group.map;
        c.reused += g.outline->flat && g.outline->flat->madeFor(m.m00, m.m01, m.m10, m.m11)
                 && g.outline->flat->holdsAt(g.ox, g.oy);
    });
    return c;
}

} // namespace

TEST(FlatGlyphs, ACopyWithoutReachHoldsNowhereNotEvenAtItsOwnOrigin)
{
    FlatGlyph flat;
    EXPECT_FALSE(flat.holdsAt(0, 0));
    flat.reach = 0x1p11;
    const struct {
        double x, y;
        bool holds;
    } rows[] = {{0, 0, true}, {-2048, 2048, true}, {2049, 0, false}, {0.5, 0, false}, {0, -1e-9, false}};
    for (const auto& row : rows)
        EXPECT_EQ(flat.holdsAt(row.x, row.y), row.holds) << row.x << ", " << row.y;
}

TEST(FlatGlyphs, PlacedAgainTheyGiveTheFreshFlatteningsPoints)
{
    struct Row {
        const char* face;
        const char* text;
        int height;
        bool italic, bold, underline;
        int x, y;
        bool reused;
    };
    const Row rows[] = {
        {"ＭＳ Ｐゴシック", "編集テキスト", 32, false, false, false, 230, 150, true},
        {"ＭＳ Ｐゴシック", "Letterwire 2026 漢字", 192, false, true, true, -4097, 77, true},
        {"ＭＳ Ｐゴシック", "鬱薔薇 ijk", 1, false, false, false, 0, 0, true},
        {"IPAMincho", "あいう ABC", 533, true, false, false, 5000000, -3000000, true},
        {"DejaVu Serif", "Sphinx of quartz", 11, false, true, false, 12, -9, true},
        {"DejaVu Serif", "Sphinx", 45, false, false, true, 20000000, 0, false}, // beyond every reach
    };
    for (const Row& row : rows) {
        NullCanvas canvas;
        DeviceContext dc(canvas);
        WindowFont font;
        font.italic = row.italic;
        font.underline = row.underline;
        LOGFONT lf;
        setLogFont(lf, row.face, row.height, 0, font);
        if (row.bold)
            lf.lfWeight = 700;
        const Capture reused = capture(dc, lf, row.text, row.x, row.y);
        EXPECT_EQ(reused.reused > 0, row.reused) << row.face << " " << row.text;
        // Copies that hold nowhere: every glyph is flattened where it stands.
        for (const auto& g : dc.state().glyphs)
            if (g.outline->flat)
                g.outline->flat->reach = 0;
        const Capture fresh = capture(dc, lf, row.text, row.x, row.y);
        EXPECT_EQ(fresh.reused, 0);
        EXPECT_GT(fresh.points.size(), 0u);
        EXPECT_EQ(reused.points, fresh.points) << row.face << " " << row.text << " at " << row.height;
        EXPECT_EQ(reused.types, fresh.types) << row.face << " " << row.text << " at " << row.height;
    }
}

TEST(FlatGlyphs, RunsTellWhichPointsEachCopyGaveAndNameTheCopy)
{
    struct Row {
        const char* text;
        int height, angle;
        bool underline;
        std::size_t runs; // glyphs with points, each placed from its copy
    };
    const Row rows[] = {
        {"ああいあ", 32, 0, false, 4},
        {"A B", 192, 0, true, 2},  // the space has no points, the bar is no glyph
        {"ああ", 32, 300, false, 0}, // origins off the pixel grid
    };
    for (const Row& row : rows) {
        NullCanvas canvas;
        DeviceContext dc(canvas);
        WindowFont font;
        font.underline = row.underline;
        LOGFONT lf;
        setLogFont(lf, "ＭＳ Ｐゴシック", row.height, row.angle, font);
        std::vector<POINT> points;
        std::vector<std::uint8_t> types;
        std::vector<GlyphRun> runs{{7, 7, 7, 7, 7}};
        BeginPath(dc);
        outputText(dc, lf, row.text, 0, 10, 20);
        EndPath(dc);
        const int n = flattenPathInto(dc, points, types, &runs);
        ASSERT_GT(n, 0) << row.text;
        ASSERT_EQ(runs.size(), row.runs) << row.text;
        std::uint32_t end = 0;
        for (const GlyphRun& run : runs) {
            EXPECT_GE(run.first, end);
            end = run.first + run.count;
            ASSERT_LE(end, std::uint32_t(n));
            // The copy the run names, moved by the run's origin, and whole figures.
            const FlatGlyph* copy = nullptr;
            for (const auto& g : dc.state().glyphs)
                if (g.outline->flat && g.outline->flat->serial == run.copy)
                    copy = g.outline->flat.get();
            ASSERT_NE(copy, nullptr);
            ASSERT_EQ(copy->points.size(), run.count);
            for (std::uint32_t k = 0; k < run.count; ++k) {
                EXPECT_EQ(points[run.first + k].x, copy->points[k].x + run.dx);
                EXPECT_EQ(points[run.first + k].y, copy->points[k].y + run.dy);
            }
            EXPECT_EQ(types[run.first], PT_MOVETO);
            EXPECT_TRUE(types[end - 1] & PT_CLOSEFIGURE);
        }
        if (row.runs == 4) {
            // The same glyph names the same copy, another glyph another one.
            EXPECT_EQ(runs[0].copy, runs[1].copy);
            EXPECT_EQ(runs[0].copy, runs[3].copy);
            EXPECT_NE(runs[0].copy, runs[2].copy);
            EXPECT_GT(runs[1].dx, runs[0].dx);
            // A new map makes a new copy, under a name never seen before.
            setLogFont(lf, "ＭＳ Ｐゴシック", row.height + 1, 0, font);
            std::vector<GlyphRun> again;
            BeginPath(dc);
            outputText(dc, lf, row.text, 0, 10, 20);
            EndPath(dc);
            flattenPathInto(dc, points, types, &again);
            ASSERT_EQ(again.size(), 4u);
            for (const GlyphRun& earlier : runs)
                EXPECT_NE(again[0].copy, earlier.copy);
        }
    }
}
