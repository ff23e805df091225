#include "cut/glyph_facts.hpp"

#include "cut/contours.hpp"
#include "cut/merge.hpp"

#include <algorithm>

namespace lw {
namespace {

// A few thousand glyphs cover every face and size a session uses at once;
// beyond that the cache starts again rather than growing.
constexpr std::size_t kMostGlyphs = 2048;
// Facts known by their points keep a copy of them: a long line flattened
// in place must not pile up copies of itself.
constexpr std::size_t kMostShapePoints = std::size_t(1) << 20;
// The merge's own range: a glyph beyond it is left to the merge to refuse.
constexpr std::int32_t kFar = 1 << 28;

// Items that stay where they are once added, in blocks of many: a first
// merge adds a few of each per glyph and must not allocate for every one.
template <class T, std::size_t kBlock>
class Store {
public:
    // Room for `n` more side by side, after which those added before stay.
    std::vector<T>& roomFor(std::size_t n)
    {
        if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < n) {
            blocks_.emplace_back();
            blocks_.back().reserve(std::max(n, kBlock));
        }
        return blocks_.back();
    }

    template <class It>
    std::span<const T> add(It first, It last)
    {
        const std::size_t n = std::size_t(last - first);
        if (n == 0)
            return {};
        std::vector<T>& block = roomFor(n);
        const std::size_t at = block.size();
        block.insert(block.end(), first, last);
        return std::span<const T>(block.data() + at, n);
    }

    void clear() { blocks_.clear(); }

private:
    std::vector<std::vector<T>> blocks_;
};

class FactsCache {
public:
    const GlyphFacts* find(std::uint64_t copy) const
    {
        if (slots_.empty())
            return nullptr;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = slotOf(copy);; i = (i + 1) & mask) {
            if (slots_[i].copy == copy)
                return slots_[i].facts;
            if (slots_[i].copy == 0)
                return nullptr;
        }
    }

    // Facts stay where they are until the cache starts again (trim): a
    // merge holds them from its first glyph to its last.
    // `groups` and `boundaries` are copied into the cache's store.
    const GlyphFacts* add(std::uint64_t copy, GlyphFacts facts, const std::vector<GlyphFacts::Group>& groups,
                          const std::vector<GlyphFacts::Boundary>& boundaries)
    {
        facts.groups = groups_.add(groups.begin(), groups.end());
        facts.boundaries = boundaries_.add(boundaries.begin(), boundaries.end());
        shapePoints_ += facts.shape.size();
        std::vector<GlyphFacts>& block = facts_.roomFor(1);
        block.push_back(std::move(facts));
        GlyphFacts* added = &block.back();
        ++count_;
        // A line of more glyphs than the cache keeps leaves the rest unnamed
        // until the next trim.
        if (named_ < kMostGlyphs) {
            // At most half full; a first merge of a few glyphs sets up a
            // small table, not one for thousands.
            if (2 * (named_ + 1) > slots_.size())
                grow();
            name(copy, added);
            ++named_;
        }
        return added;
    }

    void trim()
    {
        if (count_ >= kMostGlyphs || shapePoints_ > kMostShapePoints)
            clear();
    }

    void clear()
    {
        slots_.clear();
        facts_.clear();
        groups_.clear();
        boundaries_.clear();
        count_ = 0;
        named_ = 0;
        bits_ = 0;
        shapePoints_ = 0;
    }

private:
    struct Slot {
        std::uint64_t copy = 0;
        const GlyphFacts* facts = nullptr;
    };
    std::size_t slotOf(std::uint64_t copy) const { return std::size_t((copy * 0x9E3779B97F4A7C15ull) >> (64 - bits_)); }

    void name(std::uint64_t copy, const GlyphFacts* facts)
    {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = slotOf(copy);
        while (slots_[i].copy != 0)
            i = (i + 1) & mask;
        slots_[i] = {copy, facts};
    }

