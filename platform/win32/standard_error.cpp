#include "platform/standard_error.hpp"

#include "platform/win32/windows_text.hpp"

#include <algorithm>
#include <string>

#include <windows.h>

namespace lw {
namespace {

bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

// All of it or false: a console or a pipe may take a long text in parts.
bool writeConsole(HANDLE console, std::string_view utf8)
{
    const std::wstring text = widePath(utf8);
    if (text.empty() && !utf8.empty())
        return false;
    for (std::size_t at = 0; at < text.size();) {
        DWORD written = 0;
        if (!WriteConsoleW(console, text.data() + at, DWORD(text.size() - at), &written, nullptr) || written == 0)
            return false;
        at += written;
    }
    return true;
}

bool writeBytes(HANDLE handle, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data(), DWORD(std::min<std::size_t>(bytes.size(), 1u << 30)), &written, nullptr) ||
            written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

} // namespace

void writeStandardError(std::string_view utf8)
{
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    if (!handle || handle == INVALID_HANDLE_VALUE)
        return;
    // A console that refuses the characters (a text it cannot convert, a
    // console gone away) still takes the bytes: a failure is never silent
    // while standard error can hold anything.
    if (isConsole(handle) && writeConsole(handle, utf8))
        return;
    // The same line ends a C runtime stream would write.
    std::string text;
    for (const char c : utf8) {
        if (c == '\n')
            text.push_back('\r');
        text.push_back(c);
    }
    writeBytes(handle, text);
}

} // namespace lw
