// Letterwire.exe: the form as a native Windows window.

#include "base/windows_text.hpp"
#include "window/win32/form_window.hpp"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    // The manifest asks for common controls 6 and declares the dpi
    // awareness; the classes still have to be registered.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    // The host's command line as Windows splits it: a double-quoted stretch
    // is one word, quotes removed; the program's own name first.
    std::vector<std::string> words = lw::commandLineArguments();
    if (!words.empty())
        words.erase(words.begin());

    lw::Win32FormWindow window(instance);
    window.load(words);
    return window.run(show);
}
