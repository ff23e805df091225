#include "cut/medial_axis.hpp"

#include "cut/boost_polygon.hpp"
#include <boost/polygon/voronoi.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace lw {
namespace {

namespace bp = boost::polygon;
using Segment = bp::segment_data<std::int32_t>;
using Diagram = bp::voronoi_diagram<double>;

// A vertex closer than this (grid units) to a contour lies on it: a convex
// corner, where the axis says nothing of a width.
constexpr double kOnContour = 1e-3;

struct Vec {
    double x, y;
};
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
double cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
Vec at(POINT p) { return {double(p.x), double(p.y)}; }

// Where each segment of the diagram's input comes from.
struct SegmentOrigin {
    std::uint32_t contour, index; // the segment runs from point index to index + 1
};

class Sites {
public:
    Sites(std::span<const Contour> contours, const Contour& frame) : contours_(contours), frame_(frame) {}

    void add(std::uint32_t contour, const Contour& c, std::vector<Segment>& segments)
    {
        for (std::uint32_t i = 0; i < c.size(); ++i) {
            const POINT a = c[i], b = c[(i + 1) % c.size()];
            segments.emplace_back(bp::point_data<std::int32_t>(a.x, a.y), bp::point_data<std::int32_t>(b.x, b.y));
            origins_.push_back({contour, i});
        }
    }

    const Contour& contour(std::uint32_t id) const { return id == kFrameContour ? frame_ : contours_[id]; }
    POINT point(std::uint32_t id, std::uint32_t k) const
    {
        const Contour& c = contour(id);
        return c[k % c.size()];
    }

    // The cell's site: a contour's point (its index) or segment (from index).
    struct Site {
        std::uint32_t contour, index;
        bool isPoint;
    };
    Site of(const Diagram::cell_type& cell) const
    {
        const SegmentOrigin o = origins_[cell.source_index()];
        if (!cell.contains_point())
            return {o.contour, o.index, false};
        const bool start = cell.source_category() == bp::SOURCE_CATEGORY_SEGMENT_START_POINT;
        const std::uint32_t n = std::uint32_t(contour(o.contour).size());
        return {o.contour, start ? o.index : (o.index + 1) % n, true};
    }

    // The nearest point of the site to `p`.
    Vec foot(const Site& s, Vec p) const
    {
        const Vec a = at(point(s.contour, s.index));
        if (s.isPoint)
            return a;
        const Vec b = at(point(s.contour, s.index + 1));
        const Vec d = b - a;
        const double len2 = dot(d, d);
        const double t = len2 > 0 ? std::clamp(dot(p - a, d) / len2, 0.0, 1.0) : 0.0;
        return {a.x + t * d.x, a.y + t * d.y};
    }

    double distance(const Site& s, Vec p) const
    {
        const Vec f = foot(s, p);
        return std::hypot(p.x - f.x, p.y - f.y);
    }

    // Which side of the contours `p` lies on, told by its nearest site: the
    // ink lies to the right of every contour as it runs on the grid (y down).
    Side sideOf(const Site& s, Vec p) const
    {
        if (s.isPoint && !shared_.empty()) {
            const POINT here = point(s.contour, s.index);
            const auto found = std::lower_bound(shared_.begin(), shared_.end(), Corner{keyOf(here), 0, 0});
            if (found != shared_.end() && found->key == keyOf(here))
                return sideAtShared(found, at(here), p);
        }
        if (!s.isPoint) {
            const Vec a = at(point(s.contour, s.index)), b = at(point(s.contour, s.index + 1));
            return cross(b - a, p - a) < 0 ? Side::Ink : Side::Sheet;
        }
        const Contour& c = contour(s.contour);
        const Vec prev = at(c[(s.index + c.size() - 1) % c.size()]), here = at(c[s.index]),
                  next = at(point(s.contour, s.index + 1));
        const bool rightOfIn = cross(here - prev, p - prev) < 0, rightOfOut = cross(next - here, p - here) < 0;
        // A corner turning towards the ink holds ink only right of both edges.
        const bool convex = cross(here - prev, next - here) < 0;
        return (convex ? rightOfIn && rightOfOut : rightOfIn || rightOfOut) ? Side::Ink : Side::Sheet;
    }

