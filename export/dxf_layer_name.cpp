// The text's layer names, for the 2000 drawing and for Release 12.

#include "export/dxf.hpp"

#include "base/codepage.hpp"

#include <algorithm>
#include <string>
#include <string_view>

namespace lw {
namespace {

bool forbiddenInName(char32_t c)
{
    return c < 0x20 || c == 0x7F || std::u32string_view(U"<>/\\\":;?*|=`").find(c) != std::u32string_view::npos;
}

} // namespace

std::string dxfLayerName(std::string_view text)
{
    // Each character is encoded once, and its width in code page 932 kept,
    // so that trimming and cutting to kLayerNameBytes only count.
    std::u32string name = utf8ToCodepoints(text);
    std::string widths(name.size(), 1);
    for (std::size_t i = 0; i < name.size(); ++i) {
        char32_t& c = name[i];
        if (forbiddenInName(c)) {
            c = U'_';
        } else if (c >= 0x80) {
            const std::string bytes = toCp932(codepointsToUtf8(std::u32string_view(&c, 1)));
            if (bytes == "?")
                c = U'_';
            else
                widths[i] = char(bytes.size());
        }
    }
    const auto blank = [](char32_t c) { return c == U' ' || c == U'\u3000'; };
    std::size_t first = 0, end = name.size();
    while (first < end && blank(name[first]))
        ++first;
    while (end > first && blank(name[end - 1]))
        --end;
    // A reader may keep names in 255 bytes: cut whole characters to fit.
    std::size_t bytes = 0, fits = first;
    while (fits < end && bytes + std::size_t(widths[fits]) <= kLayerNameBytes)
        bytes += std::size_t(widths[fits++]);
    end = fits;
    while (end > first && blank(name[end - 1]))
        --end;
    if (first == end)
        return "Letterwire";
    std::string utf8 = codepointsToUtf8(std::u32string_view(name).substr(first, end - first));
    // Layer 0 is every drawing's own, and Defpoints never prints: the text's
    // layer takes neither name (letter case aside).
    std::string folded = utf8;
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    if (folded == "0" || folded == "defpoints")
        utf8 = "_" + utf8;
    return utf8;
}

std::string dxfR12LayerName(std::string_view text)
{
    std::string name;
    bool any = false;
    for (const char c : dxfLayerName(text)) {
        if (static_cast<unsigned char>(c) >= 0x80)
            continue;
        const char upper = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
        const bool letterOrDigit = (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9');
        any = any || letterOrDigit;
        if (name.size() < 31)
            name += letterOrDigit || upper == '$' || upper == '-' || upper == '_' ? upper : '_';
    }
    if (!any)
        return "LETTERWIRE";
    // Layer 0 is every drawing's own, and DEFPOINTS never prints.
    if (name == "0" || name == "DEFPOINTS")
        name = "_" + name;
    return name;
}

} // namespace lw
