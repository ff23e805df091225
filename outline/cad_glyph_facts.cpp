#include "outline/cad_glyph_facts.hpp"

#include "outline/cad_contours.hpp"
#include "outline/cad_merge.hpp"

#include <algorithm>
#include <deque>
#include <functional>

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

class FactsCache {
public:
    const GlyphFacts* find(std::uint64_t copy) const
    {
        if (slots_.empty())
            return nullptr;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = slotOf(copy);; i = (i + 1) & mask) {
            if (slots_[i].copy == copy)
                return &facts_[slots_[i].index];
            if (slots_[i].copy == 0)
                return nullptr;
        }
    }

    // Facts stay where they are until the cache starts again (trim): a
    // merge holds them from its first glyph to its last.
    const GlyphFacts* add(std::uint64_t copy, GlyphFacts facts)
    {
        // A line of more glyphs than the cache keeps leaves the rest unnamed
        // until the next trim.
        if (named_ < kMostGlyphs) {
            // At most half full; a first merge of a few glyphs sets up a
            // small table, not one for thousands.
            if (2 * (named_ + 1) > slots_.size())
                grow();
            name(copy, std::uint32_t(facts_.size()));
            ++named_;
        }
        shapePoints_ += facts.shape.size();
        facts_.push_back(std::move(facts));
        return &facts_.back();
    }

    void trim()
    {
        if (facts_.size() >= kMostGlyphs || shapePoints_ > kMostShapePoints)
            clear();
    }

    void clear()
    {
        slots_.clear();
        facts_.clear();
        named_ = 0;
        bits_ = 0;
        shapePoints_ = 0;
    }

private:
    struct Slot {
        std::uint64_t copy = 0;
        std::uint32_t index = 0;
    };
    std::size_t slotOf(std::uint64_t copy) const { return std::size_t((copy * 0x9E3779B97F4A7C15ull) >> (64 - bits_)); }

    void name(std::uint64_t copy, std::uint32_t index)
    {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = slotOf(copy);
        while (slots_[i].copy != 0)
            i = (i + 1) & mask;
        slots_[i] = {copy, index};
    }

    void grow()
    {
        std::vector<Slot> old = std::move(slots_);
        bits_ = old.empty() ? 5 : bits_ + 1;
        slots_.assign(std::size_t(1) << bits_, Slot{});
        for (const Slot& s : old)
            if (s.copy != 0)
                name(s.copy, s.index);
    }

    std::vector<Slot> slots_;
    int bits_ = 0;
    std::size_t named_ = 0;
    std::size_t shapePoints_ = 0;
    std::deque<GlyphFacts> facts_;
};

FactsCache& cache()
{
    thread_local FactsCache c;
    return c;
}

// Facts known by their points; the keys are hashes, so they live apart
// from the copies' names.
FactsCache& shapeCache()
{
    thread_local FactsCache c;
    return c;
}

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
bool asCaptured(const RingSet& rings, std::size_t r, std::span<const POINT> points,
                std::span<const std::uint8_t> types)
{
    const std::size_t first = rings.firsts[r], count = rings.rings[r].count;
    if (first + count > points.size() || !(types[first + count - 1] & PT_CLOSEFIGURE))
        return false;
    for (std::size_t k = 0; k + 1 < count; ++k)
        if (types[first + k] & PT_CLOSEFIGURE)
            return false;
    return std::equal(points.begin() + std::ptrdiff_t(first), points.begin() + std::ptrdiff_t(first + count),
                      rings.rings[r].points);
}

// The merge of the run's rings by themselves, as boundaries of the run's
// own figures; false where a group needs the clipper.
bool mergeAlone(const RingSet& rings, const GlyphRun& run, GlyphFacts& facts)
{
    const Merged merged = mergeNonzero(rings, 1);
    if (!merged.clipped.empty())
        return false;
    const std::less<const POINT*> before;
    for (const Piece& p : merged.pieces) {
        const auto it = std::upper_bound(rings.rings.begin(), rings.rings.end(), p.points,
                                         [&](const POINT* q, const RingView& v) { return before(q, v.points); });
        const std::size_t r = std::size_t(it - rings.rings.begin()) - 1;
        facts.boundaries.push_back({rings.firsts[r] - run.first, p.count, p.outer, p.reversed});
    }
    for (const Merged::Group& g : merged.groups)
        facts.groups.push_back({g.first - run.first, g.pieceStart});
    return true;
}

GlyphFacts factsOf(const GlyphRun& run, std::span<const POINT> points, std::span<const std::uint8_t> types)
{
    GlyphFacts facts;
    facts.count = run.count;
    const std::span<const POINT> mine = points.subspan(run.first, run.count);
    facts.first = POINT{mine[0].x - run.dx, mine[0].y - run.dy};
    POINT low = mine[0], high = mine[0];
    for (const POINT& p : mine) {
        low = POINT{std::min(low.x, p.x), std::min(low.y, p.y)};
        high = POINT{std::max(high.x, p.x), std::max(high.y, p.y)};
    }
    facts.pointsLeft = low.x - run.dx;
    facts.pointsTop = low.y - run.dy;
    facts.pointsRight = high.x - run.dx;
    facts.pointsBottom = high.y - run.dy;
    if (low.x <= -kFar || low.y <= -kFar || high.x >= kFar || high.y >= kFar)
        return facts;

    thread_local RingSet rings;
    const PointRange range{run.first, run.first + run.count};
    ringsOf(points, types, std::span(&range, 1), rings);
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
        if (!asCaptured(rings, r, points, types))
            return facts;
    facts.alone = mergeAlone(rings, run, facts);
    if (!facts.alone) {
        facts.groups.clear();
        facts.boundaries.clear();
    }
    return facts;
}

} // namespace

const GlyphFacts* glyphFactsFor(const GlyphRun& run, std::span<const POINT> points,
                                std::span<const std::uint8_t> types)
{
    const std::size_t n = std::min(points.size(), types.size());
    if (run.count == 0 || std::size_t(run.first) + run.count > n)
        return nullptr;
    FactsCache& c = cache();
    const GlyphFacts* facts = c.find(run.copy);
    if (!facts)
        facts = c.add(run.copy, factsOf(run, points.first(n), types.first(n)));
    const POINT first = points[run.first];
    if (facts->count != run.count || first.x - run.dx != facts->first.x || first.y - run.dy != facts->first.y)
        return nullptr;
    return facts;
}

const GlyphFacts* figuresFactsFor(std::uint32_t first, std::uint32_t count, std::span<const POINT> points,
                                  std::span<const std::uint8_t> types, GlyphRun& asRun)
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
    FactsCache& c = shapeCache();
    if (const GlyphFacts* f = c.find(asRun.copy))
        return sameShape(*f, mine, myTypes, base) ? f : nullptr;
    GlyphFacts facts = factsOf(asRun, points.first(n), types.first(n));
    facts.shape.resize(count);
    for (std::size_t k = 0; k < count; ++k)
        facts.shape[k] = POINT{mine[k].x - base.x, mine[k].y - base.y};
    facts.shapeTypes.assign(myTypes.begin(), myTypes.end());
    return c.add(asRun.copy, std::move(facts));
}

void trimGlyphFacts()
{
    cache().trim();
    shapeCache().trim();
}

void forgetGlyphFacts()
{
    cache().clear();
    shapeCache().clear();
}

} // namespace lw
