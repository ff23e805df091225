#include "cut/curves.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace lw {
namespace {

constexpr std::int32_t kNone = -1;

std::size_t lowest(std::span<const POINT> c)
{
    std::size_t at = 0;
    for (std::size_t i = 1; i < c.size(); ++i)
        if (c[i].x < c[at].x || (c[i].x == c[at].x && c[i].y < c[at].y))
            at = i;
    return at;
}

std::uint64_t keyOf(POINT lowestPoint, std::size_t size)
{
    return (std::uint64_t(std::uint32_t(lowestPoint.x)) << 32 | std::uint32_t(lowestPoint.y)) * 31 + size;
}

// 1: the same ring the same way round, -1: turned round, 0: another ring;
// i and j are the rings' lowest points.
int sameRing(std::span<const POINT> a, std::size_t i, std::span<const POINT> b, std::size_t j)
{
    const std::size_t n = a.size();
    if (n != b.size() || n == 0)
        return 0;
    // Indices stepped and wrapped by hand: a division per point would cost
    // more than the comparison.
    bool forward = true;
    for (std::size_t k = 0, x = i, y = j; k < n && forward; ++k) {
        forward = a[x] == b[y];
        x = x + 1 == n ? 0 : x + 1;
        y = y + 1 == n ? 0 : y + 1;
    }
    if (forward)
        return 1;
    bool backward = true;
    for (std::size_t k = 0, x = i, y = j; k < n && backward; ++k) {
        backward = a[x] == b[y];
        x = x + 1 == n ? 0 : x + 1;
        y = y == 0 ? n - 1 : y - 1;
    }
    return backward ? -1 : 0;
}

// The captured curve of each ring, or kNone: its figure's, both lists rising
// by the figure's first point.
std::vector<std::int32_t> curvesOfRings(const RingSet& rings, std::span<const FigureCurve> figures)
{
    std::vector<std::int32_t> out(rings.rings.size(), kNone);
    std::size_t r = 0;
    for (const FigureCurve& f : figures) {
        while (r < rings.firsts.size() && rings.firsts[r] < f.first)
            ++r;
        if (r < rings.firsts.size() && rings.firsts[r] == f.first)
            out[r] = f.curve;
    }
    return out;
}

// The ring a piece is, where it is one of `rings` as they lie; else kNone.
std::int32_t ringOf(const Piece& piece, const RingSet& rings)
{
    const std::less<const POINT*> before;
    const std::vector<RingView>& views = rings.rings;
    if (views.empty() || before(piece.points, views.front().points) ||
        !before(piece.points, rings.points.data() + rings.points.size()))
        return kNone;
    const auto it = std::upper_bound(views.begin(), views.end(), piece.points,
                                     [&](const POINT* p, const RingView& v) { return before(p, v.points); });
    const RingView& ring = *(it - 1);
    return ring.points == piece.points && ring.count == piece.count ? std::int32_t(it - 1 - views.begin()) : kNone;
}

// The rings with a curve, on the pieces' grid, for pieces that are no ring
// of the set as it lies but may still be one of them point for point (the
// clipper hands back a contour it left alone as a copy).
class RingTable {
public:
    RingTable(const RingSet& rings, const std::vector<std::int32_t>& curveOf, int gridScale)
    {
        for (std::size_t r = 0; r < rings.rings.size(); ++r) {
            if (curveOf[r] == kNone)
                continue;
            const RingView& v = rings.rings[r];
            const std::size_t first = points_.size();
            for (std::uint32_t k = 0; k < v.count; ++k)
                points_.push_back(POINT{v.points[k].x * gridScale, v.points[k].y * gridScale});
            const std::span<const POINT> ring(points_.data() + first, v.count);
            const std::size_t low = lowest(ring);
            entries_.push_back({keyOf(ring[low], v.count), first, v.count, low, std::int32_t(r)});
        }
        std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
            return a.key < b.key || (a.key == b.key && a.first < b.first);
        });
    }

    // The ring `contour` is, and whether it runs the other way round.
    std::int32_t find(std::span<const POINT> contour, bool& turned) const
    {
        if (contour.size() < 3)
            return kNone;
        const std::size_t low = lowest(contour);
        const std::uint64_t key = keyOf(contour[low], contour.size());
        auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                                   [](const Entry& e, std::uint64_t k) { return e.key < k; });
        for (; it != entries_.end() && it->key == key; ++it)
            if (const int way = sameRing(contour, low, {points_.data() + it->first, it->size}, it->lowest);
                way != 0) {
                turned = way < 0;
                return it->ring;
            }
        return kNone;
    }

