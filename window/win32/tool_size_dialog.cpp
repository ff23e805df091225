// The form's headers first: they define what windows.h would as macros.
#include "form/form1.hpp"
#include "form/form_design.hpp"
#include "form/tool_marks.hpp"
#include "window/win32/tool_size_dialog.hpp"
#include "platform/win32/windows_text.hpp"
#include "window/win32/tool_size_dialog_ids.h"

#include <iterator>
#include <string>

namespace lw {
namespace {

struct DialogState {
    double mm;
    Language language;
};

std::wstring captionOf(const char* design, Language language) { return widePath(caption(design, language)); }

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* state = reinterpret_cast<DialogState*>(lParam);
        SetWindowLongPtrW(dialog, GWLP_USERDATA, LONG_PTR(state));
        SetWindowTextW(dialog, captionOf(previewMenuItem(PreviewCommand::ToolCheck).caption, state->language).c_str());
        SetDlgItemTextW(dialog, IDC_TOOL_SIZE_LABEL, captionOf(kToolSizeCaption, state->language).c_str());
        SetDlgItemTextW(dialog, IDC_TOOL_SIZE, widePath(encodeToolSize(state->mm)).c_str());
        const HWND box = GetDlgItem(dialog, IDC_TOOL_SIZE);
        SetFocus(box);
        SendMessageW(box, EM_SETSEL, 0, -1);
        return FALSE;
    }
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    if (!state || message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: {
        wchar_t typed[64] = {};
        GetDlgItemTextW(dialog, IDC_TOOL_SIZE, typed, int(std::size(typed)));
        const std::optional<double> mm = typedToolSize(fromWide(typed));
        if (!mm) {
            // Said, and the box kept for a corrected number.
            MessageBoxW(dialog, captionOf(kToolSizeRefused, state->language).c_str(), widePath(kProgramTitle).c_str(),
                        MB_OK | MB_ICONWARNING);
            SetFocus(GetDlgItem(dialog, IDC_TOOL_SIZE));
            return TRUE;
        }
        state->mm = *mm;
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
    default: return FALSE;
    }
}

} // namespace

std::optional<double> askToolSize(HWND owner, double presetMm, Language language)
{
    DialogState state{presetMm, language};
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TOOL_SIZE), owner,
                                           dialogProc, LPARAM(&state));
    if (result != IDOK)
        return std::nullopt;
    return state.mm;
}

} // namespace lw