    // Points where contours meet (a counter touching the outside at a
    // corner, cut there into two contours): the side there is told by all
    // the edges around the point, not by one contour's corner.
    void findShared()
    {
        std::vector<Corner> all;
        for (std::uint32_t c = 0; c < contours_.size(); ++c)
            for (std::uint32_t k = 0; k < contours_[c].size(); ++k)
                all.push_back({keyOf(contours_[c][k]), c, k});
        std::sort(all.begin(), all.end());
        for (std::size_t i = 0; i < all.size();) {
            std::size_t j = i + 1;
            while (j < all.size() && all[j].key == all[i].key)
                ++j;
            if (j - i > 1)
                shared_.insert(shared_.end(), all.begin() + std::ptrdiff_t(i), all.begin() + std::ptrdiff_t(j));
            i = j;
        }
    }

private:
    struct Corner {
        std::uint64_t key;
        std::uint32_t contour, index;
        bool operator<(const Corner& o) const { return key < o.key; }
    };
    static std::uint64_t keyOf(POINT p) { return std::uint64_t(std::uint32_t(p.x)) << 32 | std::uint32_t(p.y); }

    // The edges leave the point as rays; `p` lies in the sector that the
    // nearest ray clockwise of it bounds, and the ink lies right of every
    // edge as it runs: right of a ray that leaves, left of one that arrives.
    Side sideAtShared(std::vector<Corner>::const_iterator first, Vec here, Vec p) const
    {
        const Vec to = p - here;
        double best = 10;
        bool arriving = false;
        for (auto it = first; it != shared_.end() && it->key == first->key; ++it) {
            const Contour& c = contours_[it->contour];
            const Vec rays[2] = {at(c[(it->index + 1) % c.size()]) - here, at(c[(it->index + c.size() - 1) % c.size()]) - here};
            for (int r = 0; r < 2; ++r) {
                double turn = std::atan2(cross(rays[r], to), dot(rays[r], to));
                if (turn <= 0)
                    turn += 2 * 3.141592653589793;
                if (turn < best)
                    best = turn, arriving = r == 1;
            }
        }
        return arriving ? Side::Ink : Side::Sheet;
    }

public:
    void touches(std::vector<AxisTouch>& out) const
    {
        for (std::size_t i = 0; i < shared_.size(); ++i)
            if (i == 0 || shared_[i].key != shared_[i - 1].key)
                out.push_back({point(shared_[i].contour, shared_[i].index), shared_[i].contour});
    }

private:
    std::vector<Corner> shared_;
    std::span<const Contour> contours_;
    const Contour& frame_;
    std::vector<SegmentOrigin> origins_;
};

// A frame (turning as a hole does, so the sheet lies inside it) further
// from the drawing than any two of its points lie apart: no width the frame
// takes part in is smaller than one the drawing has.
Contour frameAround(std::span<const Contour> contours)
{
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    bool first = true;
    for (const Contour& c : contours)
        for (const POINT& p : c) {
            if (first)
                left = right = p.x, top = bottom = p.y, first = false;
            left = std::min<std::int64_t>(left, p.x), right = std::max<std::int64_t>(right, p.x);
            top = std::min<std::int64_t>(top, p.y), bottom = std::max<std::int64_t>(bottom, p.y);
        }
    const std::int64_t margin = std::max(right - left, bottom - top) * 2 + 64;
    const auto clamp = [](std::int64_t v) {
        constexpr std::int64_t kReach = std::int64_t(1) << 30;
        return std::int32_t(std::clamp(v, -kReach, kReach));
    };
    const std::int32_t l = clamp(left - margin), t = clamp(top - margin), r = clamp(right + margin),
                       b = clamp(bottom + margin);
    return {POINT{l, t}, POINT{r, t}, POINT{r, b}, POINT{l, b}};
}

} // namespace

