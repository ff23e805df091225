#include "export/open_lines_svg.hpp"

#include "export/byte_files.hpp"
#include "export/svg.hpp"

#include <algorithm>
#include <cmath>

namespace lw {

void writeOpenLinesSvg(ByteSink& out, const OpenLines& lines)
{
    // SVG's y grows downwards.
    const MmBox box = lines.box().value_or(MmBox{});
    MmPoint low{box.min.x, -box.max.y}, high{box.max.x, -box.min.y};
    const double half = lines.penMm / 2;
    low = {low.x - half, low.y - half};
    high = {high.x + half, high.y + half};
    const std::string width = svgMillimetres(high.x - low.x), height = svgMillimetres(high.y - low.y);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "mm\" height=\"" << height
        << "mm\" viewBox=\"" << svgMillimetres(low.x) << ' ' << svgMillimetres(low.y) << ' ' << width << ' ' << height
        << "\">\n"
        << "<path fill=\"none\" stroke=\"black\" stroke-width=\"" << svgMillimetres(lines.penMm)
        << "\" stroke-linecap=\"round\" stroke-linejoin=\"round\" d=\"";
    const char* separator = "";
    for (std::size_t i = 0; i < lines.count(); ++i) {
        const std::span<const MmPoint> line = lines.line(i);
        for (std::size_t k = 0; k < line.size(); ++k) {
            out << separator << (k == 0 ? 'M' : 'L') << svgMillimetres(line[k].x) << ',' << svgMillimetres(-line[k].y);
            separator = " ";
        }
    }
    out << "\"/>\n</svg>\n";
}

void writeOpenLinesSvgFile(const std::string& path, const OpenLines& lines)
{
    OutputFile file(path);
    writeOpenLinesSvg(file.stream(), lines);
    file.close();
}

} // namespace lw
