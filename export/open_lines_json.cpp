#include "export/open_lines_json.hpp"

#include "export/capture_json.hpp"

#include <algorithm>

namespace lw {

void writeOpenLinesJson(ByteSink& out, const OpenLinesJsonInputs& in, const OpenLines& lines)
{
    std::string s = "{\"text\": ";
    appendJsonString(s, in.text);
    s += ", \"strokeFont\": ";
    appendJsonString(s, in.face);
    s += ", \"file\": ";
    appendJsonString(s, in.file);
    s += ", \"size\": ";
    appendJsonNumber(s, in.size);
    s += ", \"angle\": " + std::to_string(in.angle) + ", \"units\": \"mm\", \"pen\": ";
    appendJsonNumber(s, lines.penMm);
    s += ", \"lineCount\": " + std::to_string(lines.count()) + ", \"lines\": [";
    MmPoint low{}, high{};
    bool any = false;
    for (std::size_t i = 0; i < lines.count(); ++i) {
        s += i ? ", [" : "[";
        const std::span<const MmPoint> line = lines.line(i);
        for (std::size_t k = 0; k < line.size(); ++k) {
            const MmPoint p = line[k];
            s += k ? ", [" : "[";
            appendJsonNumber(s, p.x);
            s += ", ";
            appendJsonNumber(s, p.y);
            s += "]";
            low = any ? MmPoint{std::min(low.x, p.x), std::min(low.y, p.y)} : p;
            high = any ? MmPoint{std::max(high.x, p.x), std::max(high.y, p.y)} : p;
            any = true;
        }
        s += "]";
        if (s.size() > (1 << 16)) {
            out << s;
            s.clear();
        }
    }
    s += "], \"bbox\": ";
    if (any) {
        s += "{\"minX\": ";
        appendJsonNumber(s, low.x);
        s += ", \"minY\": ";
        appendJsonNumber(s, low.y);
        s += ", \"maxX\": ";
        appendJsonNumber(s, high.x);
        s += ", \"maxY\": ";
        appendJsonNumber(s, high.y);
        s += "}";
    } else {
        s += "null";
    }
    s += "}\n";
    out << s;
}

} // namespace lw
