#include "export/svg.hpp"

#include "export/byte_files.hpp"

#include <algorithm>
#include <climits>

namespace lw {

void writeSvg(std::ostream& out, const CapturedOutline& o)
{
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

    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" viewBox=\"" << left << ' ' << top << ' ' << width << ' ' << height << "\">\n"
        << "<rect x=\"" << left << "\" y=\"" << top << "\" width=\"" << width << "\" height=\"" << height
        << "\" fill=\"white\"/>\n"
        << "<path fill=\"black\" fill-rule=\"nonzero\" stroke=\"none\" d=\"";
    // Every figure a subpath of one path, filled together by the winding
    // rule the font's outlines are made for: holes stay open and strokes
    // standing inside them stay ink, whatever order the font lists them in.
    const char* separator = "";
    for (const Figure& f : figures(o)) {
        if (!f.closed)
            continue;
        for (std::size_t k = 0; k < f.points.size(); ++k) {
            out << separator << (k == 0 ? 'M' : 'L') << f.points[k].x << ',' << f.points[k].y;
            separator = " ";
        }
        out << " Z";
    }
    out << "\"/>\n</svg>\n";
}

void writeSvgFile(const std::string& path, const CapturedOutline& outline)
{
    OutputFile file(path);
    writeSvg(file.stream(), outline);
    file.close();
}

} // namespace lw
