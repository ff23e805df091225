#include "outline/stroke_font_cache.hpp"

#include "outline/stroke_font_files.hpp"

namespace lw {

const StrokeFont& StrokeFontCache::read(const std::string& path, std::u32string_view characters)
{
    std::u32string missing;
    const auto it = fonts_.find(path);
    for (const char32_t c : characters)
        if ((it == fonts_.end() || it->second.asked.find(c) == std::u32string::npos) &&
            missing.find(c) == std::u32string::npos)
            missing += c;
    if (it == fonts_.end())
        return fonts_.emplace(path, Read{loadStrokeFont(path, missing), missing}).first->second.font;
    if (!missing.empty()) {
        StrokeFont more = loadStrokeFont(path, missing);
        for (auto& [c, glyph] : more.glyphs)
            it->second.font.glyphs.emplace(c, std::move(glyph));
        it->second.asked += missing;
    }
    return it->second.font;
}

} // namespace lw
