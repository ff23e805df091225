// The world transform in the FreeType backend: kept in the state and
// applied by the text layout to every point and glyph map it places, so
// glyph curves are mapped before they are flattened, as the platform maps
// its glyph outlines. TextOutTransformed lays the line so, then maps what it
// added to the path, so each glyph stays the cached outline under one
// affine map, as GDI keeps it.

#include "platform/world_transform.hpp"

#include "platform/freetype/state.hpp"

#include <cmath>
#include <utility>

namespace lw {

int SetGraphicsMode(DeviceContext& dc, int mode)
{
    auto& s = dc.state();
    if (mode != GM_COMPATIBLE && mode != GM_ADVANCED)
        return 0;
    if (mode == GM_COMPATIBLE && s.world)
        return 0;
    return std::exchange(s.graphicsMode, mode);
}

bool SetWorldTransform(DeviceContext& dc, const XFORM& t)
{
    auto& s = dc.state();
    if (s.graphicsMode != GM_ADVANCED || double(t.eM11) * t.eM22 - double(t.eM12) * t.eM21 == 0)
        return false;
    s.world = t;
    return true;
}

bool ModifyWorldTransform(DeviceContext& dc, const XFORM*, std::uint32_t mode)
{
    if (mode != MWT_IDENTITY || dc.state().graphicsMode != GM_ADVANCED)
        return false;
    dc.state().world.reset();
    return true;
}

bool TextOutTransformed(DeviceContext& dc, const WorldTransform& t, int x, int y, const char* bytes, int count)
{
    auto& s = dc.state();
    const std::size_t firstGlyph = s.glyphs.size();
    const std::size_t firstPoint = s.pathSize();
    const std::size_t firstGroup = s.groups.size();
    const bool done = TextOutA(dc, x, y, bytes, count);

    // A glyph that joined the group before it (only the last one can take
    // it) would share that group's map: it starts a group of its own.
    if (firstGroup > 0 && firstGlyph < s.glyphs.size()) {
        const std::size_t end = firstGroup < s.groups.size() ? s.groups[firstGroup].first : s.glyphs.size();
        if (end > firstGlyph) {
            DeviceContext::State::GlyphGroup split = s.groups[firstGroup - 1];
            split.first = std::uint32_t(firstGlyph);
            split.turned = false;
            s.groups.insert(s.groups.begin() + std::ptrdiff_t(firstGroup), split);
        }
    }
    // A turn (or a mirror) keeps distances, so the glyph's own flattening
    // turned is as close to its curves as a flattening of them turned.
    const bool rigid = std::fabs(t.m11 * t.m11 + t.m12 * t.m12 - 1) < 1e-12 &&
                       std::fabs(t.m21 * t.m21 + t.m22 * t.m22 - 1) < 1e-12 &&
                       std::fabs(t.m11 * t.m21 + t.m12 * t.m22) < 1e-12;
    for (std::size_t k = firstGroup; k < s.groups.size(); ++k) {
        auto& group = s.groups[k];
        const auto m = group.map;
        if (rigid && !group.turned) {
            group.turned = true;
            group.own = m;
        }
        group.map = {t.m11 * m.m00 + t.m21 * m.m10, t.m11 * m.m01 + t.m21 * m.m11,
                     t.m12 * m.m00 + t.m22 * m.m10, t.m12 * m.m01 + t.m22 * m.m11};
    }
    for (std::size_t i = firstGlyph; i < s.glyphs.size(); ++i) {
        auto& g = s.glyphs[i];
        const double ox = g.ox, oy = g.oy;
        g.ox = ox * t.m11 + oy * t.m21 + t.dx;
        g.oy = ox * t.m12 + oy * t.m22 + t.dy;
    }
    if (s.extras) {
        for (std::size_t i = firstPoint; i < s.extras->path.size(); ++i) {
            auto& p = s.extras->path[i];
            const double px = p.x, py = p.y;
            p.x = px * t.m11 + py * t.m21 + t.dx;
            p.y = px * t.m12 + py * t.m22 + t.dy;
        }
    }
    return done;
}

} // namespace lw
