#include "cut/cad_outline.hpp"

#include "base/failure.hpp"
#include "cut/merge.hpp"
#include "cut/offset.hpp"
#include "cut/stencil.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lw {
namespace {

// The merge's integer range, and the finest grid worth having: points that
// arise where edges cross are rounded to it, so the merged area keeps the
// font's to about one part in a million even at 1 pt.
constexpr double kGridLimit = double(1 << 29);
constexpr int kFinestScale = 1 << 20;

int gridScaleFor(std::int64_t most, double offsetPixels, bool merge)
{
    const double reach = double(most) + std::fabs(offsetPixels) + 2;
    if (merge && reach * 2 >= kGridLimit)
        throw Failure(FailureKind::Overflow,
                      "the outline reaches " + std::to_string(std::llround(reach)) +
                          " device pixels from the origin, beyond the " + std::to_string(std::llround(kGridLimit / 2)) +
                          " the merge works within; choose a coarser precision or do not merge");
    int scale = 1;
    while (scale < kFinestScale && reach * scale * 2 < kGridLimit)
        scale *= 2;
    return scale;
}

Contour onGrid(const Piece& p)
{
    Contour c(p.count);
    for (std::uint32_t k = 0; k < p.count; ++k) {
        const POINT q = p.points[p.reversed ? p.count - 1 - k : k];
        c[k] = POINT{q.x * p.scale, q.y * p.scale};
    }
    return c;
}

Contour onGrid(const RingView& ring, int scale) { return onGrid(Piece{ring.points, ring.count, scale}); }

// Unmerged figures keep the font's roles: a figure that turns the way the
// outermost figure around it turns is an outer contour, the other way a hole.
std::vector<Role> rolesOf(const RingSet& rings, NestingScratch& scratch)
{
    const std::vector<Extent>& e = rings.extents;
    const std::size_t n = e.size();
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i)
        order[i] = i;
    const auto size = [&](std::size_t i) { return e[i].area < 0 ? -e[i].area : e[i].area; };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return size(a) > size(b); });
    std::vector<std::size_t> parent;
    parentsOf(rings.rings, e, order, parent, scratch);

    std::vector<bool> rootTurnsNegative(n);
    std::vector<Role> roles(n);
    for (std::size_t i : order) {
        rootTurnsNegative[i] = parent[i] != kNoParent ? rootTurnsNegative[parent[i]] : e[i].area < 0;
        roles[i] = (e[i].area < 0) == rootTurnsNegative[i] ? Role::Outer : Role::Hole;
    }
    return roles;
}

// The rings on the grid with each figure of no area (a figure-eight, its
// lobes cancelling) replaced by its lobes, which unmerged are contours of
// their own, outer or hole by the way each turns as any figure's are. False,
// leaving `into` as it was, where every ring has an area.
bool withLobes(const RingSet& rings, int scale, RingSet& into)
{
    std::vector<std::vector<Contour>> lobes(rings.rings.size());
    bool any = false;
    std::size_t room = 0;
    for (std::size_t i = 0; i < rings.rings.size(); ++i) {
        if (rings.extents[i].area == 0) {
            any = true;
            lobes[i] = lobesOf(rings.rings[i], scale);
            for (const Contour& c : lobes[i])
                room += c.size() + 1;
        } else {
            room += rings.rings[i].count + 1;
        }
    }
    if (!any)
        return false;
    into = RingSet{};
    into.points.reserve(room); // the views point into it
    const auto add = [&](const POINT* points, std::size_t count, int by, std::uint32_t first) {
        const std::size_t at = into.points.size();
        for (std::size_t k = 0; k < count; ++k)
            into.points.push_back(POINT{points[k].x * by, points[k].y * by});
        into.points.push_back(into.points[at]);
        into.rings.push_back({into.points.data() + at, std::uint32_t(count)});
        into.extents.push_back(extentOf(into.points.data() + at, count));
        into.firsts.push_back(first);
    };
    for (std::size_t i = 0; i < rings.rings.size(); ++i) {
        if (rings.extents[i].area != 0)
            add(rings.rings[i].points, rings.rings[i].count, scale, rings.firsts[i]);
        for (const Contour& c : lobes[i])
            add(c.data(), c.size(), 1, rings.firsts[i]);
    }
    into.reach = rings.reach * scale;
    return true;
}