AxisGraph medialAxis(std::span<const Contour> contours)
{
    AxisGraph graph;
    if (contours.empty())
        return graph;
    const Contour frame = frameAround(contours);
    Sites sites(contours, frame);
    std::vector<Segment> segments;
    for (std::uint32_t k = 0; k < contours.size(); ++k)
        sites.add(k, contours[k], segments);
    sites.add(kFrameContour, frame, segments);
    sites.findShared();
    sites.touches(graph.touches);

    Diagram diagram;
    bp::construct_voronoi(segments.begin(), segments.end(), &diagram);

    // Every vertex off the contours becomes a node, told its side by its
    // nearest site.
    constexpr std::uint32_t kNone = 0xFFFFFFFF;
    const auto& vertices = diagram.vertices();
    std::vector<std::uint32_t> nodeOf(vertices.size(), kNone);
    for (std::size_t k = 0; k < vertices.size(); ++k) {
        const auto& v = vertices[k];
        const Vec p{v.x(), v.y()};
        const auto site = sites.of(*v.incident_edge()->cell());
        const double radius = sites.distance(site, p);
        if (!(radius > kOnContour))
            continue;
        nodeOf[k] = std::uint32_t(graph.nodes.size());
        graph.nodes.push_back({p.x, p.y, radius, sites.sideOf(site, p), site.contour});
    }
    const auto indexOf = [&](const Diagram::vertex_type* v) { return std::size_t(v - vertices.data()); };

    for (const auto& edge : diagram.edges()) {
        // Each edge once, of the pair with its twin; the rays beyond the
        // frame and the edges that end on a contour go.
        if (&edge > edge.twin() || !edge.is_primary() || !edge.is_finite())
            continue;
        const std::uint32_t a = nodeOf[indexOf(edge.vertex0())], b = nodeOf[indexOf(edge.vertex1())];
        if (a == kNone || b == kNone)
            continue;
        const auto one = sites.of(*edge.cell()), two = sites.of(*edge.twin()->cell());
        if (one.contour == kFrameContour && two.contour == kFrameContour)
            continue;
        const AxisNode na = graph.nodes[a], nb = graph.nodes[b];
        const Vec pa{na.x, na.y}, pb{nb.x, nb.y};
        // The radius dips between the ends only where the edge passes the
        // point halfway between a point site and the other site.
        std::uint32_t narrow = na.radius <= nb.radius ? a : b;
        std::uint32_t split = kNone;
        if (one.isPoint || two.isPoint) {
            const auto& point = one.isPoint ? one : two;
            const auto& other = one.isPoint ? two : one;
            const Vec p = at(sites.point(point.contour, point.index));
            const Vec f = sites.foot(other, p);
            const Vec m{(p.x + f.x) / 2, (p.y + f.y) / 2};
            // Along the edge: by the way the other site runs, or across the
            // two points for a bisector of points.
            Vec along = pb - pa;
            if (!other.isPoint) {
                along = at(sites.point(other.contour, other.index + 1)) - at(sites.point(other.contour, other.index));
                if (dot(along, pb - pa) < 0)
                    along = {-along.x, -along.y};
            }
            const double span = dot(pb - pa, along), t = dot(m - pa, along);
            const double radius = std::hypot(p.x - f.x, p.y - f.y) / 2;
            if (span > 0 && t > 0 && t < span && radius < std::min(na.radius, nb.radius) && radius > kOnContour) {
                split = std::uint32_t(graph.nodes.size());
                graph.nodes.push_back({m.x, m.y, radius, na.side, point.contour});
                narrow = split;
            }
        }
        AxisEdge made{.a = a, .b = b, .contours = {one.contour, two.contour}};
        if (one.isPoint != two.isPoint) {
            const auto& point = one.isPoint ? one : two;
            const auto& other = one.isPoint ? two : one;
            const Vec f = at(sites.point(point.contour, point.index));
            const Vec s0 = at(sites.point(other.contour, other.index)),
                      s1 = at(sites.point(other.contour, other.index + 1));
            made.bent = true;
            made.focus[0] = f.x, made.focus[1] = f.y;
            made.side[0][0] = s0.x, made.side[0][1] = s0.y, made.side[1][0] = s1.x, made.side[1][1] = s1.y;
        }
        const AxisNode& n = graph.nodes[narrow];
        Vec place{n.x, n.y};
        // Between parallel sides no end is narrower: the middle stands
        // furthest from the junctions at either end.
        if (split == kNone && std::fabs(na.radius - nb.radius) <= 1e-6 * na.radius + 0.5)
            place = {(na.x + nb.x) / 2, (na.y + nb.y) / 2};
        made.at[0] = place.x, made.at[1] = place.y;
        const Vec f1 = sites.foot(one, place), f2 = sites.foot(two, place);
        made.feet[0][0] = f1.x, made.feet[0][1] = f1.y, made.feet[1][0] = f2.x, made.feet[1][1] = f2.y;
        if (split == kNone) {
            graph.edges.push_back(made);
        } else {
            made.b = split;
            graph.edges.push_back(made);
            made.a = split, made.b = b;
            graph.edges.push_back(made);
        }
    }
    return graph;
}

} // namespace lw
