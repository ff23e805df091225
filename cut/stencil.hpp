#pragma once
// Stencils: a letter's islands (the counters of "O", "A", "口") fall out of
// a sheet the letters are cut from, unless bridges hold them. Each island
// is joined to the sheet around its letter by a bridge across the letter's
// stroke where the stroke is narrowest, so the bridge is short; the bridge
// is cut away from the ink and the result merged and oriented again.
//
//   CadOutline stencil = withBridges(cut, 0.5 * gridPerMm, 1);
//   // checkTool(cutContours(stencil.outline), ...).islands is empty

#include "cut/cad_outline.hpp"

namespace lw {

// `cut` (merged, as cadOutline makes it: each outer contour before its
// holes) with `perIsland` bridges `width` grid units wide for every hole,
// spread along it, the narrowest places first. The result has no curves;
// its `bridges` tell where the bridges run. A place whose bridge would
// leave a stub of ink thinner than `width` beside it is passed over for
// the next that leaves none and is at most twice as long; where none is,
// the narrowest is taken all the same (strokes and counters smaller than
// the bridge), as a longer bridge weakens the sheet more than a stub does.
CadOutline withBridges(const CadOutline& cut, double width, int perIsland);

} // namespace lw
