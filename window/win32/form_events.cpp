// The native window's messages: each control's notification to the form's
// handler the design binds it to, the message loop with its keys, and the
// preview's menu.

#include "platform/win32/windows_text.hpp"
#include "form/captions.hpp"
#include "platform/gdi/native.hpp"
#include "window/win32/form_window.hpp"

#include <commctrl.h>
#include <windowsx.h>

namespace lw {

void Win32FormWindow::buildPreviewMenu()
{
    // Keys work anywhere in the window; the menu shows them.
    previewMenu_ = CreatePopupMenu();
    std::vector<ACCEL> keys;
    const auto add = [&](int id, const PreviewMenuItem& entry) {
        const std::wstring item = widePath(caption(entry.caption)) + L"\tF" + std::to_wstring(entry.functionKey);
        AppendMenuW(previewMenu_, MF_STRING, UINT_PTR(id), item.c_str());
        keys.push_back(ACCEL{FVIRTKEY, WORD(VK_F1 + entry.functionKey - 1), WORD(id)});
    };
    for (PreviewCommand command : form_.previewCommands())
        add(kFirstMenuId + int(command), previewMenuItem(command));
    AppendMenuW(previewMenu_, MF_SEPARATOR, 0, nullptr);
    add(kFitMenuId, kFitMenuItem);
    keys_ = CreateAcceleratorTableW(keys.data(), int(keys.size()));
}

void Win32FormWindow::showPreviewMenu(int x, int y)
{
    if (!previewMenu_)
        return;
    if (x == -1 && y == -1) { // from the keyboard: at the preview's corner
        ::POINT corner{0, 0};
        ClientToScreen(control(Control::picSmpl), &corner);
        x = corner.x;
        y = corner.y;
    }
    CheckMenuItem(previewMenu_, kFitMenuId, MF_BYCOMMAND | (fit_ ? MF_CHECKED : MF_UNCHECKED));
    const int chosen = int(TrackPopupMenu(previewMenu_, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, window_, nullptr));
    if (chosen)
        runMenuCommand(chosen);
}

void Win32FormWindow::runMenuCommand(int id)
{
    if (id == kFitMenuId) {
        // The view only: captures and exports never change with it.
        fit_ = !fit_;
        refresh();
    } else if (id >= kFirstMenuId && id < kFitMenuId) {
        form_.run(PreviewCommand(id - kFirstMenuId));
    }
}

int Win32FormWindow::run(int show)
{
    ShowWindow(window_, show);
    UpdateWindow(window_);
    SetFocus(control(Control::txtInput));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (keys_ && TranslateAcceleratorW(window_, keys_, &message))
            continue;
        // Enter ends an edit of the size or angle box, as leaving it does.
        if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
            const int id = GetDlgCtrlID(message.hwnd) - kFirstControlId;
            if (id >= 0 && id < kControlCount && control(Control(id)) == message.hwnd)
                if (const auto ended = Form1::eventsOf(Control(id)).editEnded) {
                    form_.run(ended);
                    continue;
                }
        }
        // Tab and the arrow keys move between controls as in a dialog.
        if (IsDialogMessageW(window_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}

LRESULT CALLBACK Win32FormWindow::windowProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    auto* self = reinterpret_cast<Win32FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle(message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT CALLBACK Win32FormWindow::previewProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_PAINT) {
        auto* self = reinterpret_cast<Win32FormWindow*>(GetWindowLongPtrW(GetParent(window), GWLP_USERDATA));
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (self && self->dc_)
            BitBlt(dc, 0, 0, self->previewWidth_, self->previewHeight_, nativeDC(*self->dc_), 0, 0, SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_CONTEXTMENU) {
        auto* self = reinterpret_cast<Win32FormWindow*>(GetWindowLongPtrW(GetParent(window), GWLP_USERDATA));
        if (self)
            self->showPreviewMenu(GET_X_LPARAM(l), GET_Y_LPARAM(l));
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

void Win32FormWindow::controlCommand(Control which, int code)
{
    const Form1::Events events = Form1::eventsOf(which);
    void (Form1::*handler)() = nullptr;
    if (controlDesign(which).kind == ControlKind::TextBox)
        handler = code == EN_CHANGE      ? events.change
                  : code == EN_SETFOCUS  ? events.gotFocus
                  : code == EN_KILLFOCUS ? events.editEnded
                                         : nullptr;
    else if (code == BN_CLICKED)
        handler = events.click;
    if (handler)
        form_.run(handler);
}

LRESULT Win32FormWindow::handle(UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_COMMAND: {
        if (!live_)
            break;
        const int id = LOWORD(w), code = HIWORD(w);
        if (l == 0 && id >= kFirstMenuId) { // the preview's menu or its keys
            runMenuCommand(id);
        } else if (id == IDCANCEL && code == BN_CLICKED) { // Escape
            form_.run(&Form1::cmdCancel_Click);
        } else if (id == IDOK && code == BN_CLICKED) { // Enter, where no button has the focus
            form_.run(&Form1::cmdOK_Click);
        } else if (id >= kFirstControlId && id < kFirstControlId + kControlCount) {
            controlCommand(Control(id - kFirstControlId), code);
        }
        return 0;
    }
    case WM_HSCROLL: {
        // A click is one user action on the trackbar: a page or line step
        // (a click anywhere on its strip, or a key), or the end of a drag.
        // The moves during a drag and the end of every action are not.
        const int code = LOWORD(w);
        if (!live_ || code == TB_THUMBTRACK || code == TB_ENDTRACK)
            break;
        for (const SliderDesign& d : kSliders)
            if (reinterpret_cast<HWND>(l) == control(controlOf(d.slider)))
                form_.run(Form1::eventsOf(controlOf(d.slider)).click);
        return 0;
    }
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(l) == control(Control::txtInput)) {
            HDC dc = reinterpret_cast<HDC>(w);
            SetBkColor(dc, RGB(kInputBackground.red, kInputBackground.green, kInputBackground.blue));
            return reinterpret_cast<LRESULT>(inputBrush_);
        }
        break;
    case WM_CLOSE:
        // Closing the window is Cancel.
        form_.run(&Form1::cmdCancel_Click);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, w, l);
}

} // namespace lw
