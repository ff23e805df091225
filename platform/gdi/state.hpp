#pragma once
// What the GDI backend keeps: the memory device context every call goes to,
// the DIB section selected into it, and the logical fonts as GDI handles.
// Our headers come before <windows.h>: its macros (TRANSPARENT, TA_CENTER,
// OPAQUE ...) would otherwise rewrite our constants of the same names.

#include "platform/device_context.hpp"

#include <windows.h>

namespace lw {

struct LogicalFont {
    ::HFONT handle = nullptr;
    BYTE charset = SHIFTJIS_CHARSET; // the one GDI was asked for
    // For a face asked for in its own character set: the font the designed
    // Shift-JIS request gives, which draws a text the face lacks characters of.
    ::HFONT shiftJis = nullptr;
    // The description's exact width in pixels, 0 for lfWidth's own.
    double widthExact = 0;
    bool stock = false; // the device context's own font, never deleted
};

struct DeviceContext::State {
    HDC dc = nullptr;
    HBITMAP dib = nullptr;
    HGDIOBJ originalBitmap = nullptr;
    HPEN pen = nullptr;
    HGDIOBJ originalPen = nullptr;
    LogicalFont stockFont;
    HFONT font = nullptr; // the selected one, ours or the stock font
    // Between BeginPath and EndPath drawing calls add to the path and draw
    // nothing; GDI cannot be asked, so the bracket is remembered.
    bool pathOpen = false;
};

// lw::POINT and the platform's POINT are the same two 32-bit integers.
static_assert(sizeof(lw::POINT) == sizeof(::POINT));
inline const ::POINT* platformPoints(const lw::POINT* points) { return reinterpret_cast<const ::POINT*>(points); }
inline ::POINT* platformPoints(lw::POINT* points) { return reinterpret_cast<::POINT*>(points); }

} // namespace lw
