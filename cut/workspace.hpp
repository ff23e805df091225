#pragma once
// What the cut-ready work keeps from one drawing to the next: the buffer of
// the capture's rings (tens of thousands of points at a fine grid), the
// nesting's buffers, the groups of rings merged so far and each glyph's
// curves and arcs (glyph_arcs.hpp). The caller makes one and passes it to
// each drawing (a run of the command line, a batch's rows, the window's
// saves), so they are fetched from the system once and a glyph met in one
// drawing is known in the next. A drawing's result depends only on its
// inputs, never on what a workspace held before. One thread at a time.
//
//   CutWorkspace work;
//   for (const CapturedOutline& line : lines) write(cadOutline(line, {}, work));

#include "cut/contours.hpp"
#include "cut/glyph_arcs.hpp"
#include "cut/known_groups.hpp"
#include "cut/nesting.hpp"

namespace lw {

struct CutWorkspace {
    RingSet rings;
    NestingScratch nesting;
    // The groups of rings merged before, for their copies (known_groups.hpp).
    KnownGroups knownGroups;
    GlyphArcs glyphArcs;
};

} // namespace lw
