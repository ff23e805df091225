#include "cut/known_groups.hpp"

#include <bit>

namespace lw {
namespace {

// Differences taken modulo 2^32: exact for points within 2^30 of each
// other, and never undefined for others (which then only fail to match).
std::uint32_t less(std::int32_t a, std::int32_t b) { return std::uint32_t(a) - std::uint32_t(b); }

// A summary of the group where it lies that every copy shares: each ring's
// count, area and box relative to the first ring's first point. Read from
// the extents alone, so finding a group costs its points only once, to
// compare them.
std::uint64_t keyOf(std::span<const RingView> rings, std::span<const Extent> extents)
{
    const POINT o = rings[0].points[0];
    std::uint64_t h = rings.size();
    for (std::size_t k = 0; k < rings.size(); ++k) {
        const Extent& e = extents[k];
        // Products by odd constants, independent of each other, so a ring
        // costs a few cycles; a poor spread costs only comparisons.
        const std::uint64_t v = rings[k].count * 0x9E3779B97F4A7C15ull + std::uint64_t(e.area) * 0xC2B2AE3D27D4EB4Full +
                                (std::uint64_t(less(e.left, o.x)) << 32 | less(e.top, o.y)) * 0x165667B19E3779F9ull +
                                (std::uint64_t(less(e.right, o.x)) << 32 | less(e.bottom, o.y));
        h = std::rotl(h, 29) ^ v;
    }
    return h * 0xFF51AFD7ED558CCDull;
}

} // namespace

const KnownGroup* KnownGroups::find(std::span<const RingView> rings, std::span<const Extent> extents) const
{
    if (rings.empty())
        return nullptr;
    const auto found = byKey_.find(keyOf(rings, extents));
    if (found == byKey_.end())
        return nullptr;
    const POINT o = rings[0].points[0];
    for (std::uint32_t g = found->second; g != KnownGroup::kNone; g = groups_[g].next) {
        const KnownGroup& known = groups_[g];
        if (known.ringCount != rings.size())
            continue;
        bool same = true;
        const POINT* kept = points_.data() + known.pointsAt;
        for (std::size_t k = 0; k < rings.size() && same; ++k) {
            const RingView& r = rings[k];
            if (ringCounts_[known.ringsAt + k] != r.count) {
                same = false;
                break;
            }
            // Compared as differences from the origin, all of a ring at once
            // (no early exit inside: a copy is the common case).
            std::uint32_t differ = 0;
            for (std::uint32_t j = 0; j < r.count; ++j)
                differ |= (less(r.points[j].x, o.x) ^ std::uint32_t(kept[j].x)) |
                          (less(r.points[j].y, o.y) ^ std::uint32_t(kept[j].y));
            same = differ == 0;
            kept += r.count;
        }
        if (same)
            return &known;
    }
    return nullptr;
}

const KnownGroup* KnownGroups::keep(std::span<const RingView> rings, std::span<const Extent> extents, bool meet,
                                    std::span<const Boundary> boundaries)
{
    std::size_t count = 0;
    for (const RingView& r : rings)
        count += r.count;
    if (rings.empty() || points_.size() + clippedPoints_ + count > kMostPoints)
        return nullptr;
    KnownGroup known;
    known.key = keyOf(rings, extents);
    known.pointsAt = std::uint32_t(points_.size());
    known.pointCount = std::uint32_t(count);
    known.ringsAt = std::uint32_t(ringCounts_.size());
    known.ringCount = std::uint32_t(rings.size());
    known.boundariesAt = std::uint32_t(boundaries_.size());
    known.boundaryCount = std::uint32_t(boundaries.size());
    known.meet = meet;
    const POINT o = rings[0].points[0];
    for (const RingView& r : rings) {
        ringCounts_.push_back(r.count);
        for (std::uint32_t j = 0; j < r.count; ++j)
            points_.push_back(POINT{std::int32_t(less(r.points[j].x, o.x)), std::int32_t(less(r.points[j].y, o.y))});
    }
    boundaries_.insert(boundaries_.end(), boundaries.begin(), boundaries.end());
    const std::uint32_t at = std::uint32_t(groups_.size());
    const auto [slot, added] = byKey_.try_emplace(known.key, at);
    if (!added) {
        known.next = slot->second;
        slot->second = at;
    }
    groups_.push_back(known);
    return &groups_.back();
}

std::size_t KnownGroups::PlaceHash::operator()(const Place& p) const
{
    const std::uint64_t v = (std::uint64_t(p.group) * 0x9E3779B97F4A7C15ull ^ std::uint64_t(p.scale)) * 0xC2B2AE3D27D4EB4Full +
                            (std::uint64_t(std::uint32_t(p.at.x)) << 32 | std::uint32_t(p.at.y));
    return std::size_t(v * 0xFF51AFD7ED558CCDull);
}

const std::vector<Shape>* KnownGroups::clipped(const KnownGroup& group, int scale, POINT at) const
{
    const auto found = clippedAt_.find({std::uint32_t(&group - groups_.data()), scale, at});
    return found == clippedAt_.end() ? nullptr : &clipped_[found->second];
}

const std::vector<Shape>& KnownGroups::keepClipped(const KnownGroup& group, int scale, POINT at,
                                                   std::vector<Shape> shapes)
{
    for (const Shape& s : shapes) {
        clippedPoints_ += s.outer.size();
        for (const Contour& h : s.holes)
            clippedPoints_ += h.size();
    }
    clippedAt_[{std::uint32_t(&group - groups_.data()), scale, at}] = std::uint32_t(clipped_.size());
    clipped_.push_back(std::move(shapes));
    return clipped_.back();
}

void KnownGroups::startDrawing()
{
    const std::size_t held = points_.size() + clippedPoints_;
    if (held + held / 8 < kMostPoints)
        return;
    groups_.clear();
    clipped_.clear();
    clippedAt_.clear();
    clippedPoints_ = 0;
    points_.clear();
    ringCounts_.clear();
    boundaries_.clear();
    byKey_.clear();
}

} // namespace lw
