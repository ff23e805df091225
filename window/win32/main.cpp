// Letterwire.exe: the form as a native Windows window.

#include "form/window_start.hpp"
#include "platform/process.hpp"
#include "platform/standard_error.hpp"
#include "window/win32/form_window.hpp"

#include <commctrl.h>
#include <letterwire_version.hpp>

#include <string>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    // The manifest asks for common controls 6 and declares the dpi
    // awareness; the classes still have to be registered.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    // The host's command line as Windows splits it: a double-quoted stretch
    // is one word, quotes removed; the program's own name first.
    const std::vector<std::string> words = lw::commandLineArguments(0, nullptr);
    // Answered before any window, on standard output when there is one (a
    // script's redirection); no mode word starts with "--".
    if (words.size() == 1 && words[0] == "--version") {
        const std::string line = "Letterwire " + std::string(lw::kVersion) + "\n";
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), DWORD(line.size()), &written, nullptr);
        return 0;
    }

    if (lw::wantsUsage(words)) {
        const std::string usage = lw::windowUsage();
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), usage.data(), DWORD(usage.size()), &written, nullptr);
        return 0;
    }
    // A window program has a standard error only when the caller gave it one.
    if (const auto note = lw::startNote(words))
        lw::writeStandardError(*note);

    lw::Win32FormWindow window(instance);
    window.load(words);
    return window.run(show);
}
