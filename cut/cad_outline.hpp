#pragma once
// Cut-ready outlines for the CAD drawings (DXF, SVG): the capture's figures
// cleaned, by default merged by the nonzero rule into contours that never
// overlap, and optionally offset for a cutter's width. The result is again a
// captured outline, on a grid `gridScale` times finer than the capture's
// device pixels, so the writers take it as they take a capture. JW and WIT
// never pass through here: they keep the designed capture.
//
//   CadOutline cut = cadOutline(outline, {.merge = true, .offsetPixels = 2.5});
//   writeDxf(out, cut.outline, {.mm = onCadGrid(mm, cut), .text = text});

#include "cut/bridge.hpp"
#include "cut/contours.hpp"
#include "cut/curves.hpp"
#include "cut/workspace.hpp"
#include "outline/captured_outline.hpp"
#include "outline/precision.hpp"

namespace lw {

struct CadOptions {
    // Combine all figures into one outer boundary per connected shape, its
    // holes inside (the nonzero rule, as the font and the preview fill them).
    bool merge = true;
    // Move every outer contour outward and every hole inward by this many
    // device pixels (negative: the other way), round joins; contours that
    // vanish are dropped. 0: no offset.
    double offsetPixels = 0;
    // Keep the font's exact curves where a contour is a captured figure
    // unchanged (see curves.hpp); needs the capture's unflattened path.
    bool curves = false;
    // With curves: the writer reads them as arcs (DXF, HPGL), so each
    // glyph's are fitted here once for all its copies. The bytes are the
    // same either way; a writer fits what no curve carries.
    bool arcs = false;
    // A stencil: every island joined to the sheet around its letter by
    // bridges this many device pixels wide (stencil.hpp). 0: none. The
    // result is merged, and written as segments.
    double stencilPixels = 0;
    int stencilBridges = 1;
};

struct CadOutline {
    CapturedOutline outline; // closed figures only, each at least three distinct points
    int gridScale = 1;       // grid units per device pixel of the capture
    // With curves asked for: one entry per contour, and how far in grid
    // units a writer's arcs may stray from them (half the capture's pixel).
    ExactCurves curves{};
    double curveTolerance = 0;
    // With a stencil asked for: the bridges it holds its islands by.
    std::vector<Bridge> bridges{};
    // Islands the stencil could not hold; a stencil with any is no stencil.
    std::vector<UnheldIsland> unheld{};
};

// The capture's closed figures made cut-ready: no repeated consecutive point,
// no closing repeat of the first, no figure without ink, outer contours
// counter-clockwise and holes clockwise with y up (device y runs down, so on
// the grid they turn the other way), none touching itself. Without merging
// each figure stays one contour, told outer or hole by the orientation of
// the figure around it; a figure of zero area that crosses itself (a
// figure-eight) becomes its lobes, each told by the way it turns.
// Merging works within 2^28 device pixels of the origin; an outline that
// reaches further is the overflow failure.
// `work` lends its buffers (workspace.hpp); a one-off drawing may leave it
// out.
CadOutline cadOutline(const CapturedOutline& captured, const CadOptions& options, CutWorkspace& work,
                      const CurvedPath* path = nullptr);
CadOutline cadOutline(const CapturedOutline& captured, const CadOptions& options,
                      const CurvedPath* path = nullptr);
// The same for a capture nothing reads afterwards: without curves or a
// stencil its buffer is taken over, the figures cleaned in it and the
// cut-ready outline written over them, so the points are held once; it is
// left empty (its logFont kept). Else it is left as it was.
CadOutline cadOutline(CapturedOutline&& captured, const CadOptions& options, CutWorkspace& work,
                      const CurvedPath* path = nullptr);

// The millimetre placement of a capture, for points on the cad outline's grid.
MmPlacement onCadGrid(const MmPlacement& placement, const CadOutline& cad);

} // namespace lw
