#include "cut/tool_check.hpp"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace lw {
namespace {

// The axis of one side grown from its widest discs down, as the side shrunk
// by ever smaller discs grows back: every node joins as a part of its own,
// every edge joins two parts (where the shrunk side was split) or closes a
// ring (where it was broken). Those are the places; so is every part's
// widest disc, below which the part is gone.
class Sweep {
public:
    Sweep(const AxisGraph& axis, Side side, double wobble) : axis_(axis), wobble_(wobble)
    {
        const std::size_t n = axis.nodes.size();
        parent_.resize(n);
        widest_.resize(n);
        framed_.assign(n, false);
        for (std::uint32_t k = 0; k < n; ++k)
            if (axis.nodes[k].side == side)
                nodes_.push_back(k);
        for (std::uint32_t k = 0; k < axis.edges.size(); ++k)
            if (axis.nodes[axis.edges[k].a].side == side)
                edges_.push_back(k);
        std::sort(nodes_.begin(), nodes_.end(),
                  [&](std::uint32_t a, std::uint32_t b) { return radius(a) > radius(b); });
        std::sort(edges_.begin(), edges_.end(), [&](std::uint32_t a, std::uint32_t b) { return level(a) > level(b); });
    }

    void run(Side side, std::vector<Narrowing>& out)
    {
        std::size_t e = 0;
        for (std::size_t k = 0; k <= nodes_.size(); ++k) {
            // Every edge above the next node, then the node: an edge joins
            // nodes already there, however equal their widths.
            const double next = k < nodes_.size() ? radius(nodes_[k]) : -1;
            for (; e < edges_.size() && level(edges_[e]) > next; ++e)
                join(edges_[e], side, out);
            if (k < nodes_.size()) {
                const std::uint32_t n = nodes_[k];
                parent_[n] = n, widest_[n] = n;
                framed_[n] = axis_.nodes[n].contour == kFrameContour;
            }
        }
        for (const std::uint32_t n : nodes_)
            if (root(n) == n && !framed_[n])
                out.push_back(place(widest_[n], side, axis_.nodes[widest_[n]].contour));
    }

    // Whether the part `n` belongs to reaches the sheet around the drawing.
    bool outside(std::uint32_t n) { return framed_[root(n)]; }

    // The widest node of the part `n` belongs to.
    std::uint32_t widest(std::uint32_t n) { return widest_[root(n)]; }

    std::uint32_t root(std::uint32_t n)
    {
        while (parent_[n] != n)
            n = parent_[n] = parent_[parent_[n]];
        return n;
    }

private:
    double radius(std::uint32_t node) const { return axis_.nodes[node].radius; }
    double level(std::uint32_t edge) const
    {
        return std::min(radius(axis_.edges[edge].a), radius(axis_.edges[edge].b));
    }

    Narrowing place(std::uint32_t node, Side side, std::uint32_t contour) const
    {
        const AxisNode& n = axis_.nodes[node];
        return {n.x, n.y, 2 * n.radius, side, contour};
    }

    void join(std::uint32_t k, Side side, std::vector<Narrowing>& out)
    {
        const AxisEdge& edge = axis_.edges[k];
        const bool frame = edge.contours[0] == kFrameContour || edge.contours[1] == kFrameContour;
        const std::uint32_t narrow = radius(edge.a) <= radius(edge.b) ? edge.a : edge.b;
        const std::uint32_t contour = edge.contours[0] == kFrameContour ? edge.contours[1] : edge.contours[0];
        std::uint32_t a = root(edge.a), b = root(edge.b);
        if (a == b) {
            if (!frame)
                out.push_back(place(narrow, side, contour));
            return;
        }
        if (radius(widest_[a]) < radius(widest_[b]))
            std::swap(a, b);
        // The narrower part was born here or barely above: a spur's end or a
        // ripple, not a neck.
        if (!frame && radius(widest_[b]) - level(k) > wobble_)
            out.push_back(place(narrow, side, contour));
        parent_[b] = a;
        framed_[a] = framed_[a] || framed_[b] || frame;
    }

