#pragma once
// The closed figures of an outline as a DXF drawing writes them: their
// extents in millimetres, and the arcs a figure with exact curves becomes.

#include "export/dxf.hpp"
#include "export/dxf_tags.hpp"

#include <cstddef>
#include <vector>

namespace lw::dxf {

// The extents of the closed figures' points, and how many closed figures
// there are.
Extents extentsOf(const CapturedOutline& outline, const MmPlacement& mm, unsigned& closedFigures);

// The arcs each closed figure is written as, fitted once for the extents
// and the entities alike; a figure with fewer than two vertices of arcs is
// written as its points.
struct FigureArcs {
    std::vector<PlacedArcs> placed;            // one per closed figure, or none without curves
    std::vector<std::vector<ArcVertex>> fitted; // the arcs fitted now, where `placed` views them
};

FigureArcs arcsOf(const DxfPlacement& placement, unsigned closedFigures);

// Whether closed figure `k` is written as arcs.
bool asArcs(const FigureArcs& a, std::size_t k);

// The extents of the figures as written: arcs reach past their vertices,
// up to half a grid step beyond the captured points.
Extents writtenExtentsOf(const CapturedOutline& outline, const MmPlacement& mm, const FigureArcs& arcs);

} // namespace lw::dxf