    void grow()
    {
        std::vector<Slot> old = std::move(slots_);
        bits_ = old.empty() ? 5 : bits_ + 1;
        slots_.assign(std::size_t(1) << bits_, Slot{});
        for (const Slot& s : old)
            if (s.copy != 0)
                name(s.copy, s.facts);
    }

    std::vector<Slot> slots_;
    int bits_ = 0;
    std::size_t count_ = 0, named_ = 0;
    std::size_t shapePoints_ = 0;
    Store<GlyphFacts, 256> facts_;
    Store<GlyphFacts::Group, 1024> groups_;
    Store<GlyphFacts::Boundary, 2048> boundaries_;
};

std::uint64_t shapeHash(std::span<const POINT> points, POINT base)
{
    std::uint64_t h = 0x243F6A8885A308D3ull ^ points.size();
    for (const POINT& p : points) {
        h ^= std::uint64_t(std::uint32_t(p.x - base.x)) << 32 | std::uint32_t(p.y - base.y);
        h *= 0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
    }
    // 0 marks an empty slot.
    return h ? h : 1;
}

bool sameShape(const GlyphFacts& f, std::span<const POINT> points, std::span<const std::uint8_t> types, POINT base)
{
    if (f.shape.size() != points.size() || !std::equal(types.begin(), types.end(), f.shapeTypes.begin()))
        return false;
    for (std::size_t k = 0; k < points.size(); ++k)
        if (points[k].x - base.x != f.shape[k].x || points[k].y - base.y != f.shape[k].y)
            return false;
    return true;
}

// Whether ring r is its figure exactly as captured: cleaning took nothing.
// It only ever drops points, so the ring is its whole figure exactly when
// it reaches the point that closes the figure.
bool asCaptured(const RingSet& rings, std::size_t r, std::span<const std::uint8_t> types)
{
    const std::size_t last = std::size_t(rings.firsts[r]) + rings.rings[r].count - 1;
    return last < types.size() && (types[last] & PT_CLOSEFIGURE);
}

// The merge of a glyph's rings by themselves as boundaries of its own
// figures, made while working its facts out; kept from glyph to glyph.
struct AloneMerge {
    std::vector<Merged::Group> groups;
    std::vector<Boundary> merged;
    std::vector<GlyphFacts::Group> factGroups;
    std::vector<GlyphFacts::Boundary> boundaries;
    RingSet rings; // the glyph's own, one glyph after another
    NestingScratch nesting;
};

// False where a group needs the clipper: then the glyph is not taken alone,
// and the clipper's work would be thrown away.
bool mergeAlone(const RingSet& rings, const GlyphRun& run, AloneMerge& m)
{
    if (!mergeNested(rings, m.groups, m.merged, m.nesting))
        return false;
    for (const Boundary& b : m.merged)
        m.boundaries.push_back({rings.firsts[b.ring] - run.first, rings.rings[b.ring].count, b.outer, b.reversed});
    for (const Merged::Group& g : m.groups)
        m.factGroups.push_back({g.first - run.first, g.pieceStart});
    return true;
}

