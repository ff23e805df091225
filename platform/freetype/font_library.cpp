#include "platform/freetype/font_library.hpp"

#include "base/failure.hpp"
#include "platform/face_info.hpp"
#include "platform/family_names.hpp"
#include "platform/freetype/flat_glyph.hpp"
#include "platform/freetype/font_rules.hpp"
#include "platform/freetype/outline_steps.hpp"
#include "platform/freetype/shaper.hpp"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <utility>

namespace lw {

GlyphOutline::GlyphOutline() = default;
GlyphOutline::~GlyphOutline() = default;

struct FontFace::Impl {
    FT_Face face = nullptr;
    // Regular [0] and emboldened [1].
    mutable std::unordered_map<char32_t, std::unique_ptr<GlyphOutline>> glyphs[2];
    mutable std::unique_ptr<GlyphOutline> notdef[2];
    // Vertical alternates by character, and the shaper's view of the file.
    mutable std::unordered_map<char32_t, std::unique_ptr<GlyphOutline>> vertical[2];
    mutable hb_font_t* shaper = nullptr;
    // Glyphs by index, for shaped text.
    mutable std::unordered_map<FT_UInt, std::unique_ptr<GlyphOutline>> indexed[2];

    ~Impl();
    hb_font_t* shapingFont(const std::string& file) const;
    FT_UInt verticalIndex(char32_t c, const std::string& file) const;

    std::unique_ptr<GlyphOutline> load(FT_UInt index, bool emboldened) const;
};

namespace {

FT_Library library()
{
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0)
            throw Failure(FailureKind::BrokenInstallation, "FreeType could not be initialised");
        return l;
    }();
    return lib;
}

// The second differences of each curve as the path will hold it (a conic as
// its exact cubic), for the bound on flattened points.
void measureCurves(GlyphOutline& glyph)
{
    if (!glyph.steps.empty()) {
        const OutlineStep& first = glyph.steps.front();
        glyph.left = glyph.right = first.x[0];
        glyph.bottom = glyph.top = first.y[0];
    }
    for (const OutlineStep& st : glyph.steps) {
        const int used = st.kind == OutlineStep::Cubic ? 3 : st.kind == OutlineStep::Conic ? 2 : 1;
        for (int k = 0; k < used; ++k) {
            glyph.left = std::min(glyph.left, st.x[k]);
            glyph.right = std::max(glyph.right, st.x[k]);
            glyph.bottom = std::min(glyph.bottom, st.y[k]);
            glyph.top = std::max(glyph.top, st.y[k]);
        }
    }
    double lastX = 0, lastY = 0;
    for (const OutlineStep& st : glyph.steps) {
        double c1x, c1y, c2x, c2y, ex, ey;
        switch (st.kind) {
        case OutlineStep::Move:
        case OutlineStep::Line:
            ++glyph.pointSteps;
            lastX = st.x[0];
            lastY = st.y[0];
            continue;
        case OutlineStep::Conic:
            c1x = lastX + 2.0 / 3.0 * (st.x[0] - lastX);
            c1y = lastY + 2.0 / 3.0 * (st.y[0] - lastY);
            c2x = st.x[1] + 2.0 / 3.0 * (st.x[0] - st.x[1]);
            c2y = st.y[1] + 2.0 / 3.0 * (st.y[0] - st.y[1]);
            ex = st.x[1];
            ey = st.y[1];
            break;
        case OutlineStep::Cubic:
        default:
            c1x = st.x[0];
            c1y = st.y[0];
            c2x = st.x[1];
            c2y = st.y[1];
            ex = st.x[2];
            ey = st.y[2];
            break;
        }
        double ax = lastX - 2 * c1x + c2x, ay = lastY - 2 * c1y + c2y;
        double bx = c1x - 2 * c2x + ex, by = c1y - 2 * c2y + ey;
        double m2 = std::max(ax * ax + ay * ay, bx * bx + by * by);
        ++glyph.curveSteps;
        glyph.curveWeight += std::sqrt(std::sqrt(m2));
        lastX = ex;
        lastY = ey;
    }
}

std::string patternString(FcPattern* pattern, const char* object)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) == FcResultMatch && value)
        return reinterpret_cast<const char*>(value);
    return {};
}

