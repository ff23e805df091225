// The face GDI maps a name to, as the font description asks for it.

#include "platform/face_info.hpp"

#include "base/codepage.hpp"
#include "platform/gdi_types.hpp"

#include <windows.h>

#include <string>

namespace lw {

FaceInfo describeFace(std::string_view family, bool italic)
{
    LOGFONTW w{};
    w.lfHeight = -32;
    w.lfWeight = FW_NORMAL;
    w.lfItalic = italic ? 255 : 0;
    w.lfCharSet = SHIFTJIS_CHARSET;
    w.lfOutPrecision = OUT_TT_PRECIS;
    std::u16string name = utf8ToUtf16(family);
    name.resize(std::min<std::size_t>(name.size(), LF_FACESIZE - 1));
    std::copy(name.begin(), name.end(), w.lfFaceName);

    FaceInfo info;
    HDC dc = CreateCompatibleDC(nullptr);
    ::HFONT font = CreateFontIndirectW(&w);
    HGDIOBJ old = ::SelectObject(dc, font);
    wchar_t used[LF_FACESIZE] = {};
    int n = GetTextFaceW(dc, LF_FACESIZE, used);
    if (n > 0)
        info.family = utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(used),
                                                      std::wcslen(used)));
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    DeleteDC(dc);
    return info; // GDI does not say which file holds the face
}

// GDI names the face that was asked for when a substitute stands in for it,
// so every other name it reports is a surprise worth telling.
bool isStandIn(std::string_view, std::string_view) { return false; }

} // namespace lw
