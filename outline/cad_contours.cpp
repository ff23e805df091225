#include "outline/cad_contours.hpp"

#include <algorithm>

namespace lw {

WideArea twiceArea(const Contour& c)
{
    WideArea sum = 0;
    for (std::size_t i = 0, n = c.size(); i < n; ++i) {
        const POINT& a = c[i];
        const POINT& b = c[(i + 1) % n];
        sum += WideArea(a.x) * b.y - WideArea(b.x) * a.y;
    }
    return sum;
}

void removeRepeats(Contour& c)
{
    // A stack walk: a point equal to the top is a repeat, one equal to the
    // point below the top ends a spike.
    std::size_t kept = 0;
    for (const POINT& p : c) {
        if (kept > 0 && c[kept - 1] == p)
            continue;
        if (kept > 1 && c[kept - 2] == p) {
            --kept;
            continue;
        }
        c[kept++] = p;
    }
    c.resize(kept);
    // The same where the ring closes.
    for (bool changed = true; changed && c.size() > 2;) {
        changed = false;
        if (c.front() == c.back()) {
            c.pop_back();
            changed = true;
        } else if (c[c.size() - 2] == c.front()) {
            c.pop_back();
            changed = true;
        } else if (c[1] == c.back()) {
            c.erase(c.begin());
            changed = true;
        }
    }
}

bool isUsable(const Contour& c) { return c.size() >= 3 && twiceArea(c) != 0; }

void orient(Contour& c, Role role)
{
    const WideArea a = twiceArea(c);
    if ((role == Role::Outer) != (a < 0))
        std::reverse(c.begin(), c.end());
}

bool encloses(const Contour& c, POINT p)
{
    int winding = 0;
    for (std::size_t i = 0, n = c.size(); i < n; ++i) {
        const POINT& a = c[i];
        const POINT& b = c[(i + 1) % n];
        const WideArea side = (WideArea(b.x) - a.x) * (WideArea(p.y) - a.y) - (WideArea(p.x) - a.x) * (WideArea(b.y) - a.y);
        if (a.y <= p.y) {
            if (b.y > p.y && side > 0)
                ++winding;
        } else if (b.y <= p.y && side < 0) {
            --winding;
        }
    }
    return winding != 0;
}

} // namespace lw
