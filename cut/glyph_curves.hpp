#pragma once
// The exact curves of a merge made through glyph runs (glyph_merge.hpp).
// A glyph taken alone keeps its own figures, so the curves of its contours,
// and the arcs fitted to them, depend only on its flattened copy and the
// grid: they are worked out once per copy and grid, relative to the glyph's
// origin, and every later run of the copy takes them moved by its whole
// pixels. A glyph flattened in place and taken alone has its figures'
// curves where they lie among the path's points, fitted when written. The
// curves of the other contours come as exactCurvesFor gives them, from the
// path's other figures.
//
//   if (!glyphCurvesFor(captured, path, byRuns, rest, pieces, scale, store, cut.curves))
//       ... take the whole way (exactCurvesFor over every ring)

#include "cut/curves.hpp"
#include "cut/glyph_merge.hpp"

#include <memory>
#include <span>

namespace lw {

// The curves worked out so far, by copy and grid, and the buffers the work
// reuses, kept by the caller from one drawing to the next. A fresh store
// fits every glyph afresh; what a store holds never changes a result.
class GlyphCurvesStore {
public:
    GlyphCurvesStore(); // moved, never copied
    struct Parts; // glyph_curves.cpp's own
    Parts& parts() { return *parts_; }

private:
    std::unique_ptr<Parts, void (*)(Parts*)> parts_;
};

// One entry per piece of byRuns' last merge (`pieces`, on the grid `gridScale`
// times finer than the capture's pixels), into `out`; each curve of a glyph
// taken alone from its flattened copy carries its arcs fitted within half
// the capture's pixel. `rest` is the rings plan gave for the other figures.
// False, leaving `out` as it was, when such a glyph has no run in the curved
// path (the path was read without them, or from another capture).
bool glyphCurvesFor(const CapturedOutline& captured, const CurvedPath& path, const RunMerge& byRuns,
                    const RingSet& rest, std::span<const Piece> pieces, int gridScale, GlyphCurvesStore& store,
                    ExactCurves& out);

} // namespace lw
