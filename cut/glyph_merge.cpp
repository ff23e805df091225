#include "cut/glyph_merge.hpp"

#include <algorithm>
#include <numeric>

namespace lw {
namespace {

// Not one of the candidates: a figure standing for itself.
constexpr std::size_t kOther = std::size_t(-1);

} // namespace

// Boxes that touch, as mergeNonzero groups rings: each box against those
// before it along the sweep whose far end it does not pass. Marks every candidate
// whose box touches another box.
void RunMerge::markTouching()
{
    std::vector<Box>& boxes = boxes_;
    std::vector<std::uint8_t>& touches = touches_;
    std::vector<const Box*>& open = open_;
    // Swept along the way the boxes spread most: a line of text at any
    // angle then has a glyph or two open at once, not all it holds.
    std::int32_t Box::*low = &Box::left;
    std::int32_t Box::*high = &Box::right;
    std::int32_t Box::*side = &Box::top;
    std::int32_t Box::*far = &Box::bottom;
    if (!boxes.empty()) {
        Box all = boxes.front();
        for (const Box& b : boxes)
            all = {std::min(all.left, b.left), std::min(all.top, b.top), std::max(all.right, b.right),
                   std::max(all.bottom, b.bottom), kOther};
        if (std::int64_t(all.right) - all.left < std::int64_t(all.bottom) - all.top) {
            std::swap(low, side);
            std::swap(high, far);
        }
    }
    std::sort(boxes.begin(), boxes.end(), [&](const Box& a, const Box& b) { return a.*low < b.*low; });
    open.clear();
    for (const Box& b : boxes) {
        std::erase_if(open, [&](const Box* o) { return o->*high < b.*low; });
        for (const Box* o : open)
            if (o->*side <= b.*far && b.*side <= o->*far) {
                if (o->candidate != kOther)
                    touches[o->candidate] = 1;
                if (b.candidate != kOther)
                    touches[b.candidate] = 1;
            }
        open.push_back(&b);
    }
}

// The raw box of each figure in [begin, end): it holds the figure's ring,
// whatever cleaning takes. An unclosed last figure makes no ring.
void RunMerge::figureBoxes(std::span<const POINT> points, std::span<const std::uint8_t> types, std::size_t begin,
                           std::size_t end)
{
    std::vector<Box>& out = boxes_;
    for (std::size_t i = begin; i < end;) {
        Box b{points[i].x, points[i].y, points[i].x, points[i].y, kOther};
        std::size_t k = i;
        for (; k < end; ++k) {
            b.left = std::min(b.left, points[k].x);
            b.right = std::max(b.right, points[k].x);
            b.top = std::min(b.top, points[k].y);
            b.bottom = std::max(b.bottom, points[k].y);
            if (types[k] & PT_CLOSEFIGURE)
                break;
        }
        if (k < end)
            out.push_back(b);
        i = k + 1;
    }
}

bool RunMerge::plan(std::span<const POINT> points, std::span<const std::uint8_t> types,
                    std::span<const GlyphRun> runs, RingSet& rest)
{
    alone_.clear();
    points_ = points.data();
    const std::size_t n = std::min(points.size(), types.size());
    // Runs as the flattening gives them: in order, apart, within the points,
    // each whole figures.
    std::size_t end = 0;
    for (const GlyphRun& run : runs) {
        if (run.first < end || run.count == 0 || std::size_t(run.first) + run.count > n
            || (run.first > 0 && !(types[run.first - 1] & PT_CLOSEFIGURE))
            || !(types[run.first + run.count - 1] & PT_CLOSEFIGURE))
            return false;
        end = std::size_t(run.first) + run.count;
    }
    trimGlyphFacts(facts_);
    // The runs, and the figures between them known by their points (a glyph
    // flattened in place), each taken alone where its facts allow; every
    // other figure stands for itself by its box.
    gapRuns_.clear();
    gapRuns_.reserve(runs.size() + 1);
    std::vector<Alone>& candidates = candidates_;
    std::vector<Box>& boxes = boxes_;
    candidates.clear();
    boxes.clear();
    const auto consider = [&](const GlyphRun* run, const GlyphFacts* facts, std::size_t from, std::size_t to) {
        if (!facts || !facts->alone) {
            figureBoxes(points, types, from, to);
            return;
        }
        if (facts->hasRings)
            boxes.push_back({facts->left + run->dx, facts->top + run->dy, facts->right + run->dx,
                             facts->bottom + run->dy, candidates.size()});
        candidates.push_back({run, facts});
    };
    const auto gap = [&](std::size_t from, std::size_t to) {
        if (from >= to)
            return;
        GlyphRun& asRun = gapRuns_.emplace_back();
        consider(&asRun, figuresFactsFor(std::uint32_t(from), std::uint32_t(to - from), points.first(n),
                                         types.first(n), asRun, facts_),
                 from, to);
    };
    std::size_t from = 0;
    for (const GlyphRun& run : runs) {
        gap(from, run.first);
        from = std::size_t(run.first) + run.count;
        consider(&run, glyphFactsFor(run, points.first(n), types.first(n), facts_), run.first, from);
    }
    gap(from, n);
    if (candidates.empty())
        return false;
    std::vector<std::uint8_t>& touches = touches_;
    touches.assign(candidates.size(), 0);
    markTouching();
    for (std::size_t c = 0; c < candidates.size(); ++c)
        if (!touches[c])
            alone_.push_back(candidates[c]);
    if (alone_.empty())
        return false;

    std::vector<PointRange>& ranges = ranges_;
    ranges.clear();
    from = 0;
    for (const Alone& a : alone_) {
        if (a.run->first > from)
            ranges.push_back({from, a.run->first});
        from = std::size_t(a.run->first) + a.run->count;
    }
    if (from < n)
        ranges.push_back({from, n});
    ringsOf(points.first(n), types.first(n), ranges, rest);
    reach_ = rest.reach;
    for (const Alone& a : alone_) {
        const GlyphFacts& f = *a.facts;
        reach_ = std::max({reach_, -(std::int64_t(f.pointsLeft) + a.run->dx), std::int64_t(f.pointsRight) + a.run->dx,
                           -(std::int64_t(f.pointsTop) + a.run->dy), std::int64_t(f.pointsBottom) + a.run->dy});
    }
    return true;
}

const std::vector<Piece>& RunMerge::merge(const RingSet& rest, int scale, Merged& restMerged)
{
    if (!rest.rings.empty())
        restMerged = mergeNonzero(rest, scale, nesting_);
    std::vector<Piece>& pieces = pieces_;
    pieces.clear();
    std::size_t total = restMerged.pieces.size();
    for (const Alone& a : alone_)
        total += a.facts->boundaries.size();
    pieces.reserve(total);
    std::vector<Source>& sources = sources_;
    sources.clear();
    sources.reserve(total);
    // Both lists of groups rise by their first ring's place in the capture:
    // taken in that order together, they are the whole capture's groups.
    const auto& restGroups = restMerged.groups;
    std::size_t r = 0;
    const auto restUpTo = [&](std::uint64_t key) {
        for (; r < restGroups.size() && restGroups[r].first < key; ++r) {
            const std::size_t to = r + 1 < restGroups.size() ? restGroups[r + 1].pieceStart : restMerged.pieces.size();
            pieces.insert(pieces.end(), restMerged.pieces.begin() + std::ptrdiff_t(restGroups[r].pieceStart),
                          restMerged.pieces.begin() + std::ptrdiff_t(to));
            sources.resize(pieces.size());
        }
    };
    for (std::size_t i = 0; i < alone_.size(); ++i) {
        const Alone& a = alone_[i];
        const GlyphFacts& f = *a.facts;
        const POINT* at = points_ + a.run->first;
        for (std::size_t g = 0; g < f.groups.size(); ++g) {
            restUpTo(std::uint64_t(a.run->first) + f.groups[g].firstOffset);
            const std::size_t to = g + 1 < f.groups.size() ? f.groups[g + 1].boundaryStart : f.boundaries.size();
            for (std::size_t b = f.groups[g].boundaryStart; b < to; ++b) {
                const GlyphFacts::Boundary& bound = f.boundaries[b];
                pieces.push_back({at + bound.offset, bound.count, scale, bound.reversed, bound.outer});
                sources.push_back({std::uint32_t(i), std::uint32_t(b)});
            }
        }
    }
    restUpTo(UINT64_MAX);
    return pieces;
}

} // namespace lw
