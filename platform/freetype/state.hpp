#pragma once
// What the FreeType backend keeps in a device context and in a logical font.
// The engine runs on one thread (the window's, or the command line's), so
// nothing here takes a lock.

#include "platform/device_context.hpp"
#include "platform/freetype/flatten.hpp"
#include "platform/freetype/font_library.hpp"
#include "platform/text_shaping.hpp"
#include "platform/world_transform.hpp"

#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lw {

struct LogicalFont {
    LOGFONTA description{};
    const FontFace* face = nullptr; // resolved on creation
    bool vertical = false;          // "@" before the face name
    bool stock = false;
};

// Bold is weight 600 and above, as the platform reads lfWeight.
inline bool asksBold(const LOGFONTA& d) { return d.lfWeight >= 600; }

// The face a logical font resolved to.
const FontFace& faceOf(LogicalFont& font);

struct DeviceContext::State {
    enum class PathState : std::uint8_t { None, Open, Closed };

    HFONT font = nullptr;           // never null after construction: the stock font at first
    int bkMode = OPAQUE;
    std::uint32_t textAlign = TA_LEFT | TA_TOP;
    int charExtra = 0;
    TextShaping shaping;
    int graphicsMode = GM_COMPATIBLE;
    std::optional<XFORM> world; // none: the identity
    POINT position{};
    PathState pathState = PathState::None;
    // After FlattenPath; GetPath's points made when first read.
    bool flattened = false;
    bool flatReady = false;

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
        double ox, oy; // device position of the font-unit origin
    };
    // The glyphs from `first` up to the next group's first share one map
    // and come before points[before] of the path (2^32 of either would fill
    // 96 GB first). A line of one face is one group.
    struct GlyphGroup {
        GlyphMap map;
        std::uint32_t first;
        std::uint32_t before;
        // Laid under a turn (TextOutTransformed): `map` is `own` turned, so
        // the flattening can turn the glyph's own flattened points.
        bool turned = false;
        GlyphMap own{};
    };
    std::vector<PlacedGlyph> glyphs;
    std::vector<GlyphGroup> groups;

    // The line being laid: its glyphs and advances.
    struct LaidGlyph {
        GlyphRef ref;
        double advance;
        bool turned; // a quarter turn for vertical writing
        // Shaping's shift of the glyph from the pen, device pixels, y up.
        double offsetX = 0, offsetY = 0;
    };

    // What only some uses of a device context need, made on first use: a
    // capture of plain text, flattened into the caller's arrays, holds none
    // of it.
    struct Extras {
        std::vector<PathPoint> path; // lines, polygons, rectangles
        // A long line's room, kept so it does not take fresh pages from
        // the system each time.
        std::vector<LaidGlyph> laid;
        // GetPath's points, made at its first read and kept for the next.
        std::vector<POINT> flatPoints;
        std::vector<std::uint8_t> flatTypes;
    };
    std::unique_ptr<Extras> extras;

    Extras& madeExtras()
    {
        if (!extras)
            extras = std::make_unique<Extras>();
        return *extras;
    }
    std::span<const PathPoint> path() const
    {
        return extras ? std::span<const PathPoint>(extras->path) : std::span<const PathPoint>();
    }
    std::size_t pathSize() const { return extras ? extras->path.size() : 0; }
    void addPathPoint(PathPoint p) { madeExtras().path.push_back(p); }

    // Places a glyph after the path's points so far.
    void addGlyph(const GlyphOutline* outline, const GlyphMap& map, double ox, double oy)
    {
        const auto before = std::uint32_t(pathSize());
        if (groups.empty() || groups.back().before != before
            || std::memcmp(&groups.back().map, &map, sizeof map) != 0)
            groups.push_back({map, std::uint32_t(glyphs.size()), before, false, {}});
        glyphs.push_back({outline, ox, oy});
    }

    // Calls f(glyph, its group) for every glyph, in order.
    template <typename F>
    void forEachGlyph(F&& f) const
    {
        for (std::size_t k = 0; k < groups.size(); ++k) {
            const std::size_t end = k + 1 < groups.size() ? groups[k + 1].first : glyphs.size();
            for (std::size_t i = groups[k].first; i < end; ++i)
                f(glyphs[i], groups[k]);
        }
    }
};

} // namespace lw