private:
    struct Entry {
        std::uint64_t key;
        std::size_t first, size, lowest;
        std::int32_t ring;
    };
    std::vector<POINT> points_;
    std::vector<Entry> entries_;
};

// What RingTable::find gives, by a walk over the rings: the first ring with
// a curve that is `contour`, found by its box and size before its points.
std::int32_t scanFor(std::span<const POINT> contour, const RingSet& rings, const std::vector<std::int32_t>& curveOf,
                     int gridScale, bool& turned, Contour& scratch)
{
    if (contour.size() < 3)
        return kNone;
    std::int32_t left = contour[0].x, right = left, top = contour[0].y, bottom = top;
    for (const POINT& q : contour) {
        left = std::min(left, q.x);
        right = std::max(right, q.x);
        top = std::min(top, q.y);
        bottom = std::max(bottom, q.y);
    }
    const std::size_t low = lowest(contour);
    for (std::size_t r = 0; r < rings.rings.size(); ++r) {
        const Extent& e = rings.extents[r];
        if (curveOf[r] == kNone || rings.rings[r].count != contour.size() || e.left * gridScale != left ||
            e.right * gridScale != right || e.top * gridScale != top || e.bottom * gridScale != bottom)
            continue;
        const RingView& v = rings.rings[r];
        scratch.resize(v.count);
        for (std::uint32_t k = 0; k < v.count; ++k)
            scratch[k] = POINT{v.points[k].x * gridScale, v.points[k].y * gridScale};
        if (const int way = sameRing(contour, low, scratch, lowest(scratch)); way != 0) {
            turned = way < 0;
            return std::int32_t(r);
        }
    }
    return kNone;
}

// Where each of a path's figures came from: a run's glyph (its figure's
// number among the glyph's own) or, kNone, the path's points.
struct FigureOrigin {
    std::int32_t run = kNone;
    std::uint32_t figure = 0;
};

// curvedFigures(path), telling each figure's origin. A figure of a glyph
// `kept` holds has only its start, placed as curvedFigures places it: its
// segments are read from the store.
std::vector<CurvedFigure> figuresWithOrigins(const CurvedPath& path, std::vector<FigureOrigin>& origins,
                                             GlyphArcs& kept, int gridScale)
{
    std::vector<CurvedFigure> out;
    origins.clear();
    const std::size_t n = std::min(path.points.size(), path.types.size());
    const std::span<const CurvePoint> points(path.points.data(), n);
    const std::span<const std::uint8_t> types(path.types.data(), n);
    const auto fromPoints = [&] { origins.resize(out.size()); };
    std::size_t from = 0;
    for (std::size_t r = 0; r < path.runs.size(); ++r) {
        const CurvedRun& run = path.runs[r];
        const std::size_t to = std::clamp(run.at, from, n);
        appendCurvedFigures(points.subspan(from, to - from), types.subspan(from, to - from), 0, 0, out);
        fromPoints();
        from = to;
        if (!run.curves)
            continue;
        const std::vector<CurvedFigure>& own = kept.figuresOf(run, gridScale);
        for (std::size_t f = 0; f < own.size(); ++f) {
            out.push_back({{own[f].start.x + run.dx, own[f].start.y + run.dy}, {}});
            origins.push_back({std::int32_t(r), std::uint32_t(f)});
        }
    }
    appendCurvedFigures(points.subspan(from), types.subspan(from), 0, 0, out);
    fromPoints();
    return out;
}

// The path's glyph runs and the store their curves come from, if any.
struct GlyphSource {
    const CurvedPath* path = nullptr;
    std::span<const FigureOrigin> origins;
    GlyphArcs* kept = nullptr;
    double arcTolerance = 0;
};

