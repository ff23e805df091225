#include "platform/win32/windows_text.hpp"

#include "base/codepage.hpp"

#include <windows.h>

namespace lw {

std::wstring widePath(std::string_view utf8)
{
    std::u16string u = utf8ToUtf16(utf8);
    return std::wstring(u.begin(), u.end());
}

std::string fromWide(std::wstring_view wide)
{
    return utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::string systemMessage(std::uint32_t error)
{
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                 | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n && text ? std::wstring(text, n) : L"error " + std::to_wstring(error);
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
        message.pop_back();
    return fromWide(message);
}

std::wstring quoteArgument(std::wstring_view argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos)
        return std::wstring(argument);
    // Backslashes double only before a quote (and before the closing one).
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, L'\\');
    out.push_back(L'"');
    return out;
}

} // namespace lw
