#include "outline/outline_dump.hpp"

namespace lw {

std::string dumpOutline(const CapturedOutline& outline)
{
    std::string out;
    for (const Figure& figure : figures(outline)) {
        for (std::size_t k = 0; k < figure.points.size(); ++k) {
            if (!out.empty())
                out.push_back(' ');
            out += figure.types[k] == PT_MOVETO ? "M " : "L ";
            out += std::to_string(figure.points[k].x) + "," + std::to_string(figure.points[k].y);
        }
        if (figure.closed)
            out += " Z";
    }
    return out;
}

} // namespace lw
