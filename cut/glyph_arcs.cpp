#include "cut/glyph_arcs.hpp"

#include <cstdint>
#include <functional>

namespace lw {
namespace {

// Beyond these (glyphs, and their segments and arcs) the store starts
// again at the next drawing. Within a drawing it holds no more than the
// drawing's curves would hold each on its own.
constexpr std::size_t kMostGlyphs = 2048;
constexpr std::size_t kMostSegments = std::size_t(1) << 20;

} // namespace

std::size_t GlyphArcs::KeyHash::operator()(const Key& k) const
{
    return std::hash<const void*>()(k.curves) ^ (std::size_t(std::uint32_t(k.gridScale)) * 0x9E3779B97F4A7C15ull);
}

void GlyphArcs::startDrawing()
{
    if (glyphs_.size() > kMostGlyphs || segments_ > kMostSegments) {
        glyphs_.clear();
        segments_ = 0;
    }
}

GlyphArcs::Glyph& GlyphArcs::glyphOf(const CurvedRun& run, int gridScale)
{
    Glyph& glyph = glyphs_[Key{run.curves.get(), gridScale}];
    if (!glyph.curves) {
        glyph.curves = run.curves;
        glyph.gridScale = gridScale;
        appendCurvedFigures(run.curves->points, run.curves->types, 0, 0, glyph.figures);
        glyph.kept.resize(2 * glyph.figures.size());
    }
    return glyph;
}

const std::vector<CurvedFigure>& GlyphArcs::figuresOf(const CurvedRun& run, int gridScale)
{
    return glyphOf(run, gridScale).figures;
}

ExactCurve GlyphArcs::curveOf(const CurvedRun& run, std::size_t figure, bool turned, int gridScale,
                              double arcTolerance)
{
    Glyph& glyph = glyphOf(run, gridScale);
    Kept& kept = glyph.kept[2 * figure + (turned ? 1 : 0)];
    if (!kept.segments) {
        CurvedFigure own = glyph.figures[figure];
        asContour(own, turned, gridScale);
        // A writer reads shared segments and arcs at a shift of 0 as they
        // are and others as x + dx: no -0 here keeps the two the same bits.
        const auto noNegativeZero = [](CurvePoint& p) { p = {p.x + 0.0, p.y + 0.0}; };
        noNegativeZero(own.start);
        for (CurveSegment& s : own.segments) {
            noNegativeZero(s.c1);
            noNegativeZero(s.c2);
            noNegativeZero(s.end);
        }
        kept.start = own.start;
        segments_ += own.segments.size();
        kept.segments = std::make_shared<const std::vector<CurveSegment>>(std::move(own.segments));
    }
    if (arcTolerance > 0 && (!kept.arcs || kept.tolerance != arcTolerance)) {
        kept.arcs =
            std::make_shared<const std::vector<ArcVertex>>(fitKeptArcs(kept.start, *kept.segments, arcTolerance));
        kept.tolerance = arcTolerance;
        segments_ += kept.arcs->size();
    }

    // The run moves the glyph by whole pixels: on a grid of a power of two
    // per pixel, x * scale + dx * scale is (x + dx) * scale to the last bit,
    // the place the figure has in the path.
    const double dx = double(run.dx) * gridScale, dy = double(run.dy) * gridScale;
    ExactCurve c;
    c.start = {kept.start.x + dx, kept.start.y + dy};
    c.keptSegments = kept.segments;
    c.keptStart = kept.start;
    c.arcShift = {dx, dy};
    if (arcTolerance > 0) {
        c.arcs = kept.arcs;
        c.arcTolerance = arcTolerance;
    }
    return c;
}

} // namespace lw
