// Walks the pages of an installer or uninstaller that is already showing,
// as a user who takes every default would, and names each text that its
// control cuts off. A text is measured with GDI against the control's client
// area, in the font the dialog manager made for it: the font of the
// program's own dialog template whose size in pixels is the wizard's (a
// font is the process's own, so the control's cannot be borrowed).
//
//   installer_text_fit.exe PROGRAM.exe
//
// Finds the visible dialog that holds a page (an NSIS wizard: a child
// dialog at control 1018), and on each page measures every visible text,
// passes the pointer over each component to bring up its description,
// clears every check box (so the finish page starts nothing) and presses
// the default button. Ends when the wizard has closed: status 0 when every
// text fitted, 1 when one did not or the wizard stopped answering.
#include "dialog_template.hpp"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace lw_test;

constexpr DWORD kPatienceMs = 120000;
constexpr int kPageHolder = 1018;
constexpr int kNextButton = 1;

std::string utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

void say(const std::string& line)
{
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), DWORD(text.size()), &written, nullptr);
}

std::wstring textOf(HWND window)
{
    std::wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

std::wstring classOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

bool isClass(HWND window, const wchar_t* name) { return lstrcmpiW(classOf(window).c_str(), name) == 0; }

template <class Check> bool waitFor(Check check, DWORD ms = kPatienceMs)
{
    const DWORD start = GetTickCount();
    while (!check()) {
        if (GetTickCount() - start > ms)
            return false;
        Sleep(100);
    }
    return true;
}

// The wizard: a visible top-level dialog with a page holder.
HWND findWizard()
{
    struct Search {
        HWND found = nullptr;
    } search;
    EnumWindows(
        [](HWND window, LPARAM l) -> BOOL {
            auto* s = reinterpret_cast<Search*>(l);
            if (IsWindowVisible(window) && isClass(window, L"#32770") && GetDlgItem(window, kPageHolder)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        LPARAM(&search));
    return search.found;
}

// The page now shown: the wizard's visible child dialog.
HWND currentPage(HWND wizard)
{
    for (HWND child = GetWindow(wizard, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && isClass(child, L"#32770"))
            return child;
    return nullptr;
}

std::vector<HWND> visibleDescendants(HWND parent)
{
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM l) -> BOOL {
            if (IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(l)->push_back(window);
            return TRUE;
        },
        LPARAM(&found));
    return found;
}

// Everything shown, as one string: two equal looks mean the page has
// settled.
std::wstring pageLook(HWND wizard)
{
    std::wstring look;
    for (HWND w : visibleDescendants(wizard))
        look += classOf(w) + L":" + textOf(w) + L"\n";
    return look;
}

// The fonts a page's controls are drawn in: the dialog's, and the bold ones
// the modern interface makes for its header's title and its finish page's.
struct Fonts {
    HFONT dialog = nullptr, title = nullptr, finishTitle = nullptr;
};

HFONT fontFor(HWND control, const Fonts& fonts)
{
    if (isClass(control, L"Static") && GetDlgCtrlID(control) == 1037)
        return fonts.title;
    if (isClass(control, L"Static") && GetDlgCtrlID(control) == 1201)
        return fonts.finishTitle;
    return fonts.dialog;
}

// The extent of `text` in `font`: one line, or broken at words within
// `width` when `wrap`.
SIZE measure(HWND control, HFONT font, const std::wstring& text, int width, bool wrap, bool prefix)
{
    HDC dc = GetDC(control);
    HGDIOBJ before = SelectObject(dc, font);
    RECT r{0, 0, width, 0};
    UINT flags = DT_CALCRECT | DT_EXPANDTABS | (prefix ? 0 : DT_NOPREFIX);
    flags |= wrap ? DT_WORDBREAK : DT_SINGLELINE;
    DrawTextW(dc, text.c_str(), int(text.size()), &r, flags);
    SelectObject(dc, before);
    ReleaseDC(control, dc);
    return {r.right - r.left, r.bottom - r.top};
}

struct Findings {
    Fonts fonts;
    std::set<std::string> seen;
    int cut = 0;

    void check(HWND control, const std::wstring& text, SIZE need, SIZE room)
    {
        const std::string line = utf8(classOf(control)) + " " + std::to_string(GetDlgCtrlID(control)) + " \"" +
                                 utf8(text) + "\": needs " + std::to_string(need.cx) + "x" + std::to_string(need.cy) +
                                 " px, has " + std::to_string(room.cx) + "x" + std::to_string(room.cy);
        if (!seen.insert(line).second)
            return;
        const bool fits = need.cx <= room.cx && need.cy <= room.cy;
        say((fits ? "fits: " : "CUT OFF: ") + line);
        cut += fits ? 0 : 1;
    }
};

void checkStatic(HWND control, Findings& findings)
{
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const LONG kind = style & SS_TYPEMASK;
    if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT && kind != SS_LEFTNOWORDWRAP && kind != SS_SIMPLE)
        return;
    const std::wstring text = textOf(control);
    if (text.empty())
        return;
    RECT room{};
    GetClientRect(control, &room);
    const bool wrap = kind != SS_LEFTNOWORDWRAP && kind != SS_SIMPLE;
    findings.check(control, text,
                   measure(control, fontFor(control, findings.fonts), text, room.right, wrap, !(style & SS_NOPREFIX)),
                   {room.right, room.bottom});
}

void checkButton(HWND control, Findings& findings)
{
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const LONG kind = style & BS_TYPEMASK;
    const std::wstring text = textOf(control);
    if (text.empty() || kind == BS_OWNERDRAW)
        return;
    RECT room{};
    GetClientRect(control, &room);
    int width = room.right;
    const bool check = kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
                       kind == BS_AUTORADIOBUTTON || kind == BS_3STATE || kind == BS_AUTO3STATE;
    if (check) {
        // The box and the gap after it, as the button draws them: the
        // box is as tall as the font's line.
        const SIZE line = measure(control, findings.fonts.dialog, L"X", 1000, false, false);
        width -= line.cy + line.cy / 2;
    } else if (kind == BS_GROUPBOX) {
        width -= 2 * GetSystemMetrics(SM_CXEDGE) * 4;
    } else {
        // A push button's face inside its 3-D edges and focus frame.
        width -= 4 * GetSystemMetrics(SM_CXEDGE);
    }
    const bool wrap = (style & BS_MULTILINE) != 0;
    const SIZE need = measure(control, findings.fonts.dialog, text, width, wrap, true);
    findings.check(control, text, need, {width, wrap ? room.bottom : need.cy});
}

// Memory in the tree's own process: a tree's messages carry pointers,
// which no other process could read or fill.
class Remote {
public:
    Remote(HWND window, std::size_t size) : size_(size)
    {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
        if (process_)
            memory_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~Remote()
    {
        if (memory_)
            VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;
    bool ok() const { return memory_ != nullptr; }
    char* at(std::size_t offset) const { return static_cast<char*>(memory_) + offset; }
    bool put(std::size_t offset, const void* data, std::size_t n) const
    {
        return WriteProcessMemory(process_, at(offset), data, n, nullptr);
    }
    bool get(std::size_t offset, void* data, std::size_t n) const
    {
        return ReadProcessMemory(process_, at(offset), data, n, nullptr);
    }

private:
    std::size_t size_;
    HANDLE process_ = nullptr;
    void* memory_ = nullptr;
};

struct TreeItem {
    std::wstring text;
    RECT place{};
};

// The tree's shown items: each one's text and the place its text takes.
std::vector<TreeItem> treeItems(HWND tree)
{
    constexpr std::size_t kChars = 512, kText = 256;
    std::vector<TreeItem> items;
    Remote remote(tree, kText + kChars * sizeof(wchar_t));
    if (!remote.ok())
        return items;
    for (auto item = HTREEITEM(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
         item = HTREEITEM(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, LPARAM(item)))) {
        TVITEMW data{};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = reinterpret_cast<wchar_t*>(remote.at(kText));
        data.cchTextMax = int(kChars);
        wchar_t text[kChars] = {};
        RECT place{};
        *reinterpret_cast<HTREEITEM*>(&place) = item;
        if (!remote.put(0, &data, sizeof data) || !SendMessageW(tree, TVM_GETITEMW, 0, LPARAM(remote.at(0))) ||
            !remote.get(kText, text, sizeof text) || !remote.put(0, &place, sizeof place) ||
            !SendMessageW(tree, TVM_GETITEMRECT, TRUE, LPARAM(remote.at(0))) || !remote.get(0, &place, sizeof place))
            continue;
        text[kChars - 1] = L'\0';
        items.push_back({text, place});
    }
    return items;
}

void checkTree(HWND tree, Findings& findings)
{
    RECT room{};
    GetClientRect(tree, &room);
    const std::vector<TreeItem> items = treeItems(tree);
    if (items.empty()) {
        say("CUT OFF: a tree shows no item that can be read");
        ++findings.cut;
    }
    for (const TreeItem& item : items) {
        const SIZE need = measure(tree, findings.fonts.dialog, item.text, 1000, false, false);
        findings.check(tree, item.text, {item.place.left + need.cx, need.cy}, {room.right, need.cy});
    }
}

void checkAll(HWND wizard, Findings& findings)
{
    for (HWND w : visibleDescendants(wizard)) {
        if (isClass(w, L"Static"))
            checkStatic(w, findings);
        else if (isClass(w, L"Button"))
            checkButton(w, findings);
        else if (isClass(w, WC_TREEVIEWW))
            checkTree(w, findings);
    }
}

bool settle(HWND wizard)
{
    std::wstring last = L"\1";
    return waitFor([&] {
        const std::wstring now = pageLook(wizard);
        const bool same = now == last;
        last = now;
        return same;
    });
}

// Each component's description, brought up by the pointer over its item.
void showDescriptions(HWND wizard, HWND page, Findings& findings)
{
    for (HWND tree : visibleDescendants(page)) {
        if (!isClass(tree, WC_TREEVIEWW))
            continue;
        // The pointer comes in from outside the tree, as a hand would.
        RECT area{};
        GetWindowRect(tree, &area);
        SetCursorPos(area.left - 4, area.top - 4);
        for (const TreeItem& item : treeItems(tree)) {
            const std::wstring before = pageLook(wizard);
            // The wizard asks where the pointer is, so the pointer moves.
            POINT over{(item.place.left + item.place.right) / 2, (item.place.top + item.place.bottom) / 2};
            ClientToScreen(tree, &over);
            SetCursorPos(over.x, over.y);
            if (!waitFor([&] { return pageLook(wizard) != before; }, 10000)) {
                say("CUT OFF: no description came up for \"" + utf8(item.text) + "\"");
                ++findings.cut;
            }
            settle(wizard);
            checkAll(wizard, findings);
        }
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        say("usage: installer_text_fit PROGRAM.exe");
        return 2;
    }
    const std::vector<Template> templates = templatesOf(argv[1]);
    Findings findings;
    HWND wizard = nullptr;
    if (!waitFor([&] { return (wizard = findWizard()) != nullptr; })) {
        say("no installer window showed");
        return 1;
    }
    RECT client{};
    GetClientRect(wizard, &client);
    for (const Template& t : templates) {
        const SIZE size = pixelsOf(t);
        if (size.cx == client.right && size.cy == client.bottom) {
            findings.fonts = {fontOf(t, t.points, t.weight), fontOf(t, t.points, FW_BOLD), fontOf(t, 12, FW_BOLD)};
            say("font: " + utf8(t.face) + " " + std::to_string(t.points) + " pt");
            break;
        }
    }
    if (!findings.fonts.dialog) {
        say("no dialog template of " + utf8(argv[1]) + " (" + std::to_string(templates.size()) +
            " with a font) has the wizard's size, " + std::to_string(client.right) + "x" +
            std::to_string(client.bottom) + " px");
        return 1;
    }
    for (int pages = 0; pages < 20; ++pages) {
        HWND page = nullptr;
        if (!waitFor([&] { return !IsWindow(wizard) || (page = currentPage(wizard)) != nullptr; }) || !IsWindow(wizard))
            break;
        // A page is measured at rest: the files page lets go of its button
        // once its work is done, and its line of the moment (each file's
        // path as it goes) is no text of its own.
        const HWND next = GetDlgItem(wizard, kNextButton);
        if (!waitFor([&] { return !IsWindow(wizard) || (IsWindowEnabled(next) && IsWindowVisible(next)); })) {
            say("the default button stayed disabled");
            return 1;
        }
        if (!IsWindow(wizard))
            break;
        settle(wizard);
        say("-- page \"" + utf8(textOf(wizard)) + "\"");
        checkAll(wizard, findings);
        showDescriptions(wizard, page, findings);
        for (HWND w : visibleDescendants(page))
            if (isClass(w, L"Button") && SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                const LONG kind = GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK;
                if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX)
                    SendMessageW(w, BM_SETCHECK, BST_UNCHECKED, 0);
            }
        PostMessageW(wizard, WM_COMMAND, MAKEWPARAM(kNextButton, BN_CLICKED), LPARAM(next));
        if (!waitFor([&] { return !IsWindow(wizard) || !IsWindowVisible(wizard) || currentPage(wizard) != page; })) {
            say("the page did not change after its default button");
            return 1;
        }
        if (!IsWindow(wizard) || !IsWindowVisible(wizard))
            break;
    }
    if (IsWindow(wizard) && IsWindowVisible(wizard)) {
        say("the wizard did not end");
        return 1;
    }
    say(findings.cut ? std::to_string(findings.cut) + " texts cut off" : "every text fits");
    return findings.cut ? 1 : 0;
}
