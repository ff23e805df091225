// OffscreenCapture::unheldIslands: a stencil that cannot hold an island
// says which, by its character and place, as the check tells them.

#include "export/offscreen_capture.hpp"

#include <cstdio>

namespace lw {

std::string OffscreenCapture::unheldIslands(SaveFormat format, const CadOptions& cad)
{
    const ToolReport report = check(format, cad, 0);
    char width[32];
    std::snprintf(width, sizeof width, "%.4g", cad.stencilPixels * kMmPerInch / dpi_);
    std::string said = std::string("no bridge ") + width + " mm wide can hold ";
    if (report.islands.empty())
        said += "every island";
    for (std::size_t k = 0; k < report.islands.size(); ++k) {
        const ReportIsland& island = report.islands[k];
        char place[96];
        std::snprintf(place, sizeof place, " at (%.3f, %.3f) mm, %.3f square mm", island.at.x, island.at.y, island.area);
        said += (k == 0 ? "the island" : ", the island");
        if (!island.at.character.empty())
            said += " in \"" + island.at.character + "\"";
        said += place;
    }
    return said + "; nothing was written";
}

} // namespace lw
