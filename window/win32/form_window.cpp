#include "window/win32/form_window.hpp"

#include "platform/process.hpp"
#include "platform/win32/windows_text.hpp"
#include "form/captions.hpp"
#include "form/face_note_caption.hpp"
#include "form/one_line.hpp"
#include "form/form_design.hpp"
#include "base/design.hpp"
#include "platform/gdi/native.hpp"
#include "window/win32/font_dialog.hpp"
#include "window/win32/registry_settings.hpp"
#include "window/win32/save_dialog.hpp"
#include "window/win32/text_style_dialog.hpp"
#include "window/win32/tool_size_dialog.hpp"
#include "window/win32/tooltip.hpp"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace lw {
namespace {

constexpr wchar_t kWindowClass[] = L"LetterwireForm1";
constexpr wchar_t kPreviewClass[] = L"LetterwirePicture";

std::wstring wide(std::string_view utf8) { return widePath(utf8); }

std::wstring windowText(HWND window)
{
    std::wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

// A press anywhere on a trackbar's strip pages it, as on Windows; some
// trackbars (Wine's) page only on the groove line itself. A press beside the
// thumb is handed on as if it were on the groove.
LRESULT CALLBACK stripPress(HWND bar, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR)
{
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        RECT thumb{}, channel{};
        SendMessageW(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        SendMessageW(bar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
        const int x = GET_X_LPARAM(l);
        if (x < thumb.left || x >= thumb.right)
            l = MAKELPARAM(std::clamp(x, int(channel.left), int(channel.right) - 1),
                           (channel.top + channel.bottom) / 2);
    }
    return DefSubclassProc(bar, message, w, l);
}

// The text box holds one line: a paste keeps the first line of the
// clipboard's text, never a line end or another control character.
LRESULT CALLBACK firstLinePaste(HWND box, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR)
{
    if (message != WM_PASTE)
        return DefSubclassProc(box, message, w, l);
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(box))
        return 0;
    std::wstring pasted;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            pasted = text;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    const std::wstring line = wide(pastedLine(fromWide(pasted)));
    SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(line.c_str()));
    return 0;
}

} // namespace

Win32FormWindow::Win32FormWindow(HINSTANCE instance) : instance_(instance)
{
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    if (dpi_ <= 0)
        dpi_ = int(design::kDpi);
    english_ = PRIMARYLANGID(GetUserDefaultUILanguage()) != LANG_JAPANESE;

    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = windowProc;
    form.hInstance = instance;
    form.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    form.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    form.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    form.lpszClassName = kWindowClass;
    RegisterClassExW(&form);
    WNDCLASSEXW picture = form;
    picture.lpfnWndProc = previewProc;
    picture.hIcon = nullptr;
    picture.lpszClassName = kPreviewClass;
    RegisterClassExW(&picture);

    // The client area is the design's; the frame comes around it.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, pixels(design::kClientWidthTwips), pixels(design::kClientHeightTwips)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    window_ = CreateWindowExW(0, kWindowClass, wide(caption(kWindowCaption)).c_str(), style, CW_USEDEFAULT,
                              CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                              nullptr, instance, this);
    buildControls();
    buildFaceNote();
    // The preview's tooltip says what the inspection drawing's colours mean;
    // each note's, the whole of what its line may cut. Each wraps within
    // the window.
    RECT client{};
    GetClientRect(window_, &client);
    tooltip_ = makeTooltip(window_, client.right);
    setTip(tooltip_, control(Control::picSmpl), wide(caption(kPreviewTip)));
    live_ = true;
}

Win32FormWindow::~Win32FormWindow()
{
    dc_.reset();
    for (const auto& [points, font] : fonts_)
        DeleteObject(font);
    if (inputFont_)
        DeleteObject(inputFont_);
    if (inputBrush_)
        DeleteObject(inputBrush_);
    if (previewMenu_)
        DestroyMenu(previewMenu_);
    if (keys_)
        DestroyAcceleratorTable(keys_);
}

const char* Win32FormWindow::caption(const char* design) const
{
    return lw::caption(design, english_ ? Language::English : Language::Japanese);
}

int Win32FormWindow::pixels(int twips) const { return MulDiv(twips, dpi_, 1440); }

::HFONT Win32FormWindow::designFont(float points)
{
    for (const auto& [size, font] : fonts_)
        if (size == points)
            return font;
    WindowFont font;
    font.size = points;
    LOGFONTW f = logFontOf(font, dpi_);
    f.lfCharSet = SHIFTJIS_CHARSET;
    fonts_.emplace_back(points, CreateFontIndirectW(&f));
    return fonts_.back().second;
}