std::vector<Shape> offsetOne(const Contour& c, Role role, double distance, double tolerance)
{
    Shape alone{c, {}};
    orient(alone.outer, Role::Outer);
    std::vector<Shape> out = offsetShapes({alone}, role == Role::Outer ? distance : -distance, tolerance);
    if (role == Role::Hole)
        for (Shape& s : out) {
            orient(s.outer, Role::Hole);
            s.holes.clear();
        }
    return out;
}

std::vector<Shape> shapesOf(const std::vector<Piece>& pieces)
{
    std::vector<Shape> shapes;
    for (const Piece& p : pieces) {
        if (p.outer || shapes.empty())
            shapes.push_back(Shape{onGrid(p), {}});
        else
            shapes.back().holes.push_back(onGrid(p));
    }
    return shapes;
}

std::vector<Piece> piecesOf(const std::vector<Shape>& shapes)
{
    std::vector<Piece> pieces;
    for (const Shape& s : shapes) {
        pieces.push_back({s.outer.data(), std::uint32_t(s.outer.size()), 1, false, true});
        for (const Contour& hole : s.holes)
            pieces.push_back({hole.data(), std::uint32_t(hole.size()), 1, false, false});
    }
    return pieces;
}

// Every coordinate times 2^shift; products stay within the 32 bits.
void scaleByShift(const POINT* from, std::uint32_t count, int shift, POINT* to)
{
    for (std::uint32_t k = 0; k < count; ++k)
        to[k] = POINT{std::int32_t(std::uint32_t(from[k].x) << shift), std::int32_t(std::uint32_t(from[k].y) << shift)};
}

// The same, the last point first: most fonts draw their outer contours
// the other way round from the drawing's.
void scaleByShiftReversed(const POINT* from, std::uint32_t count, int shift, POINT* to)
{
    std::uint32_t k = 0;
#if defined(__SSE2__)
    const __m128i by = _mm_cvtsi32_si128(shift);
    for (; k + 2 <= count; k += 2) {
        // Points count-1-k and count-2-k, swapped into order.
        const __m128i two = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + count - 2 - k));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + k), _mm_sll_epi32(_mm_shuffle_epi32(two, 0x4E), by));
    }
#endif
    for (; k < count; ++k)
        to[k] = POINT{std::int32_t(std::uint32_t(from[count - 1 - k].x) << shift),
                      std::int32_t(std::uint32_t(from[count - 1 - k].y) << shift)};
}

CapturedOutline outlineOf(const LOGFONT& logFont, const std::vector<Piece>& pieces)
{
    std::size_t points = 1;
    for (const Piece& p : pieces)
        points += p.count;
    // The last slot stays (0,0) / 0. Room made at their size (the outline's
    // own first slot would be one allocation more each) and filled piece by
    // piece, never first with zeros: megabytes of a long line.
    CapturedOutline out{.logFont = logFont, .pointCount = 0, .pathPoints = {}, .pathTypes = {}};
    std::vector<POINT>& to = out.pathPoints;
    std::vector<std::uint8_t>& types = out.pathTypes;
    to.reserve(points);
    types.reserve(points);
    for (const Piece& p : pieces) {
        // Copied as they lie, then scaled where they landed, in the cache:
        // the grid's scale is a power of two (gridScaleFor), a shift, which
        // the target does four lanes at a time where it has no such
        // multiply.
        const std::size_t at = to.size();
        to.insert(to.end(), p.points, p.points + p.count);
        POINT* landed = to.data() + at;
        if (p.reversed)
            std::reverse(landed, landed + p.count);
        scaleByShift(landed, p.count, std::countr_zero(std::uint32_t(p.scale)), landed);
        types.push_back(PT_MOVETO);
        types.insert(types.end(), p.count - 1, std::uint8_t(PT_LINETO));
        types.back() = PT_LINETO | PT_CLOSEFIGURE;
    }
    to.push_back(POINT{});
    types.push_back(0);
    out.pointCount = std::int32_t(points - 1);
    return out;
}

