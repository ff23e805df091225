#include "platform/standard_error.hpp"

#include "platform/win32/windows_text.hpp"

#include <string>

#include <windows.h>

namespace lw {
namespace {

bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

void writeConsole(HANDLE console, std::string_view utf8)
{
    const std::wstring text = widePath(utf8);
    DWORD written = 0;
    WriteConsoleW(console, text.data(), DWORD(text.size()), &written, nullptr);
}

} // namespace

void writeStandardError(std::string_view utf8)
{
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    if (isConsole(handle)) {
        writeConsole(handle, utf8);
        return;
    }
    if (!handle || handle == INVALID_HANDLE_VALUE)
        return;
    // The same line ends a C runtime stream would write.
    std::string text;
    for (const char c : utf8) {
        if (c == '\n')
            text.push_back('\r');
        text.push_back(c);
    }
    DWORD written = 0;
    WriteFile(handle, text.data(), DWORD(text.size()), &written, nullptr);
}

} // namespace lw
