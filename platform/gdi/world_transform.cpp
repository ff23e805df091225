// The world transform as gdi32 keeps it. TextOutTransformed: GDI itself
// lays the text under the world transform of the advanced graphics mode, so
// every glyph is GDI's own outline; the path keeps device points, so
// putting the previous transform back leaves what was drawn where it was
// drawn.

#include "platform/world_transform.hpp"

#include "platform/gdi/state.hpp"

namespace lw {

int SetGraphicsMode(DeviceContext& dc, int mode) { return ::SetGraphicsMode(dc.state().dc, mode); }

bool SetWorldTransform(DeviceContext& dc, const XFORM& t)
{
    const ::XFORM native{t.eM11, t.eM12, t.eM21, t.eM22, t.eDx, t.eDy};
    return ::SetWorldTransform(dc.state().dc, &native) != 0;
}

bool ModifyWorldTransform(DeviceContext& dc, const XFORM*, std::uint32_t mode)
{
    return mode == MWT_IDENTITY && ::ModifyWorldTransform(dc.state().dc, nullptr, MWT_IDENTITY) != 0;
}

bool TextOutTransformed(DeviceContext& dc, const WorldTransform& t, int x, int y, const char* bytes, int count)
{
    const HDC h = dc.state().dc;
    const int mode = ::SetGraphicsMode(h, GM_ADVANCED);
    ::XFORM previous{};
    const bool had = ::GetWorldTransform(h, &previous) != 0;
    const ::XFORM own{FLOAT(t.m11), FLOAT(t.m12), FLOAT(t.m21), FLOAT(t.m22), FLOAT(t.dx), FLOAT(t.dy)};
    // The transform in force (a slant) first, then this one.
    ::XFORM xf = own;
    if (had && !::CombineTransform(&xf, &previous, &own))
        xf = own;
    bool done = false;
    if (::SetWorldTransform(h, &xf))
        done = TextOutA(dc, x, y, bytes, count);
    if (had)
        ::SetWorldTransform(h, &previous);
    else
        ::ModifyWorldTransform(h, nullptr, MWT_IDENTITY);
    if (mode != 0)
        ::SetGraphicsMode(h, mode);
    return done;
}

} // namespace lw