// outlineOf written over `buffer`, the rings' own buffer, which some of the
// pieces point into and nothing reads after: the outline takes it over, so
// the rings and the outline never take their room at once. Each piece goes
// down to the next free slot; a piece still to come whose points lie where
// that one lands is first copied aside. False, `buffer` and `pieces` left
// as they were, where the outline needs more room than the buffer has.
bool outlineOver(std::vector<POINT>& buffer, const LOGFONT& logFont, std::vector<Piece>& pieces, CapturedOutline& out)
{
    std::size_t points = 1;
    for (const Piece& p : pieces)
        points += p.count;
    if (points > buffer.capacity())
        return false;
    const std::uintptr_t base = reinterpret_cast<std::uintptr_t>(buffer.data());
    const std::uintptr_t end = base + buffer.size() * sizeof(POINT);
    // The pieces that lie in the buffer, by where they lie.
    std::vector<std::pair<std::size_t, std::size_t>> lying; // slot, piece
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(pieces[k].points);
        if (at >= base && at < end)
            lying.emplace_back((at - base) / sizeof(POINT), k);
    }
    if (!std::is_sorted(lying.begin(), lying.end()))
        std::sort(lying.begin(), lying.end());
    if (points > buffer.size())
        buffer.resize(points); // within its capacity: nothing moves
    std::vector<Contour> aside;
    Contour turned;
    std::vector<std::uint8_t> types(points);
    POINT* to = buffer.data();
    std::size_t next = 0; // the first of `lying` that may still lie ahead
    std::size_t written = 0;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        Piece& p = pieces[k];
        const std::size_t landsTo = written + p.count;
        for (; next < lying.size() && lying[next].first < landsTo; ++next) {
            Piece& ahead = pieces[lying[next].second];
            if (lying[next].second > k) {
                aside.emplace_back(ahead.points, ahead.points + ahead.count);
                ahead.points = aside.back().data();
            }
        }
        const int shift = std::countr_zero(std::uint32_t(p.scale));
        // Every piece still in the buffer lies at or after `to`, so a
        // forward copy reads each point before it is overwritten; a
        // reversed one that overlaps where it lands goes by a copy.
        const std::uintptr_t from = reinterpret_cast<std::uintptr_t>(p.points);
        if (p.reversed && from >= base && from < reinterpret_cast<std::uintptr_t>(to + p.count)) {
            turned.assign(p.points, p.points + p.count);
            scaleByShiftReversed(turned.data(), p.count, shift, to);
        } else if (p.reversed) {
            scaleByShiftReversed(p.points, p.count, shift, to);
        } else {
            scaleByShift(p.points, p.count, shift, to);
        }
        std::uint8_t* t = types.data() + written;
        t[0] = PT_MOVETO;
        std::fill(t + 1, t + p.count, std::uint8_t(PT_LINETO));
        t[p.count - 1] = PT_LINETO | PT_CLOSEFIGURE;
        to += p.count;
        written = landsTo;
    }
    to[0] = POINT{};
    types[written] = 0;
    buffer.resize(points);
    out = CapturedOutline{.logFont = logFont,
                          .pointCount = std::int32_t(points - 1),
                          .pathPoints = std::move(buffer),
                          .pathTypes = std::move(types)};
    buffer = {};
    return true;
}

} // namespace

