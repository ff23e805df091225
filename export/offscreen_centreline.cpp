#include "export/offscreen_capture.hpp"

#include "outline/anchor.hpp"
#include "cut/centreline.hpp"
#include "cut/tool_check.hpp"

namespace lw {

OpenLines OffscreenCapture::centreline(SaveFormat format)
{
    // The very figures a merged drawing writes, mirrored as it is, so the
    // lines lie where its outline would.
    CadOutline cut = cadOutline(outline_, {.merge = true});
    MmPlacement mm = drawingPlacement(format, cut);
    if (placedByItsBox())
        mirror(cut, mm, mirror_);
    // Half a capture pixel: the flattening's own ripple, below which the
    // axis says nothing of the letter.
    const CentreLines axis = lw::centreline(cutContours(cut.outline), 0.5 * cut.gridScale);

    OpenLines lines;
    lines.points.reserve(axis.points.size());
    lines.widthsMm.reserve(axis.points.size());
    const double mmPerGrid = kMmPerInch / mm.dpi;
    for (const CentrePoint& p : axis.points) {
        lines.points.push_back({(p.x - mm.originX) * mmPerGrid, (mm.originY - p.y) * mmPerGrid});
        lines.widthsMm.push_back(2 * p.radius * mmPerGrid);
    }
    lines.ends = axis.ends;
    return lines;
}

} // namespace lw
