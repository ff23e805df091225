#include "window/win32/tooltip.hpp"

#include <commctrl.h>

namespace lw {

HWND makeTooltip(HWND owner, int width)
{
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)), nullptr);
    // The width is the text's; the tip's margins and frame come around it.
    constexpr int kTipFrame = 16;
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, width > kTipFrame ? width - kTipFrame : width);
    return tip;
}

void setTip(HWND tooltip, HWND control, const std::wstring& text)
{
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    std::wstring copy = text;
    tool.lpszText = copy.data();
    // Known already: only the text changes.
    TTTOOLINFOW known = tool;
    known.lpszText = nullptr;
    if (SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&known)))
        SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    else
        SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

} // namespace lw
