#pragma once
// Fonts for the outline engine: face names resolved through fontconfig, font
// files opened once with FreeType and kept, and each glyph's outline read
// once (unscaled, in font units) and kept, so a capture on every keystroke
// never goes back to the font file. Single-threaded, like the engine: the
// caches take no locks. A machine without FreeType or any scalable font is a
// lw::Failure of kind BrokenInstallation.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct FT_FaceRec_; // FreeType's face, without FreeType's headers
struct hb_font_t;   // HarfBuzz's font, without HarfBuzz's headers

namespace lw {

// One step of a glyph outline in font units (y up). Conic steps carry one
// control point, cubic steps two; the last point is the end point.
struct OutlineStep {
    enum Kind : std::uint8_t { Move, Line, Conic, Cubic };
    Kind kind;
    float x[3];
    float y[3];
};

struct FlatGlyph;

struct GlyphOutline {
    GlyphOutline();
    ~GlyphOutline();
    GlyphOutline(const GlyphOutline&) = delete;
    GlyphOutline& operator=(const GlyphOutline&) = delete;

    std::vector<OutlineStep> steps;
    std::int32_t advance = 0; // font units
    // The advance down a vertical line (vmtx), font units; 0 when the face
    // has no vertical metrics.
    std::int32_t verticalAdvance = 0;
    // For a bound on the flattened points at any size: moves and lines give
    // one point each; a curve gives at most 1 + sqrt(0.75 s / tolerance)
    // times the fourth root of its largest squared second difference (font
    // units), s being the largest stretch of the map onto the device.
    std::uint32_t pointSteps = 0;
    std::uint32_t curveSteps = 0;
    double curveWeight = 0;
    // The box of every point and control point, font units: the outline at
    // any map lies within the box's image.
    float left = 0, bottom = 0, right = 0, top = 0;
    // The glyph flattened for the last map it was placed with (the path's
    // business; kept here so it lives as long as the outline).
    mutable std::unique_ptr<FlatGlyph> flat;
};

struct FontFace;

// A glyph and the face it comes from (the chosen face, or a fallback);
// emboldened: thickened because bold was asked of a face that has none.
struct GlyphRef {
    const FontFace* face = nullptr;
    const GlyphOutline* outline = nullptr;
    bool emboldened = false;
};

// A font file opened once. Metrics are in font units, all read from the
// file when it is opened.
struct FontFace {
    std::string family;
    // Every family name fontconfig knows the face by, each language's;
    // `family` among them.
    std::vector<std::string> names;
    std::string file;
    int unitsPerEm = 0;
    int ascent = 0;                // OS/2 usWinAscent, else hhea ascender
    int descent = 0;               // OS/2 usWinDescent, else -hhea descender
    // The bars are centred on their positions (post and OS/2), as the
    // platform draws them; a position below the baseline is negative.
    int underlinePosition = 0;
    int underlineThickness = 0;
    int strikeoutPosition = 0;
    int strikeoutSize = 0;
    bool italic = false;           // the face itself is italic or oblique
    bool bold = false;             // the face itself is bold (weight 600 or more)
    int averageWidth = 0;          // OS/2 xAvgCharWidth, else half the em

    // The outline of the glyph for `c`, read on first use; nullptr when this
    // face has no glyph for it. Emboldened: grown by kEmboldenPerEm of the em
    // on every side's stroke, the platform's synthetic bold.
    const GlyphOutline* glyph(char32_t c, bool emboldened = false) const;
    const GlyphOutline& notdef(bool emboldened = false) const;
    // The glyph for `c` in vertical writing: its vertical alternate (the
    // font's vert/vrt2 substitution) where the face has one, else glyph(c).
    const GlyphOutline* verticalGlyph(char32_t c, bool emboldened = false) const;
    // The glyph index vertical writing draws `c` with; 0 when the face lacks it.
    unsigned verticalIndex(char32_t c) const;
    // The glyph at a glyph index, as shaping picks it (a ligature, an
    // alternate); read on first use like glyph(c).
    const GlyphOutline& glyphAt(unsigned index, bool emboldened = false) const;
    // HarfBuzz's view of this face (font units), made on first use and kept.
    hb_font_t* shapingFont() const;

    // Takes the open FreeType face over; it is closed with this object.
    explicit FontFace(FT_FaceRec_* face);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

private:
    struct Impl; // the FreeType face and the glyphs read from it
    std::unique_ptr<Impl> impl_;
};

// A face name that asks for vertical writing: "@" before the family.
inline bool isVerticalName(std::string_view name) { return name.starts_with('@'); }
inline std::string_view withoutVerticalMark(std::string_view name)
{
    return isVerticalName(name) ? name.substr(1) : name;
}

// Synthetic bold thickens each stroke by one 24th of the em, as the
// platform's emboldening of a face without a bold does (one pixel at 24).
inline constexpr double kEmboldenPerEm = 1.0 / 24;

// The face for a family name (UTF-8) and style; never null while any font is
// installed: an unknown name gets fontconfig's best Japanese match, as the
// font description asks for the Shift-JIS character set. Bold asks for the
// family's bold; a family without one gives its regular (FontFace::bold false).
const FontFace& resolveFace(std::string_view family, bool italic, bool bold = false);

// The face at `index` of a font file, opened once; nullptr when FreeType
// cannot read it as a scalable face. Its names are the file's own.
const FontFace* openFileFace(const std::string& path, int index);

// From now on resolveFace gives `face` for `family` (UTF-8), in every style,
// whatever is installed under that name.
void chooseFileFace(std::string_view family, const FontFace& face);

// The glyph for `c`: from `primary` when it has one, else from a face that
// has (fontconfig charset match), else the primary face's missing-glyph shape.
// Bold asks each face for its weight on its own: a face that is not bold
// itself, the chosen one or the fallback, gives its glyph emboldened.
GlyphRef glyphFor(const FontFace& primary, char32_t c, bool bold = false);

} // namespace lw
