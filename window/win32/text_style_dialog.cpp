#include "window/win32/text_style_dialog.hpp"

#include "platform/win32/windows_text.hpp"
#include "form/text_style_design.hpp"
#include "window/win32/text_style_dialog_ids.h"
#include "window/win32/text_style_field.hpp"
#include "window/win32/tooltip.hpp"

#include <commctrl.h>

#include <cstddef>
#include <iterator>
#include <string>

namespace lw {
namespace {

// Each field's controls, numbered from its place in the design.
enum Piece { Label, Box, Arrows, Unit };
int controlId(std::size_t field, Piece piece) { return IDC_TEXT_STYLE_FIRST + int(field) * 10 + piece; }

// The layout, in dialog units.
constexpr int kMargin = 7, kRow = 16, kLabelWidth = 56, kBoxWidth = 52, kArrowsWidth = 10, kUnitWidth = 18;
constexpr int kNoteHeight = 18, kButtonWidth = 50, kButtonHeight = 14, kGap = 4;
constexpr int kDialogWidth = kMargin * 2 + kLabelWidth + kBoxWidth + kArrowsWidth + 2 + kUnitWidth;

struct DialogState {
    TextStyle style;
    bool fontBold;
    Language language;
};

std::wstring captionOf(const char* design, Language language) { return widePath(caption(design, language)); }

HWND addControl(HWND dialog, const wchar_t* kind, const std::wstring& text, DWORD style, int id, RECT place)
{
    MapDialogRect(dialog, &place);
    const HWND control = CreateWindowExW(0, kind, text.c_str(), WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                                         place.right - place.left, place.bottom - place.top, dialog,
                                         reinterpret_cast<HMENU>(INT_PTR(id)), nullptr, nullptr);
    SendMessageW(control, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
    return control;
}

// A field shown as a check box rather than a number.
bool isCheck(const TextStyleFieldDesign& field) { return *field.unit == '\0'; }

void showValue(HWND dialog, std::size_t index, double value)
{
    SetDlgItemTextW(dialog, controlId(index, Box), widePath(shownFieldValue(value, kTextStyleFields[index])).c_str());
}

double typedValue(HWND dialog, std::size_t index, double previous)
{
    wchar_t typed[64] = {};
    GetDlgItemTextW(dialog, controlId(index, Box), typed, int(std::size(typed)));
    return typedFieldValue(fromWide(typed), kTextStyleFields[index], previous);
}

std::size_t boldIndex()
{
    for (std::size_t i = 0; i < std::size(kTextStyleFields); ++i)
        if (kTextStyleFields[i].field == TextStyleField::Bold)
            return i;
    return 0;
}

void showNote(HWND dialog, const DialogState& state)
{
    const bool styleBold = IsDlgButtonChecked(dialog, controlId(boldIndex(), Box)) == BST_CHECKED;
    const char* note = boldNote(state.fontBold, styleBold);
    const HWND label = GetDlgItem(dialog, IDC_TEXT_STYLE_NOTE);
    SetWindowTextW(label, note ? captionOf(note, state.language).c_str() : L"");
    ShowWindow(label, note ? SW_SHOW : SW_HIDE);
}

void build(HWND dialog, const DialogState& state)
{
    SetWindowTextW(dialog, captionOf(kTextStyleTitle, state.language).c_str());
    // Tips wrap within the main window, as its own do.
    RECT wide{};
    GetClientRect(GetParent(dialog) ? GetParent(dialog) : dialog, &wide);
    const HWND tips = makeTooltip(dialog, wide.right);
    int y = kMargin;
    for (std::size_t i = 0; i < std::size(kTextStyleFields); ++i, y += kRow) {
        const TextStyleFieldDesign& f = kTextStyleFields[i];
        const std::wstring text = captionOf(f.caption, state.language);
        if (isCheck(f)) {
            addControl(dialog, L"BUTTON", text, BS_AUTOCHECKBOX | WS_TABSTOP, controlId(i, Box),
                       {kMargin, y, kDialogWidth - kMargin, y + 12});
            CheckDlgButton(dialog, controlId(i, Box), fieldValue(state.style, f.field) != 0 ? BST_CHECKED : BST_UNCHECKED);
            continue;
        }
        int x = kMargin;
        addControl(dialog, L"STATIC", text, SS_LEFT, controlId(i, Label), {x, y + 2, x + kLabelWidth, y + 10});
        x += kLabelWidth;
        const HWND box = addControl(dialog, L"EDIT", L"", WS_BORDER | ES_AUTOHSCROLL | ES_RIGHT | WS_TABSTOP,
                                    controlId(i, Box), {x, y, x + kBoxWidth, y + 12});
        if (f.field == TextStyleField::Spacing)
            setTip(tips, box, captionOf(kSpacingTip, state.language));
        x += kBoxWidth;
        const HWND arrows =
            addControl(dialog, UPDOWN_CLASSW, L"", 0, controlId(i, Arrows), {x, y, x + kArrowsWidth, y + 12});
        // Each click is taken as one step of ours, the arrows' own position
        // held in the middle of a small range.
        SendMessageW(arrows, UDM_SETRANGE32, 0, 2);
        SendMessageW(arrows, UDM_SETPOS32, 0, 1);
        x += kArrowsWidth + 2;
        addControl(dialog, L"STATIC", widePath(f.unit), SS_LEFT, controlId(i, Unit),
                   {x, y + 2, x + kUnitWidth, y + 10});
        showValue(dialog, i, fieldValue(state.style, f.field));
    }
    addControl(dialog, L"STATIC", L"", SS_LEFT, IDC_TEXT_STYLE_NOTE,
               {kMargin, y, kDialogWidth - kMargin, y + kNoteHeight});
    y += kNoteHeight + kGap;
    const int right = kDialogWidth - kMargin;
    addControl(dialog, L"BUTTON", captionOf("OK", state.language), BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK,
               {right - 2 * kButtonWidth - kGap, y, right - kButtonWidth - kGap, y + kButtonHeight});
    addControl(dialog, L"BUTTON", captionOf("キャンセル", state.language), BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL,
               {right - kButtonWidth, y, right, y + kButtonHeight});
    y += kButtonHeight + kMargin;

    // The frame around the client area the rows took, centred on the owner.
    RECT client{0, 0, kDialogWidth, y};
    MapDialogRect(dialog, &client);
    const DWORD style = DWORD(GetWindowLongPtrW(dialog, GWL_STYLE));
    const DWORD exStyle = DWORD(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    AdjustWindowRectEx(&client, style, FALSE, exStyle);
    RECT owner{};
    GetWindowRect(GetParent(dialog) ? GetParent(dialog) : GetDesktopWindow(), &owner);
    const int width = client.right - client.left, height = client.bottom - client.top;
    SetWindowPos(dialog, nullptr, (owner.left + owner.right - width) / 2, (owner.top + owner.bottom - height) / 2,
                 width, height, SWP_NOZORDER);
    showNote(dialog, state);
}

// The style as the fields hold it; each box shows the value taken.
void readFields(HWND dialog, DialogState& state)
{
    TextStyle chosen = state.style;
    for (std::size_t i = 0; i < std::size(kTextStyleFields); ++i) {
        const TextStyleFieldDesign& f = kTextStyleFields[i];
        if (isCheck(f)) {
            setFieldValue(chosen, f.field, IsDlgButtonChecked(dialog, controlId(i, Box)) == BST_CHECKED ? 1 : 0);
            continue;
        }
        const double value = typedValue(dialog, i, fieldValue(state.style, f.field));
        showValue(dialog, i, value);
        setFieldValue(chosen, f.field, value);
    }
    state.style = textStyleWithin(chosen);
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* state = reinterpret_cast<DialogState*>(lParam);
        SetWindowLongPtrW(dialog, GWLP_USERDATA, LONG_PTR(state));
        build(dialog, *state);
        const HWND first = GetDlgItem(dialog, controlId(0, Box));
        SetFocus(first);
        SendMessageW(first, EM_SETSEL, 0, -1);
        return FALSE;
    }
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    if (!state)
        return FALSE;
    switch (message) {
    case WM_NOTIFY: {
        const auto* notice = reinterpret_cast<const NMUPDOWN*>(lParam);
        if (notice->hdr.code != UDN_DELTAPOS)
            return FALSE;
        const std::size_t index = std::size_t(int(notice->hdr.idFrom) - IDC_TEXT_STYLE_FIRST) / 10;
        if (index >= std::size(kTextStyleFields))
            return FALSE;
        const TextStyleFieldDesign& f = kTextStyleFields[index];
        const double now = typedValue(dialog, index, fieldValue(state->style, f.field));
        showValue(dialog, index, steppedFieldValue(now, notice->iDelta, f));
        // The arrows keep their own position, so they never reach an end.
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            readFields(dialog, *state);
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        default:
            if (LOWORD(wParam) == controlId(boldIndex(), Box) && HIWORD(wParam) == BN_CLICKED)
                showNote(dialog, *state);
            return FALSE;
        }
    default: return FALSE;
    }
}

} // namespace

std::optional<TextStyle> askTextStyle(HWND owner, const TextStyle& preset, bool fontBold, Language language)
{
    DialogState state{preset, fontBold, language};
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEXT_STYLE), owner,
                                           dialogProc, LPARAM(&state));
    if (result != IDOK)
        return std::nullopt;
    return state.style;
}

} // namespace lw
