#pragma once
// The exact curves behind cut-ready contours. A contour that is one of the
// captured figures as it was flattened (cleaned, perhaps turned round) takes
// that figure's curve from the unflattened path; a contour the merge or the
// offset changed has no exact curve and stays a polyline.
//
//   CadOutline cut = cadOutline(outline, {.curves = true}, &path);
//   if (cut.curves[k]) writeCurve(*cut.curves[k]);   // else the polyline

#include "cut/arcs.hpp"
#include "cut/contours.hpp"
#include "cut/glyph_arcs.hpp"
#include "outline/captured_outline.hpp"
#include "outline/curved_path.hpp"

#include <optional>
#include <span>
#include <vector>

namespace lw {

using ExactCurves = std::vector<std::optional<ExactCurve>>;

// One entry per piece, in order, in the units of the pieces' grid
// (`gridScale` grid units a device pixel of `captured`). `rings` are the
// captured figures as ringsOf cleaned them: a piece that is one of them
// takes its figure's curve at once; any other piece (the clipper's, the
// offset's) only where it is the same ring as a captured figure.
ExactCurves exactCurvesFor(const CapturedOutline& captured, const CurvedPath& path, const RingSet& rings,
                           std::span<const Piece> pieces, int gridScale);
// The same, with the curves of glyphs the path keeps as runs taken from
// `kept` (glyph_arcs.hpp): shared, in whole-pixel places, and carrying their
// arcs where `arcTolerance` > 0. Their segments read the same as above; their
// arcs are fitted in the glyph's own frame.
ExactCurves exactCurvesFor(const CapturedOutline& captured, const CurvedPath& path, const RingSet& rings,
                           std::span<const Piece> pieces, int gridScale, GlyphArcs& kept, double arcTolerance);

// Which of `curved` (a path's figures as curvedFigures gives them) each
// closed figure of the capture takes, by the figure's first point among the
// capture's points, rising; a figure with none is not listed. The figures in
// `leftOut` (whole figures, rising) have no figure among `curved` and are
// passed over.
struct FigureCurve {
    std::size_t first;
    std::int32_t curve;
};
void figureCurves(const CapturedOutline& captured, std::span<const CurvedFigure> curved,
                  std::span<const PointRange> leftOut, std::vector<FigureCurve>& out);

// The same as the first from `curved` and what figureCurves made of it; only
// the curves some piece takes are read.
ExactCurves exactCurvesFor(std::vector<CurvedFigure> curved, const RingSet& rings, std::span<const Piece> pieces,
                           int gridScale, std::span<const FigureCurve> figures);

} // namespace lw
