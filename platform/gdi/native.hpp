#pragma once
// The GDI backend's own handles, for a native window that shows what a
// device context drew: its memory device context and the DIB section in it.
// Windows only.

#include "platform/gdi/state.hpp"

namespace lw {

inline HDC nativeDC(DeviceContext& dc) { return dc.state().dc; }

// A new, empty surface of this size in pixels (at least 1 x 1).
void resizeSurface(DeviceContext& dc, int width, int height);

} // namespace lw
