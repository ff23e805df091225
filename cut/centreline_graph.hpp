#pragma once
// The centreline's working graph (centreline.hpp): the ink's medial axis as
// nodes and edges, pruned (centreline_graph.cpp), then joined into lines
// (centreline_join.cpp). For those steps only.

#include "cut/centreline.hpp"
#include "cut/medial_axis.hpp"

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace lw::centre {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

// A branch is a stub into a corner, or the ripple of a round end, unless
// the ink it stands for reaches beyond its junction's disc by more than
// this many of that disc's radii (half a stroke width).
constexpr double kStub = 1.0;

// How far, in radii of a disc, a line's end may reach out of that disc
// and still be taken as lying within it: the grid's steps round a round end
// leave its discs a little short of the end's circle.
constexpr double kEndAllowance = 0.1;

inline double distance(const CentrePoint& a, const CentrePoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

struct Edge {
    std::uint32_t a = 0, b = 0;
    std::vector<CentrePoint> inner; // the points between a and b, from a
    double length = 0;
    bool alive = true;
};

class Graph {
public:
    // The ink's side of `axis`, its bent edges drawn within `tolerance`.
    Graph(const AxisGraph& axis, double tolerance);

    // The steps, in this order: stubs and ripples pruned; junctions as
    // close as their discs are wide made one; each end's last stretch
    // inside a disc before it trimmed; the lines joined and thinned.
    void prune();
    void joinNearJunctions();
    void trimEnds();
    CentreLines lines();

    std::vector<CentrePoint> nodes;
    std::vector<Edge> edges;
    std::vector<std::vector<std::uint32_t>> incident;
    std::vector<std::uint32_t> degree;
    std::vector<std::uint32_t> part; // the shape of ink each node lies in, by one node of it

private:
    struct Branch {
        std::vector<std::uint32_t> edges;
        std::uint32_t end = 0; // the junction, or the far leaf of a line on its own
        double reach = 0;      // how far its ink stands out of the end's disc
    };

    static std::uint32_t other(const Edge& e, std::uint32_t n) { return e.a == n ? e.b : e.a; }

    // The alive edge of `n` other than `from`, or kNone.
    std::uint32_t nextEdge(std::uint32_t n, std::uint32_t from) const
    {
        for (const std::uint32_t e : incident[n])
            if (edges[e].alive && e != from)
                return e;
        return kNone;
    }

    // From a leaf through the nodes of degree 2 to the first that is not.
    Branch walk(std::uint32_t leaf) const
    {
        Branch branch;
        std::vector<std::pair<std::uint32_t, double>> passed{{leaf, 0}};
        std::uint32_t at = leaf, from = kNone;
        double run = 0;
        while (branch.edges.size() <= edges.size()) {
            const std::uint32_t e = nextEdge(at, from);
            if (e == kNone)
                break;
            run += edges[e].length;
            at = other(edges[e], at), from = e;
            branch.edges.push_back(e);
            if (degree[at] != 2)
                break;
            passed.push_back({at, run});
        }
        branch.end = at;
        double reach = 0;
        for (const auto& [n, s] : passed)
            reach = std::max(reach, run - s + nodes[n].radius);
        branch.reach = reach - nodes[at].radius;
        return branch;
    }

    // The way a line leaves `n` along `e`, looked at over about the disc's
    // radius so that the grid's steps do not decide it.
    std::pair<double, double> heading(std::uint32_t n, std::uint32_t e) const
    {
        const CentrePoint& start = nodes[n];
        const double far = std::max(start.radius, tolerance_);
        CentrePoint last = start;
        std::uint32_t at = n;
        for (std::size_t guard = 0; guard <= edges.size(); ++guard) {
            const Edge& edge = edges[e];
            const bool forward = edge.a == at;
            for (std::size_t k = 0; k < edge.inner.size(); ++k) {
                last = edge.inner[forward ? k : edge.inner.size() - 1 - k];
                if (distance(last, start) >= far)
                    break;
            }
            at = other(edge, at);
            if (distance(last, start) >= far)
                break;
            last = nodes[at];
            if (distance(last, start) >= far || degree[at] != 2 || at == n)
                break;
            e = nextEdge(at, e);
            if (e == kNone)
                break;
        }
        const double dx = last.x - start.x, dy = last.y - start.y, len = std::hypot(dx, dy);
        return len > 0 ? std::pair{dx / len, dy / len} : std::pair{0.0, 0.0};
    }

    double tolerance_;
};

} // namespace lw::centre