// `letGo`: the caller's capture (the same object as `captured`), emptied as
// soon as the rings hold its figures, when nothing after reads its points.
static CadOutline cutReady(const CapturedOutline& captured, const CadOptions& options, CutWorkspace& work,
                           const CurvedPath* path, CapturedOutline* letGo = nullptr)
{
    const std::size_t count = captured.heldCount();
    // The capture's own points serve every test of the geometry (scaling by
    // a power of two changes none of them); only what is written, and what
    // goes to a clipper, moves onto the finer grid.
    RingSet& rings = work.rings;
    const bool curvesRead = options.curves && path;
    // A capture nothing reads after is cleaned where it lies, and the
    // outline then written where the rings lie: of the capture, the rings
    // and the cut-ready copy, only one holds the points at a time (a drawing
    // of millions of points peaks at 12 bytes a point instead of 20).
    const bool inPlace = letGo && !curvesRead;
    if (inPlace) {
        std::vector<POINT> own = std::move(letGo->pathPoints);
        ringsInPlace(own, std::span(letGo->pathTypes).first(count), rings);
        const LOGFONT logFont = letGo->logFont;
        *letGo = CapturedOutline{.logFont = logFont};
    } else {
        ringsOf(std::span(captured.pathPoints).first(count), std::span(captured.pathTypes).first(count), rings);
    }
    const int scale = gridScaleFor(rings.reach, options.offsetPixels, options.merge);
    const double distance = options.offsetPixels * scale;
    const double tolerance = kOffsetArcTolerance * scale;

    Merged merged;
    std::vector<Shape> shapes;
    std::vector<Piece> pieces;
    RingSet lobedRings; // unmerged figures of no area as their lobes
    if (options.merge) {
        merged = mergeNonzero(rings, scale, work.nesting, work.knownGroups);
        if (distance != 0) {
            shapes = offsetShapes(shapesOf(merged.pieces), distance, tolerance);
            pieces = piecesOf(shapes);
        } else {
            pieces = std::move(merged.pieces);
        }
    } else {
        const bool lobed = withLobes(rings, scale, lobedRings);
        const RingSet& own = lobed ? lobedRings : rings;
        const int ownScale = lobed ? 1 : scale;
        const std::vector<Role> roles = rolesOf(own, work.nesting);
        for (std::size_t i = 0; i < own.rings.size(); ++i) {
            if (distance != 0) {
                for (Shape& s : offsetOne(onGrid(own.rings[i], ownScale), roles[i], distance, tolerance))
                    shapes.push_back(std::move(s));
            } else {
                const bool outer = roles[i] == Role::Outer;
                pieces.push_back({own.rings[i].points, own.rings[i].count, ownScale,
                                  outer != (own.extents[i].area < 0), outer});
            }
        }
        if (distance != 0)
            pieces = piecesOf(shapes);
    }
    CadOutline cut{.outline = {}, .gridScale = scale};
    if (!inPlace || !outlineOver(rings.points, captured.logFont, pieces, cut.outline))
        cut.outline = outlineOf(captured.logFont, pieces);
    if (inPlace) {
        // Their points are the outline's now.
        rings.rings.clear();
        rings.extents.clear();
        rings.firsts.clear();
    }
    if (curvesRead) {
        cut.curveTolerance = 0.5 * scale;
        work.glyphArcs.startDrawing();
        cut.curves = exactCurvesFor(captured, *path, rings, pieces, scale, work.glyphArcs,
                                    options.arcs ? cut.curveTolerance : 0);
    }
    return cut;
}

CadOutline cadOutline(const CapturedOutline& captured, const CadOptions& options, CutWorkspace& work,
                      const CurvedPath* path)
{
    if (options.stencilPixels <= 0)
        return cutReady(captured, options, work, path);
    CadOptions merged = options;
    merged.merge = true;
    merged.curves = false;
    CadOutline cut = cutReady(captured, merged, work, nullptr);
    return withBridges(cut, options.stencilPixels * cut.gridScale, options.stencilBridges);
}

CadOutline cadOutline(CapturedOutline&& captured, const CadOptions& options, CutWorkspace& work,
                      const CurvedPath* path)
{
    // A stencil's islands are told by the capture's characters afterwards.
    if (options.stencilPixels > 0)
        return cadOutline(captured, options, work, path);
    return cutReady(captured, options, work, path, &captured);
}

CadOutline cadOutline(const CapturedOutline& captured, const CadOptions& options, const CurvedPath* path)
{
    CutWorkspace work;
    return cadOutline(captured, options, work, path);
}

MmPlacement onCadGrid(const MmPlacement& placement, const CadOutline& cad)
{
    return {placement.originX * cad.gridScale, placement.originY * cad.gridScale, placement.dpi * cad.gridScale};
}

} // namespace lw
