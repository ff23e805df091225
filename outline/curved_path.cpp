#include "outline/curved_path.hpp"

#include <cmath>

#include <algorithm>

namespace lw {

void appendCurvedFigures(std::span<const CurvePoint> points, std::span<const std::uint8_t> types, double dx,
                         double dy, std::vector<CurvedFigure>& out)
{
    const std::size_t n = std::min(points.size(), types.size());
    const auto at = [&](std::size_t i) { return CurvePoint{points[i].x + dx, points[i].y + dy}; };
    bool open = false;
    CurvedFigure current;
    const auto finish = [&] {
        if (open && !current.segments.empty())
            out.push_back(std::move(current));
        current = {};
        open = false;
    };
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t type = types[i];
        const std::uint8_t kind = type & ~PT_CLOSEFIGURE;
        if (kind == PT_MOVETO || !open) {
            finish();
            current.start = at(i);
            open = true;
            // Room for every point up to the figure's end, and a closing line
            // should it be turned round: one growth, not many.
            std::size_t end = i + 1;
            while (end < n && (types[end] & ~PT_CLOSEFIGURE) != PT_MOVETO && !(types[end - 1] & PT_CLOSEFIGURE))
                ++end;
            current.segments.reserve(end - i);
        } else if (kind == PT_BEZIERTO && i + 2 < n) {
            current.segments.push_back({true, at(i), at(i + 1), at(i + 2)});
            i += 2;
        } else {
            current.segments.push_back({false, {}, {}, at(i)});
        }
        if (types[i] & PT_CLOSEFIGURE)
            finish();
    }
    finish();
}

std::vector<CurvedFigure> curvedFigures(const CurvedPath& path, std::span<const std::uint8_t> leaveOut)
{
    std::vector<CurvedFigure> out;
    const std::size_t n = std::min(path.points.size(), path.types.size());
    const std::span<const CurvePoint> points(path.points.data(), n);
    const std::span<const std::uint8_t> types(path.types.data(), n);
    // Each stretch of points between runs holds whole figures: a glyph
    // starts with a move, and the walk closes a glyph's last figure.
    std::size_t from = 0;
    for (std::size_t r = 0; r < path.runs.size(); ++r) {
        const CurvedRun& run = path.runs[r];
        const std::size_t to = std::clamp(run.at, from, n);
        appendCurvedFigures(points.subspan(from, to - from), types.subspan(from, to - from), 0, 0, out);
        from = to;
        if ((r < leaveOut.size() && leaveOut[r]) || !run.curves)
            continue;
        appendCurvedFigures(run.curves->points, run.curves->types, run.dx, run.dy, out);
    }
    appendCurvedFigures(points.subspan(from), types.subspan(from), 0, 0, out);
    return out;
}

std::vector<CurvedFigure> curvedFigures(const CurvedPath& path) { return curvedFigures(path, {}); }

void reverse(CurvedFigure& f)
{
    if (f.segments.empty())
        return;
    std::vector<CurveSegment>& s = f.segments;
    // A figure that ends away from its start closes in a straight line,
    // which the reversed figure walks first.
    const CurvePoint last = s.back().end;
    const bool closesStraight = last.x != f.start.x || last.y != f.start.y;
    // Each segment runs back to where it began (downwards, so the end before
    // it is still as it was), then the order turns round.
    for (std::size_t k = s.size(); k-- > 0;) {
        const CurvePoint to = k == 0 ? f.start : s[k - 1].end;
        s[k] = s[k].cubic ? CurveSegment{true, s[k].c2, s[k].c1, to} : CurveSegment{false, {}, {}, to};
    }
    std::reverse(s.begin(), s.end());
    if (closesStraight)
        s.insert(s.begin(), CurveSegment{false, {}, {}, last});
}

CurvedFigure reversed(const CurvedFigure& f)
{
    CurvedFigure r;
    r.start = f.start;
    r.segments.reserve(f.segments.size() + 1);
    r.segments = f.segments;
    reverse(r);
    return r;
}

void scale(CurvedFigure& f, double factor)
{
    const auto times = [factor](CurvePoint& p) { p = {p.x * factor, p.y * factor}; };
    times(f.start);
    for (CurveSegment& s : f.segments) {
        times(s.c1);
        times(s.c2);
        times(s.end);
    }
}

CurvedFigure scaled(const CurvedFigure& f, double factor)
{
    CurvedFigure s = f;
    scale(s, factor);
    return s;
}

void asContour(CurvedFigure& f, bool turned, double gridScale)
{
    if (turned)
        reverse(f);
    scale(f, gridScale);
}

POINT rounded(CurvePoint p)
{
    return {std::int32_t(std::floor(p.x + 0.5)), std::int32_t(std::floor(p.y + 0.5))};
}

CurvePoint pointOn(const CurveSegment& s, CurvePoint from, double t)
{
    if (!s.cubic)
        return {from.x + (s.end.x - from.x) * t, from.y + (s.end.y - from.y) * t};
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return {a * from.x + b * s.c1.x + c * s.c2.x + d * s.end.x, a * from.y + b * s.c1.y + c * s.c2.y + d * s.end.y};
}

} // namespace lw
