// TextOutTransformed in the GDI backend: GDI itself lays the text under the
// world transform of the advanced graphics mode, so every glyph is GDI's own
// outline; the path keeps device points, so putting the identity back
// leaves what was drawn where it was drawn.

#include "platform/world_transform.hpp"

#include "platform/gdi/state.hpp"

namespace lw {

bool TextOutTransformed(DeviceContext& dc, const WorldTransform& t, int x, int y, const char* bytes, int count)
{
    const HDC h = dc.state().dc;
    const int mode = SetGraphicsMode(h, GM_ADVANCED);
    XFORM previous{};
    const bool had = GetWorldTransform(h, &previous) != 0;
    const XFORM xf{FLOAT(t.m11), FLOAT(t.m12), FLOAT(t.m21), FLOAT(t.m22), FLOAT(t.dx), FLOAT(t.dy)};
    bool done = false;
    if (SetWorldTransform(h, &xf))
        done = TextOutA(dc, x, y, bytes, count);
    if (had)
        SetWorldTransform(h, &previous);
    else
        ModifyWorldTransform(h, nullptr, MWT_IDENTITY);
    if (mode != 0)
        SetGraphicsMode(h, mode);
    return done;
}

} // namespace lw
