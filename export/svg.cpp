#include "export/svg.hpp"

#include "export/byte_files.hpp"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>

namespace lw {

namespace {

// A coordinate on the outline's grid in device pixels, the shortest text that
// reads back the same (whole pixels print as before).
void writeCoordinate(std::ostream& out, std::int32_t value, int gridScale)
{
    char text[32];
    out.write(text, std::to_chars(text, text + sizeof text, double(value) / gridScale, std::chars_format::fixed).ptr - text);
}

} // namespace

void writeSvg(std::ostream& out, const CapturedOutline& o, int gridScale)
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
    const auto down = [&](long v) { return v >= 0 ? v / gridScale : -((-v + gridScale - 1) / gridScale); };
    const auto up = [&](long v) { return -down(-v); };
    left = down(left);
    top = down(top);
    right = up(right);
    bottom = up(bottom);
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
            out << separator << (k == 0 ? 'M' : 'L');
            writeCoordinate(out, f.points[k].x, gridScale);
            out << ',';
            writeCoordinate(out, f.points[k].y, gridScale);
            separator = " ";
        }
        out << " Z";
    }
    out << "\"/>\n</svg>\n";
}

void writeSvgFile(const std::string& path, const CapturedOutline& outline, int gridScale)
{
    OutputFile file(path);
    writeSvg(file.stream(), outline, gridScale);
    file.close();
}

} // namespace lw
