// The world transform in the FreeType backend: kept in the state and
// applied by the text layout to every point and glyph map it places, so
// glyph curves are mapped before they are flattened, as the platform maps
// its glyph outlines.

#include "platform/world_transform.hpp"

#include "platform/freetype/state.hpp"

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

} // namespace lw
