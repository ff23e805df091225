#include "window/win32/font_dialog.hpp"

#include "platform/font_file.hpp"
#include "platform/win32/windows_text.hpp"

#include <commdlg.h>
#include <dlgs.h>

#include <cwchar>
#include <iterator>
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

namespace {

struct FileChoice {
    Language language;
    std::wstring path; // the font file chosen through the dialog's button
};

// The dialog's Help button, shown for this, becomes "Font file...": its
// click asks for a file and, given one, ends the dialog.
UINT_PTR CALLBACK fontDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const auto* options = reinterpret_cast<const CHOOSEFONTW*>(lParam);
        SetWindowLongPtrW(dialog, GWLP_USERDATA, LONG_PTR(options->lCustData));
        auto* choice = reinterpret_cast<FileChoice*>(options->lCustData);
        SetDlgItemTextW(dialog, pshHelp, widePath(caption(kFontFileButton, choice->language)).c_str());
        return TRUE;
    }
    if (message != WM_COMMAND || LOWORD(wParam) != pshHelp)
        return FALSE;
    auto* choice = reinterpret_cast<FileChoice*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    wchar_t path[32768] = {};
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = dialog;
    open.lpstrFilter = L"Fonts (*.ttf;*.otf;*.ttc;*.otc)\0*.ttf;*.otf;*.ttc;*.otc\0*.*\0*.*\0";
    open.lpstrFile = path;
    open.nMaxFile = DWORD(std::size(path));
    open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (choice && GetOpenFileNameW(&open)) {
        choice->path = path;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    return TRUE;
}

} // namespace

WindowFont chooseFontDialog(HWND owner, const WindowFont& preset, int dpi, Language language)
{
    // Screen fonts only: the printer's list needs a printer's device
    // context, which the form does not have.
    LOGFONTW f = logFontOf(preset, dpi);
    FileChoice file{language, {}};
    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpLogFont = &f;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_SHOWHELP | CF_ENABLEHOOK;
    dialog.lpfnHook = fontDialogHook;
    dialog.lCustData = LPARAM(&file);
    if (!ChooseFontW(&dialog)) {
        if (file.path.empty())
            return preset;
        WindowFont fromFile = preset;
        fromFile.fontFile = fontFileChoiceText(fromWide(file.path), 0);
        return fromFile;
    }
    WindowFont chosen = preset;
    chosen.fontFile.clear();
    chosen.faceName = fromWide(f.lfFaceName);
    chosen.bold = f.lfWeight >= FW_BOLD;
    chosen.italic = f.lfItalic != 0;
    chosen.size = float(dialog.iPointSize) / 10.0f;
    return chosen;
}

} // namespace lw
