// The face GDI draws for a name, as the font description asks for it: the
// family from the face's own names, the file where GDI tells it.

#include "platform/face_info.hpp"

#include "base/codepage.hpp"
#include "platform/gdi_types.hpp"
#include "platform/gdi/charset.hpp"
#include "platform/gdi/linked_text.hpp"
#include "platform/family_names.hpp"

#include <windows.h>

#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

namespace lw {
namespace {

std::string narrow(const wchar_t* text)
{
    return utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), std::wcslen(text)));
}

// GDI's own, unnamed in its headers: which font files a realised font was
// read from. Looked up at run time; an older system simply does not tell.
struct RealizationInfo {
    DWORD size, flags, cacheNumber, instanceId, unknown;
    WORD faceIndex, simulations;
};
struct FileInfo {
    FILETIME writeTime;
    LARGE_INTEGER size;
    WCHAR path[1];
};
using GetRealization = BOOL(WINAPI*)(HDC, RealizationInfo*);
using GetFileInfo = BOOL(WINAPI*)(DWORD, DWORD, FileInfo*, SIZE_T, SIZE_T*);

std::string fontFile(HDC dc)
{
    HMODULE gdi = GetModuleHandleW(L"gdi32.dll");
    auto realization = gdi ? reinterpret_cast<GetRealization>(
                                 reinterpret_cast<void*>(GetProcAddress(gdi, "GetFontRealizationInfo")))
                           : nullptr;
    auto fileInfo = gdi ? reinterpret_cast<GetFileInfo>(
                              reinterpret_cast<void*>(GetProcAddress(gdi, "GetFontFileInfo")))
                        : nullptr;
    if (!realization || !fileInfo)
        return {};
    RealizationInfo info{};
    info.size = sizeof info;
    if (!realization(dc, &info))
        return {};
    std::vector<char> buffer(sizeof(FileInfo) + MAX_PATH * 4 * sizeof(WCHAR));
    SIZE_T needed = 0;
    auto* file = reinterpret_cast<FileInfo*>(buffer.data());
    if (!fileInfo(info.instanceId, 0, file, buffer.size(), &needed))
        return {};
    buffer.back() = buffer[buffer.size() - 2] = 0;
    std::string path = narrow(file->path);
    // The native form of a path, as Windows reports it to drivers.
    if (path.rfind("\\??\\", 0) == 0)
        path.erase(0, 4);
    return path;
}

// The selected face's own family name: GetTextFace would repeat a
// substitute's name as asked.
std::string familyOf(HDC dc)
{
    if (UINT size = GetOutlineTextMetricsW(dc, 0, nullptr); size >= sizeof(OUTLINETEXTMETRICW)) {
        std::vector<char> buffer(size);
        auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
        if (GetOutlineTextMetricsW(dc, size, metrics))
            return narrow(reinterpret_cast<const wchar_t*>(buffer.data() +
                                                           reinterpret_cast<std::uintptr_t>(metrics->otmpFamilyName)));
    }
    wchar_t used[LF_FACESIZE] = {};
    if (GetTextFaceW(dc, LF_FACESIZE, used) > 0)
        return narrow(used);
    return {};
}

// Every family name of the selected face, each language's, from its own
// 'name' table: GDI finds a face by any of them.
std::vector<std::string> namesOf(HDC dc)
{
    constexpr DWORD kNameTable = 'n' | ('a' << 8) | ('m' << 16) | (DWORD('e') << 24);
    const DWORD size = GetFontData(dc, kNameTable, 0, nullptr, 0);
    if (size == GDI_ERROR || size == 0)
        return {};
    std::string table(size, '\0');
    if (GetFontData(dc, kNameTable, 0, table.data(), size) != size)
        return {};
    return familyNames(table);
}

