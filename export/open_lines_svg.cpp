#include "export/open_lines_svg.hpp"

#include "export/byte_files.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lw {
namespace {

// As the outline's picture writes them: to the nanometre, no trailing zeros.
std::string millimetres(double value)
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

} // namespace

void writeOpenLinesSvg(ByteSink& out, const OpenLines& lines)
{
    MmPoint low{0, 0}, high{0, 0};
    bool any = false;
    for (const MmPoint& p : lines.points) {
        const MmPoint q{p.x, -p.y};
        low = any ? MmPoint{std::min(low.x, q.x), std::min(low.y, q.y)} : q;
        high = any ? MmPoint{std::max(high.x, q.x), std::max(high.y, q.y)} : q;
        any = true;
    }
    const double half = lines.penMm / 2;
    low = {low.x - half, low.y - half};
    high = {high.x + half, high.y + half};
    const std::string width = millimetres(high.x - low.x), height = millimetres(high.y - low.y);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "mm\" height=\"" << height
        << "mm\" viewBox=\"" << millimetres(low.x) << ' ' << millimetres(low.y) << ' ' << width << ' ' << height
        << "\">\n"
        << "<path fill=\"none\" stroke=\"black\" stroke-width=\"" << millimetres(lines.penMm)
        << "\" stroke-linecap=\"round\" stroke-linejoin=\"round\" d=\"";
    const char* separator = "";
    for (std::size_t i = 0; i < lines.count(); ++i) {
        const std::span<const MmPoint> line = lines.line(i);
        for (std::size_t k = 0; k < line.size(); ++k) {
            out << separator << (k == 0 ? 'M' : 'L') << millimetres(line[k].x) << ',' << millimetres(-line[k].y);
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
