#include "cut/glyph_curves.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <memory>
#include <unordered_map>
#include <utility>

namespace lw {
namespace {

// As many glyphs as the merge's own facts keep; beyond that the store
// starts again rather than growing.
constexpr std::size_t kMostGlyphs = 2048;
constexpr std::size_t kMostSegments = std::size_t(1) << 20;

// A glyph's curves, one entry per boundary of its facts, on the grid and
// relative to its origin.
using KeptCurves = std::vector<std::optional<ExactCurve>>;

struct Key {
    std::uint64_t copy;
    int scale;
    bool operator==(const Key&) const = default;
};

struct KeyHash {
    std::size_t operator()(const Key& k) const
    {
        return std::size_t((k.copy * 0x9E3779B97F4A7C15ull) ^ std::uint32_t(k.scale));
    }
};

class CurvesCache {
public:
    const KeptCurves* find(Key key) const
    {
        const auto it = kept_.find(key);
        return it == kept_.end() ? nullptr : &it->second;
    }

    // KeptCurves until the next trim; a line of more glyphs than the store keeps
    // has the rest kept unnamed, until the next trim.
    const KeptCurves& add(Key key, KeptCurves kept)
    {
        if (kept_.size() >= kMostGlyphs || segments_ > kMostSegments)
            return unnamed_.emplace_back(std::move(kept));
        for (const std::optional<ExactCurve>& c : kept)
            if (c)
                segments_ += (c->keptSegments ? c->keptSegments->size() : c->segments.size())
                             + (c->arcs ? c->arcs->size() : 0);
        return kept_.emplace(key, std::move(kept)).first->second;
    }

    void trim()
    {
        unnamed_.clear();
        if (kept_.size() >= kMostGlyphs || segments_ > kMostSegments)
            clear();
    }

