#pragma once
// The cut-ready layer, between the capture (outline/) and the writers
// (export/): what a CAD drawing is made of. In goes a captured outline (and
// its unflattened path, for curves); out comes a CadOutline: clean contours
// on an integer grid finer than the capture's pixels, outer contours
// counter-clockwise and holes clockwise with y up, merged by the nonzero
// rule unless asked not to, offset for a cutter's width, with the font's
// exact curves and the arcs fitted to them, bridged as a stencil; mirrored
// about its anchor; and the tool check that measures it. Nothing here draws,
// writes a file or keeps state of its own: the caller's CutWorkspace lends
// the buffers. The other headers under cut/ serve these.
//
//   CutWorkspace work; // the caller's, kept from drawing to drawing
//   CadOutline cut = cadOutline(captured, {.merge = true, .curves = true}, work, &path);
//   mirror(cut, placement, Mirror::X);
//   ToolCheck check = checkTool(cutContours(cut.outline), toolWidth, 0.5 * cut.gridScale);

#include "cut/arcs.hpp"        // the arcs a writer reads from a curve
#include "cut/cad_outline.hpp" // CadOptions, CadOutline, cadOutline, onCadGrid
#include "cut/curves.hpp"      // ExactCurve, one per contour
#include "cut/mirror.hpp"
#include "cut/tool_check.hpp"
#include "cut/workspace.hpp"
