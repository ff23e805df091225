#include "platform/freetype/shaped_line.hpp"

#include "platform/freetype/shaper.hpp"

#include <algorithm>
#include <string>

namespace lw {
namespace {

// What HarfBuzz would apply on its own and shaping by choice keeps off
// unless asked: the line then changes by exactly the tags given.
constexpr const char* kOffUnlessAsked[] = {"liga", "clig", "calt"};

std::vector<hb_feature_t> featuresOf(const Shaper& hb, const TextShaping& shaping)
{
    std::vector<std::string> words;
    words.emplace_back(shaping.kerning ? "kern" : "kern=0");
    for (const char* tag : kOffUnlessAsked)
        if (std::find(shaping.features.begin(), shaping.features.end(), tag) == shaping.features.end())
            words.push_back(std::string(tag) + "=0");
    for (const std::string& tag : shaping.features)
        words.push_back(tag);
    std::vector<hb_feature_t> features;
    for (const std::string& word : words) {
        hb_feature_t feature{};
        if (hb.feature_from_string(word.c_str(), int(word.size()), &feature))
            features.push_back(feature);
    }
    return features;
}

void shapeRun(const Shaper& hb, const GlyphRef& face, std::u32string_view text, std::size_t first,
              std::size_t end, const std::vector<hb_feature_t>& features, std::vector<ShapedGlyph>& out)
{
    hb_buffer_t* buffer = hb.buffer_create();
    // The whole line goes in as context, so a run's ends shape as they
    // stand in it; the run alone is shaped.
    hb.buffer_add_utf32(buffer, reinterpret_cast<const std::uint32_t*>(text.data()), int(text.size()),
                        unsigned(first), int(end - first));
    hb.buffer_set_direction(buffer, HB_DIRECTION_LTR);
    hb.buffer_guess_segment_properties(buffer);
    hb.shape(face.face->shapingFont(), buffer, features.data(), unsigned(features.size()));
    unsigned count = 0;
    const hb_glyph_info_t* info = hb.buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* position = hb.buffer_get_glyph_positions(buffer, nullptr);
    const std::size_t start = out.size();
    for (unsigned k = 0; k < count; ++k) {
        ShapedGlyph g;
        g.ref = {face.face, &face.face->glyphAt(info[k].codepoint, face.emboldened), face.emboldened};
        g.advance = position[k].x_advance;
        g.offsetX = position[k].x_offset;
        g.offsetY = position[k].y_offset;
        g.first = std::clamp<std::uint32_t>(info[k].cluster, std::uint32_t(first), std::uint32_t(end - 1));
        out.push_back(g);
    }
    hb.buffer_destroy(buffer);
    // Left to right, clusters only grow: each ends where the next begins.
    std::uint32_t next = std::uint32_t(end);
    for (std::size_t k = out.size(); k-- > start;) {
        out[k].end = next;
        if (k > start && out[k - 1].first != out[k].first)
            next = out[k].first;
    }
}

} // namespace

std::vector<ShapedGlyph> shapeLine(const FontFace& primary, std::u32string_view text, bool bold,
                                   const TextShaping& shaping)
{
    std::vector<ShapedGlyph> out;
    if (text.empty())
        return out;
    const Shaper& hb = shaper();
    const std::vector<hb_feature_t> features = featuresOf(hb, shaping);
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const GlyphRef head = glyphFor(primary, text[i], bold);
        std::size_t j = i + 1;
        while (j < text.size() && glyphFor(primary, text[j], bold).face == head.face)
            ++j;
        shapeRun(hb, head, text, i, j, features, out);
        i = j;
    }
    return out;
}

} // namespace lw
