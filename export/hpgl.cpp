#include "export/hpgl.hpp"

#include "cut/cut.hpp"
#include "outline/curve_bounds.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace lw {
namespace {

struct Unit {
    double x = 0, y = 0;
};

struct WholeUnit {
    long long x = 0, y = 0;
    bool operator==(const WholeUnit&) const = default;
};

// The capture's units (device pixels or grid units) to plotter units, y up.
struct Place {
    double originX, originY, unitsPerPixel;
    Unit operator()(double px, double py) const
    {
        return {(px - originX) * unitsPerPixel, (originY - py) * unitsPerPixel};
    }
};

bool hasArcs(const std::vector<PlacedArcs>& arcs, std::size_t k) { return k < arcs.size() && arcs[k].arcs.size() >= 2; }

CurvePoint vertexAt(const PlacedArcs& a, std::size_t i)
{
    const ArcVertex& v = a.arcs[i % a.arcs.size()];
    return {v.at.x + a.shift.x, v.at.y + a.shift.y};
}

class Writer {
public:
    explicit Writer(ByteSink& out) : out_(out) {}
    ~Writer() { flush(); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void text(std::string_view bytes)
    {
        buffer_ += bytes;
        if (buffer_.size() > (1 << 16))
            flush();
    }
    void number(long long value)
    {
        char digits[24];
        buffer_.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    }
    void point(WholeUnit p)
    {
        number(p.x);
        buffer_ += ',';
        number(p.y);
    }
    // Degrees to the thousandth, without trailing zeros.
    void degrees(double value)
    {
        char digits[48];
        const double rounded = std::round(value * 1000) / 1000 + 0.0;
        char* end = std::to_chars(digits, digits + sizeof digits, rounded, std::chars_format::fixed, 3).ptr;
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.')
            --end;
        buffer_.append(digits, end);
    }
    void flush()
    {
        out_.write(buffer_);
        buffer_.clear();
    }

private:
    ByteSink& out_;
    std::string buffer_;
};

// Points along a closed path after its start, for the overcut: on through
// the path until `length` units, the last one part of the way.
std::vector<Unit> overcutPoints(const std::vector<Unit>& path, double length)
{
    std::vector<Unit> points;
    if (length <= 0 || path.size() < 2)
        return points;
    // At most once round: a longer overcut would cut the contour twice.
    for (std::size_t i = 1; i <= path.size() && length > 0; ++i) {
        const Unit a = path[i - 1], b = path[i % path.size()];
        const double step = std::hypot(b.x - a.x, b.y - a.y);
        if (step >= length) {
            const double t = length / step;
            points.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
            break;
        }
        points.push_back(b);
        length -= step;
    }
    return points;
}

} // namespace

void writeHpgl(ByteSink& out, const CapturedOutline& outline, const MmPlacement& mm, const HpglCurves& curves,
               const HpglForm& form)
{
    const Place place{mm.originX, mm.originY, kMmPerInch / mm.dpi * kHpglUnitsPerMm};
    // The arcs each figure is written as, fitted as the DXF fits them.
    std::vector<PlacedArcs> arcs;
    std::vector<std::vector<ArcVertex>> fitted;
    std::size_t closedFigures = 0;
    for (const Figure& f : figures(outline))
        closedFigures += f.closed ? 1 : 0;
    if (curves.curves) {
        arcs.resize(closedFigures);
        fitted.resize(closedFigures);
        for (std::size_t k = 0; k < closedFigures && k < curves.curves->size(); ++k)
            if ((*curves.curves)[k])
                arcs[k] = placedArcsOf(*(*curves.curves)[k], curves.tolerance, fitted[k]);
    }

    // The drawing's box as written, for the whole-unit move to the origin.
    CurveBox box;
    std::size_t k = 0;
    for (const Figure& f : figures(outline)) {
        if (!f.closed)
            continue;
        if (const std::size_t mine = k++; hasArcs(arcs, mine)) {
            box.add(vertexAt(arcs[mine], 0));
            for (std::size_t i = 0; i < arcs[mine].arcs.size(); ++i)
                boundArc(box, vertexAt(arcs[mine], i), vertexAt(arcs[mine], i + 1), arcs[mine].arcs[i].bulge);
            continue;
        }
        for (const POINT& p : f.points)
            box.add({double(p.x), double(p.y)});
    }
    Unit low{0, 0};
    if (box.any) {
        const Unit a = place(box.left, box.top), b = place(box.right, box.bottom);
        low = {std::min(a.x, b.x), std::min(a.y, b.y)};
    }
    // Rounding half up is the same before and after a whole-unit move (half
    // away from zero is not below zero): the box's low corner lands on 0.
    const auto nearest = [](double v) { return std::floor(v + 0.5); };
    const double moveX = -nearest(low.x), moveY = -nearest(low.y);
    const auto exact = [&](CurvePoint p) {
        const Unit u = place(p.x, p.y);
        return Unit{u.x + moveX, u.y + moveY};
    };
    const auto whole = [&](Unit u) { return WholeUnit{(long long)nearest(u.x), (long long)nearest(u.y)}; };

    Writer w(out);
    w.text("IN;SP");
    w.number(form.pen);
    w.text(";\n");
    const double overcut = form.overcutMm * kHpglUnitsPerMm;
    k = 0;
    std::vector<WholeUnit> points;
    std::vector<Unit> path;
    for (const Figure& f : figures(outline)) {
        if (!f.closed)
            continue;
        const std::size_t mine = k++;
        path.clear();
        if (hasArcs(arcs, mine)) {
            const PlacedArcs& a = arcs[mine];
            const WholeUnit start = whole(exact(vertexAt(a, 0)));
            w.text("PU");
            w.point(start);
            w.text(";");
            bool down = false; // an AA draws only with the pen down
            // Where the plotter's pen stands, as its own arithmetic puts it.
            Unit pen{double(start.x), double(start.y)};
            for (std::size_t i = 0; i < a.arcs.size(); ++i) {
                const CurvePoint fromPx = vertexAt(a, i), toPx = vertexAt(a, i + 1);
                const Unit from = exact(fromPx), to = exact(toPx);
                const WholeUnit toWhole = whole(to);
                const bool last = i + 1 == a.arcs.size();
                if (overcut > 0) {
                    constexpr int kPieces = 8; // the overcut's path along an arc
                    for (int s = 0; s < kPieces; ++s)
                        path.push_back(exact(pointOnArc(fromPx, toPx, a.arcs[i].bulge, double(s) / kPieces)));
                }
                // y runs up here and down in the capture: the arc turns the other way.
                const double bulge = -a.arcs[i].bulge;
                const double chord = std::hypot(to.x - from.x, to.y - from.y);
                // An arc within the rounding of its chord, or shorter than a unit, is its chord.
                if (bulge == 0 || chord < 1 || std::fabs(bulge) * chord / 2 <= 0.5) {
                    w.text("PD");
                    w.point(toWhole);
                    w.text(";");
                    pen = {double(toWhole.x), double(toWhole.y)};
                    down = true;
                    continue;
                }
                const double sweep = 4 * std::atan(bulge);
                const double along = chord / 2 * (1 - bulge * bulge) / (2 * bulge);
                const Unit centre{(from.x + to.x) / 2 - (to.y - from.y) / chord * along,
                                  (from.y + to.y) / 2 + (to.x - from.x) / chord * along};
                const WholeUnit c = whole(centre);
                const double cx = double(c.x), cy = double(c.y);
                double turn = std::atan2(double(toWhole.y) - cy, double(toWhole.x) - cx) -
                              std::atan2(pen.y - cy, pen.x - cx);
                while (turn - sweep > std::numbers::pi)
                    turn -= 2 * std::numbers::pi;
                while (turn - sweep < -std::numbers::pi)
                    turn += 2 * std::numbers::pi;
                const double degrees = std::round(turn * 180 / std::numbers::pi * 1000) / 1000;
                w.text(down ? "AA" : "PD;AA");
                down = true;
                w.point(c);
                w.text(",");
                w.degrees(degrees);
                w.text(";");
                const double radians = degrees * std::numbers::pi / 180;
                const Unit end{cx + (pen.x - cx) * std::cos(radians) - (pen.y - cy) * std::sin(radians),
                               cy + (pen.x - cx) * std::sin(radians) + (pen.y - cy) * std::cos(radians)};
                // The plotter's end strays by its own rounding: brought back
                // where that exceeds the bound, and always at the close.
                if (std::fabs(end.x - to.x) > 0.5 || std::fabs(end.y - to.y) > 0.5 ||
                    (last && std::hypot(end.x - double(toWhole.x), end.y - double(toWhole.y)) > 1e-6)) {
                    w.text("PD");
                    w.point(toWhole);
                    w.text(";");
                    pen = {double(toWhole.x), double(toWhole.y)};
                } else {
                    pen = end;
                }
            }
            if (const std::vector<Unit> more = overcutPoints(path, overcut); !more.empty()) {
                w.text("PD");
                for (std::size_t i = 0; i < more.size(); ++i) {
                    w.text(i == 0 ? "" : ",");
                    w.point(whole(more[i]));
                }
                w.text(";");
            }
            w.text("\n");
            continue;
        }
        points.clear();
        for (const POINT& p : f.points) {
            const Unit u = exact({double(p.x), double(p.y)});
            // The plotter's unit is coarser than the grid: a point that rounds
            // onto the one before draws nothing.
            if (const WholeUnit q = whole(u); points.empty() || !(q == points.back())) {
                points.push_back(q);
                path.push_back(u);
            }
        }
        while (points.size() > 1 && points.back() == points.front()) {
            points.pop_back();
            path.pop_back();
        }
        if (points.size() < 2)
            continue;
        w.text("PU");
        w.point(points.front());
        w.text(";PD");
        for (std::size_t i = 1; i <= points.size(); ++i) {
            w.point(points[i % points.size()]);
            w.text(i == points.size() ? "" : ",");
        }
        for (const Unit& u : overcutPoints(path, overcut)) {
            w.text(",");
            w.point(whole(u));
        }
        w.text(";\n");
    }
    w.text("PU;\n");
}

void writeOpenLinesHpgl(ByteSink& out, const OpenLines& lines, int pen)
{
    Unit low{0, 0};
    for (std::size_t i = 0; i < lines.points.size(); ++i) {
        const MmPoint& p = lines.points[i];
        low = i == 0 ? Unit{p.x, p.y} : Unit{std::min(low.x, p.x), std::min(low.y, p.y)};
    }
    // As for outlines: the box's low corner lands on the origin.
    const auto nearest = [](double v) { return std::floor(v + 0.5); };
    const double moveX = -nearest(low.x * kHpglUnitsPerMm), moveY = -nearest(low.y * kHpglUnitsPerMm);
    const auto whole = [&](const MmPoint& p) {
        return WholeUnit{(long long)nearest(p.x * kHpglUnitsPerMm + moveX),
                         (long long)nearest(p.y * kHpglUnitsPerMm + moveY)};
    };
    Writer w(out);
    w.text("IN;SP");
    w.number(pen);
    w.text(";\n");
    std::vector<WholeUnit> points;
    for (std::size_t i = 0; i < lines.count(); ++i) {
        points.clear();
        for (const MmPoint& p : lines.line(i))
            if (const WholeUnit q = whole(p); points.empty() || !(q == points.back()))
                points.push_back(q);
        if (points.empty())
            continue;
        w.text("PU");
        w.point(points.front());
        // A stroke shorter than a unit is still a dot of ink, not nothing.
        w.text(points.size() == 1 ? ";PD;" : ";PD");
        for (std::size_t k = 1; k < points.size(); ++k) {
            w.point(points[k]);
            w.text(k + 1 == points.size() ? ";" : ",");
        }
        w.text("\n");
    }
    w.text("PU;\n");
}

} // namespace lw
