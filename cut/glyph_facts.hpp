#pragma once
// What the nonzero merge learns of one glyph alone, kept under the name of
// the glyph's flattened copy (GlyphRun::copy): every run of that copy has
// the same points moved by whole pixels, and moving changes none of the
// merge's integer tests, so the work done for one run serves them all.
//
//   GlyphFactsStore store; // kept from merge to merge
//   const GlyphFacts* facts = glyphFactsFor(run, points, types, store);
//   if (facts && facts->alone) emit(facts->boundaries);

#include "platform/gdi_types.hpp"
#include "platform/glyph_run.hpp"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace lw {

// The facts worked out so far and the buffers the work reuses, kept by the
// caller from one merge to the next (a RunMerge holds one). A fresh store
// works every glyph out afresh; what a store holds never changes a result.
class GlyphFactsStore {
public:
    GlyphFactsStore(); // moved, never copied
    struct Parts; // glyph_facts.cpp's own
    Parts& parts() { return *parts_; }

private:
    std::unique_ptr<Parts, void (*)(Parts*)> parts_;
};

// Coordinates relative to the run's origin (dx, dy).
struct GlyphFacts {
    std::uint32_t count = 0; // the run's points
    POINT first{};           // its first point
    // Every point's box, for the outline's reach.
    std::int32_t pointsLeft = 0, pointsTop = 0, pointsRight = 0, pointsBottom = 0;
    // Each figure is a ring as captured (cleaning changes nothing) and no two
    // of the glyph's edges meet: the boundaries below are the merge's.
    bool alone = false;
    // The usable rings' box; none when the glyph has no ring.
    bool hasRings = false;
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    // The merge of the glyph's rings by themselves: groups in order, each a
    // run of boundaries, each a figure of the run (its first point's offset
    // in the run and its length), as mergeNonzero gives them.
    struct Boundary {
        std::uint32_t offset, count;
        bool outer, reversed;
    };
    struct Group {
        std::uint32_t firstOffset, boundaryStart;
    };
    // Both lie in the cache's own store, where they stay as long as the facts.
    std::span<const Group> groups;
    std::span<const Boundary> boundaries;
    // Facts known by the points themselves (figuresFactsFor): those points
    // relative to the first, and their types, to tell them apart.
    std::vector<POINT> shape;
    std::vector<std::uint8_t> shapeTypes;
};

// The facts of the run's glyph: from the store, or worked out from the
// run's own points (`points`, `types`: the whole capture) and kept until
// the next trimGlyphFacts. Null
// when the run does not lie within the points, or does not match what its
// copy's name was given before (a stale run).
const GlyphFacts* glyphFactsFor(const GlyphRun& run, std::span<const POINT> points,
                                std::span<const std::uint8_t> types, GlyphFactsStore& store);

// The facts of figures no run accounts for, points [first, first + count)
// of the capture (whole figures), known by their points relative to the
// first one: a glyph the platform flattened in place gives the same points
// again wherever its rounding falls the same. `asRun` becomes the run they
// are facts of (its origin their first point). Null where they lie beyond
// the points or the merge's range, or where other points took their place
// in the cache.
const GlyphFacts* figuresFactsFor(std::uint32_t first, std::uint32_t count, std::span<const POINT> points,
                                  std::span<const std::uint8_t> types, GlyphRun& asRun, GlyphFactsStore& store);

// Starts the store again when it holds more glyphs than it should keep;
// the facts given before are then gone. Called before a merge's first glyph.
void trimGlyphFacts(GlyphFactsStore& store);

} // namespace lw
