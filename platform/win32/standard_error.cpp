#include "platform/standard_error.hpp"

#include "platform/win32/windows_text.hpp"

#include <iostream>
#include <streambuf>
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

// Holds what std::cerr writes up to a whole line (or a flush) and hands it
// to the console as characters; a UTF-8 sequence is never cut in two.
class ConsoleBuffer final : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        held_.push_back(traits_type::to_char_type(c));
        if (c == '\n')
            flushWhole();
        return c;
    }
    std::streamsize xsputn(const char* bytes, std::streamsize count) override
    {
        held_.append(bytes, std::size_t(count));
        if (held_.find('\n') != std::string::npos)
            flushWhole();
        return count;
    }
    int sync() override
    {
        flushWhole();
        return 0;
    }

private:
    void flushWhole()
    {
        // Up to the last complete character: a lead byte waits for the rest.
        std::size_t end = held_.size();
        std::size_t back = 0;
        while (back < 3 && back < end && (static_cast<unsigned char>(held_[end - 1 - back]) & 0xC0) == 0x80)
            ++back;
        if (back < end) {
            const unsigned char lead = static_cast<unsigned char>(held_[end - 1 - back]);
            const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            if (length > back + 1)
                end -= back + 1;
        }
        writeConsole(console_, std::string_view(held_).substr(0, end));
        held_.erase(0, end);
    }

    HANDLE console_;
    std::string held_;
};

} // namespace

void consoleStandardError()
{
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    // A file or a pipe keeps the C runtime's stream: UTF-8, CR LF.
    if (!isConsole(handle))
        return;
    static ConsoleBuffer buffer(handle);
    std::cerr.rdbuf(&buffer);
}

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
