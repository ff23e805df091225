#pragma once
// Circular arcs fitted to a curved figure, for drawings whose readers take
// arcs (DXF's bulges) rather than Béziers. Each cubic becomes the arc
// through its ends and its middle, split in two until every point of the
// arcs lies within the tolerance of the curve and every point of the curve
// within the tolerance of the arcs; straight segments stay straight.
//
//   for (const ArcVertex& v : fitArcs(figure, 0.5))
//       emit(v.at, v.bulge);            // then on to the next vertex

#include "outline/curved_path.hpp"

#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace lw {

// A vertex and the arc from it to the next vertex (the last one's arc
// closes the ring back to the first): bulge = tan(sweep / 4), 0 for a
// straight segment, positive for an arc that turns from +x towards +y in the
// figure's own frame (a mirrored frame negates it).
struct ArcVertex {
    CurvePoint at;
    double bulge = 0;
};

std::vector<ArcVertex> fitArcs(const CurvedFigure& figure, double tolerance);

// A curve that may carry its arcs, fitted once where the curve was made
// (a glyph's curves kept from one drawing to the next). The arcs are shared
// with every copy of the glyph and placed by `arcShift` when read, so a
// drawing need not copy them. Such a curve may share its segments the same
// way (`keptSegments`, its own `segments` then empty): read them through
// segmentsOf, and take them with ownSegments before changing them.
struct ExactCurve : CurvedFigure {
    ExactCurve() = default;
    ExactCurve(CurvedFigure figure) : CurvedFigure(std::move(figure)) {}
    std::shared_ptr<const std::vector<ArcVertex>> arcs; // null or empty: none fitted
    CurvePoint arcShift{};
    double arcTolerance = 0;
    std::shared_ptr<const std::vector<CurveSegment>> keptSegments; // placed by arcShift
    // Where the kept segments start in their own frame, where arcs are
    // fitted in that frame (every copy then reads the same arcs, moved);
    // else a fit takes the segments where they lie.
    std::optional<CurvePoint> keptStart;
};

// The arcs of kept segments from `start`, in their own frame: what a curve
// that shares them carries, and what a writer fits for one that carries none.
std::vector<ArcVertex> fitKeptArcs(CurvePoint start, std::span<const CurveSegment> segments, double tolerance);

// The curve's segments: its own, or its shared ones as they lie (moved by
// the shift into `scratch`, its storage reused). The view holds until the
// curve or `scratch` changes.
std::span<const CurveSegment> segmentsOf(const ExactCurve& curve, std::vector<CurveSegment>& scratch);

// The shared segments, moved, made the curve's own: what a change in place
// needs first. A curve with its own segments is left as it is.
void ownSegments(ExactCurve& curve);

// The arcs as a writer reads them: each vertex at `at + shift`. Kept arcs
// come as they are shared, with the shift that places them, where they were
// fitted to the same tolerance and then start where the curve does, so a
// drawing copies none of them; else arcs fitted now, in `scratch` (its
// storage reused from one contour to the next): for shared segments in
// their own frame with the shift that places them, the same arcs a carried
// fit would be, else unshifted. The view holds
// until the curve or `scratch` changes.
struct PlacedArcs {
    std::span<const ArcVertex> arcs;
    CurvePoint shift{};
};
PlacedArcs placedArcsOf(const ExactCurve& curve, double tolerance, std::vector<ArcVertex>& scratch);

// The point a fraction s in [0, 1] along the arc from `from` to `to`.
CurvePoint pointOnArc(CurvePoint from, CurvePoint to, double bulge, double s);

// The distance from `p` to the arc (or segment) from `from` to `to`.
double distanceToArc(CurvePoint p, CurvePoint from, CurvePoint to, double bulge);

} // namespace lw
