#include "dialog_template.hpp"

namespace lw_test {

std::vector<Template> templatesOf(const std::wstring& program)
{
    std::vector<Template> found;
    HMODULE module =
        LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return found;
    struct Walk {
        std::vector<Template>* found;
    } walk{&found};
    EnumResourceNamesW(
        module, MAKEINTRESOURCEW(5),
        [](HMODULE m, LPCWSTR type, LPWSTR name, LONG_PTR l) -> BOOL {
            HRSRC resource = FindResourceW(m, name, type);
            const auto* p = resource ? static_cast<const WORD*>(LockResource(LoadResource(m, resource))) : nullptr;
            if (!p)
                return TRUE;
            // DLGTEMPLATEEX opens with version 1 and 0xFFFF; DLGTEMPLATE
            // with its style.
            const bool extended = p[0] == 1 && p[1] == 0xFFFF;
            DWORD style = 0;
            const WORD* q = nullptr;
            Template t;
            if (extended) {
                style = DWORD(p[6]) | DWORD(p[7]) << 16;
                t.cx = short(p[11]);
                t.cy = short(p[12]);
                q = p + 13;
            } else {
                style = DWORD(p[0]) | DWORD(p[1]) << 16;
                t.cx = short(p[7]);
                t.cy = short(p[8]);
                q = p + 9;
            }
            const auto skip = [&q] {
                if (*q == 0)
                    ++q;
                else if (*q == 0xFFFF)
                    q += 2;
                else {
                    while (*q)
                        ++q;
                    ++q;
                }
            };
            skip(); // menu
            skip(); // class
            while (*q++) {
            } // title
            if (!(style & DS_SETFONT))
                return TRUE;
            t.points = *q++;
            if (extended) {
                t.weight = *q++;
                t.italic = (*q++ & 0xFF) != 0;
            }
            t.face = reinterpret_cast<const wchar_t*>(q);
            reinterpret_cast<Walk*>(l)->found->push_back(t);
            return TRUE;
        },
        LONG_PTR(&walk));
    FreeLibrary(module);
    return found;
}

HFONT fontOf(const Template& t, int points, int weight)
{
    HDC screen = GetDC(nullptr);
    const int pixels = MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontW(-pixels, 0, 0, 0, weight, t.italic, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, PROOF_QUALITY,
                       FF_DONTCARE, t.face.c_str());
}

SIZE pixelsOf(const Template& t)
{
    HDC dc = GetDC(nullptr);
    HFONT font = fontOf(t, t.points, t.weight);
    HGDIOBJ before = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SIZE letters{};
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    SelectObject(dc, before);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    const int baseX = (letters.cx / 26 + 1) / 2, baseY = metrics.tmHeight;
    return {MulDiv(t.cx, baseX, 4), MulDiv(t.cy, baseY, 8)};
}

} // namespace lw_test
