#include "platform/win32/command_line_words.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include <shellapi.h>

using lw::commandLineWords;

namespace {

std::vector<std::wstring> systemWords(const std::wstring& line)
{
    int count = 0;
    wchar_t** words = CommandLineToArgvW(line.c_str(), &count);
    std::vector<std::wstring> out;
    if (words)
        out.assign(words, words + count);
    LocalFree(words);
    return out;
}

std::string narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? char(c) : '?';
    return out;
}

} // namespace

TEST(CommandLineWords, SplitsAsTheSystemDoes)
{
    const std::wstring lines[] = {
        L"",
        L"tool",
        L"   ",
        L"tool a b",
        L"tool\ta\t\t b  ",
        L"tool a ",
        // The program name: quotes with no escapes.
        L"\"C:\\Program Files\\tool.exe\" a",
        L"\"C:\\dir\\\" a",
        L"\"unclosed name",
        L"\"a b\"c d",
        L"na\"me x\" y",
        L"C:\\dir\\tool.exe \\\\server\\share\\",
        L"\"\" a",
        // Empty words and doubled quotes.
        L"t \"\"",
        L"t \"\" \"\" x",
        L"t a\"\"b",
        L"t \"a\"\"b\" c",
        L"t \"a\"\"\"b\" c",
        L"t \"\"\"",
        L"t \"\"\"\"",
        L"t \"\"\"\"\"\"",
        L"t \"a \"\"\" b\"",
        L"t \"open",
        L"t \"open \"\"",
        L"t a\"b c\"d e",
        // Backslashes before and away from quotes.
        L"t \\\"a",
        L"t \\\\\"a b\"",
        L"t \\\\\\\"a",
        L"t \\\\\\\\\"\"",
        L"t a\\\\b\\",
        L"t \"a\\\\\" b",
        L"t \"trail\\\"",
        L"t \"x\\\\\\\"y\" z",
        L"t \\\"\"",
        L"t \"\\\"\"\"x",
        L"t \\\\",
        // Blanks inside quotes, other text.
        L"t \"a\tb\" c",
        L"t \"  \"",
        L"t 日本語 \"縦 書き\" 半角ｶﾅ",
        L"t \"日本\"\"語\"",
    };
    for (const std::wstring& line : lines)
        EXPECT_EQ(commandLineWords(line), systemWords(line)) << "line: " << narrow(line);
}

// The contract itself, so a change of the reference shows here too.
TEST(CommandLineWords, KeepsTheDocumentedRules)
{
    struct Case {
        std::wstring line;
        std::vector<std::wstring> words;
    };
    const Case cases[] = {
        {L"\"C:\\a b\\\" x", {L"C:\\a b\\", L"x"}},
        {L"t a\\\\\"b c\"", {L"t", L"a\\b c"}},
        {L"t a\\\\\\\"b c", {L"t", L"a\\\"b", L"c"}},
        {L"t a\\b\\\\", {L"t", L"a\\b\\\\"}},
        {L"t \"\" x ", {L"t", L"", L"x"}},
        {L"t \"a\"\"b c\" d", {L"t", L"a\"b", L"c d"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(commandLineWords(c.line), c.words) << "line: " << narrow(c.line);
}

TEST(CommandLineWords, EmptyLineIsTheProgramPath)
{
    wchar_t path[MAX_PATH * 2];
    const DWORD n = GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    ASSERT_GT(n, 0u);
    EXPECT_EQ(commandLineWords(L""), std::vector<std::wstring>{std::wstring(path, n)});
}

// This process's own line, as the programs read it.
TEST(CommandLineWords, ThisProcess)
{
    EXPECT_EQ(commandLineWords(GetCommandLineW()), systemWords(GetCommandLineW()));
}
