// A font file's face for this process: opened by FreeType and chosen for its
// family name ahead of fontconfig's installed faces.

#include "platform/font_file.hpp"

#include "base/codepage.hpp"
#include "platform/freetype/font_library.hpp"

namespace lw {

FontFileFace addFontFile(const std::string& path, std::uint32_t index)
{
    FontFileFace read = readFontFileFace(path, index);
    if (!read.refusal.empty())
        return read;
    const FontFace* face = openFileFace(path, int(index));
    if (!face)
        return {{}, "is not a font FreeType can read as outlines"};
    chooseFileFace(read.family, *face);
    // The font description holds 32 bytes of the name: a longer one comes
    // back cut, and must still find the file.
    const std::string held = toCp932(read.family).substr(0, 32);
    std::u32string cut = cp932ToCodepoints(held);
    while (!cut.empty() && cut.back() == 0xFFFD)
        cut.pop_back();
    chooseFileFace(codepointsToUtf8(cut), *face);
    return read;
}

} // namespace lw
