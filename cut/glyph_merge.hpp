#pragma once
// The nonzero merge of a capture through its glyph runs: a glyph placed
// from its flattened copy whose box touches no other figure's is merged by
// what its copy's facts say (glyph_facts.hpp), its boundaries read where
// the capture holds them; everything else (underline and strike-out bars,
// glyphs that touch, glyphs flattened in place) goes to mergeNonzero as
// ever. The pieces are mergeNonzero's of the whole capture, in its order.
//
//   RunMerge byRuns; // kept from merge to merge: it keeps the glyphs' facts
//   if (byRuns.plan(points, types, outline.glyphRuns, rest)) {
//       Merged merged;
//       std::vector<Piece> pieces = byRuns.merge(rest, gridScaleFor(byRuns.reach()), merged);
//   }

#include "cut/contours.hpp"
#include "cut/glyph_facts.hpp"
#include "cut/merge.hpp"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace lw {

class RunMerge {
public:
    // Sorts the capture's points into glyphs taken alone and the rest, whose
    // rings it puts in `rest` (ringsOf of those points). False when no glyph
    // can be taken alone: then `rest` is as it was and the caller merges the
    // whole capture itself.
    // Figures between runs, known by their points (a glyph flattened in
    // place), may be taken alone too.
    bool plan(std::span<const POINT> points, std::span<const std::uint8_t> types, std::span<const GlyphRun> runs,
              RingSet& rest);

    // The largest distance of any point from the origin along x or y, as
    // RingSet::reach has it for the whole capture.
    std::int64_t reach() const { return reach_; }

    // The merge on the grid `scale` times finer: the pieces point into the
    // capture's points, into `rest` and into `restMerged`, which must
    // outlive them; they stay until the next plan.
    const std::vector<Piece>& merge(const RingSet& rest, int scale, Merged& restMerged);

    // Where each piece of the last merge came from: a boundary of a glyph
    // taken alone (its index among them, and the boundary's among its
    // facts' boundaries), or the rest (kRest).
    static constexpr std::uint32_t kRest = UINT32_MAX;
    struct Source {
        std::uint32_t alone = kRest, boundary = 0;
    };
    const std::vector<Source>& sources() const { return sources_; }
    std::size_t aloneCount() const { return alone_.size(); }
    const GlyphRun& aloneRun(std::size_t i) const { return *alone_[i].run; }
    const GlyphFacts& aloneFacts(std::size_t i) const { return *alone_[i].facts; }
    // Figures between runs rather than a run of the capture: their run names
    // no flattened copy, and a curved path holds their curves in place.
    bool aloneInPlace(std::size_t i) const
    {
        const std::less<const GlyphRun*> before;
        return !before(alone_[i].run, gapRuns_.data()) && before(alone_[i].run, gapRuns_.data() + gapRuns_.size());
    }

private:
    struct Alone {
        const GlyphRun* run;
        const GlyphFacts* facts;
    };
    // The glyphs' facts and the nesting's buffers, kept from one merge to
    // the next as long as this object lives.
    GlyphFactsStore facts_;
    NestingScratch nesting_;
    std::vector<Alone> alone_;
    std::vector<GlyphRun> gapRuns_; // the figures between runs, as runs of their own
    // Kept from one merge to the next: a line's merge is a few microseconds,
    // and a dozen fresh allocations a good part of them.
    struct Box {
        std::int32_t left, top, right, bottom;
        std::size_t candidate; // which candidate glyph, or none
    };
    std::vector<Alone> candidates_;
    std::vector<Box> boxes_;
    std::vector<const Box*> open_;
    std::vector<std::uint8_t> touches_;
    std::vector<PointRange> ranges_;
    std::vector<Piece> pieces_;
    std::vector<Source> sources_;

    void markTouching();
    void figureBoxes(std::span<const POINT> points, std::span<const std::uint8_t> types, std::size_t begin,
                     std::size_t end);
    const POINT* points_ = nullptr;
    std::int64_t reach_ = 0;
};

} // namespace lw