// Faces by file and index: each font file is opened once for the process.
std::map<std::pair<std::string, int>, std::unique_ptr<FontFace>>& openFaces()
{
    static std::map<std::pair<std::string, int>, std::unique_ptr<FontFace>> faces;
    return faces;
}

const FontFace* openFace(FcPattern* match)
{
    std::string file = patternString(match, FC_FILE);
    int index = 0;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    if (file.empty())
        return nullptr;
    auto key = std::make_pair(file, index);
    auto& faces = openFaces();
    if (auto it = faces.find(key); it != faces.end())
        return it->second.get();

    FT_Face ft = nullptr;
    if (FT_New_Face(library(), file.c_str(), index, &ft) != 0)
        return nullptr;
    if (!FT_IS_SCALABLE(ft)) {
        FT_Done_Face(ft);
        return nullptr;
    }
    FT_Select_Charmap(ft, FT_ENCODING_UNICODE);

    auto face = std::make_unique<FontFace>(ft);
    face->file = file;
    face->family = patternString(match, FC_FAMILY);
    if (face->family.empty() && ft->family_name)
        face->family = ft->family_name;
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        if (name)
            face->names.emplace_back(reinterpret_cast<const char*>(name));
    if (std::ranges::find(face->names, face->family) == face->names.end())
        face->names.push_back(face->family);
    face->unitsPerEm = ft->units_per_EM ? ft->units_per_EM : 1000;
    face->italic = (ft->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    face->bold = (ft->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    // The post table's underline position is where the platform centres the
    // bar; FreeType's own lies half a thickness lower.
    auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(ft, FT_SFNT_POST));
    face->underlineThickness = ft->underline_thickness > 0 ? ft->underline_thickness : face->unitsPerEm / 20;
    face->underlinePosition = post ? post->underlinePosition : ft->underline_position;
    if (post && post->underlineThickness > 0)
        face->underlineThickness = post->underlineThickness;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && (os2->usWinAscent + os2->usWinDescent) > 0) {
        face->ascent = os2->usWinAscent;
        face->descent = os2->usWinDescent;
    } else {
        face->ascent = ft->ascender;
        face->descent = -ft->descender;
    }
    if (os2 && os2->version != 0xFFFF && os2->usWeightClass >= 600)
        face->bold = true;
    face->averageWidth = os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth
                                                                                  : face->unitsPerEm / 2;
    if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
        face->strikeoutPosition = os2->yStrikeoutPosition;
        face->strikeoutSize = os2->yStrikeoutSize;
    } else {
        face->strikeoutPosition = face->ascent * 3 / 10;
        face->strikeoutSize = face->underlineThickness;
    }
    const FontFace* result = face.get();
    faces.emplace(key, std::move(face));
    return result;
}

FcPattern* basePattern()
{
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    // The description asks for the Shift-JIS character set, so an unknown
    // name gets a Japanese face, as the platform would substitute one.
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    return pattern;
}

const FontFace* matchFace(FcPattern* pattern)
{
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    // The best match is the first of the sorted list; sorting every font is
    // needed only when that one cannot be opened.
    const FontFace* face = nullptr;
    if (FcPattern* best = FcFontMatch(nullptr, pattern, &result)) {
        face = openFace(best);
        FcPatternDestroy(best);
    }
    if (face)
        return face;
    FcFontSet* set = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
    if (set) {
        for (int i = 0; i < set->nfont && !face; ++i) {
            FcPattern* rendered = FcFontRenderPrepare(nullptr, pattern, set->fonts[i]);
            if (rendered) {
                face = openFace(rendered);
                FcPatternDestroy(rendered);
            }
        }
        FcFontSetDestroy(set);
    }
    return face;
}

} // namespace

FontFace::Impl::~Impl()
{
    if (shaper)
        lw::shaper().font_destroy(shaper);
}

// The glyph vertical shaping picks for `c` alone: the substitutions apply
// one character at a time, so shaping each alone gives the line's choice.
hb_font_t* FontFace::Impl::shapingFont(const std::string& file) const
{
    if (!shaper) {
        const Shaper& hb = lw::shaper();
        hb_blob_t* blob = hb.blob_create_from_file(file.c_str());
        hb_face_t* hbFace = hb.face_create(blob, unsigned(face->face_index));
        shaper = hb.font_create(hbFace);
        hb.face_destroy(hbFace);
        hb.blob_destroy(blob);
    }
    return shaper;
}

