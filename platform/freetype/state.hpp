#pragma once
// What the FreeType backend keeps in a device context and in a logical font.
// The engine runs on one thread (the window's, or the command line's), so
// the scratch buffers live here, per device context, without locks.

#include "platform/device_context.hpp"
#include "platform/freetype/flatten.hpp"
#include "platform/freetype/font_library.hpp"

#include <string>
#include <vector>

namespace lw {

struct LogicalFont {
    LOGFONTA description{};
    const FontFace* face = nullptr; // resolved on creation
    bool stock = false;
};

// The face a logical font resolved to.
const FontFace& faceOf(LogicalFont& font);

struct DeviceContext::State {
    enum class PathState { None, Open, Closed };

    HFONT font = nullptr;           // never null after construction: the stock font at first
    int bkMode = OPAQUE;
    std::uint32_t textAlign = TA_LEFT | TA_TOP;
    POINT position{};
    PathState pathState = PathState::None;
    // The path in device pixels before flattening (curves as cubic Béziers
    // in sub-pixel precision) and, after FlattenPath, the integer points.
    struct PathPoint {
        double x, y;
        std::uint8_t type;
    };
    std::vector<PathPoint> path;
    std::vector<POINT> flatPoints;
    std::vector<std::uint8_t> flatTypes;
    bool flattened = false;

    // TextOutA's scratch, kept so a keystroke's capture allocates nothing.
    std::u32string text;
    std::vector<GlyphRef> glyphs;
    std::vector<double> advances;
};

} // namespace lw
