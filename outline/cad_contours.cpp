#include "outline/cad_contours.hpp"

#include <algorithm>
#include <cstdint>

namespace lw {

WideArea twiceArea(const Contour& c)
{
    WideArea sum = 0;
    if (c.empty())
        return sum;
    POINT a = c.back();
    for (const POINT& b : c) {
        sum += WideArea(a.x) * b.y - WideArea(b.x) * a.y;
        a = b;
    }
    return sum;
}

Extent extentOf(const Contour& c)
{
    Extent e;
    if (c.empty())
        return e;
    POINT a = c.back();
    e = {0, a.x, a.y, a.x, a.y};
    for (const POINT& b : c) {
        e.area += WideArea(a.x) * b.y - WideArea(b.x) * a.y;
        e.left = std::min(e.left, b.x);
        e.right = std::max(e.right, b.x);
        e.top = std::min(e.top, b.y);
        e.bottom = std::max(e.bottom, b.y);
        a = b;
    }
    return e;
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

void orient(Contour& c, Role role) { orient(c, role, twiceArea(c)); }

void orient(Contour& c, Role role, WideArea area)
{
    if ((role == Role::Outer) != (area < 0))
        std::reverse(c.begin(), c.end());
}

namespace {

WideArea side(POINT a, POINT b, POINT p)
{
    return (WideArea(b.x) - a.x) * (WideArea(p.y) - a.y) - (WideArea(p.x) - a.x) * (WideArea(b.y) - a.y);
}

} // namespace

bool encloses(const Contour& c, POINT p)
{
    int winding = 0;
    POINT a = c.empty() ? p : c.back();
    for (const POINT& b : c) {
        if (a.y <= p.y) {
            if (b.y > p.y && side(a, b, p) > 0)
                ++winding;
        } else if (b.y <= p.y && side(a, b, p) < 0) {
            --winding;
        }
        a = b;
    }
    return winding != 0;
}

} // namespace lw
