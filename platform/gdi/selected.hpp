#pragma once
// Selects a font into a device context for the lifetime of the object, so
// every way out of a drawing puts the previous one back.

#include "platform/gdi/state.hpp"

namespace lw {

class Selected {
public:
    Selected(HDC dc, ::HFONT face) : dc_(dc), previous_(::SelectObject(dc, face)) {}
    ~Selected() { ::SelectObject(dc_, previous_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace lw
