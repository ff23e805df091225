#include "platform/win32/command_line_words.hpp"

#include <windows.h>

namespace lw {
namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring programPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

std::vector<std::wstring> commandLineWords(std::wstring_view line)
{
    if (line.empty())
        return {programPath()};

    std::vector<std::wstring> words;
    std::size_t i = 0;
    const std::size_t n = line.size();
    // The program name: quotes are taken as they come, with no escapes, as a
    // path cannot hold a quote.
    if (line[0] == L'"') {
        const std::size_t close = line.find(L'"', 1);
        const std::size_t end = close == std::wstring_view::npos ? n : close;
        words.emplace_back(line.substr(1, end - 1));
        i = end == n ? n : end + 1;
    } else {
        while (i < n && !isBlank(line[i]))
            ++i;
        words.emplace_back(line.substr(0, i));
    }
    while (i < n && isBlank(line[i]))
        ++i;
    if (i == n)
        return words;

    words.emplace_back();
    // 0 outside a quoted part, 1 inside; within a run of quotes it counts on,
    // and every third quote of a run is a literal one.
    int quotes = 0;
    std::size_t backslashes = 0;
    while (i < n) {
        const wchar_t c = line[i];
        std::wstring& word = words.back();
        if (isBlank(c) && quotes == 0) {
            while (i < n && isBlank(line[i]))
                ++i;
            if (i < n)
                words.emplace_back();
            backslashes = 0;
        } else if (c == L'\\') {
            word.push_back(c);
            ++backslashes;
            ++i;
        } else if (c == L'"') {
            // Half the backslashes stay; an odd one out escapes the quote.
            word.resize(word.size() - (backslashes + 1) / 2);
            if (backslashes % 2 == 0)
                ++quotes;
            else
                word.push_back(L'"');
            backslashes = 0;
            for (++i; i < n && line[i] == L'"'; ++i) {
                if (++quotes == 3) {
                    word.push_back(L'"');
                    quotes = 0;
                }
            }
            if (quotes == 2)
                quotes = 0;
        } else {
            word.push_back(c);
            backslashes = 0;
            ++i;
        }
    }
    return words;
}

} // namespace lw
