// The form's headers first: they define what windows.h would as macros.
#include "form/form_design.hpp"
#include "form/stroke_drawing.hpp"
#include "form/stroke_face_list.hpp"
#include "window/win32/font_dialog.hpp"
#include "platform/font_file.hpp"
#include "platform/win32/windows_text.hpp"

#include <commdlg.h>
#include <dlgs.h>

#include <cwchar>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

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
    // The stroke faces listed after "none" below the dialog's own lists
    // (vertical "@" faces among them), the one the dialog opens on, and the
    // one chosen with OK.
    std::vector<std::string> strokeFaces;
    std::string strokePreset;
    std::string strokeChosen;
};

// Ids of no control of the font dialog's own template.
constexpr int kStrokeLabelId = 0x7F01, kStrokeBoxId = 0x7F02;

// The group of stroke faces: a caption and a list across the bottom of the
// dialog, which grows to hold them.
void addStrokeFaces(HWND dialog, const FileChoice& choice)
{
    RECT client{};
    GetClientRect(dialog, &client);
    RECT units{7, 4, 220, 14}; // a margin, a gap, a row's height, in dialog units
    MapDialogRect(dialog, &units);
    const int top = client.bottom + units.top, row = units.bottom;
    RECT frame{};
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + row * 2 + units.top * 2,
                 SWP_NOMOVE | SWP_NOZORDER);
    const HFONT font = HFONT(SendMessageW(dialog, WM_GETFONT, 0, 0));
    const auto make = [&](const wchar_t* kind, const std::wstring& text, DWORD style, int id, int x, int y, int w, int h) {
        const HWND control = CreateWindowExW(0, kind, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, dialog,
                                             reinterpret_cast<HMENU>(INT_PTR(id)), nullptr, nullptr);
        SendMessageW(control, WM_SETFONT, WPARAM(font), FALSE);
        return control;
    };
    make(L"STATIC", widePath(caption(kStrokeFaceCaption, choice.language)), SS_LEFT, kStrokeLabelId, units.left, top,
         units.right, row);
    const HWND box = make(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kStrokeBoxId, units.left,
                          top + row, units.right, row * 10);
    SendMessageW(box, CB_ADDSTRING, 0, LPARAM(widePath(caption(kNoStrokeFace, choice.language)).c_str()));
    SendMessageW(box, CB_SETCURSEL, 0, 0);
    for (const std::string& name : choice.strokeFaces)
        SendMessageW(box, CB_ADDSTRING, 0, LPARAM(widePath(name).c_str()));
    if (const std::optional<std::size_t> at = strokeFaceChoiceOf(choice.strokeFaces, choice.strokePreset))
        SendMessageW(box, CB_SETCURSEL, WPARAM(*at + 1), 0);
}

// The stroke face the list shows: empty for none.
std::string chosenStrokeFace(HWND dialog, const FileChoice& choice)
{
    const LRESULT index = SendDlgItemMessageW(dialog, kStrokeBoxId, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR || index < 1 || std::size_t(index) > choice.strokeFaces.size())
        return {};
    return choice.strokeFaces[std::size_t(index - 1)];
}

// The dialog's Help button, shown for this, becomes "Font file...": its
// click asks for a file and, given one, ends the dialog.
UINT_PTR CALLBACK fontDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const auto* options = reinterpret_cast<const CHOOSEFONTW*>(lParam);
        SetWindowLongPtrW(dialog, GWLP_USERDATA, LONG_PTR(options->lCustData));
        auto* choice = reinterpret_cast<FileChoice*>(options->lCustData);
        SetDlgItemTextW(dialog, pshHelp, widePath(caption(kFontFileButton, choice->language)).c_str());
        addStrokeFaces(dialog, *choice);
        return TRUE;
    }
    auto* choice = reinterpret_cast<FileChoice*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    // Read before the dialog ends with OK; the dialog goes on to end.
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK && choice) {
        choice->strokeChosen = chosenStrokeFace(dialog, *choice);
        return FALSE;
    }
    if (message != WM_COMMAND || LOWORD(wParam) != pshHelp)
        return FALSE;
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
    FileChoice file{language, {}, strokeFaceChoices(strokeFaceNames()), preset.strokeFace, {}};
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
    chosen.strokeFace = file.strokeChosen;
    return chosen;
}

} // namespace lw
