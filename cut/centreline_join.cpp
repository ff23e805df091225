#include "cut/centreline_graph.hpp"

#include <algorithm>

namespace lw::centre {
namespace {

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

} // namespace

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

} // namespace lw::centre
