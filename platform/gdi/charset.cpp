#include "platform/gdi/charset.hpp"

#include <vector>

namespace lw {
namespace {

struct Found {
    bool any = false;
    BYTE charset = DEFAULT_CHARSET;
};

int CALLBACK onFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data)
{
    auto* found = reinterpret_cast<Found*>(data);
    if (!found->any)
        found->charset = font->lfCharSet;
    found->any = true;
    return 0; // the first is enough
}

Found enumerate(const wchar_t* face, BYTE charset)
{
    Found found;
    if (!face || !*face)
        return found;
    LOGFONTW query{};
    query.lfCharSet = charset;
    lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
    HDC dc = CreateCompatibleDC(nullptr);
    EnumFontFamiliesExW(dc, &query, onFace, reinterpret_cast<LPARAM>(&found), 0);
    DeleteDC(dc);
    return found;
}

} // namespace

BYTE charsetFor(const wchar_t* face, BYTE asked)
{
    if (asked != SHIFTJIS_CHARSET || enumerate(face, SHIFTJIS_CHARSET).any)
        return asked;
    const Found own = enumerate(face, DEFAULT_CHARSET);
    // A name no face has keeps Shift-JIS: the mapper's Japanese choice is the design.
    return own.any ? own.charset : asked;
}

bool selectedFontHolds(HDC dc, const wchar_t* text, int count)
{
    if (count <= 0)
        return true;
    std::vector<WORD> glyphs(static_cast<std::size_t>(count));
    if (GetGlyphIndicesW(dc, text, count, glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return true;
    for (WORD g : glyphs)
        if (g == 0xFFFF)
            return false;
    return true;
}

} // namespace lw