HWND Win32FormWindow::makeControl(const ControlDesign& c)
{
    DWORD style = WS_CHILD | (c.shown ? WS_VISIBLE : 0) | (takesFocus(c) ? WS_TABSTOP : 0), exStyle = 0;
    const wchar_t* kind = WC_STATICW;
    switch (c.kind) {
    case ControlKind::TextBox:
        kind = WC_EDITW;
        style |= ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Label: break;
    case ControlKind::Button:
        kind = WC_BUTTONW;
        style |= BS_PUSHBUTTON;
        break;
    case ControlKind::Slider:
        kind = TRACKBAR_CLASSW;
        style |= TBS_HORZ;
        for (const SliderDesign& d : kSliders)
            if (controlOf(d.slider) == c.control)
                style |= d.tickEvery ? TBS_BOTTOM | TBS_AUTOTICKS : TBS_NOTICKS;
        break;
    case ControlKind::Picture:
        kind = kPreviewClass;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    }
    const int id = kFirstControlId + int(c.control);
    return CreateWindowExW(exStyle, kind, wide(caption(c.caption)).c_str(), style, pixels(c.place.left),
                           pixels(c.place.top), pixels(c.place.width), pixels(c.place.height), window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
}

void Win32FormWindow::buildControls()
{
    // Made in the design's tab order, which is the order Tab follows. The
    // hidden buttons keep their places but are not shown and leave the tab
    // order; their work is in the preview's menu.
    for (const ControlDesign& c : kControls) {
        HWND made = controls_[std::size_t(c.control)] = makeControl(c);
        if (c.fontPoints == kWindowFontPoints)
            setInputFont(WindowFont{});
        else if (c.fontPoints > 0 && c.kind != ControlKind::Picture)
            SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(designFont(c.fontPoints)), FALSE);
    }
    for (const SliderDesign& d : kSliders) {
        HWND bar = control(controlOf(d.slider));
        SendMessageW(bar, TBM_SETRANGE, FALSE, MAKELPARAM(d.minimum, d.maximum));
        SendMessageW(bar, TBM_SETLINESIZE, 0, d.smallStep);
        SendMessageW(bar, TBM_SETPAGESIZE, 0, d.largeStep);
        if (d.tickEvery)
            SendMessageW(bar, TBM_SETTICFREQ, d.tickEvery, 0);
        SendMessageW(bar, TBM_SETPOS, TRUE, d.position);
        SetWindowSubclass(bar, stripPress, 0, 0);
    }
    SetWindowSubclass(control(Control::txtInput), firstLinePaste, 0, 0);
    inputBrush_ = CreateSolidBrush(RGB(kInputBackground.red, kInputBackground.green, kInputBackground.blue));

    RECT area{};
    GetClientRect(control(Control::picSmpl), &area);
    previewWidth_ = area.right;
    previewHeight_ = area.bottom;
    dc_ = std::make_unique<DeviceContext>(canvas_);
    resizeSurface(*dc_, previewWidth_, previewHeight_);
    canvas_.render(nativeDC(*dc_), previewWidth_, previewHeight_, fit_);
}

void Win32FormWindow::buildFaceNote()
{
    const design::TwipsRect& place = kFaceNoteTwips;
    faceNote_ = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | SS_LEFT | SS_NOPREFIX | SS_NOTIFY | SS_ENDELLIPSIS,
                                pixels(place.left), pixels(place.top), pixels(place.width), pixels(place.height),
                                window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFaceNoteId)), instance_,
                                nullptr);
    SendMessageW(faceNote_, WM_SETFONT, reinterpret_cast<WPARAM>(designFont(kFaceNotePoints)), FALSE);
    const design::TwipsRect& under = kWindowNoteTwips;
    windowNote_ = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | SS_LEFT | SS_NOPREFIX | SS_NOTIFY | SS_PATHELLIPSIS,
                                  pixels(under.left), pixels(under.top), pixels(under.width), pixels(under.height),
                                  window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kWindowNoteId)), instance_,
                                  nullptr);
    SendMessageW(windowNote_, WM_SETFONT, reinterpret_cast<WPARAM>(designFont(kFaceNotePoints)), FALSE);
}

void Win32FormWindow::showWindowNote(const WindowNote& note)
{
    const std::wstring text = wide(windowNoteFor(note, english_ ? Language::English : Language::Japanese));
    SetWindowTextW(windowNote_, text.c_str());
    setTip(tooltip_, windowNote_, text);
    ShowWindow(windowNote_, text.empty() ? SW_HIDE : SW_SHOWNA);
}

