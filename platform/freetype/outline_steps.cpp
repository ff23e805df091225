#include "platform/freetype/outline_steps.hpp"

#include <ft2build.h>
#include FT_OUTLINE_H

namespace lw {
namespace {

struct Point {
    double x, y;
};

Point at(const FT_Vector& v) { return {double(v.x), double(v.y)}; }

// Font units are whole and well inside 2^23, so a midpoint is a half unit
// at worst and the float of a step holds it exactly.
Point middle(Point a, Point b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

void add(std::vector<OutlineStep>& out, OutlineStep::Kind kind, Point p)
{
    out.push_back({kind, {float(p.x)}, {float(p.y)}});
}

void addConic(std::vector<OutlineStep>& out, Point control, Point to)
{
    out.push_back({OutlineStep::Conic, {float(control.x), float(to.x)}, {float(control.y), float(to.y)}});
}

void addCubic(std::vector<OutlineStep>& out, Point c1, Point c2, Point to)
{
    out.push_back({OutlineStep::Cubic, {float(c1.x), float(c2.x), float(to.x)}, {float(c1.y), float(c2.y), float(to.y)}});
}

// One contour, points first..last, walked as FT_Outline_Decompose walks it.
bool appendContour(const FT_Outline& outline, int first, int last, std::vector<OutlineStep>& out)
{
    auto tag = [&outline](int i) { return FT_CURVE_TAG(outline.tags[i]); };
    auto point = [&outline](int i) { return at(outline.points[i]); };

    Point start = point(first);
    int i = first;
    int limit = last;
    if (tag(first) == FT_CURVE_TAG_CUBIC)
        return false;
    if (tag(first) == FT_CURVE_TAG_CONIC) {
        // A contour may begin off the curve: it starts at its last point
        // when that one is on it, else halfway between the two.
        if (tag(last) == FT_CURVE_TAG_ON) {
            start = point(last);
            --limit;
        } else {
            start = middle(start, point(last));
        }
        --i;
    }
    add(out, OutlineStep::Move, start);

    while (i < limit) {
        ++i;
        switch (tag(i)) {
        case FT_CURVE_TAG_ON:
            add(out, OutlineStep::Line, point(i));
            continue;
        case FT_CURVE_TAG_CONIC: {
            Point control = point(i);
            bool ended = false; // on a point on the curve, within the contour
            while (i < limit && !ended) {
                ++i;
                const Point next = point(i);
                if (tag(i) == FT_CURVE_TAG_ON) {
                    addConic(out, control, next);
                    ended = true;
                } else if (tag(i) == FT_CURVE_TAG_CONIC) {
                    addConic(out, control, middle(control, next));
                    control = next;
                } else {
                    return false;
                }
            }
            if (ended)
                continue;
            // The last control bends back to the start: no closing line.
            addConic(out, control, start);
            return true;
        }
        default: // cubic: two controls, then the end point
            if (i + 1 > limit || tag(i + 1) != FT_CURVE_TAG_CUBIC)
                return false;
            i += 2;
            if (i <= limit) {
                addCubic(out, point(i - 2), point(i - 1), point(i));
                continue;
            }
            addCubic(out, point(i - 2), point(i - 1), start);
            return true;
        }
    }
    // The contour closes with a line back to its start.
    add(out, OutlineStep::Line, start);
    return true;
}

} // namespace

bool appendOutlineSteps(const FT_Outline& outline, std::vector<OutlineStep>& steps)
{
    const std::size_t before = steps.size();
    int first = 0;
    for (int n = 0; n < outline.n_contours; ++n) {
        const int last = outline.contours[n];
        if (last < first || last >= outline.n_points || !appendContour(outline, first, last, steps)) {
            steps.resize(before);
            return false;
        }
        first = last + 1;
    }
    return true;
}

} // namespace lw
