#include "export/svg.hpp"

#include "export/byte_files.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace lw {
namespace {

struct Figure {
    std::size_t first;
    std::size_t last;
    double area; // shoelace, device coordinates
};

std::vector<Figure> figuresOf(const CapturedOutline& o)
{
    std::vector<Figure> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < std::size_t(std::max(o.pointCount, 0)); ++i) {
        if (!(o.pathTypes[i] & PT_CLOSEFIGURE))
            continue;
        double area = 0;
        for (std::size_t k = start; k <= i; ++k) {
            const POINT& a = o.pathPoints[k];
            const POINT& b = o.pathPoints[k == i ? start : k + 1];
            area += double(a.x) * b.y - double(b.x) * a.y;
        }
        out.push_back({start, i, area / 2});
        start = i + 1;
    }
    return out;
}

} // namespace

void writeSvg(std::ostream& out, const CapturedOutline& o)
{
    std::vector<Figure> figures = figuresOf(o);
    long left = LONG_MAX, top = LONG_MAX, right = LONG_MIN, bottom = LONG_MIN;
    for (std::size_t i = 0; i < std::size_t(std::max(o.pointCount, 0)); ++i) {
        left = std::min<long>(left, o.pathPoints[i].x);
        right = std::max<long>(right, o.pathPoints[i].x);
        top = std::min<long>(top, o.pathPoints[i].y);
        bottom = std::max<long>(bottom, o.pathPoints[i].y);
    }
    if (left > right) {
        left = top = 0;
        right = bottom = 1;
    }
    constexpr long kMargin = 4;
    left -= kMargin;
    top -= kMargin;
    long width = right - left + kMargin, height = bottom - top + kMargin;

    // The outlines' winding is the one of the largest figure; the other
    // winding marks holes.
    double outerSign = 1;
    double largest = 0;
    for (const Figure& f : figures) {
        if (std::fabs(f.area) > largest) {
            largest = std::fabs(f.area);
            outerSign = f.area < 0 ? -1 : 1;
        }
    }
    auto isHole = [&](const Figure& f) { return f.area * outerSign < 0; };
    std::stable_partition(figures.begin(), figures.end(), [&](const Figure& f) { return !isHole(f); });

    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" viewBox=\"" << left << ' ' << top << ' ' << width << ' ' << height << "\">\n"
        << "<rect x=\"" << left << "\" y=\"" << top << "\" width=\"" << width << "\" height=\"" << height
        << "\" fill=\"white\"/>\n"
        << "<g fill-rule=\"evenodd\" stroke=\"none\">\n";
    for (const Figure& f : figures) {
        out << "<path fill=\"" << (isHole(f) ? "white" : "black") << "\" d=\"";
        for (std::size_t k = f.first; k <= f.last; ++k)
            out << (k == f.first ? "M" : " L") << o.pathPoints[k].x << ',' << o.pathPoints[k].y;
        out << " Z\"/>\n";
    }
    out << "</g>\n</svg>\n";
}

void writeSvgFile(const std::string& path, const CapturedOutline& outline)
{
    OutputFile file(path);
    writeSvg(file.stream(), outline);
    file.close();
}

} // namespace lw
