#pragma once
// The curves of glyphs the capture placed from their flattened copies, kept
// per glyph shape from one drawing to the next: each figure's segments on
// the grid in the glyph's own frame, and its arcs fitted there once. A copy
// reads them moved by its whole-pixel place, a translation exact in
// doubles, so every copy of a glyph, first or later, in this drawing or
// another, gives the same arcs wherever it lies.
//
//   GlyphArcs& kept = work.glyphArcs;
//   kept.startDrawing();
//   ExactCurve c = kept.curveOf(run, figure, turned, scale, arcTolerance);

#include "cut/arcs.hpp"
#include "platform/device_context.hpp"

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

namespace lw {

class GlyphArcs {
public:
    // Figure `figure` of the run's glyph (its figures as curvedFigures
    // reads them), turned round where `turned`, on the grid `gridScale`
    // times finer and placed where the run puts it. With `arcTolerance` > 0
    // it carries its arcs fitted to that tolerance; else a writer fits them
    // as they are read, from the same segments, to the same bytes.
    ExactCurve curveOf(const CurvedRun& run, std::size_t figure, bool turned, int gridScale, double arcTolerance);

    // The run's glyph's figures in its own frame, off the grid, as
    // curvedFigures reads them before moving them by the run's place.
    const std::vector<CurvedFigure>& figuresOf(const CurvedRun& run, int gridScale);

    // What a drawing starts with: the store starts again once it has grown
    // past its bound, so a long batch of faces does not keep every glyph.
    void startDrawing();

private:
    struct Kept {
        std::shared_ptr<const std::vector<CurveSegment>> segments; // null: not made yet
        CurvePoint start{};
        std::shared_ptr<const std::vector<ArcVertex>> arcs;
        double tolerance = 0;
    };
    struct Glyph {
        std::shared_ptr<const GlyphCurves> curves; // held, so its address names no other glyph
        int gridScale = 0;
        std::vector<CurvedFigure> figures;         // in the glyph's own frame, off the grid
        std::vector<Kept> kept;                    // two per figure: as it runs, turned round
    };
    struct Key {
        const GlyphCurves* curves;
        int gridScale;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const;
    };
    Glyph& glyphOf(const CurvedRun& run, int gridScale);

    std::unordered_map<Key, Glyph, KeyHash> glyphs_;
    std::size_t segments_ = 0;
};

} // namespace lw
