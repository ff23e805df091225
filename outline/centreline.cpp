#include "outline/centreline.hpp"

#include "outline/medial_axis.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <queue>
#include <utility>

namespace lw {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

// A branch is a stub into a corner, or the ripple of a round end, unless
// the ink it stands for reaches beyond its junction's disc by more than
// this many of that disc's radii (half a stroke width).
constexpr double kStub = 1.0;

// How far, in radii of a disc, a line's end may reach out of that disc
// and still be taken as lying within it: the grid's steps round a round end
// leave its discs a little short of the end's circle.
constexpr double kEndAllowance = 0.1;

double distance(const CentrePoint& a, const CentrePoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

struct Edge {
    std::uint32_t a = 0, b = 0;
    std::vector<CentrePoint> inner; // the points between a and b, from a
    double length = 0;
    bool alive = true;
};

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

class Graph {
public:
    Graph(const AxisGraph& axis, double tolerance) : tolerance_(tolerance)
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
    for (bool changed = true; changed;) {
        changed = false;
        for (std::uint32_t n = 0; n < nodes.size() && !changed; ++n) {
            if (degree[n] < 3)
                continue;
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

// Douglas-Peucker on the points, the radius kept within the tolerance too.
void thin(std::vector<CentrePoint>& line, double tolerance)
{
    if (line.size() < 3)
        return;
    std::vector<bool> keep(line.size(), false);
    keep.front() = keep.back() = true;
    std::vector<std::pair<std::size_t, std::size_t>> spans{{0, line.size() - 1}};
    while (!spans.empty()) {
        const auto [i, j] = spans.back();
        spans.pop_back();
        const CentrePoint &p = line[i], &q = line[j];
        const double dx = q.x - p.x, dy = q.y - p.y, len2 = dx * dx + dy * dy;
        double worst = 0;
        std::size_t at = 0;
        for (std::size_t k = i + 1; k < j; ++k) {
            const CentrePoint& m = line[k];
            const double t = len2 > 0 ? std::clamp(((m.x - p.x) * dx + (m.y - p.y) * dy) / len2, 0.0, 1.0) : 0.0;
            const double off = std::hypot(m.x - (p.x + t * dx), m.y - (p.y + t * dy));
            const double span = double(j - i);
            const double radiusOff = std::fabs(m.radius - (p.radius + (q.radius - p.radius) * double(k - i) / span));
            const double worse = std::max(off, radiusOff);
            if (worse > worst)
                worst = worse, at = k;
        }
        if (worst > tolerance) {
            keep[at] = true;
            spans.push_back({i, at});
            spans.push_back({at, j});
        }
    }
    std::size_t out = 0;
    for (std::size_t k = 0; k < line.size(); ++k)
        if (keep[k])
            line[out++] = line[k];
    line.resize(out);
}

CentreLines Graph::lines()
{
    // Every edge's end at a node paired with the straightest other one
    // there; at a node of odd degree one is left, where a line ends.
    std::vector<std::uint32_t> partner(2 * edges.size(), kNone);
    const auto endKey = [&](std::uint32_t e, std::uint32_t n) { return 2 * e + (edges[e].a == n ? 0 : 1); };
    for (std::uint32_t n = 0; n < nodes.size(); ++n) {
        std::vector<std::uint32_t> ends;
        std::vector<std::pair<double, double>> ways;
        for (const std::uint32_t e : incident[n])
            if (edges[e].alive)
                ends.push_back(e), ways.push_back(heading(n, e));
        std::vector<std::pair<double, std::pair<std::size_t, std::size_t>>> pairs;
        for (std::size_t i = 0; i < ends.size(); ++i)
            for (std::size_t j = i + 1; j < ends.size(); ++j)
                pairs.push_back({ways[i].first * ways[j].first + ways[i].second * ways[j].second, {i, j}});
        std::sort(pairs.begin(), pairs.end());
        std::vector<bool> taken(ends.size(), false);
        for (const auto& [straight, ij] : pairs) {
            if (taken[ij.first] || taken[ij.second])
                continue;
            taken[ij.first] = taken[ij.second] = true;
            const std::uint32_t k1 = endKey(ends[ij.first], n), k2 = endKey(ends[ij.second], n);
            partner[k1] = k2, partner[k2] = k1;
        }
    }

    struct Step {
        std::uint32_t edge;
        bool forward;
    };
    struct Trail {
        std::vector<Step> steps;
        bool closed = false;
    };
    std::vector<Trail> trails;
    std::vector<bool> used(edges.size(), false);
    const auto follow = [&](std::uint32_t key) {
        Trail t;
        const std::uint32_t first = key;
        while (true) {
            const std::uint32_t e = key / 2;
            if (used[e])
                break;
            used[e] = true;
            t.steps.push_back({e, key % 2 == 0});
            const std::uint32_t next = partner[key ^ 1u];
            if (next == kNone)
                break;
            if (next == first) {
                t.closed = true;
                break;
            }
            key = next;
        }
        trails.push_back(std::move(t));
    };
    for (std::uint32_t key = 0; key < partner.size(); ++key)
        if (edges[key / 2].alive && !used[key / 2] && partner[key] == kNone)
            follow(key);
    for (std::uint32_t e = 0; e < edges.size(); ++e)
        if (edges[e].alive && !used[e])
            follow(2 * e);

    const auto startOf = [&](const Step& s) { return s.forward ? edges[s.edge].a : edges[s.edge].b; };
    const auto endOf = [&](const Step& s) { return s.forward ? edges[s.edge].b : edges[s.edge].a; };

    // A loop that meets another line is spliced into it where they meet,
    // so a letter takes as few lines as its odd junctions need.
    std::vector<std::vector<std::uint32_t>> visiting(nodes.size());
    for (std::uint32_t t = 0; t < trails.size(); ++t) {
        visiting[startOf(trails[t].steps.front())].push_back(t);
        for (const Step& s : trails[t].steps)
            visiting[endOf(s)].push_back(t);
    }
    std::vector<std::uint32_t> owner(trails.size());
    for (std::uint32_t t = 0; t < owner.size(); ++t)
        owner[t] = t;
    const auto ownerOf = [&](std::uint32_t t) {
        while (owner[t] != t)
            t = owner[t] = owner[owner[t]];
        return t;
    };
    std::vector<std::uint32_t> loops;
    for (std::uint32_t t = 0; t < trails.size(); ++t)
        if (trails[t].closed)
            loops.push_back(t);
    while (!loops.empty()) {
        const std::uint32_t c = loops.back();
        loops.pop_back();
        if (ownerOf(c) != c || !trails[c].closed)
            continue;
        std::uint32_t target = kNone;
        std::size_t at = 0;
        for (std::size_t i = 0; i < trails[c].steps.size() && target == kNone; ++i)
            for (const std::uint32_t t : visiting[startOf(trails[c].steps[i])])
                if (ownerOf(t) != c) {
                    target = ownerOf(t), at = i;
                    break;
                }
        if (target == kNone)
            continue;
        const std::uint32_t meet = startOf(trails[c].steps[at]);
        std::vector<Step>& into = trails[target].steps;
        std::size_t j = 0;
        while (j < into.size() && startOf(into[j]) != meet)
            ++j;
        std::vector<Step> loop(trails[c].steps.begin() + std::ptrdiff_t(at), trails[c].steps.end());
        loop.insert(loop.end(), trails[c].steps.begin(), trails[c].steps.begin() + std::ptrdiff_t(at));
        into.insert(into.begin() + std::ptrdiff_t(j), loop.begin(), loop.end());
        trails[c].steps.clear();
        owner[c] = target;
        if (trails[target].closed)
            loops.push_back(target);
    }

    CentreLines out;
    std::vector<bool> drawn(nodes.size(), false);
    std::vector<CentrePoint> line;
    for (const Trail& t : trails) {
        if (t.steps.empty())
            continue;
        line.assign(1, nodes[startOf(t.steps.front())]);
        for (const Step& s : t.steps) {
            const Edge& e = edges[s.edge];
            if (s.forward)
                line.insert(line.end(), e.inner.begin(), e.inner.end());
            else
                line.insert(line.end(), e.inner.rbegin(), e.inner.rend());
            line.push_back(nodes[endOf(s)]);
        }
        thin(line, tolerance_);
        const std::size_t first = out.points.size();
        for (const CentrePoint& p : line)
            if (out.points.size() == first || distance(out.points.back(), p) > 0.1 * tolerance_)
                out.points.push_back(p);
        if (out.points.size() - first < 2) {
            out.points.resize(first);
        } else {
            out.ends.push_back(out.points.size());
            drawn[part[startOf(t.steps.front())]] = true;
        }
    }
    // A shape no line is left in (a dot, or a square whose axis is its
    // centre alone) is still a mark to make: a line a tolerance long at the
    // centre of its widest disc, which a pen or a beam draws as a dot.
    std::vector<std::uint32_t> widest(nodes.size(), kNone);
    for (std::uint32_t n = 0; n < nodes.size(); ++n)
        if (!drawn[part[n]] && (widest[part[n]] == kNone || nodes[n].radius > nodes[widest[part[n]]].radius))
            widest[part[n]] = n;
    for (const std::uint32_t n : widest) {
        if (n == kNone)
            continue;
        const CentrePoint& c = nodes[n];
        out.points.push_back(c);
        out.points.push_back({c.x + tolerance_, c.y, c.radius});
        out.ends.push_back(out.points.size());
    }
    return out;
}

} // namespace

CentreLines centreline(std::span<const Contour> contours, double tolerance)
{
    Graph graph(medialAxis(contours), tolerance);
    graph.prune();
    graph.joinNearJunctions();
    graph.trimEnds();
    return graph.lines();
}

} // namespace lw
