#include "window/win32/form_window.hpp"

#include "platform/process.hpp"
#include "platform/win32/windows_text.hpp"
#include "base/design.hpp"
#include "platform/gdi/native.hpp"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <limits>

namespace lw {
namespace {

constexpr wchar_t kWindowClass[] = L"LetterwireForm1";
constexpr wchar_t kPreviewClass[] = L"LetterwirePicture";

// Control identifiers, for WM_COMMAND.
enum : int {
    idInput = 100, idSize, idAngle, idFont, idDraw, idCommand2, idCommand3, idOK, idCancel,
    // The preview's menu and its keys.
    idRedraw = 200, idInspect, idWit, idFit,
};

// The captions a user whose language is not Japanese sees instead of the
// design's; the same words as the Linux window's English translation.
struct Translation {
    const char* design;
    const char* english;
};
constexpr Translation kEnglish[] = {
    {"サイズ", "Size"},
    {"傾き", "Angle"},
    {"フォント...", "Font..."},
    {"キャンセル", "Cancel"},
    {"再描画", "Redraw"},
    {"アウトラインの確認", "Inspect outline"},
    {"WIT出力", "WIT export"},
    {"全体を表示", "Fit to preview"},
};

// The save dialog's choices: one file type for each format and precision,
// so the platform's own dialog carries both without a template of ours.
struct SaveKind {
    SaveFormat format;
    SavePrecision precision;
    const wchar_t* label;
    const wchar_t* pattern;
    const wchar_t* extension;
};
constexpr SaveKind kSaveKinds[] = {
    {SaveFormat::Dxf, SavePrecision::Classic, L"DXF, screen pixel grid (*.dxf)", L"*.dxf", L"dxf"},
    {SaveFormat::Dxf, SavePrecision::Tenth, L"DXF, 0.1 mm grid (*.dxf)", L"*.dxf", L"dxf"},
    {SaveFormat::Dxf, SavePrecision::Hundredth, L"DXF, 0.01 mm grid (*.dxf)", L"*.dxf", L"dxf"},
    {SaveFormat::Svg, SavePrecision::Classic, L"SVG, screen pixel grid (*.svg)", L"*.svg", L"svg"},
    {SaveFormat::Svg, SavePrecision::Tenth, L"SVG, 0.1 mm grid (*.svg)", L"*.svg", L"svg"},
    {SaveFormat::Svg, SavePrecision::Hundredth, L"SVG, 0.01 mm grid (*.svg)", L"*.svg", L"svg"},
    {SaveFormat::JwPoints, SavePrecision::Classic, L"JW point lines, screen pixel grid (*.txt)", L"*.txt", L"txt"},
    {SaveFormat::JwPoints, SavePrecision::Tenth, L"JW point lines, 0.1 mm grid (*.txt)", L"*.txt", L"txt"},
    {SaveFormat::JwPoints, SavePrecision::Hundredth, L"JW point lines, 0.01 mm grid (*.txt)", L"*.txt", L"txt"},
};

constexpr wchar_t kSettingsKey[] = L"Software\\Letterwire\\Save";

// Room left around a fitted drawing, in pixels.
constexpr int kFitMargin = 8;

std::wstring wide(std::string_view utf8) { return widePath(utf8); }

std::wstring windowText(HWND window)
{
    std::wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

LOGFONTW logFontOf(const WindowFont& font, int dpi)
{
    LOGFONTW f{};
    f.lfHeight = -MulDiv(int(font.size * 100 + 0.5f), dpi, 7200);
    f.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    f.lfItalic = font.italic;
    f.lfUnderline = font.underline;
    f.lfStrikeOut = font.strikeout;
    f.lfCharSet = DEFAULT_CHARSET;
    std::wstring face = wide(font.faceName);
    wcsncpy(f.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return f;
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

} // namespace

void Win32FormWindow::PreviewCanvas::polygon(std::span<const POINT> points, Rgb pen)
{
    if (items_.empty() || items_.back().shape.empty())
        items_.emplace_back();
    const ::POINT* first = platformPoints(points.data());
    items_.back().shape.push_back({{first, first + points.size()}, pen});
}

void Win32FormWindow::PreviewCanvas::line(POINT from, POINT to, Rgb pen)
{
    items_.push_back({{}, {from.x, from.y}, {to.x, to.y}, pen});
}

void Win32FormWindow::PreviewCanvas::render(bool fit)
{
    HDC dc = nativeDC(*owner_.dc_);
    const int width = owner_.previewWidth_, height = owner_.previewHeight_;
    RECT all{0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));

    double scale = 1, dx = 0, dy = 0;
    if (fit) {
        double left = std::numeric_limits<double>::max(), top = left, right = -left, bottom = -left;
        const auto take = [&](const ::POINT& p) {
            left = std::min(left, double(p.x));
            right = std::max(right, double(p.x));
            top = std::min(top, double(p.y));
            bottom = std::max(bottom, double(p.y));
        };
        for (const Item& item : items_) {
            if (item.shape.empty()) {
                take(item.from);
                take(item.to);
            }
            for (const Outline& outline : item.shape)
                std::for_each(outline.points.begin(), outline.points.end(), take);
        }
        if (right > left && bottom > top) {
            scale = std::min((width - 2 * kFitMargin) / (right - left),
                             (height - 2 * kFitMargin) / (bottom - top));
            dx = width / 2.0 - (left + right) / 2 * scale;
            dy = height / 2.0 - (top + bottom) / 2 * scale;
        }
    }
    const auto place = [&](const ::POINT& p) {
        return ::POINT{LONG(std::lround(p.x * scale + dx)), LONG(std::lround(p.y * scale + dy))};
    };

    // The device context's own pen, brush and modes serve the next capture:
    // they are put back afterwards.
    const int saved = SaveDC(dc);
    SetPolyFillMode(dc, WINDING);
    HPEN pen = nullptr;
    Rgb penColour{};
    const auto usePen = [&](Rgb colour) {
        if (pen && colour == penColour)
            return;
        HPEN next = CreatePen(PS_SOLID, 1, RGB(colour.red, colour.green, colour.blue));
        SelectObject(dc, next);
        if (pen)
            DeleteObject(pen);
        pen = next;
        penColour = colour;
    };
    std::vector<::POINT> points;
    std::vector<INT> counts;
    for (const Item& item : items_) {
        if (item.shape.empty()) {
            usePen(item.pen);
            const ::POINT from = place(item.from), to = place(item.to);
            MoveToEx(dc, from.x, from.y, nullptr);
            LineTo(dc, to.x, to.y);
            continue;
        }
        points.clear();
        counts.clear();
        for (const Outline& outline : item.shape) {
            std::transform(outline.points.begin(), outline.points.end(), std::back_inserter(points), place);
            counts.push_back(INT(outline.points.size()));
        }
        SelectObject(dc, GetStockObject(NULL_PEN));
        if (pen)
            DeleteObject(pen);
        pen = nullptr;
        SelectObject(dc, GetStockObject(WHITE_BRUSH));
        PolyPolygon(dc, points.data(), counts.data(), int(counts.size()));
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        const ::POINT* first = points.data();
        for (std::size_t i = 0; i < item.shape.size(); ++i) {
            usePen(item.shape[i].pen);
            ::Polygon(dc, first, counts[i]);
            first += counts[i];
        }
    }
    RestoreDC(dc, saved);
    if (pen)
        DeleteObject(pen);
}

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
    window_ = CreateWindowExW(0, kWindowClass, wide(kWindowCaption).c_str(), style, CW_USEDEFAULT,
                              CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                              nullptr, instance, this);
    buildControls();
    live_ = true;
}

Win32FormWindow::~Win32FormWindow()
{
    dc_.reset();
    for (::HFONT f : fonts_)
        DeleteObject(f);
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
    if (english_)
        for (const Translation& t : kEnglish)
            if (std::strcmp(t.design, design) == 0)
                return t.english;
    return design;
}

int Win32FormWindow::pixels(int twips) const { return MulDiv(twips, dpi_, 1440); }

::HFONT Win32FormWindow::designFont(double points, const wchar_t* face)
{
    WindowFont font;
    font.size = float(points);
    LOGFONTW f = logFontOf(font, dpi_);
    if (face)
        wcsncpy(f.lfFaceName, face, LF_FACESIZE - 1);
    f.lfCharSet = SHIFTJIS_CHARSET;
    return CreateFontIndirectW(&f);
}

void Win32FormWindow::buildControls()
{
    fonts_[0] = designFont(9.75);
    fonts_[1] = designFont(9);
    const HMENU none = nullptr;
    auto place = [&](const wchar_t* kind, const char* caption, DWORD style, DWORD exStyle, int left, int top,
                     int width, int height, int id, ::HFONT font) {
        HWND control = CreateWindowExW(exStyle, kind, wide(this->caption(caption)).c_str(), WS_CHILD | style, pixels(left),
                                       pixels(top), pixels(width), pixels(height), window_,
                                       id ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : none,
                                       instance_, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return control;
    };
    const DWORD visible = WS_VISIBLE, tab = WS_TABSTOP;
    const DWORD button = visible | tab | BS_PUSHBUTTON;
    const DWORD edit = visible | tab | ES_AUTOHSCROLL;
    // Created in the design's tab order, which is the order Tab follows.
    // cmdDraw, Command2 and Command3 lie over the preview in the design and
    // are switched off there: they keep their places but are not shown, and
    // leave the tab order. Their work is in the preview's menu.
    Command3_ = place(WC_BUTTONW, "Draw", BS_PUSHBUTTON, 0, 4920, 4920, 1095, 375, idCommand3, fonts_[1]);
    cmdDraw_ = place(WC_BUTTONW, "Draw", BS_PUSHBUTTON, 0, 720, 4920, 1095, 375, idDraw, fonts_[1]);
    txtInput_ = place(WC_EDITW, design::kText, edit, WS_EX_CLIENTEDGE, 120, 120, 7215, 855, idInput, nullptr);
    setInputFont(WindowFont{});
    cmdFont_ = place(WC_BUTTONW, "フォント...", button, 0, 5880, 1200, 1215, 375, idFont, fonts_[1]);
    sldAngle_ = place(TRACKBAR_CLASSW, "", visible | tab | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, 0, 3960, 1560,
                      1695, 255, 0, nullptr);
    Command2_ = place(WC_BUTTONW, "Wit", BS_PUSHBUTTON, 0, 3480, 4920, 1095, 375, idCommand2, fonts_[1]);
    const auto p = design::kPreviewTwips;
    picSmpl_ = place(kPreviewClass, "", visible, WS_EX_CLIENTEDGE, p.left, p.top, p.width, p.height, 0, nullptr);
    cmdOK_ = place(WC_BUTTONW, "OK", button, 0, 1560, 6840, 1095, 375, idOK, fonts_[1]);
    txtAngle_ = place(WC_EDITW, "0", edit, WS_EX_CLIENTEDGE, 4560, 1200, 495, 285, idAngle, fonts_[0]);
    txtSize_ = place(WC_EDITW, "0", edit, WS_EX_CLIENTEDGE, 1560, 1200, 495, 285, idSize, fonts_[0]);
    sldSize_ = place(TRACKBAR_CLASSW, "", visible | tab | TBS_HORZ | TBS_NOTICKS, 0, 960, 1560, 1695, 255, 0,
                     nullptr);
    Label1_ = place(WC_STATICW, "サイズ", visible, 0, 240, 1200, 735, 255, 0, fonts_[0]);
    Label2_ = place(WC_STATICW, "傾き", visible, 0, 3360, 1200, 735, 255, 0, fonts_[0]);
    cmdCancel_ = place(WC_BUTTONW, "キャンセル", button, 0, 4080, 6840, 1095, 375, idCancel, fonts_[1]);

    SendMessageW(sldSize_, TBM_SETRANGE, FALSE, MAKELPARAM(1, 144));
    SendMessageW(sldSize_, TBM_SETLINESIZE, 0, 2);
    SendMessageW(sldSize_, TBM_SETPAGESIZE, 0, 10);
    SendMessageW(sldSize_, TBM_SETPOS, TRUE, 1);
    SendMessageW(sldAngle_, TBM_SETRANGE, FALSE, MAKELPARAM(0, 360));
    SendMessageW(sldAngle_, TBM_SETLINESIZE, 0, 10);
    SendMessageW(sldAngle_, TBM_SETPAGESIZE, 0, 45);
    SendMessageW(sldAngle_, TBM_SETTICFREQ, 45, 0);
    SendMessageW(sldAngle_, TBM_SETPOS, TRUE, 0);
    SetWindowSubclass(sldSize_, stripPress, 0, 0);
    SetWindowSubclass(sldAngle_, stripPress, 0, 0);
    inputBrush_ = CreateSolidBrush(RGB(0xFF, 0xFF, 0x80));

    RECT area{};
    GetClientRect(picSmpl_, &area);
    previewWidth_ = area.right;
    previewHeight_ = area.bottom;
    dc_ = std::make_unique<DeviceContext>(canvas_);
    resizeSurface(*dc_, previewWidth_, previewHeight_);
    canvas_.render(fit_);
}

void Win32FormWindow::load(const std::vector<std::string>& words)
{
    form_.load(words);
    buildPreviewMenu();
}

void Win32FormWindow::buildPreviewMenu()
{
    // Keys work anywhere in the window; the menu shows them.
    previewMenu_ = CreatePopupMenu();
    std::vector<ACCEL> keys;
    const auto add = [&](int id, const char* text, const wchar_t* keyName, WORD key) {
        const std::wstring item = wide(caption(text)) + L"\t" + keyName;
        AppendMenuW(previewMenu_, MF_STRING, UINT_PTR(id), item.c_str());
        keys.push_back(ACCEL{FVIRTKEY, key, WORD(id)});
    };
    for (PreviewCommand command : form_.previewCommands()) {
        switch (command) {
        case PreviewCommand::Redraw: add(idRedraw, "再描画", L"F5", VK_F5); break;
        case PreviewCommand::InspectOutline: add(idInspect, "アウトラインの確認", L"F6", VK_F6); break;
        case PreviewCommand::WitExport: add(idWit, "WIT出力", L"F7", VK_F7); break;
        }
    }
    AppendMenuW(previewMenu_, MF_SEPARATOR, 0, nullptr);
    add(idFit, "全体を表示", L"F8", VK_F8);
    keys_ = CreateAcceleratorTableW(keys.data(), int(keys.size()));
}

void Win32FormWindow::showPreviewMenu(int x, int y)
{
    if (!previewMenu_)
        return;
    if (x == -1 && y == -1) { // from the keyboard: at the preview's corner
        ::POINT corner{0, 0};
        ClientToScreen(picSmpl_, &corner);
        x = corner.x;
        y = corner.y;
    }
    CheckMenuItem(previewMenu_, idFit, MF_BYCOMMAND | (fit_ ? MF_CHECKED : MF_UNCHECKED));
    const int chosen = int(TrackPopupMenu(previewMenu_, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, window_, nullptr));
    if (chosen)
        runMenuCommand(chosen);
}

void Win32FormWindow::runMenuCommand(int id)
{
    switch (id) {
    case idRedraw: form_.run(PreviewCommand::Redraw); break;
    case idInspect: form_.run(PreviewCommand::InspectOutline); break;
    case idWit: form_.run(PreviewCommand::WitExport); break;
    case idFit:
        // The view only: captures and exports never change with it.
        fit_ = !fit_;
        refresh();
        break;
    default: break;
    }
}

int Win32FormWindow::run(int show)
{
    ShowWindow(window_, show);
    UpdateWindow(window_);
    SetFocus(txtInput_);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (keys_ && TranslateAcceleratorW(window_, keys_, &message))
            continue;
        // Enter ends an edit of the size or angle box, as leaving it does.
        if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
            if (message.hwnd == txtSize_) {
                form_.run(&Form1::txtSize_EditEnded);
                continue;
            }
            if (message.hwnd == txtAngle_) {
                form_.run(&Form1::txtAngle_EditEnded);
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

LRESULT Win32FormWindow::handle(UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_COMMAND: {
        if (!live_)
            break;
        const int id = LOWORD(w), code = HIWORD(w);
        if (l == 0 && id >= idRedraw) { // the preview's menu or its keys
            runMenuCommand(id);
            return 0;
        }
        if (code == EN_CHANGE) {
            if (id == idInput)
                form_.run(&Form1::txtInput_Change);
            else if (id == idSize)
                form_.run(&Form1::txtSize_Change);
            else if (id == idAngle)
                form_.run(&Form1::txtAngle_Change);
        } else if (code == EN_SETFOCUS && id == idInput) {
            form_.run(&Form1::txtInput_GotFocus);
        } else if (code == EN_KILLFOCUS && id == idSize) {
            form_.run(&Form1::txtSize_EditEnded);
        } else if (code == EN_KILLFOCUS && id == idAngle) {
            form_.run(&Form1::txtAngle_EditEnded);
        } else if (code == BN_CLICKED) {
            switch (id) {
            case idFont: form_.run(&Form1::cmdFont_Click); break;
            case idDraw: form_.run(&Form1::cmdDraw_Click); break;
            case idCommand2: form_.run(&Form1::Command2_Click); break;
            case idCommand3: form_.run(&Form1::Command3_Click); break;
            case idOK: form_.run(&Form1::cmdOK_Click); break;
            case idCancel:
            case IDCANCEL: form_.run(&Form1::cmdCancel_Click); break;
            default: break;
            }
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
        const HWND from = reinterpret_cast<HWND>(l);
        if (from == sldAngle_)
            form_.run(&Form1::sldAngle_Click);
        else if (from == sldSize_)
            form_.run(&Form1::sldSize_Click);
        return 0;
    }
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(l) == txtInput_) {
            HDC dc = reinterpret_cast<HDC>(w);
            SetBkColor(dc, RGB(0xFF, 0xFF, 0x80));
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

HWND Win32FormWindow::box(TextBox which) const
{
    switch (which) {
    case TextBox::txtInput: return txtInput_;
    case TextBox::txtSize: return txtSize_;
    case TextBox::txtAngle: return txtAngle_;
    }
    return nullptr;
}

HWND Win32FormWindow::slider(Slider which) const { return which == Slider::sldSize ? sldSize_ : sldAngle_; }

std::string Win32FormWindow::text(TextBox which) const { return fromWide(windowText(box(which))); }

void Win32FormWindow::setText(TextBox which, std::string_view text)
{
    // The EDIT control sends EN_CHANGE from inside SetWindowText; the logic
    // runs the change handler itself, so that one is not passed on.
    const std::wstring value = wide(text);
    if (windowText(box(which)) == value)
        return;
    const bool wasLive = live_;
    live_ = false;
    SetWindowTextW(box(which), value.c_str());
    live_ = wasLive;
}

void Win32FormWindow::selectAll(TextBox which) { SendMessageW(box(which), EM_SETSEL, 0, -1); }

void Win32FormWindow::setInputFont(const WindowFont& font)
{
    LOGFONTW f = logFontOf(font, dpi_);
    ::HFONT created = CreateFontIndirectW(&f);
    SendMessageW(txtInput_, WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
    if (inputFont_)
        DeleteObject(inputFont_);
    inputFont_ = created;
}

int Win32FormWindow::position(Slider which) const
{
    return int(SendMessageW(slider(which), TBM_GETPOS, 0, 0));
}

void Win32FormWindow::setPosition(Slider which, int position)
{
    // TBM_SETPOS notifies no one: no handler runs.
    SendMessageW(slider(which), TBM_SETPOS, TRUE, position);
}

int Win32FormWindow::minimum(Slider which) const
{
    return int(SendMessageW(slider(which), TBM_GETRANGEMIN, 0, 0));
}

int Win32FormWindow::maximum(Slider which) const
{
    return int(SendMessageW(slider(which), TBM_GETRANGEMAX, 0, 0));
}

float Win32FormWindow::previewScaleWidth() const { return float(previewWidth_); }
float Win32FormWindow::previewScaleHeight() const { return float(previewHeight_); }

void Win32FormWindow::refresh()
{
    canvas_.render(fit_);
    InvalidateRect(picSmpl_, nullptr, FALSE);
    UpdateWindow(picSmpl_);
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
    // Screen fonts only: the printer's list needs a printer's device
    // context, which the form does not have. The whole preset goes in, so
    // OK without a change changes nothing.
    LOGFONTW f = logFontOf(preset, dpi_);
    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
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

std::optional<SaveChoice> Win32FormWindow::chooseSaveFile(const SaveChoice& preset)
{
    std::wstring filter;
    DWORD index = 1;
    for (std::size_t i = 0; i < std::size(kSaveKinds); ++i) {
        const SaveKind& k = kSaveKinds[i];
        filter += k.label;
        filter.push_back(L'\0');
        filter += k.pattern;
        filter.push_back(L'\0');
        if (k.format == preset.format && k.precision == preset.precision)
            index = DWORD(i + 1);
    }
    filter.push_back(L'\0');
    std::wstring path = wide(preset.path);
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    std::wstring folder, name = path;
    if (const std::size_t slash = path.find_last_of(L'\\'); slash != std::wstring::npos) {
        folder = path.substr(0, slash);
        name = path.substr(slash + 1);
    } else {
        // No folder remembered: the one the program was started in, not
        // whatever the dialog itself remembers from other programs.
        folder.resize(32768);
        folder.resize(GetCurrentDirectoryW(DWORD(folder.size()), folder.data()));
    }
    std::wstring file(32768, L'\0');
    std::copy(name.begin(), name.begin() + std::min<std::size_t>(name.size(), file.size() - 1), file.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = index;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = DWORD(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrDefExt = kSaveKinds[index - 1].extension;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog))
        return std::nullopt;
    const SaveKind& chosen = kSaveKinds[std::clamp<DWORD>(dialog.nFilterIndex, 1, DWORD(std::size(kSaveKinds))) - 1];
    return SaveChoice{chosen.format, chosen.precision, fromWide(file.c_str())};
}

// Remembered for the current user in the registry, as Windows programs keep
// their settings; the JW and WIT modes never read them.
std::optional<SaveSettings> Win32FormWindow::loadSaveSettings()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    // Its size asked first, so a value of any length is read whole; one
    // that is not text, or changes between the two calls, reads as none.
    auto read = [&](const wchar_t* name) {
        DWORD size = 0, type = 0;
        if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
            return std::wstring();
        std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
        if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
                ERROR_SUCCESS ||
            type != REG_SZ)
            return std::wstring();
        // The stored text need not end in a NUL; the first one ends it.
        value.resize(std::wcslen(value.c_str()));
        return value;
    };
    SaveSettings loaded;
    const std::wstring kind = read(L"kind");
    for (const SaveKind& k : kSaveKinds)
        if (kind == k.label) {
            loaded.format = k.format;
            loaded.precision = k.precision;
        }
    loaded.folder = fromWide(read(L"folder"));
    RegCloseKey(key);
    return loaded;
}

void Win32FormWindow::storeSaveSettings(const SaveSettings& settings)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    auto write = [&](const wchar_t* name, const std::wstring& value) {
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       DWORD((value.size() + 1) * sizeof(wchar_t)));
    };
    for (const SaveKind& k : kSaveKinds)
        if (k.format == settings.format && k.precision == settings.precision)
            write(L"kind", k.label);
    write(L"folder", wide(settings.folder));
    RegCloseKey(key);
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