    const AxisGraph& axis_;
    double wobble_;
    std::vector<std::uint32_t> nodes_, edges_;
    std::vector<std::uint32_t> parent_, widest_;
    std::vector<bool> framed_;
};

double area(const Contour& c)
{
    const WideArea a = twiceArea(c);
    return std::fabs(double(a)) / 2;
}

// The innermost hole around (x, y), or kNoHole.
std::uint32_t holeAround(std::span<const Contour> contours, double x, double y)
{
    std::uint32_t best = kNoHole;
    double smallest = 0;
    for (std::uint32_t h = 0; h < contours.size(); ++h) {
        const Contour& c = contours[h];
        const double a = double(twiceArea(c));
        if (a <= 0 || (best != kNoHole && a >= smallest))
            continue;
        bool inside = false;
        for (std::size_t k = 0, j = c.size() - 1; k < c.size(); j = k++)
            if ((c[k].y > y) != (c[j].y > y) &&
                x < c[k].x + (y - c[k].y) * double(c[j].x - c[k].x) / double(c[j].y - c[k].y))
                inside = !inside;
        if (inside)
            best = h, smallest = a;
    }
    return best;
}

// The islands: one per hole, the sheet inside it less the outer contours
// the sheet's axis meets there.
std::vector<Island> islandsOf(std::span<const Contour> contours, const AxisGraph& axis, Sweep& sheet)
{
    constexpr std::uint32_t kNone = 0xFFFFFFFF;
    // Each contour's part of the sheet, by any node or edge that touches it.
    std::vector<std::uint32_t> partOf(contours.size(), kNone);
    for (std::uint32_t k = 0; k < axis.nodes.size(); ++k) {
        const AxisNode& n = axis.nodes[k];
        if (n.side == Side::Sheet && n.contour != kFrameContour && partOf[n.contour] == kNone)
            partOf[n.contour] = sheet.root(k);
    }
    for (const AxisEdge& e : axis.edges)
        if (axis.nodes[e.a].side == Side::Sheet)
            for (const std::uint32_t c : e.contours)
                if (c != kFrameContour && partOf[c] == kNone)
                    partOf[c] = sheet.root(e.a);
    // The ink inside each part: the outer contours that meet it.
    std::unordered_map<std::uint32_t, double> inkIn;
    for (std::uint32_t c = 0; c < contours.size(); ++c)
        if (partOf[c] != kNone && twiceArea(contours[c]) < 0)
            inkIn[partOf[c]] += area(contours[c]);
    std::vector<Island> islands;
    for (std::uint32_t h = 0; h < contours.size(); ++h) {
        if (twiceArea(contours[h]) <= 0)
            continue;
        Island island{.area = area(contours[h]), .hole = h};
        const std::uint32_t part = partOf[h];
        if (part == kNone) {
            // Too small for a disc: its first point stands for it.
            island.x = contours[h][0].x, island.y = contours[h][0].y;
            islands.push_back(island);
            continue;
        }
        // A hole that meets the sheet around the drawing only at a point
        // (where contours touch) still falls out: its own area stands for it.
        if (const auto inside = inkIn.find(part); inside != inkIn.end() && !sheet.outside(part))
            island.area -= inside->second;
        const AxisNode& widest = axis.nodes[sheet.widest(part)];
        island.x = sheet.outside(part) ? contours[h][0].x : widest.x;
        island.y = sheet.outside(part) ? contours[h][0].y : widest.y;
        islands.push_back(island);
    }
    // Pockets where ink touches ink at a point: no hole bounds them, yet
    // they fall out all the same. Only a touch can make one.
    if (axis.touches.empty())
        return islands;
    const std::vector<EnclosedSheet> parts = enclosedSheet(contours);
    std::vector<bool> whole(contours.size(), false), given(contours.size(), false);
    for (const EnclosedSheet& e : parts)
        if (e.hole != kNoHole)
            whole[e.hole] = true;
    for (const EnclosedSheet& e : parts) {
        if (e.hole != kNoHole)
            continue;
        // Ink touching a counter at two points splits it: the hole's island
        // is one of the parts, the others are islands of their own.
        const std::uint32_t around = holeAround(contours, e.x, e.y);
        if (around != kNoHole && !whole[around] && !given[around]) {
            given[around] = true;
            for (Island& i : islands)
                if (i.hole == around)
                    i.x = e.x, i.y = e.y, i.area = e.area;
            continue;
        }
        islands.push_back({.x = e.x, .y = e.y, .area = e.area, .hole = kNoHole});
    }
    return islands;
}

} // namespace

std::vector<Contour> cutContours(const CapturedOutline& cut)
{
    std::vector<Contour> contours;
    for (const Figure& f : figures(cut))
        if (f.closed && f.points.size() >= 3)
            contours.emplace_back(f.points.begin(), f.points.end());
    return contours;
}

ToolCheck checkTool(std::span<const Contour> contours, double toolWidth, double wobble)
{
    ToolCheck found;
    const AxisGraph axis = medialAxis(contours);
    std::vector<Narrowing> places;
    Sweep ink(axis, Side::Ink, wobble);
    ink.run(Side::Ink, places);
    Sweep sheet(axis, Side::Sheet, wobble);
    sheet.run(Side::Sheet, places);
    for (const AxisTouch& t : axis.touches)
        places.push_back({double(t.at.x), double(t.at.y), 0, Side::Sheet, t.contour});
    found.islands = islandsOf(contours, axis, sheet);

    std::sort(places.begin(), places.end(), [](const Narrowing& a, const Narrowing& b) { return a.width < b.width; });
    for (const Narrowing& p : places) {
        auto& first = p.side == Side::Ink ? found.thinnest : found.narrowest;
        if (!first)
            first = p;
        if (!(p.width < toolWidth))
            continue;
        const bool near = std::any_of(found.tooNarrow.begin(), found.tooNarrow.end(), [&](const Narrowing& q) {
            return q.side == p.side && std::hypot(q.x - p.x, q.y - p.y) < toolWidth;
        });
        if (!near)
            found.tooNarrow.push_back(p);
    }
    return found;
}

} // namespace lw
