// The world transform as gdi32 keeps it.

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

} // namespace lw