// The glyph's facts; its groups and boundaries, when alone, in `m`.
GlyphFacts factsOf(const GlyphRun& run, std::span<const POINT> points, std::span<const std::uint8_t> types,
                   AloneMerge& m)
{
    m.factGroups.clear();
    m.boundaries.clear();
    GlyphFacts facts;
    facts.count = run.count;
    facts.first = POINT{points[run.first].x - run.dx, points[run.first].y - run.dy};
    // One pass over the points gives the rings and every point's box.
    RingSet& rings = m.rings;
    const PointRange range{run.first, run.first + run.count};
    ringsOf(points, types, std::span(&range, 1), rings);
    facts.pointsLeft = rings.left - run.dx;
    facts.pointsTop = rings.top - run.dy;
    facts.pointsRight = rings.right - run.dx;
    facts.pointsBottom = rings.bottom - run.dy;
    if (rings.left <= -kFar || rings.top <= -kFar || rings.right >= kFar || rings.bottom >= kFar)
        return facts;

    facts.hasRings = !rings.rings.empty();
    if (facts.hasRings) {
        Extent box = rings.extents[0];
        for (const Extent& e : rings.extents) {
            box.left = std::min(box.left, e.left);
            box.top = std::min(box.top, e.top);
            box.right = std::max(box.right, e.right);
            box.bottom = std::max(box.bottom, e.bottom);
        }
        facts.left = box.left - run.dx;
        facts.top = box.top - run.dy;
        facts.right = box.right - run.dx;
        facts.bottom = box.bottom - run.dy;
    }
    for (std::size_t r = 0; r < rings.rings.size(); ++r)
        if (!asCaptured(rings, r, types))
            return facts;
    facts.alone = mergeAlone(rings, run, m);
    if (!facts.alone) {
        m.factGroups.clear();
        m.boundaries.clear();
    }
    return facts;
}

} // namespace

// Facts by the copies' names, and facts known by their points (the keys are
// hashes, so they live apart from the names).
struct GlyphFactsStore::Parts {
    FactsCache byCopy, byShape;
    AloneMerge alone;
};

GlyphFactsStore::GlyphFactsStore() : parts_(new Parts, [](Parts* p) { delete p; }) {}

const GlyphFacts* glyphFactsFor(const GlyphRun& run, std::span<const POINT> points,
                                std::span<const std::uint8_t> types, GlyphFactsStore& store)
{
    const std::size_t n = std::min(points.size(), types.size());
    if (run.count == 0 || std::size_t(run.first) + run.count > n)
        return nullptr;
    FactsCache& c = store.parts().byCopy;
    const GlyphFacts* facts = c.find(run.copy);
    if (!facts) {
        AloneMerge& m = store.parts().alone;
        facts = c.add(run.copy, factsOf(run, points.first(n), types.first(n), m), m.factGroups, m.boundaries);
    }
    const POINT first = points[run.first];
    if (facts->count != run.count || first.x - run.dx != facts->first.x || first.y - run.dy != facts->first.y)
        return nullptr;
    return facts;
}

const GlyphFacts* figuresFactsFor(std::uint32_t first, std::uint32_t count, std::span<const POINT> points,
                                  std::span<const std::uint8_t> types, GlyphRun& asRun, GlyphFactsStore& store)
{
    const std::size_t n = std::min(points.size(), types.size());
    if (count == 0 || std::size_t(first) + count > n)
        return nullptr;
    const std::span<const POINT> mine = points.subspan(first, count);
    const std::span<const std::uint8_t> myTypes = types.subspan(first, count);
    const POINT base = mine[0];
    // Kept within the merge's range, differences from the first point fit.
    if (base.x <= -kFar || base.x >= kFar || base.y <= -kFar || base.y >= kFar)
        return nullptr;
    asRun = {shapeHash(mine, base), first, count, base.x, base.y};
    FactsCache& c = store.parts().byShape;
    if (const GlyphFacts* f = c.find(asRun.copy))
        return sameShape(*f, mine, myTypes, base) ? f : nullptr;
    AloneMerge& m = store.parts().alone;
    GlyphFacts facts = factsOf(asRun, points.first(n), types.first(n), m);
    facts.shape.resize(count);
    for (std::size_t k = 0; k < count; ++k)
        facts.shape[k] = POINT{mine[k].x - base.x, mine[k].y - base.y};
    facts.shapeTypes.assign(myTypes.begin(), myTypes.end());
    return c.add(asRun.copy, std::move(facts), m.factGroups, m.boundaries);
}

void trimGlyphFacts(GlyphFactsStore& store)
{
    store.parts().byCopy.trim();
    store.parts().byShape.trim();
}

} // namespace lw
