// Each glyph's arcs are fitted once in its own frame and read by every copy
// moved by whole grid units: a drawing's arcs must not depend on whether the
// cut carried them or the writer fitted them, on what the workspace held
// before, or on where a copy of the glyph lies.
#include "cut/cad_outline.hpp"
#include "outline/capture.hpp"
#include "outline/precision.hpp"
#include "platform/canvas.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

using lw::ArcVertex;
using lw::CurvePoint;

struct Drawing {
    lw::CapturedOutline outline;
    lw::CurvedPath path;
};

Drawing capture(const std::string& text, float points, int angle, const char* face)
{
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    lw::WindowFont font;
    font.size = points;
    font.faceName = face;
    const double dpi = lw::dpiForStep(0.01);
    Drawing d;
    lw::drawFlattenPath(lw::Placement::Origin,
                        {.text = text, .font = font, .angle = angle, .twipsPerPixelX = 1440 / dpi,
                         .advances = lw::Advances::Linear},
                        dc, d.outline, &d.path);
    return d;
}

// Every curve's arcs as a writer reads them, each vertex where it is written.
std::vector<std::vector<ArcVertex>> writtenArcs(const lw::CadOutline& cut)
{
    std::vector<std::vector<ArcVertex>> out;
    for (const auto& curve : cut.curves) {
        out.emplace_back();
        if (!curve)
            continue;
        std::vector<ArcVertex> scratch;
        const lw::PlacedArcs placed = lw::placedArcsOf(*curve, cut.curveTolerance, scratch);
        for (const ArcVertex& v : placed.arcs)
            out.back().push_back({{v.at.x + placed.shift.x, v.at.y + placed.shift.y}, v.bulge});
    }
    return out;
}

bool sameBits(const std::vector<ArcVertex>& a, const std::vector<ArcVertex>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].at.x != b[i].at.x || a[i].at.y != b[i].at.y || a[i].bulge != b[i].bulge)
            return false;
    return true;
}

TEST(GlyphArcs, CarriedOrFittedByTheWriterTheSameArcsAndEveryCopyTheSame)
{
    const struct {
        std::string text;
        float points;
        int angle;
        const char* face;
        bool merge;
        bool copies; // glyphs placed from their flattened copies (at an angle none are)
    } cases[] = {
        {"oOo soso 808 口口", 24, 0, "DejaVu Sans", true, true},
        {"oOo soso 808 口口", 24, 30, "DejaVu Serif", true, false},
        {"eee gg eee", 8, 0, "DejaVu Serif", false, true},
        {"aaaa BBBB", 144, 0, "DejaVu Sans", true, true},
        {"図図回回", 2, 0, "IPAGothic", true, true},
        {"Letterwire Letterwire", 1, 0, "DejaVu Sans", true, true},
    };
    // One workspace for the whole table, as a batch keeps it: what it
    // holds from the rows before must not show.
    lw::CutWorkspace kept;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " at " + std::to_string(c.points) + " pt, " + std::to_string(c.angle) + " degrees, " +
                     c.face);
        const Drawing d = capture(c.text, c.points, c.angle, c.face);
        const lw::CadOptions plain{.merge = c.merge, .curves = true};
        lw::CadOptions arcs = plain;
        arcs.arcs = true;
        const lw::CadOutline fresh = lw::cadOutline(d.outline, plain, &d.path);
        const lw::CadOutline carried = lw::cadOutline(d.outline, arcs, kept, &d.path);
        const lw::CadOutline again = lw::cadOutline(d.outline, arcs, kept, &d.path);
        const auto want = writtenArcs(fresh);
        ASSERT_EQ(carried.curves.size(), want.size());
        const auto got = writtenArcs(carried);
        const auto gotAgain = writtenArcs(again);
        std::size_t curved = 0, shared = 0;
        // Copies of one glyph figure, by their shared segments: the arcs in
        // the glyph's own frame and each copy's whole-grid shift.
        std::map<const void*, std::pair<std::vector<ArcVertex>, std::size_t>> copies;
        for (std::size_t k = 0; k < want.size(); ++k) {
            EXPECT_TRUE(sameBits(got[k], want[k])) << "contour " << k << " carried against fitted by the writer";
            EXPECT_TRUE(sameBits(gotAgain[k], want[k])) << "contour " << k << " from a kept fit";
            const auto& curve = carried.curves[k];
            if (!curve)
                continue;
            ++curved;
            // The arcs lie on the curve as its segments read (what SVG
            // writes): every vertex within the tolerance of a point of it.
            std::vector<lw::CurveSegment> moved;
            std::vector<CurvePoint> along{curve->start};
            CurvePoint from = curve->start;
            for (const lw::CurveSegment& s : lw::segmentsOf(*curve, moved)) {
                for (int i = 1; i <= 32; ++i)
                    along.push_back(lw::pointOn(s, from, i / 32.0));
                from = s.end;
            }
            for (const ArcVertex& v : got[k]) {
                double nearest = INFINITY;
                for (const CurvePoint& p : along)
                    nearest = std::min(nearest, std::hypot(p.x - v.at.x, p.y - v.at.y));
                ASSERT_LE(nearest, carried.curveTolerance) << "contour " << k;
            }
            if (!curve->keptSegments)
                continue;
            ++shared;
            // A shift of whole grid units, and the same arcs in the glyph's
            // own frame as every other copy of the figure reads.
            EXPECT_EQ(std::fmod(curve->arcShift.x, carried.gridScale), 0);
            EXPECT_EQ(std::fmod(curve->arcShift.y, carried.gridScale), 0);
            std::vector<ArcVertex> scratch;
            const lw::PlacedArcs placed = lw::placedArcsOf(*curve, carried.curveTolerance, scratch);
            EXPECT_EQ(placed.shift.x, curve->arcShift.x);
            EXPECT_EQ(placed.shift.y, curve->arcShift.y);
            const std::vector<ArcVertex> own(placed.arcs.begin(), placed.arcs.end());
            const auto [it, first] = copies.try_emplace(curve->keptSegments.get(), own, 1);
            if (!first) {
                EXPECT_TRUE(sameBits(it->second.first, own)) << "contour " << k << " against an earlier copy";
                ++it->second.second;
            }
        }
        EXPECT_GT(curved, 0u);
        std::size_t repeated = 0;
        for (const auto& [segments, entry] : copies)
            repeated += entry.second > 1;
        if (c.copies) {
            EXPECT_GT(shared, 0u) << "no glyph came from its flattened copy";
            EXPECT_GT(repeated, 0u) << "no glyph figure was read twice";
        }
    }
}

} // namespace
