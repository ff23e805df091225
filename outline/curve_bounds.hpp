#pragma once
// The exact box of written curves: a cubic's by the points where it turns
// along x or y, an arc's by the points where it crosses an axis through its
// centre. Control points are no bound: a reader's extents are the curve's.
//
//   CurveBox box;
//   box.add(start);
//   boundSegment(box, start, segment);           // a cubic's turning points
//   boundArc(box, v.at, next.at, v.bulge);       // then on to the next vertex

#include "outline/curved_path.hpp"

#include <span>

namespace lw {

struct CurveBox {
    bool any = false;
    double left = 0, top = 0, right = 0, bottom = 0; // in the curve's own units, top the lower y
    void add(CurvePoint p);
};

// The segment's end and, for a cubic, its extremes in x and y; `from` is
// where it starts and is not added.
void boundSegment(CurveBox& box, CurvePoint from, const CurveSegment& segment);

// A whole figure: its start, then each segment from the end of the one
// before.
void boundFigure(CurveBox& box, CurvePoint start, std::span<const CurveSegment> segments);

// The arc's end `to` and its extremes (bulge as ArcVertex has it: 0 for a
// straight segment); `from` is not added.
void boundArc(CurveBox& box, CurvePoint from, CurvePoint to, double bulge);

} // namespace lw
