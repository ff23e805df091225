#include "window/win32/font_dialog.hpp"

#include "platform/win32/windows_text.hpp"

#include <commdlg.h>

#include <cwchar>
#include <string>

namespace lw {

LOGFONTW logFontOf(const WindowFont& font, int dpi)
{
    LOGFONTW f{};
    f.lfHeight = -MulDiv(int(font.size * 100 + 0.5f), dpi, 7200);
    f.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    f.lfItalic = font.italic;
    f.lfUnderline = font.underline;
    f.lfStrikeOut = font.strikeout;
    f.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = widePath(font.faceName);
    wcsncpy(f.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return f;
}

WindowFont chooseFontDialog(HWND owner, const WindowFont& preset, int dpi)
{
    // Screen fonts only: the printer's list needs a printer's device
    // context, which the form does not have.
    LOGFONTW f = logFontOf(preset, dpi);
    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpLogFont = &f;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontW(&dialog))
        return preset;
    WindowFont chosen = preset;
    chosen.faceName = fromWide(f.lfFaceName);
    chosen.bold = f.lfWeight >= FW_BOLD;
    chosen.italic = f.lfItalic != 0;
    chosen.size = float(dialog.iPointSize) / 10.0f;
    return chosen;
}

} // namespace lw
