#include "export/svg.hpp"

#include "export/byte_files.hpp"
#include "outline/curve_bounds.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lw {
namespace {

// SVG's y grows downwards: the placement's y up, negated.
MmPoint onPage(const MmPlacement& mm, POINT p)
{
    const MmPoint q = toMillimetres(mm, p);
    return {q.x, -q.y};
}

MmPoint onPage(const MmPlacement& mm, CurvePoint p)
{
    const double mmPerUnit = kMmPerInch / mm.dpi;
    return {(p.x - mm.originX) * mmPerUnit, (p.y - mm.originY) * mmPerUnit};
}

void writeCurve(ByteSink& out, const ExactCurve& f, const MmPlacement& mm, std::vector<CurveSegment>& moved)
{
    const auto put = [&](CurvePoint p) {
        const MmPoint q = onPage(mm, p);
        out << svgMillimetres(q.x) << ',' << svgMillimetres(q.y);
    };
    out << 'M';
    put(f.start);
    for (const CurveSegment& s : segmentsOf(f, moved)) {
        if (s.cubic) {
            out << " C";
            put(s.c1);
            out << ' ';
            put(s.c2);
            out << ' ';
        } else {
            out << " L";
        }
        put(s.end);
    }
    out << " Z";
}

// The box of the curve as written: its start, its ends, and the turning
// points of its Béziers.
CurveBox boxOf(const ExactCurve& f, std::vector<CurveSegment>& moved)
{
    CurveBox box;
    boundFigure(box, f.start, segmentsOf(f, moved));
    return box;
}

} // namespace

void writeSvg(ByteSink& out, const CapturedOutline& o, const MmPlacement& mm, const ExactCurves* curves)
{
    MmPoint low{0, 0}, high{0, 0};
    bool any = false;
    const auto add = [&](MmPoint q) {
        low = any ? MmPoint{std::min(low.x, q.x), std::min(low.y, q.y)} : q;
        high = any ? MmPoint{std::max(high.x, q.x), std::max(high.y, q.y)} : q;
        any = true;
    };
    std::size_t closed = 0;
    std::vector<CurveSegment> moved; // reused from curve to curve
    for (const Figure& f : figures(o)) {
        if (!f.closed)
            continue;
        // A figure written as its curve spans the curve, which strays up to
        // half a grid step from the points.
        if (const std::size_t k = closed++; curves && k < curves->size() && (*curves)[k]) {
            const CurveBox box = boxOf(*(*curves)[k], moved);
            add(onPage(mm, CurvePoint{box.left, box.top}));
            add(onPage(mm, CurvePoint{box.right, box.bottom}));
            continue;
        }
        for (const POINT& p : f.points)
            add(onPage(mm, p));
    }
    const std::string width = svgMillimetres(high.x - low.x), height = svgMillimetres(high.y - low.y);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "mm\" height=\"" << height
        << "mm\" viewBox=\"" << svgMillimetres(low.x) << ' ' << svgMillimetres(low.y) << ' ' << width << ' ' << height
        << "\">\n"
        << "<path fill=\"black\" fill-rule=\"nonzero\" stroke=\"none\" d=\"";
    // Every figure a subpath of one path, filled together by the winding
    // rule: holes stay open and strokes standing inside them stay ink,
    // whatever order the font lists them in.
    const char* separator = "";
    std::size_t index = 0;
    for (const Figure& f : figures(o)) {
        if (!f.closed)
            continue;
        if (const std::size_t k = index++; curves && k < curves->size() && (*curves)[k]) {
            out << separator;
            writeCurve(out, *(*curves)[k], mm, moved);
            separator = " ";
            continue;
        }
        for (std::size_t k = 0; k < f.points.size(); ++k) {
            const MmPoint q = onPage(mm, f.points[k]);
            out << separator << (k == 0 ? 'M' : 'L') << svgMillimetres(q.x) << ',' << svgMillimetres(q.y);
            separator = " ";
        }
        out << " Z";
    }
    out << "\"/>\n</svg>\n";
}

void writeSvgFile(const std::string& path, const CapturedOutline& outline, const MmPlacement& mm,
                  const ExactCurves* curves)
{
    OutputFile file(path);
    writeSvg(file.stream(), outline, mm, curves);
    file.close();
}

std::string svgMillimetres(double value)
{
    char buffer[48];
    const double rounded = std::round(value * 1e6) / 1e6;
    char* end = std::to_chars(buffer, buffer + sizeof buffer, rounded == 0 ? 0.0 : rounded,
                              std::chars_format::fixed, 6).ptr;
    while (end[-1] == '0')
        --end;
    if (end[-1] == '.')
        --end;
    return std::string(buffer, end);
}

} // namespace lw