    void clear()
    {
        kept_.clear();
        unnamed_.clear();
        segments_ = 0;
    }

private:
    std::unordered_map<Key, KeptCurves, KeyHash> kept_;
    std::deque<KeptCurves> unnamed_; // stays where it is as more are added
    std::size_t segments_ = 0;
};

// Only the start moves: the segments and arcs stay shared, and a writer
// moves them as it reads them.
ExactCurve moved(const ExactCurve& c, double dx, double dy)
{
    ExactCurve m;
    m.start = {c.start.x + dx, c.start.y + dy};
    m.arcs = c.arcs;
    m.arcShift = {c.arcShift.x + dx, c.arcShift.y + dy};
    m.arcTolerance = c.arcTolerance;
    m.keptSegments = c.keptSegments;
    return m;
}

// The glyph's curves worked out from its copy's: each figure of the run
// takes, in order, the next curve whose start rounds to its first point (the
// flattening keeps the figures' order and drops only those too small to
// flatten), and each boundary its figure's curve, turned as the merge turns
// it, on the grid, with its arcs.
KeptCurves curvesOfGlyph(const GlyphRun& run, const GlyphFacts& facts, const GlyphCurves& curves,
                   std::span<const POINT> points, std::span<const std::uint8_t> types, int scale)
{
    std::vector<CurvedFigure> figures;
    appendCurvedFigures(curves.points, curves.types, 0, 0, figures);
    std::vector<std::pair<std::uint32_t, std::size_t>> curveAt; // figure's offset in the run, its curve
    std::size_t next = 0;
    for (std::uint32_t i = 0; i < run.count;) {
        const POINT first{points[run.first + i].x - run.dx, points[run.first + i].y - run.dy};
        std::size_t j = next;
        while (j < figures.size() && !(rounded(figures[j].start) == first))
            ++j;
        if (j < figures.size()) {
            curveAt.push_back({i, j});
            next = j + 1;
        }
        std::uint32_t k = i;
        while (k < run.count && !(types[run.first + k] & PT_CLOSEFIGURE))
            ++k;
        i = k + 1;
    }

    const double tolerance = 0.5 * scale;
    KeptCurves kept(facts.boundaries.size());
    for (std::size_t b = 0; b < facts.boundaries.size(); ++b) {
        const GlyphFacts::Boundary& bound = facts.boundaries[b];
        const auto it = std::lower_bound(curveAt.begin(), curveAt.end(), bound.offset,
                                         [](const auto& e, std::uint32_t offset) { return e.first < offset; });
        if (it == curveAt.end() || it->first != bound.offset)
            continue;
        ExactCurve c(figures[it->second]);
        asContour(c, bound.reversed, scale);
        std::vector<ArcVertex> arcs = fitArcs(static_cast<const CurvedFigure&>(c), tolerance);
        // A writer reads unmoved arcs and segments as they are and moved ones
        // as x + dx: no -0 here keeps the two the same bits at a shift of 0.
        const auto noNegativeZero = [](CurvePoint& p) { p = {p.x + 0.0, p.y + 0.0}; };
        for (ArcVertex& v : arcs)
            noNegativeZero(v.at);
        for (CurveSegment& s : c.segments) {
            noNegativeZero(s.c1);
            noNegativeZero(s.c2);
            noNegativeZero(s.end);
        }
        c.arcs = std::make_shared<const std::vector<ArcVertex>>(std::move(arcs));
        c.arcTolerance = tolerance;
        c.keptSegments = std::make_shared<const std::vector<CurveSegment>>(std::move(c.segments));
        c.segments.clear();
        kept[b] = std::move(c);
    }
    return kept;
}

} // namespace

// Kept from one drawing to the next: a line's curves are a few
// microseconds, and fresh allocations a good part of them.
struct GlyphCurvesStore::Parts {
    CurvesCache kept;
    std::vector<const CurvedRun*> runOf;
    std::vector<std::uint8_t> leaveOut;
    std::vector<PointRange> leftOut;
    std::vector<Piece> restPieces;
    std::vector<const KeptCurves*> keptOf;
    std::vector<FigureCurve> figures;
};

GlyphCurvesStore::GlyphCurvesStore() : parts_(new Parts, [](Parts* p) { delete p; }) {}

bool glyphCurvesFor(const CapturedOutline& captured, const CurvedPath& path, const RunMerge& byRuns,
                    const RingSet& rest, std::span<const Piece> pieces, int gridScale, GlyphCurvesStore& store,
                    ExactCurves& out)
{
    GlyphCurvesStore::Parts& scratch = store.parts();
    const std::size_t alone = byRuns.aloneCount();
    std::vector<const CurvedRun*>& runOf = scratch.runOf;
    std::vector<std::uint8_t>& leaveOut = scratch.leaveOut;
    std::vector<PointRange>& leftOut = scratch.leftOut;
    runOf.assign(alone, nullptr);
    leaveOut.assign(path.runs.size(), 0);
    leftOut.clear();
    bool inPlace = false;
    // Each glyph taken alone and the curved run of the same copy at the same
    // place, both lists in the path's order. A glyph flattened in place has
    // its curves among the path's own points instead.
    for (std::size_t i = 0, k = 0; i < alone; ++i) {
        if (byRuns.aloneInPlace(i)) {
            inPlace = true;
            continue;
        }
        const GlyphRun& run = byRuns.aloneRun(i);
        while (k < path.runs.size()
               && !(path.runs[k].copy == run.copy && path.runs[k].dx == run.dx && path.runs[k].dy == run.dy))
            ++k;
        if (k == path.runs.size() || !path.runs[k].curves)
            return false;
        runOf[i] = &path.runs[k];
        leaveOut[k] = 1;
        leftOut.push_back({run.first, std::size_t(run.first) + run.count});
        ++k;
    }

    const std::vector<RunMerge::Source>& sources = byRuns.sources();
    std::vector<Piece>& restPieces = scratch.restPieces;
    restPieces.clear();
    for (std::size_t k = 0; k < pieces.size(); ++k)
        if (sources[k].alone == RunMerge::kRest)
            restPieces.push_back(pieces[k]);
    out.assign(pieces.size(), std::nullopt);
    ExactCurves restCurves;
    if (!restPieces.empty() || inPlace) {
        std::vector<CurvedFigure> curved = curvedFigures(path, leaveOut);
        std::vector<FigureCurve>& figures = scratch.figures;
        figureCurves(captured, curved, leftOut, figures);
        // A glyph flattened in place and taken alone keeps its figures as
        // they lie, so each boundary takes its figure's curve, turned as the
        // merge turns it. No ring of the rest is one of those figures: their
        // curves can move out before the rest's are read.
        for (std::size_t k = 0; k < pieces.size() && inPlace; ++k) {
            const RunMerge::Source s = sources[k];
            if (s.alone == RunMerge::kRest || !byRuns.aloneInPlace(s.alone))
                continue;
            const GlyphFacts::Boundary& bound = byRuns.aloneFacts(s.alone).boundaries[s.boundary];
            const std::size_t first = std::size_t(byRuns.aloneRun(s.alone).first) + bound.offset;
            const auto it = std::lower_bound(figures.begin(), figures.end(), first,
                                             [](const FigureCurve& f, std::size_t at) { return f.first < at; });
            if (it == figures.end() || it->first != first)
                continue;
            asContour(out[k].emplace(std::move(curved[std::size_t(it->curve)])), bound.reversed, gridScale);
        }
        if (!restPieces.empty())
            restCurves = exactCurvesFor(std::move(curved), rest, restPieces, gridScale, figures);
    }

    const std::span<const POINT> points = captured.points();
    const std::span<const std::uint8_t> types = captured.types();
    CurvesCache& c = scratch.kept;
    c.trim();
    std::vector<const KeptCurves*>& keptOf = scratch.keptOf;
    keptOf.assign(alone, nullptr);
    for (std::size_t k = 0, r = 0; k < pieces.size(); ++k) {
        const RunMerge::Source s = sources[k];
        if (s.alone == RunMerge::kRest) {
            out[k] = std::move(restCurves[r++]);
            continue;
        }
        if (!runOf[s.alone])
            continue; // flattened in place: taken above
        const GlyphRun& run = byRuns.aloneRun(s.alone);
        const KeptCurves*& kept = keptOf[s.alone];
        if (!kept) {
            const Key key{run.copy, gridScale};
            kept = c.find(key);
            if (!kept)
                kept = &c.add(key, curvesOfGlyph(run, byRuns.aloneFacts(s.alone), *runOf[s.alone]->curves, points,
                                                  types, gridScale));
        }
        if (s.boundary < kept->size() && (*kept)[s.boundary])
            out[k] = moved(*(*kept)[s.boundary], double(run.dx) * gridScale, double(run.dy) * gridScale);
    }
    return true;
}

} // namespace lw