void Win32FormWindow::showFaceNote(const std::optional<FaceNote>& note)
{
    const std::wstring text =
        note ? wide(faceNoteFor(*note, english_ ? Language::English : Language::Japanese)) : std::wstring();
    SetWindowTextW(faceNote_, text.c_str());
    setTip(tooltip_, faceNote_, text);
    ShowWindow(faceNote_, note ? SW_SHOWNA : SW_HIDE);
}

void Win32FormWindow::load(const std::vector<std::string>& words)
{
    form_.load(words);
    buildPreviewMenu();
}

std::string Win32FormWindow::text(TextBox which) const { return fromWide(windowText(control(controlOf(which)))); }

void Win32FormWindow::setText(TextBox which, std::string_view text)
{
    // The EDIT control sends EN_CHANGE from inside SetWindowText; the logic
    // runs the change handler itself, so that one is not passed on.
    HWND box = control(controlOf(which));
    const std::wstring value = wide(text);
    if (windowText(box) == value)
        return;
    const bool wasLive = live_;
    live_ = false;
    SetWindowTextW(box, value.c_str());
    live_ = wasLive;
}

void Win32FormWindow::selectAll(TextBox which) { SendMessageW(control(controlOf(which)), EM_SETSEL, 0, -1); }

void Win32FormWindow::setInputFont(const WindowFont& font)
{
    LOGFONTW f = logFontOf(font, dpi_);
    ::HFONT created = CreateFontIndirectW(&f);
    SendMessageW(control(Control::txtInput), WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
    if (inputFont_)
        DeleteObject(inputFont_);
    inputFont_ = created;
}

int Win32FormWindow::position(Slider which) const
{
    return int(SendMessageW(control(controlOf(which)), TBM_GETPOS, 0, 0));
}

void Win32FormWindow::setPosition(Slider which, int position)
{
    // TBM_SETPOS notifies no one: no handler runs.
    SendMessageW(control(controlOf(which)), TBM_SETPOS, TRUE, position);
}

int Win32FormWindow::minimum(Slider which) const
{
    return int(SendMessageW(control(controlOf(which)), TBM_GETRANGEMIN, 0, 0));
}

int Win32FormWindow::maximum(Slider which) const
{
    return int(SendMessageW(control(controlOf(which)), TBM_GETRANGEMAX, 0, 0));
}

float Win32FormWindow::previewScaleWidth() const { return float(previewWidth_); }
float Win32FormWindow::previewScaleHeight() const { return float(previewHeight_); }

void Win32FormWindow::refresh()
{
    canvas_.render(nativeDC(*dc_), previewWidth_, previewHeight_, fit_);
    HWND preview = control(Control::picSmpl);
    InvalidateRect(preview, nullptr, FALSE);
    UpdateWindow(preview);
}

float Win32FormWindow::clientWidth() const
{
    RECT area{};
    GetClientRect(window_, &area);
    return float(area.right);
}

float Win32FormWindow::clientHeight() const
{
    RECT area{};
    GetClientRect(window_, &area);
    return float(area.bottom);
}

double Win32FormWindow::twipsPerPixelX() const { return 1440.0 / dpi_; }

std::string Win32FormWindow::programDirectory() const { return lw::programDirectory(); }

WindowFont Win32FormWindow::chooseFont(const WindowFont& preset)
{
    return chooseFontDialog(window_, preset, dpi_, english_ ? Language::English : Language::Japanese);
}

std::optional<SaveChoice> Win32FormWindow::chooseSaveFile(const SaveChoice& preset)
{
    return askSaveFile(window_, preset, english_ ? Language::English : Language::Japanese);
}

std::optional<TextStyle> Win32FormWindow::chooseTextStyle(const TextStyle& preset, bool fontBold)
{
    return askTextStyle(window_, preset, fontBold, english_ ? Language::English : Language::Japanese);
}

std::optional<double> Win32FormWindow::chooseToolSize(double presetMm)
{
    return askToolSize(window_, presetMm, english_ ? Language::English : Language::Japanese);
}

std::optional<SaveSettings> Win32FormWindow::loadSaveSettings() { return loadRegistrySaveSettings(); }

void Win32FormWindow::storeSaveSettings(const SaveSettings& settings) { storeRegistrySaveSettings(settings); }

std::optional<std::string> Win32FormWindow::readTextSetting(std::string_view name)
{
    return readRegistryTextSetting(name);
}

void Win32FormWindow::writeTextSetting(std::string_view name, std::string_view value)
{
    writeRegistryTextSetting(name, value);
}

void Win32FormWindow::showMessage(std::string_view caption, std::string_view text)
{
    MessageBoxW(window_, wide(text).c_str(), wide(caption).c_str(), MB_OK);
}

void Win32FormWindow::endProgram(int status)
{
    std::fflush(nullptr);
    ExitProcess(UINT(status));
}

} // namespace lw