FT_UInt FontFace::Impl::verticalIndex(char32_t c, const std::string& file) const
{
    const Shaper& hb = lw::shaper();
    shapingFont(file);
    hb_buffer_t* buffer = hb.buffer_create();
    const auto code = static_cast<std::uint32_t>(c);
    hb.buffer_add_utf32(buffer, &code, 1, 0, 1);
    hb.buffer_set_direction(buffer, HB_DIRECTION_TTB);
    hb.buffer_set_script(buffer, HB_SCRIPT_HAN);
    hb.buffer_set_language(buffer, hb.language_from_string("ja", -1));
    hb.shape(shaper, buffer, nullptr, 0);
    unsigned int count = 0;
    const hb_glyph_info_t* info = hb.buffer_get_glyph_infos(buffer, &count);
    const FT_UInt index = count == 1 ? info[0].codepoint : 0;
    hb.buffer_destroy(buffer);
    return index;
}

FontFace::FontFace(FT_Face face) : impl_(std::make_unique<Impl>())
{
    impl_->face = face;
}

FontFace::~FontFace()
{
    if (impl_->face)
        FT_Done_Face(impl_->face);
}

std::unique_ptr<GlyphOutline> FontFace::Impl::load(FT_UInt index, bool emboldened) const
{
    auto glyph = std::make_unique<GlyphOutline>();
    // Unscaled and unhinted: one outline serves every size and angle.
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP
                                       | FT_LOAD_IGNORE_TRANSFORM | FT_LOAD_LINEAR_DESIGN)
        != 0)
        return glyph;
    glyph->advance = static_cast<std::int32_t>(face->glyph->advance.x);
    // Without vmtx FreeType makes a vertical advance up; the platform then
    // keeps the horizontal one.
    if (FT_HAS_VERTICAL(face))
        glyph->verticalAdvance = static_cast<std::int32_t>(face->glyph->metrics.vertAdvance);
    if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return glyph;
    // The advance stays: the layout adds the platform's one pixel per character.
    if (emboldened) {
        const auto strength = FT_Pos(std::lround(face->units_per_EM * kEmboldenPerEm));
        FT_Outline_EmboldenXY(&face->glyph->outline, strength, strength);
    }
    if (!appendOutlineSteps(face->glyph->outline, glyph->steps))
        glyph->steps.clear();
    measureCurves(*glyph);
    return glyph;
}

const GlyphOutline* FontFace::glyph(char32_t c, bool emboldened) const
{
    auto& glyphs = impl_->glyphs[emboldened ? 1 : 0];
    auto it = glyphs.find(c);
    if (it != glyphs.end())
        return it->second.get();
    FT_UInt index = FT_Get_Char_Index(impl_->face, c);
    std::unique_ptr<GlyphOutline> outline = index ? impl_->load(index, emboldened) : nullptr;
    const GlyphOutline* result = outline.get();
    glyphs.emplace(c, std::move(outline));
    return result;
}

const GlyphOutline& FontFace::notdef(bool emboldened) const
{
    auto& notdef = impl_->notdef[emboldened ? 1 : 0];
    if (!notdef)
        notdef = impl_->load(0, emboldened);
    return *notdef;
}

const GlyphOutline* FontFace::verticalGlyph(char32_t c, bool emboldened) const
{
    auto& glyphs = impl_->vertical[emboldened ? 1 : 0];
    if (auto it = glyphs.find(c); it != glyphs.end())
        return it->second ? it->second.get() : glyph(c, emboldened);
    const FT_UInt plain = FT_Get_Char_Index(impl_->face, c);
    const FT_UInt index = verticalIndex(c);
    std::unique_ptr<GlyphOutline> outline = index && index != plain ? impl_->load(index, emboldened) : nullptr;
    const GlyphOutline* result = outline ? outline.get() : glyph(c, emboldened);
    glyphs.emplace(c, std::move(outline));
    return result;
}

const GlyphOutline& FontFace::glyphAt(unsigned index, bool emboldened) const
{
    auto& glyphs = impl_->indexed[emboldened ? 1 : 0];
    auto it = glyphs.find(index);
    if (it == glyphs.end())
        it = glyphs.emplace(index, impl_->load(index, emboldened)).first;
    return *it->second;
}

hb_font_t* FontFace::shapingFont() const { return impl_->shapingFont(file); }

