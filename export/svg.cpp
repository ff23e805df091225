#include "export/svg.hpp"

#include "export/byte_files.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace lw {
namespace {

struct Shape {
    std::span<const POINT> points;
    double area; // shoelace, device coordinates
};

std::vector<Shape> shapesOf(const CapturedOutline& o)
{
    std::vector<Shape> out;
    for (const Figure& f : figures(o)) {
        if (!f.closed)
            continue;
        double area = 0;
        for (std::size_t k = 0; k < f.points.size(); ++k) {
            const POINT& a = f.points[k];
            const POINT& b = f.points[(k + 1) % f.points.size()];
            area += double(a.x) * b.y - double(b.x) * a.y;
        }
        out.push_back({f.points, area / 2});
    }
    return out;
}

} // namespace

void writeSvg(std::ostream& out, const CapturedOutline& o)
{
    std::vector<Shape> shapes = shapesOf(o);
    long left = LONG_MAX, top = LONG_MAX, right = LONG_MIN, bottom = LONG_MIN;
    for (const Figure& f : figures(o)) {
        for (const POINT& p : f.points) {
            left = std::min<long>(left, p.x);
            right = std::max<long>(right, p.x);
            top = std::min<long>(top, p.y);
            bottom = std::max<long>(bottom, p.y);
        }
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
    for (const Shape& f : shapes) {
        if (std::fabs(f.area) > largest) {
            largest = std::fabs(f.area);
            outerSign = f.area < 0 ? -1 : 1;
        }
    }
    auto isHole = [&](const Shape& f) { return f.area * outerSign < 0; };
    std::stable_partition(shapes.begin(), shapes.end(), [&](const Shape& f) { return !isHole(f); });

    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" viewBox=\"" << left << ' ' << top << ' ' << width << ' ' << height << "\">\n"
        << "<rect x=\"" << left << "\" y=\"" << top << "\" width=\"" << width << "\" height=\"" << height
        << "\" fill=\"white\"/>\n"
        << "<g fill-rule=\"evenodd\" stroke=\"none\">\n";
    for (const Shape& f : shapes) {
        out << "<path fill=\"" << (isHole(f) ? "white" : "black") << "\" d=\"";
        for (std::size_t k = 0; k < f.points.size(); ++k)
            out << (k == 0 ? "M" : " L") << f.points[k].x << ',' << f.points[k].y;
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
