// TextOutTransformed in the FreeType backend: the line is laid as TextOutA
// lays it, then what it added to the path is mapped, so each glyph stays the
// cached outline under one affine map, as GDI keeps it.

#include "platform/world_transform.hpp"

#include "platform/freetype/state.hpp"

namespace lw {

bool TextOutTransformed(DeviceContext& dc, const WorldTransform& t, int x, int y, const char* bytes, int count)
{
    auto& s = dc.state();
    const std::size_t firstGlyph = s.glyphs.size();
    const std::size_t firstPoint = s.pathSize();
    const bool done = TextOutA(dc, x, y, bytes, count);

    // A glyph that joined the group before it would share that group's map:
    // it starts a group of its own.
    for (std::size_t k = 0; k < s.groups.size(); ++k) {
        const std::size_t end = k + 1 < s.groups.size() ? s.groups[k + 1].first : s.glyphs.size();
        if (s.groups[k].first < firstGlyph && firstGlyph < end) {
            DeviceContext::State::GlyphGroup split = s.groups[k];
            split.first = std::uint32_t(firstGlyph);
            s.groups.insert(s.groups.begin() + std::ptrdiff_t(k + 1), split);
            break;
        }
    }
    for (auto& group : s.groups) {
        if (group.first < firstGlyph)
            continue;
        const auto m = group.map;
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
