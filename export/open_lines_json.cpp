#include "export/open_lines_json.hpp"

#include "export/capture_json.hpp"


namespace lw {

void writeOpenLinesJson(ByteSink& out, const OpenLinesJsonInputs& in, const OpenLines& lines)
{
    std::string s = "{\"text\": ";
    appendJsonString(s, in.text);
    s += in.centreline ? ", \"face\": " : ", \"strokeFont\": ";
    appendJsonString(s, in.face);
    s += ", \"file\": ";
    appendJsonString(s, in.file);
    s += ", \"size\": ";
    appendJsonNumber(s, in.size);
    s += ", \"angle\": " + std::to_string(in.angle) + ", \"units\": \"mm\", \"pen\": ";
    appendJsonNumber(s, lines.penMm);
    s += ", \"lineCount\": " + std::to_string(lines.count()) + ", \"lines\": [";
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
        }
        s += "]";
        if (s.size() > (1 << 16)) {
            out << s;
            s.clear();
        }
    }
    if (in.centreline) {
        s += "], \"widths\": [";
        for (std::size_t i = 0; i < lines.count(); ++i) {
            s += i ? ", [" : "[";
            const std::size_t first = i == 0 ? 0 : lines.ends[i - 1];
            for (std::size_t k = first; k < lines.ends[i]; ++k) {
                s += k != first ? ", " : "";
                if (k < lines.widthsMm.size())
                    appendJsonNumber(s, lines.widthsMm[k]);
                else
                    s += "null";
            }
            s += "]";
            if (s.size() > (1 << 16)) {
                out << s;
                s.clear();
            }
        }
    }
    s += "], \"bbox\": ";
    if (const std::optional<MmBox> box = lines.box()) {
        s += "{\"minX\": ";
        appendJsonNumber(s, box->min.x);
        s += ", \"minY\": ";
        appendJsonNumber(s, box->min.y);
        s += ", \"maxX\": ";
        appendJsonNumber(s, box->max.x);
        s += ", \"maxY\": ";
        appendJsonNumber(s, box->max.y);
        s += "}";
    } else {
        s += "null";
    }
    s += "}\n";
    out << s;
}

} // namespace lw