ExactCurves curvesOf(std::vector<CurvedFigure> curved, const RingSet& rings, std::span<const Piece> pieces,
                     int gridScale, std::span<const FigureCurve> figures, const GlyphSource& glyphs)
{
    const std::vector<std::int32_t> curveOf = curvesOfRings(rings, figures);

    // Each piece's curve and way round; most pieces are rings the merge
    // left where they lie, and only the others are compared point by point.
    struct Use {
        std::int32_t curve = kNone;
        bool turned = false;
    };
    std::vector<Use> uses(pieces.size());
    std::vector<std::uint8_t> usedBy(curved.size(), 0);
    std::optional<RingTable> table;
    std::size_t scans = 0;
    Contour contour, ringScratch;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const Piece& p = pieces[k];
        if (const std::int32_t r = ringOf(p, rings); r != kNone) {
            uses[k] = {curveOf[std::size_t(r)], p.reversed};
        } else {
            contour.resize(p.count);
            for (std::uint32_t i = 0; i < p.count; ++i) {
                const POINT q = p.points[p.reversed ? p.count - 1 - i : i];
                contour[i] = POINT{q.x * p.scale, q.y * p.scale};
            }
            // A few such pieces (a glyph or two the clipper took) are found
            // by the rings' boxes; the table pays off once the scans would
            // cost more than its points.
            bool turned = false;
            std::int32_t found = kNone;
            if (!table && (++scans) * rings.rings.size() <= rings.points.size()) {
                found = scanFor(contour, rings, curveOf, gridScale, turned, ringScratch);
            } else {
                if (!table)
                    table.emplace(rings, curveOf, gridScale);
                found = table->find(contour, turned);
            }
            if (found != kNone)
                uses[k] = {curveOf[std::size_t(found)], turned};
        }
        if (uses[k].curve != kNone && usedBy[std::size_t(uses[k].curve)] < 2)
            ++usedBy[std::size_t(uses[k].curve)];
    }

    ExactCurves out(pieces.size());
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        if (uses[k].curve == kNone)
            continue;
        const std::size_t j = std::size_t(uses[k].curve);
        if (glyphs.kept && j < glyphs.origins.size() && glyphs.origins[j].run != kNone) {
            const FigureOrigin& origin = glyphs.origins[j];
            const CurvePoint start{curved[j].start.x * gridScale, curved[j].start.y * gridScale};
            out[k] = glyphs.kept->curveOf(glyphs.path->runs[std::size_t(origin.run)], origin.figure, uses[k].turned,
                                          gridScale, glyphs.arcTolerance);
            out[k]->start = start; // where the path has it: the same value, as it is read elsewhere
            continue;
        }
        CurvedFigure& source = curved[j];
        // A curve only one piece takes moves there: no copy of its segments.
        if (usedBy[std::size_t(uses[k].curve)] == 1)
            out[k] = std::move(source);
        else
            out[k] = source;
        asContour(*out[k], uses[k].turned, gridScale);
    }
    return out;
}

} // namespace

void figureCurves(const CapturedOutline& captured, std::span<const CurvedFigure> curved,
                  std::span<const PointRange> leftOut, std::vector<FigureCurve>& out)
{
    out.clear();
    const std::span<const POINT> points = captured.points();
    const std::span<const std::uint8_t> types = captured.types();
    const std::size_t count = points.size();
    // The flattening keeps the figures' order and each one's first point
    // (rounded); a figure too small to flatten is the only one it drops, so
    // the curves are taken in order, each figure the next whose start
    // rounds to its first point.
    std::size_t next = 0, skip = 0;
    for (std::size_t i = 0; i < count;) {
        // The figures left out are passed over whole, not read.
        while (skip < leftOut.size() && leftOut[skip].end <= i)
            ++skip;
        if (skip < leftOut.size() && leftOut[skip].begin <= i) {
            i = leftOut[skip].end;
            continue;
        }
        const std::size_t first = i;
        while (i < count && !(types[i] & PT_CLOSEFIGURE))
            ++i;
        if (i == count)
            break; // an unclosed last figure makes no ring
        ++i;
        std::size_t j = next;
        while (j < curved.size() && !(rounded(curved[j].start) == points[first]))
            ++j;
        if (j == curved.size())
            continue;
        next = j + 1;
        out.push_back({first, std::int32_t(j)});
    }
}

ExactCurves exactCurvesFor(const CapturedOutline& captured, const CurvedPath& path, const RingSet& rings,
                           std::span<const Piece> pieces, int gridScale)
{
    std::vector<CurvedFigure> curved = curvedFigures(path);
    std::vector<FigureCurve> figures;
    figureCurves(captured, curved, {}, figures);
    return exactCurvesFor(std::move(curved), rings, pieces, gridScale, figures);
}

ExactCurves exactCurvesFor(const CapturedOutline& captured, const CurvedPath& path, const RingSet& rings,
                           std::span<const Piece> pieces, int gridScale, GlyphArcs& kept, double arcTolerance)
{
    std::vector<FigureOrigin> origins;
    std::vector<CurvedFigure> curved = figuresWithOrigins(path, origins, kept, gridScale);
    std::vector<FigureCurve> figures;
    figureCurves(captured, curved, {}, figures);
    return curvesOf(std::move(curved), rings, pieces, gridScale, figures,
                    GlyphSource{&path, origins, &kept, arcTolerance});
}

ExactCurves exactCurvesFor(std::vector<CurvedFigure> curved, const RingSet& rings, std::span<const Piece> pieces,
                           int gridScale, std::span<const FigureCurve> figures)
{
    return curvesOf(std::move(curved), rings, pieces, gridScale, figures, {});
}

} // namespace lw