// The request the capture makes for `family`, at a size where every face
// answers; its character set as the capture picks it.
LOGFONTW probeRequest(std::string_view family, bool italic, bool bold)
{
    LOGFONTW w{};
    w.lfHeight = -32;
    w.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    w.lfItalic = italic ? 255 : 0;
    w.lfOutPrecision = OUT_TT_PRECIS;
    std::u16string name = utf8ToUtf16(family);
    name.resize(std::min<std::size_t>(name.size(), LF_FACESIZE - 1));
    std::copy(name.begin(), name.end(), w.lfFaceName);
    w.lfCharSet = charsetFor(w.lfFaceName, SHIFTJIS_CHARSET);
    return w;
}

} // namespace

FaceInfo describeFace(std::string_view family, bool italic, std::string_view text, bool bold)
{
    LOGFONTW w = probeRequest(family, italic, bold);

    FaceInfo info;
    HDC dc = CreateCompatibleDC(nullptr);
    ::HFONT font = CreateFontIndirectW(&w);
    HGDIOBJ old = ::SelectObject(dc, font);
    info.family = familyOf(dc);
    info.file = fontFile(dc);
    info.names = namesOf(dc);
    // As the capture does: the characters the face lacks are drawn by the
    // face the Shift-JIS request gives, the rest by the face itself.
    const std::u16string wide = utf8ToUtf16(text);
    if (w.lfCharSet != SHIFTJIS_CHARSET &&
        !selectedFontHolds(dc, reinterpret_cast<const wchar_t*>(wide.data()), int(wide.size()))) {
        w.lfCharSet = SHIFTJIS_CHARSET;
        ::HFONT mapped = CreateFontIndirectW(&w);
        ::SelectObject(dc, mapped);
        info.lacksText = true;
        info.fallback = familyOf(dc);
        ::SelectObject(dc, font);
        ::DeleteObject(mapped);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    DeleteDC(dc);
    return info;
}

std::vector<FaceRun> faceRuns(std::string_view family, bool italic, std::string_view text, bool bold)
{
    LOGFONTW w = probeRequest(family, italic, bold);

    // The font as the capture makes it: its own, and the Shift-JIS request
    // for what a face in another character set lacks.
    LogicalFont font;
    font.charset = w.lfCharSet;
    font.handle = CreateFontIndirectW(&w);
    if (w.lfCharSet != SHIFTJIS_CHARSET) {
        w.lfCharSet = SHIFTJIS_CHARSET;
        font.shiftJis = CreateFontIndirectW(&w);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font.handle);
    const std::u16string wide = utf8ToUtf16(cp932ToUtf8(toCp932(text)));
    std::vector<FaceRun> runs;
    for (const TextRun& run : linkedRuns(dc, font, wide)) {
        ::SelectObject(dc, run.face);
        runs.push_back({utf16ToUtf8(std::u16string_view(wide).substr(run.first, run.count)), familyOf(dc),
                        fontFile(dc)});
    }
    ::SelectObject(dc, old);
    ::DeleteObject(font.handle);
    if (font.shiftJis)
        ::DeleteObject(font.shiftJis);
    DeleteDC(dc);
    return runs;
}

// GDI names the face that was asked for when a substitute the system set up
// stands in for it (the usual Japanese Windows face names standing for the
// IPA fonts in a test prefix), though the face's own family differs.
bool isStandIn(std::string_view asked, const FaceInfo&)
{
    std::u16string name = utf8ToUtf16(asked);
    name.resize(std::min<std::size_t>(name.size(), LF_FACESIZE - 1));
    LOGFONTW w{};
    w.lfHeight = -32;
    w.lfCharSet = SHIFTJIS_CHARSET;
    std::copy(name.begin(), name.end(), w.lfFaceName);
    HDC dc = CreateCompatibleDC(nullptr);
    ::HFONT font = CreateFontIndirectW(&w);
    HGDIOBJ old = ::SelectObject(dc, font);
    wchar_t used[LF_FACESIZE] = {};
    const bool same =
        GetTextFaceW(dc, LF_FACESIZE, used) > 0 && std::wstring_view(used) == std::wstring_view(w.lfFaceName);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    DeleteDC(dc);
    return same;
}

} // namespace lw
