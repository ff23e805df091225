#include "windows_command_line.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

using launcher::batchCommandLine;
using launcher::programCommandLine;
using launcher::quoteArgument;

namespace {

struct Quoted {
    std::wstring arg;
    std::wstring quoted;
};

// Arguments that need no quotes, and every way a backslash meets a quote.
const Quoted kProgramCases[] = {
    {L"plain", L"plain"},
    {L"", L"\"\""},
    {L"a b", L"\"a b\""},
    {L"tab\there", L"\"tab\there\""},
    {L"line\nbreak", L"\"line\nbreak\""},
    {L"back\\slash", L"back\\slash"},
    {L"trail\\", L"trail\\"},
    {L"trail blank\\", L"\"trail blank\\\\\""},
    {L"two\\\\ trail\\\\", L"\"two\\\\ trail\\\\\\\\\""},
    {L"q\"q", L"\"q\\\"q\""},
    {L"bs\\\"q", L"\"bs\\\\\\\"q\""},
    {L"\"", L"\"\\\"\""},
    {L"*?&|<>^%", L"*?&|<>^%"},
    {L"日本語", L"日本語"},
};

} // namespace

TEST(WindowsCommandLine, QuotesOnlyWhatTheSplitWouldChange)
{
    for (const Quoted& c : kProgramCases)
        EXPECT_EQ(quoteArgument(c.arg), c.quoted) << std::string(c.arg.begin(), c.arg.end());
    EXPECT_EQ(programCommandLine({L"my tool", L"a", L"", L"b c"}), L"\"my tool\" a \"\" \"b c\"");
}

#ifdef _WIN32
// The system's own split gives every argument back.
TEST(WindowsCommandLine, SystemSplitGivesTheArgumentsBack)
{
    std::vector<std::wstring> words{L"tool"};
    for (const Quoted& c : kProgramCases)
        words.push_back(c.arg);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(programCommandLine(words).c_str(), &argc);
    ASSERT_NE(argv, nullptr);
    EXPECT_EQ(std::vector<std::wstring>(argv, argv + argc), words);
    LocalFree(argv);
}
#endif

TEST(WindowsCommandLine, BatchArgumentsAreQuotedForCmd)
{
    struct Case {
        std::vector<std::wstring> args;
        std::wstring tail; // after the script
    };
    const Case cases[] = {
        {{}, L""},
        {{L"plain", L"C:\\dir\\file.txt", L"-x"}, L" plain C:\\dir\\file.txt -x"},
        {{L""}, L" \"\""},
        {{L"a b"}, L" \"a b\""},
        // cmd's own operators and argument separators stay inside quotes.
        {{L"x&y", L"a|b", L"(c)", L"<d>", L"e^f", L"g,h", L"i;j", L"k=l", L"m!n"},
         L" \"x&y\" \"a|b\" \"(c)\" \"<d>\" \"e^f\" \"g,h\" \"i;j\" \"k=l\" \"m!n\""},
        {{L"q\"q"}, L" \"q\"\"q\""},
        // %~1 takes the quotes off and nothing else: backslashes stay single.
        {{L"dir\\"}, L" dir\\"},
        {{L"my dir\\", L"\\\"x"}, L" \"my dir\\\" \"\\\"\"x\""},
        {{L"日本語"}, L" 日本語"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(batchCommandLine(L".\\tool.bat", c.args),
                  L"/e:on /v:off /d /s /c \"\".\\tool.bat\"" + c.tail + L"\"");
    }
    EXPECT_EQ(batchCommandLine(L"50%\\t.bat", {}), L"/e:on /v:off /d /s /c \"\"50%%cd:~,%\\t.bat\"\"");
    // cmd ends a command at a line break; such an argument cannot be passed.
    EXPECT_EQ(batchCommandLine(L"t.bat", {L"ok", L"a\nb"}), std::nullopt);
    EXPECT_EQ(batchCommandLine(L"t.bat", {L"a\rb"}), std::nullopt);
    EXPECT_EQ(batchCommandLine(L"t.bat", {std::wstring(L"a\0b", 3)}), std::nullopt);
    // cmd expands %NAME% whatever the quoting; refused rather than changed.
    EXPECT_EQ(batchCommandLine(L"t.bat", {L"50%"}), std::nullopt);
    EXPECT_EQ(batchCommandLine(L"t.bat", {L"%PATH%"}), std::nullopt);
}

TEST(WindowsCommandLine, BatchFilesByExtension)
{
    EXPECT_TRUE(launcher::isBatchFile(L".\\tool.bat"));
    EXPECT_TRUE(launcher::isBatchFile(L"sub\\TOOL.CMD"));
    EXPECT_TRUE(launcher::isBatchFile(L".Bat"));
    EXPECT_FALSE(launcher::isBatchFile(L".\\tool.exe"));
    EXPECT_FALSE(launcher::isBatchFile(L".\\tool.bat.exe"));
    EXPECT_FALSE(launcher::isBatchFile(L"bat"));
    EXPECT_FALSE(launcher::isBatchFile(L".\\tool"));
}
