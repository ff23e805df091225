#include "outline/outline_dump.hpp"

namespace lw {

std::string dumpOutline(const CapturedOutline& outline)
{
    std::string out;
    for (std::int32_t i = 0; i < outline.pointCount; ++i) {
        const POINT& p = outline.pathPoints[std::size_t(i)];
        std::uint8_t type = outline.pathTypes[std::size_t(i)];
        if (!out.empty())
            out.push_back(' ');
        out += type == PT_MOVETO ? "M " : "L ";
        out += std::to_string(p.x) + "," + std::to_string(p.y);
        if (type & PT_CLOSEFIGURE)
            out += " Z";
    }
    return out;
}

} // namespace lw
