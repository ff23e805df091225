// The faces that draw a text on Linux: the chosen face for what it holds,
// fontconfig's fallback character by character for the rest, as the layout
// picks them.

#include "platform/face_info.hpp"

#include "base/codepage.hpp"
#include "platform/freetype/font_library.hpp"

namespace lw {

std::vector<FaceRun> faceRuns(std::string_view family, bool italic, std::string_view text, bool bold)
{
    const FontFace& primary = resolveFace(withoutVerticalMark(family), italic, bold);
    std::vector<FaceRun> runs;
    const FontFace* last = nullptr;
    for (const char32_t c : cp932ToCodepoints(toCp932(text))) {
        const FontFace* face = glyphFor(primary, c, bold).face;
        if (face != last)
            runs.push_back({{}, face->family, face->file});
        runs.back().text += codepointsToUtf8(std::u32string_view(&c, 1));
        last = face;
    }
    return runs;
}

} // namespace lw
