#include "program_lookup.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using launcher::findProgram;
using launcher::programCandidates;
using launcher::utf8CharLength;

namespace {

// Shift-JIS: 0x81-0x9F and 0xE0-0xFC lead a two-byte character whose trail
// byte may be 0x5C, the "\".
std::size_t shiftJisLength(std::string_view rest)
{
    auto lead = static_cast<unsigned char>(rest[0]);
    return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
}

std::vector<std::string> completed(const std::string& stem)
{
    return {stem + ".com", stem + ".exe", stem + ".bat", stem + ".cmd", stem};
}

} // namespace

TEST(ProgramCandidates, FollowTheSeparatorAndDotRules)
{
    struct Case {
        std::string name;
        std::vector<std::string> expected;
    };
    const std::string hyo = "\x95\x5C"; // Shift-JIS "表", trail byte "\"
    const Case cases[] = {
        {"tool", completed("./tool")},
        {"tool.exe", {"./tool.exe"}},
        {"tool.", {"./tool."}},
        {".hidden", {"./.hidden"}},
        {"sub/tool", completed("sub/tool")},
        {"sub\\tool", completed("sub/tool")},
        {".\\tool", completed("./tool")},
        {"/abs/tool", completed("/abs/tool")},
        {"old.tools/tool", completed("old.tools/tool")},
        {"old.tools\\tool.sh", {"old.tools/tool.sh"}},
        // The later of the last "\" and the last "/" separates.
        {"a\\b.c/d", completed("a/b.c/d")},
        {"a/b\\c.d", {"a/b/c.d"}},
        // A colon separates only without slashes, and only the first one.
        {"C:tool", completed("C:tool")},
        {"C:tool.exe", {"C:tool.exe"}},
        {"a:b:c", completed("a:b:c")},
        {"a:b.c/d", completed("a:b.c/d")},
        {"sub/", completed("sub/")},
        {"ツール", completed("./ツール")},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(programCandidates(c.name), c.expected) << c.name;

    const Case shiftJis[] = {
        {hyo, completed("./" + hyo)},
        {hyo + "tool", completed("./" + hyo + "tool")},
        {"sub\\" + hyo, completed("sub/" + hyo)},
        {hyo + "\\x.y", {hyo + "/x.y"}},
        {"tool\x95", completed("./tool\x95")}, // a lead byte cut off at the end
    };
    for (const Case& c : shiftJis)
        EXPECT_EQ(programCandidates(c.name, shiftJisLength), c.expected) << c.name;

    // Windows: both slashes become "\"; a drive prefix stays as typed.
    const Case windows[] = {
        {"tool", {".\\tool.com", ".\\tool.exe", ".\\tool.bat", ".\\tool.cmd", ".\\tool"}},
        {"sub/tool.exe", {"sub\\tool.exe"}},
        {"a/b\\c.d", {"a\\b\\c.d"}},
        {"C:tool.bat", {"C:tool.bat"}},
        {"C:/dir/x.y", {"C:\\dir\\x.y"}},
        {"\u8868\\tool.exe", {"\u8868\\tool.exe"}},
    };
    for (const Case& c : windows)
        EXPECT_EQ(programCandidates(c.name, utf8CharLength, '\\'), c.expected) << c.name;
}

TEST(Utf8CharLength, WholeSequencesOrSingleBytes)
{
    struct Case {
        std::string rest;
        std::size_t length;
    };
    const Case cases[] = {
        {"a", 1},          {"\\x", 1},          {"\u00e9", 2},           {"\u8868", 3},
        {"\U0001F600", 4}, {"\xE8\xA1", 1},      // cut short
        {"\xE8" "a" "\x85", 1},                  // not a continuation
        {"\x80", 1},      {"\xC0\x80", 1},      // stray continuation, overlong lead
        {"\xF5\x80\x80\x80", 1},               // past U+10FFFF
        {"", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8CharLength(c.rest), c.length) << c.rest;
}

TEST(FindProgram, TakesTheFirstCandidateThatExists)
{
    struct Case {
        const char* name;
        std::set<std::string> files;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"tool", {"./tool.exe", "./tool.bat"}, "./tool.exe"},
        {"tool", {"./tool.cmd"}, "./tool.cmd"},
        {"tool", {"./tool", "./tool.cmd"}, "./tool.cmd"},
        {"tool", {"./tool"}, "./tool"},
        {"tool", {"/usr/bin/tool"}, std::nullopt},
        {"tool.exe", {"./tool.exe.com", "./tool.exe.exe"}, std::nullopt},
        {"sub\\tool", {"sub/tool.bat"}, "sub/tool.bat"},
        {"", {"./", "./.com"}, std::nullopt},
    };
    for (const Case& c : cases) {
        std::vector<std::string> asked;
        auto exists = [&](const std::string& path) {
            asked.push_back(path);
            return c.files.count(path) > 0;
        };
        EXPECT_EQ(findProgram(c.name, exists), c.expected) << c.name;
        // Nothing past the one found is looked at.
        if (c.expected) {
            EXPECT_EQ(asked.back(), *c.expected) << c.name;
        }
    }
}
