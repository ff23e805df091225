#include "outline/stroke_font.hpp"

#include "outline/stroke_font_reading.hpp"

#include <algorithm>
#include <charconv>
#include <optional>

namespace lw {
namespace {

using namespace stroke_reading;


// Hershey's fields are right-aligned numbers padded with blanks.
std::optional<int> field(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Roman simplex and its kin put the baseline 9 below the centre 'R'.
constexpr int kHersheyBaseline = 9;

StrokeGlyph hersheyGlyph(std::string_view pairs, const std::string& file, std::size_t line)
{
    const auto coordinate = [&](char c) {
        if (c < '!' || c > '~')
            refuse(file, line, "a coordinate is not a character from ! to ~");
        return c - 'R';
    };
    StrokeGlyph glyph;
    const int left = coordinate(pairs[0]), right = coordinate(pairs[1]);
    glyph.advance = right - left;
    std::vector<StrokePoint> stroke;
    for (std::size_t i = 2; i + 1 < pairs.size(); i += 2) {
        if (pairs[i] == ' ' && pairs[i + 1] == 'R') {
            keepStroke(glyph, stroke);
            continue;
        }
        addPoint(stroke, {double(coordinate(pairs[i]) - left), double(kHersheyBaseline - coordinate(pairs[i + 1]))});
    }
    keepStroke(glyph, stroke);
    return glyph;
}

} // namespace

StrokeFont readJhf(std::string_view bytes, const std::string& file)
{
    checkSize(bytes, file);
    StrokeFont font{.name = nameOf(file), .file = file, .em = 32, .ascent = 25, .descent = 7, .glyphs = {}, .codes = {}};
    Lines lines(bytes);
    std::string_view line;
    std::size_t index = 0;
    while (lines.next(line)) {
        const std::size_t first = lines.number();
        if (line.find_first_not_of(' ') == std::string_view::npos)
            continue;
        if (line.size() < 8 || !field(line.substr(0, 5)))
            refuse(file, first, "a glyph starts with its number in 5 columns and its count in 3");
        const auto count = field(line.substr(5, 3));
        if (!count || *count < 1)
            refuse(file, first, "the count of coordinate pairs is not a number of at least 1");
        // A long glyph runs over several lines; each line counts whole.
        std::string pairs(line.substr(8));
        while (pairs.size() < std::size_t(*count) * 2) {
            if (!lines.next(line))
                refuse(file, first, "the file ends within this glyph (it counts " + std::to_string(*count) +
                                        " pairs)");
            pairs += line;
        }
        if (pairs.size() != std::size_t(*count) * 2)
            refuse(file, first, "the glyph has more characters than its count of " + std::to_string(*count) +
                                    " pairs");
        if (index >= kStrokeFontMaxGlyphs)
            refuse(file, first, "more than " + std::to_string(kStrokeFontMaxGlyphs) + " glyphs");
        font.codes.push_back(char32_t(32 + index));
        font.glyphs.emplace(char32_t(32 + index++), hersheyGlyph(pairs, file, first));
    }
    if (font.glyphs.empty())
        refuse(file, 0, "the file holds no glyph");
    return font;
}

namespace {

std::string loweredExtension(const std::string& file)
{
    std::string extension = file.size() >= 4 ? file.substr(file.size() - 4) : std::string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return extension;
}

} // namespace

StrokeFont readStrokeFont(std::string_view bytes, const std::string& file, const GlyphsWanted& wanted)
{
    const std::string extension = loweredExtension(file);
    if (extension == ".jhf") {
        StrokeFont font = readJhf(bytes, file);
        if (wanted)
            std::erase_if(font.glyphs, [&](const auto& glyph) { return !wanted(glyph.first); });
        return font;
    }
    if (extension == ".lff")
        return readLff(bytes, file, wanted);
    refuse(file, 0, "a stroke font is a .jhf or an .lff file");
}

StrokeFont readStrokeFont(std::string_view bytes, const std::string& file, std::u32string_view characters)
{
    const std::string extension = loweredExtension(file);
    if (extension == ".jhf") {
        StrokeFont font = readJhf(bytes, file);
        std::erase_if(font.glyphs, [&](const auto& glyph) { return characters.find(glyph.first) == characters.npos; });
        return font;
    }
    if (extension == ".lff")
        return readLff(bytes, file, characters);
    refuse(file, 0, "a stroke font is a .jhf or an .lff file");
}


} // namespace lw
