#include "outline/open_line_arcs.hpp"

#include "outline/curve_bounds.hpp"

#include <cmath>
#include <numbers>
#include <span>

namespace lw {
namespace {

double distanceToSegment(MmPoint p, MmPoint a, MmPoint b)
{
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Points first..last within the tolerance of the chord between them, in
// order along it.
bool straight(std::span<const MmPoint> run, double tolerance)
{
    const MmPoint a = run.front(), b = run.back();
    const double dx = b.x - a.x, dy = b.y - a.y;
    double along = 0;
    for (const MmPoint& p : run.subspan(1, run.size() - 2)) {
        const double t = (p.x - a.x) * dx + (p.y - a.y) * dy;
        if (t < along || distanceToSegment(p, a, b) > tolerance)
            return false;
        along = t;
    }
    return true;
}

// The bulge of the arc through the run's first, middle and last points
// when every point and segment of the run lies within the tolerance of it
// and the run turns one way round its centre, less than a whole turn;
// otherwise 0 (no arc, or a straight one).
double arcThrough(std::span<const MmPoint> run, double tolerance)
{
    const MmPoint a = run.front(), m = run[run.size() / 2], b = run.back();
    const double d = 2 * ((m.x - a.x) * (b.y - a.y) - (m.y - a.y) * (b.x - a.x));
    if (std::fabs(d) < 1e-12)
        return 0;
    const double am = (m.x - a.x) * (m.x + a.x) + (m.y - a.y) * (m.y + a.y);
    const double ab = (b.x - a.x) * (b.x + a.x) + (b.y - a.y) * (b.y + a.y);
    const double cx = (am * (b.y - a.y) - ab * (m.y - a.y)) / d, cy = (ab * (m.x - a.x) - am * (b.x - a.x)) / d;
    const double radius = std::hypot(a.x - cx, a.y - cy);
    double sweep = 0, previous = std::atan2(a.y - cy, a.x - cx), off = 0;
    for (std::size_t k = 1; k < run.size(); ++k) {
        const MmPoint p = run[k];
        const double here = std::fabs(std::hypot(p.x - cx, p.y - cy) - radius);
        // The segment to p bows inside the circle by its chord's sagitta.
        const double half = std::hypot(p.x - run[k - 1].x, p.y - run[k - 1].y) / 2;
        const double sagitta = radius - std::sqrt(std::max(0.0, radius * radius - half * half));
        if (here > tolerance || sagitta + std::max(here, off) > tolerance)
            return 0;
        off = here;
        const double angle = std::atan2(p.y - cy, p.x - cx);
        double step = angle - previous;
        step -= 2 * std::numbers::pi * std::round(step / (2 * std::numbers::pi));
        if (k > 1 && (step > 0) != (sweep > 0))
            return 0;
        sweep += step, previous = angle;
    }
    if (std::fabs(sweep) >= 1.5 * std::numbers::pi)
        return 0;
    return std::tan(sweep / 4);
}

} // namespace

ArcLines linesAsArcs(const OpenLines& lines, double toleranceMm)
{
    ArcLines out;
    out.lines.penMm = lines.penMm;
    const bool widths = !lines.widthsMm.empty();
    for (std::size_t l = 0; l < lines.count(); ++l) {
        const std::span<const MmPoint> line = lines.line(l);
        const std::size_t offset = l == 0 ? 0 : lines.ends[l - 1];
        const auto keep = [&](std::size_t k, double bulge) {
            out.lines.points.push_back(line[k]);
            if (widths)
                out.lines.widthsMm.push_back(lines.widthsMm[offset + k]);
            out.bulges.push_back(bulge);
        };
        std::size_t i = 0;
        while (i + 1 < line.size()) {
            // The longest straight run, then the longest arc; the longer wins.
            std::size_t flat = i + 1;
            while (flat + 1 < line.size() && straight(line.subspan(i, flat + 2 - i), toleranceMm))
                ++flat;
            std::size_t round = i + 1;
            double bulge = 0;
            while (round + 1 < line.size()) {
                const double b = arcThrough(line.subspan(i, round + 2 - i), toleranceMm);
                if (b == 0)
                    break;
                ++round, bulge = b;
            }
            const bool arc = round > flat && bulge != 0;
            keep(i, arc ? bulge : 0);
            i = arc ? round : flat;
        }
        keep(line.size() - 1, 0);
        out.lines.ends.push_back(out.lines.points.size());
    }
    return out;
}

std::optional<MmBox> arcLinesBox(const OpenLines& lines, std::span<const double> bulges)
{
    if (lines.points.empty())
        return std::nullopt;
    CurveBox box;
    for (std::size_t l = 0; l < lines.count(); ++l) {
        const std::size_t first = l == 0 ? 0 : lines.ends[l - 1];
        box.add({lines.points[first].x, lines.points[first].y});
        for (std::size_t k = first; k + 1 < lines.ends[l]; ++k)
            boundArc(box, {lines.points[k].x, lines.points[k].y}, {lines.points[k + 1].x, lines.points[k + 1].y},
                     bulges[k]);
    }
    return MmBox{{box.left, box.top}, {box.right, box.bottom}};
}

} // namespace lw
