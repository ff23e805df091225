#include "cut/centreline_graph.hpp"

#include <algorithm>
#include <functional>
#include <queue>

namespace lw::centre {
namespace {

// The parabola's arc of a bent edge between `from` and `to`, as points
// within `tolerance` of it, both ends left out.
void bentPoints(const AxisEdge& e, const CentrePoint& from, const CentrePoint& to, double tolerance,
                std::vector<CentrePoint>& out)
{
    const double sx = e.side[1][0] - e.side[0][0], sy = e.side[1][1] - e.side[0][1];
    const double len = std::hypot(sx, sy);
    if (!(len > 0))
        return;
    const double ux = sx / len, uy = sy / len;
    // In the side's own frame: t along it, v across it towards the focus.
    double nx = -uy, ny = ux;
    double h = (e.focus[0] - e.side[0][0]) * nx + (e.focus[1] - e.side[0][1]) * ny;
    if (h < 0)
        nx = -nx, ny = -ny, h = -h;
    if (!(h > 1e-9))
        return;
    const double tf = (e.focus[0] - e.side[0][0]) * ux + (e.focus[1] - e.side[0][1]) * uy;
    const auto along = [&](const CentrePoint& p) { return (p.x - e.side[0][0]) * ux + (p.y - e.side[0][1]) * uy; };
    const auto pointAt = [&](double t) {
        const double v = ((t - tf) * (t - tf) + h * h) / (2 * h);
        return CentrePoint{e.side[0][0] + t * ux + v * nx, e.side[0][1] + t * uy + v * ny, v};
    };
    const std::function<void(double, const CentrePoint&, double, const CentrePoint&, int)> split =
        [&](double t0, const CentrePoint& p0, double t1, const CentrePoint& p1, int depth) {
            const double tm = (t0 + t1) / 2;
            const CentrePoint m = pointAt(tm);
            const double cx = p1.x - p0.x, cy = p1.y - p0.y, chord = std::hypot(cx, cy);
            const double off = chord > 0 ? std::fabs(cx * (m.y - p0.y) - cy * (m.x - p0.x)) / chord : distance(m, p0);
            if (depth >= 10 || off <= tolerance)
                return;
            split(t0, p0, tm, m, depth + 1);
            out.push_back(m);
            split(tm, m, t1, p1, depth + 1);
        };
    split(along(from), from, along(to), to, 0);
}

} // namespace

Graph::Graph(const AxisGraph& axis, double tolerance) : tolerance_(tolerance)
{
    // The ink's nodes; those the diagram puts on one spot become one.
    std::vector<std::uint32_t> local(axis.nodes.size(), kNone);
    for (std::uint32_t k = 0; k < axis.nodes.size(); ++k) {
        const AxisNode& n = axis.nodes[k];
        if (n.side != Side::Ink)
            continue;
        local[k] = std::uint32_t(nodes.size());
        nodes.push_back({n.x, n.y, n.radius});
    }
    std::vector<std::uint32_t> same(nodes.size());
    for (std::uint32_t k = 0; k < same.size(); ++k)
        same[k] = k;
    const auto root = [&](std::uint32_t n) {
        while (same[n] != n)
            n = same[n] = same[same[n]];
        return n;
    };
    for (const AxisEdge& e : axis.edges) {
        const std::uint32_t a = local[e.a], b = local[e.b];
        if (a != kNone && b != kNone && distance(nodes[a], nodes[b]) < 1e-6)
            same[root(b)] = root(a);
    }
    incident.resize(nodes.size());
    for (const AxisEdge& e : axis.edges) {
        if (local[e.a] == kNone || local[e.b] == kNone)
            continue;
        const std::uint32_t a = root(local[e.a]), b = root(local[e.b]);
        if (a == b)
            continue;
        Edge made;
        made.a = a, made.b = b;
        if (e.bent)
            bentPoints(e, nodes[a], nodes[b], tolerance, made.inner);
        CentrePoint last = nodes[a];
        for (const CentrePoint& p : made.inner)
            made.length += distance(last, p), last = p;
        made.length += distance(last, nodes[b]);
        incident[a].push_back(std::uint32_t(edges.size()));
        incident[b].push_back(std::uint32_t(edges.size()));
        edges.push_back(std::move(made));
    }
    degree.resize(nodes.size());
    for (std::uint32_t n = 0; n < nodes.size(); ++n)
        degree[n] = std::uint32_t(incident[n].size());
    // Each separate shape of ink, as its whole axis joins it.
    for (const Edge& e : edges)
        same[root(e.b)] = root(e.a);
    part.resize(nodes.size());
    for (std::uint32_t n = 0; n < nodes.size(); ++n)
        part[n] = root(n);
}

void Graph::prune()
{
    using Entry = std::pair<double, std::uint32_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    for (std::uint32_t n = 0; n < nodes.size(); ++n)
        if (degree[n] == 1)
            queue.push({walk(n).reach, n});
    while (!queue.empty()) {
        const auto [reach, leaf] = queue.top();
        queue.pop();
        if (degree[leaf] != 1)
            continue;
        const Branch branch = walk(leaf);
        if (degree[branch.end] < 3)
            continue; // a line on its own stays whole
        if (std::fabs(branch.reach - reach) > 1e-9) {
            queue.push({branch.reach, leaf}); // its junction went since
            continue;
        }
        if (branch.reach > std::max(tolerance_, kStub * nodes[branch.end].radius))
            continue;
        for (const std::uint32_t e : branch.edges) {
            edges[e].alive = false;
            --degree[edges[e].a], --degree[edges[e].b];
        }
        // The junction became a bend: a leaf beyond it reaches further now.
        if (degree[branch.end] == 2)
            for (const std::uint32_t e : incident[branch.end]) {
                if (!edges[e].alive)
                    continue;
                std::uint32_t at = branch.end, from = kNone, next = e;
                for (std::size_t guard = 0; next != kNone && guard <= edges.size(); ++guard) {
                    at = other(edges[next], at), from = next;
                    if (degree[at] != 2 || at == branch.end)
                        break;
                    next = nextEdge(at, from);
                }
                if (degree[at] == 1)
                    queue.push({walk(at).reach, at});
            }
    }
}

// Two junctions closer than either's disc is wide are one place where
// strokes cross (an X's diagonals meet in a short link, not a point): made
// one node, a stroke runs straight on through it.
void Graph::joinNearJunctions()
{
    // Each node once, again while it takes in a neighbour: a joined node
    // may be near another.
    for (std::uint32_t n = 0; n < nodes.size(); ++n) {
        for (bool changed = true; changed && degree[n] >= 3;) {
            changed = false;
            for (const std::uint32_t first : std::vector<std::uint32_t>(incident[n])) {
                if (!edges[first].alive)
                    continue;
                std::vector<std::uint32_t> link;
                double run = 0;
                std::uint32_t at = n, e = first;
                while (e != kNone && link.size() <= edges.size()) {
                    link.push_back(e);
                    run += edges[e].length;
                    at = other(edges[e], at);
                    if (degree[at] != 2 || at == n)
                        break;
                    e = nextEdge(at, e);
                }
                if (at == n || degree[at] < 3 || run > std::max(nodes[n].radius, nodes[at].radius))
                    continue;
                // Another way between the two would become a loop on one node.
                const bool another = std::any_of(incident[at].begin(), incident[at].end(), [&](std::uint32_t k) {
                    return edges[k].alive && k != link.back() && other(edges[k], at) == n;
                });
                if (another)
                    continue;
                for (const std::uint32_t k : link) {
                    edges[k].alive = false;
                    --degree[edges[k].a], --degree[edges[k].b];
                }
                // The wider of the two stands for both: its disc is the
                // junction's own, touching the outline.
                if (nodes[at].radius > nodes[n].radius)
                    nodes[n] = nodes[at];
                for (const std::uint32_t k : incident[at]) {
                    if (!edges[k].alive)
                        continue;
                    (edges[k].a == at ? edges[k].a : edges[k].b) = n;
                    incident[n].push_back(k);
                    ++degree[n];
                }
                incident[at].clear();
                degree[at] = 0;
                changed = true;
                break;
            }
        }
    }
}

// A line's last stretch that lies within the disc of a point before it
// (the ripple of a round end, fanned out by the grid) says nothing the
// disc does not: the line ends at the disc's centre.
void Graph::trimEnds()
{
    // Each end once: a trimmed end trimmed again would shorten the line by
    // the allowance each time.
    std::vector<std::uint32_t> leaves;
    for (std::uint32_t n = 0; n < nodes.size(); ++n)
        if (degree[n] == 1)
            leaves.push_back(n);
    for (const std::uint32_t leaf : leaves) {
        if (degree[leaf] != 1)
            continue;
        const Branch branch = walk(leaf);
        // Along the branch from the leaf: the furthest node whose disc
        // holds every disc before it, within the tolerance.
        double run = 0, held = nodes[leaf].radius; // the most any disc so far reaches beyond run
        std::uint32_t at = leaf;
        std::size_t cut = 0;
        for (std::size_t k = 0; k < branch.edges.size(); ++k) {
            run += edges[branch.edges[k]].length;
            at = other(edges[branch.edges[k]], at);
            const double r = nodes[at].radius;
            if (at != branch.end || degree[at] != 1)
                if (run + held - r <= std::max(tolerance_, kEndAllowance * r))
                    cut = k + 1;
            held = std::max(held, r - run);
        }
        for (std::size_t k = 0; k < cut; ++k) {
            const Edge& e = edges[branch.edges[k]];
            edges[branch.edges[k]].alive = false;
            --degree[e.a], --degree[e.b];
        }
    }
}

} // namespace lw::centre
