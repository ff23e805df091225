#pragma once
// What the FreeType backend keeps in a device context and in a logical font.
// The engine runs on one thread (the window's, or the command line's), so
// nothing here takes a lock.

#include "platform/device_context.hpp"
#include "platform/freetype/flatten.hpp"
#include "platform/freetype/font_library.hpp"

#include <string>
#include <vector>

namespace lw {

struct LogicalFont {
    LOGFONTA description{};
    const FontFace* face = nullptr; // resolved on creation
    bool emboldened = false;        // bold asked of a face that has none
    bool vertical = false;          // "@" before the face name
    bool stock = false;
};

// Bold is weight 600 and above, as the platform reads lfWeight.
inline bool asksBold(const LOGFONTA& d) { return d.lfWeight >= 600; }

// The face a logical font resolved to.
const FontFace& faceOf(LogicalFont& font);

struct DeviceContext::State {
    enum class PathState { None, Open, Closed };

    HFONT font = nullptr;           // never null after construction: the stock font at first
    int bkMode = OPAQUE;
    std::uint32_t textAlign = TA_LEFT | TA_TOP;
    int charExtra = 0;
    POINT position{};
    PathState pathState = PathState::None;

    // The path in device pixels before flattening. Lines, polygons and
    // rectangles are points in sub-pixel precision; a glyph is its cached
    // outline, its origin and the linear map onto the device (one for all
    // the glyphs of a face in a line, kept once), so the path costs memory
    // per glyph, not per control point, and flattening reads each control
    // point once.
    struct PathPoint {
        double x, y;
        std::uint8_t type;
    };
    struct GlyphMap {
        double m00, m01, m10, m11;
    };
    struct PlacedGlyph {
        const GlyphOutline* outline;
        std::uint32_t before;   // comes before points[before] (2^32 path points would fill 96 GB first)
        std::uint32_t map;      // its map in maps
        double ox, oy;          // device position of the font-unit origin
    };
    std::vector<PathPoint> path;
    std::vector<PlacedGlyph> glyphs;
    std::vector<GlyphMap> maps;

    // The line being laid: its glyphs and advances, kept between lines so
    // a long one does not take fresh pages from the system each time.
    struct LaidGlyph {
        GlyphRef ref;
        double advance;
        bool turned; // a quarter turn for vertical writing
    };
    std::vector<LaidGlyph> laid;

    // After FlattenPath the integer points, made when first read.
    std::vector<POINT> flatPoints;
    std::vector<std::uint8_t> flatTypes;
    bool flattened = false;
    bool flatReady = false;
};

} // namespace lw