unsigned FontFace::verticalIndex(char32_t c) const
{
    const FT_UInt plain = FT_Get_Char_Index(impl_->face, c);
    if (!plain)
        return 0;
    const FT_UInt shaped = impl_->verticalIndex(c, file);
    return shaped ? shaped : plain;
}

namespace {

std::map<std::string, const FontFace*, std::less<>>& fileFaces()
{
    static std::map<std::string, const FontFace*, std::less<>> faces;
    return faces;
}

} // namespace

const FontFace* openFileFace(const std::string& path, int index)
{
    int count = 0;
    FcPattern* query = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(path.c_str()), unsigned(index), nullptr, &count);
    if (!query)
        return nullptr;
    const FontFace* face = openFace(query);
    FcPatternDestroy(query);
    return face;
}

void chooseFileFace(std::string_view family, const FontFace& face) { fileFaces()[std::string(family)] = &face; }

const FontFace& resolveFace(std::string_view family, bool italic, bool bold)
{
    if (auto chosen = fileFaces().find(family); chosen != fileFaces().end())
        return *chosen->second;
    installFontRules();
    static std::map<std::tuple<std::string, bool, bool>, const FontFace*> resolved;
    auto key = std::make_tuple(std::string(family), italic, bold);
    if (auto it = resolved.find(key); it != resolved.end())
        return *it->second;

    FcPattern* pattern = basePattern();
    if (!family.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(std::get<0>(key).c_str()));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    const FontFace* face = matchFace(pattern);
    FcPatternDestroy(pattern);
    if (!face)
        throw Failure(FailureKind::BrokenInstallation, "no scalable font is installed");
    resolved.emplace(key, face);
    return *face;
}

GlyphRef glyphFor(const FontFace& primary, char32_t c, bool bold)
{
    const bool thickened = bold && !primary.bold;
    if (const GlyphOutline* own = primary.glyph(c, thickened))
        return {&primary, own, thickened};

    // Fallback faces by character, found once.
    static std::unordered_map<char32_t, const FontFace*> fallbacks;
    auto it = fallbacks.find(c);
    if (it == fallbacks.end()) {
        const FontFace* found = nullptr;
        FcPattern* pattern = basePattern();
        FcCharSet* charset = FcCharSetCreate();
        FcCharSetAddChar(charset, c);
        FcPatternAddCharSet(pattern, FC_CHARSET, charset);
        FcCharSetDestroy(charset);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcFontSet* set = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
        if (set) {
            for (int i = 0; i < set->nfont && !found; ++i) {
                FcCharSet* has = nullptr;
                if (FcPatternGetCharSet(set->fonts[i], FC_CHARSET, 0, &has) != FcResultMatch
                    || !FcCharSetHasChar(has, c))
                    continue;
                const FontFace* face = openFace(set->fonts[i]);
                if (face && face->glyph(c))
                    found = face;
            }
            FcFontSetDestroy(set);
        }
        FcPatternDestroy(pattern);
        it = fallbacks.emplace(c, found).first;
    }
    // The platform's linked font takes the weight asked for, so a regular
    // fallback is emboldened as the chosen face would be.
    if (const FontFace* fallback = it->second) {
        const bool fallbackThickened = bold && !fallback->bold;
        return {fallback, fallback->glyph(c, fallbackThickened), fallbackThickened};
    }
    return {&primary, &primary.notdef(thickened), thickened};
}

// Characters the face lacks come from another face one by one; the face
// asked for still draws the rest, so it is the one reported, and the first
// face that drew for it is named as Windows names its linked face. A
// stand-in for a face that is not there is reported as such, not as this.
FaceInfo describeFace(std::string_view family, bool italic, std::string_view text, bool bold)
{
    const FontFace& face = resolveFace(withoutVerticalMark(family), italic, bold);
    FaceInfo info{.family = face.family, .file = face.file, .names = face.names};
    const std::string asked = comparableFamily(withoutVerticalMark(family));
    bool isAsked = false;
    for (const std::string& name : face.names)
        isAsked = isAsked || comparableFamily(name) == asked;
    if (!isAsked && comparableFamily(face.family) != asked)
        return info;
    for (const FaceRun& run : faceRuns(family, italic, text, bold)) {
        if (run.file != face.file) {
            info.lacksText = true;
            info.fallback = run.family;
            break;
        }
    }
    return info;
}

} // namespace lw
