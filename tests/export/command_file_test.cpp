// The command file on bytes in hand: what is copied and what it sets, and
// every failure with its kind, line and word.
#include "export/command_file.hpp"
#include "export/jw_warnings.hpp"
#include "base/failure.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>

using namespace lw;
using namespace std::string_literals;

namespace {

struct Result {
    std::string copy;
    JwParameters parameters;
    std::optional<FailureKind> kind;
    std::string what;
};

Result run(const std::string& bytes)
{
    Result r;
    lw::StringSink out;
    try {
        copyCommandFile(bytes, "cmd.txt", out, r.parameters);
    } catch (const Failure& failure) {
        r.kind = failure.kind();
        r.what = failure.what();
    }
    r.copy = out.text();
    return r;
}

// "hs" with the values 0.5, 1.5, ... 16.5 in entries 0 to 16, then a last word.
const std::string kFullTable = [] {
    std::string line = "hs";
    for (int i = 0; i <= 16; ++i)
        line += " " + std::to_string(i) + ".5";
    return line + " end";
}();

} // namespace

TEST(CommandFile, CopiesAndInterpretsLines)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::string copy;
        double baseX = 0, baseY = 0, chosen = 0;
        std::map<int, double> scales = {};
    };
    const Case cases[] = {
        {"zero bytes", "", ""},
        {"only hq lines", "hq\r\nhq\rhq", ""},
        {"hq with more words is dropped whole", "hq a b\r\nx\r\n", "x\r\n"},
        {"hq only as exact word 1", " hq\r\nHQ\r\nhq1\r\nhq\t\r\n", " hq\r\nHQ\r\nhq1\r\nhq\t\r\n"},
        {"hp1 with runs of spaces keeps its spacing in the copy", "hp1  10   20\r\n",
         "hp1  10   20\r\n", 10, 20},
        {"hp1 numbers with signs and exponents", "hp1 1e2 -2.5E-1 ignored\r", "hp1 1e2 -2.5E-1 ignored\r\n", 100, -0.25},
        {"hp1 after a leading space is an ordinary line", " hp1 1 2\r", " hp1 1 2\r\n"},
        {"a later hp1 replaces the base point", "hp1 1 2\rhp1 3 4\r", "hp1 1 2\r\nhp1 3 4\r\n", 3, 4},
        {"hs leaves out the last word", "hs 1 2 3\r", "hs 1 2 3\r\n", 0, 0, 0, {{0, 1}, {1, 2}, {2, 0}}},
        {"hs with a trailing space reaches the last number", "hs 1 2 3 \r", "hs 1 2 3 \r\n", 0, 0, 0,
         {{0, 1}, {1, 2}, {2, 3}}},
        {"hs of 19 words fills all 17 entries", kFullTable + "\r", kFullTable + "\r\n", 0, 0, 0,
         {{0, 0.5}, {16, 16.5}}},
        {"lg16 picks the last entry", kFullTable + "\rlg16\r", kFullTable + "\r\nlg16\r\n", 0, 0, 16.5},
        {"lg3.5 rounds half to even", kFullTable + "\rlg3.5\r", kFullTable + "\r\nlg3.5\r\n", 0, 0, 4.5},
        {"lg16.5 rounds half to even", kFullTable + "\rlg16.5\r", kFullTable + "\r\nlg16.5\r\n", 0, 0, 16.5},
        {"lg2.5 rounds half to even", kFullTable + "\rlg2.5 x y\r", kFullTable + "\r\nlg2.5 x y\r\n", 0, 0, 2.5},
        {"lg alone picks entry 0", kFullTable + "\rlg\r", kFullTable + "\r\nlg\r\n", 0, 0, 0.5},
        {"lg with a letter picks entry 0", kFullTable + "\rlgx7\r", kFullTable + "\r\nlgx7\r\n", 0, 0, 0.5},
        {"lg before hs copies the value of that moment", "lg1\rhs 5 6 7 \r", "lg1\r\nhs 5 6 7 \r\n", 0, 0, 0,
         {{1, 6}}},
        {"lg after hs picks the stored entry", "hs 5 6 7 \rlg1\r", "hs 5 6 7 \r\nlg1\r\n", 0, 0, 6},
        {"the later lg decides", "hs 5 6 7 \rlg1\rlg2\r", "hs 5 6 7 \r\nlg1\r\nlg2\r\n", 0, 0, 7},
        {"LF ends a line as CR LF does", "hq x\nhp1 1 2\nhs 5 6 7 \nlg1\n", "hp1 1 2\r\nhs 5 6 7 \r\nlg1\r\n", 1, 2, 6},
        {"LF then CR is two line ends", "a\n\rb", "a\r\n\r\nb\r\n"},
        {"line ends mixed in one file", "a\rb\nc\r\nd", "a\r\nb\r\nc\r\nd\r\n"},
        {"a byte order mark is kept in the copy and not read", "\xEF\xBB\xBFhp1 3 4\r\n", "\xEF\xBB\xBFhp1 3 4\r\n", 3, 4},
        {"a byte order mark outlives a dropped hq line", "\xEF\xBB\xBFhq\r\nx\r\n", "\xEF\xBB\xBFx\r\n"},
        {"a byte order mark is read only at the start", "x\r\xEF\xBB\xBFhp1 3 4\r", "x\r\n\xEF\xBB\xBFhp1 3 4\r\n"},
        {"no line end after the last line", "hs 1 2 \rlg1", "hs 1 2 \r\nlg1\r\n", 0, 0, 2},
        // Regression: an empty line used to stop the export.
        {"empty lines are copied and mean nothing", "a\r\r\nb\r\r", "a\r\n\r\nb\r\n\r\n"},
        {"a lone CR is one empty line", "\r", "\r\n"},
        {"Shift-JIS bytes come out byte for byte (0x5C trail bytes included)",
         "\x83\x5c\x95\x5c \x83\x65\x83\x58\x83\x67\r\n\x82\xa0\x00\x7f\xff\r"s,
         "\x83\x5c\x95\x5c \x83\x65\x83\x58\x83\x67\r\n\x82\xa0\x00\x7f\xff\r\n"s},
    };
    for (const auto& c : cases) {
        const Result r = run(c.bytes);
        EXPECT_FALSE(r.kind) << c.name << ": " << r.what;
        EXPECT_EQ(r.copy, c.copy) << c.name;
        EXPECT_EQ(r.parameters.baseX, c.baseX) << c.name;
        EXPECT_EQ(r.parameters.baseY, c.baseY) << c.name;
        EXPECT_EQ(r.parameters.chosenScale, c.chosen) << c.name;
        for (auto [index, value] : c.scales)
            EXPECT_EQ(r.parameters.scales[std::size_t(index)], value) << c.name << ", entry " << index;
    }
}

TEST(CommandFile, FailuresNameKindFileLineAndWord)
{
    struct Case {
        const char* name;
        std::string bytes;
        FailureKind kind;
        std::string what;
        std::string copy;
        std::map<int, double> scales = {};
    };
    const Case cases[] = {
        {"hp1 without word 3 fails after the copy", "x\rhp1 10\r", FailureKind::SubscriptOutOfRange,
         "Subscript out of range: cmd.txt, line 2, word \"hp1\"", "x\r\nhp1 10\r\n"},
        {"hp1 alone", "hp1", FailureKind::SubscriptOutOfRange,
         "Subscript out of range: cmd.txt, line 1, word \"hp1\"", "hp1\r\n"},
        {"hp1 with a non-number", "hp1 abc 2\r", FailureKind::TypeMismatch,
         "Type mismatch: cmd.txt, line 1, word \"abc\"", "hp1 abc 2\r\n"},
        {"hp1 with a trailing space has an empty word 3", "hp1 1 \r", FailureKind::TypeMismatch,
         "Type mismatch: cmd.txt, line 1, word 3 (empty)", "hp1 1 \r\n"},
        {"hp1 beyond the double range", "hp1 1e999 0\r", FailureKind::Overflow,
         "Overflow: cmd.txt, line 1, word \"1e999\"", "hp1 1e999 0\r\n"},
        {"hs with an empty word keeps the entries before it", "hs 1  2 \r", FailureKind::TypeMismatch,
         "Type mismatch: cmd.txt, line 1, word 3 (empty)", "hs 1  2 \r\n", {{0, 1}, {1, 0}}},
        {"hs of 20 words fails after entry 16 is stored", "a\r" + kFullTable + " more\r",
         FailureKind::SubscriptOutOfRange, "Subscript out of range: cmd.txt, line 2, word \"end\"",
         "a\r\n" + kFullTable + " more\r\n", {{0, 0.5}, {16, 16.5}}},
        {"lg17", "lg17\r", FailureKind::SubscriptOutOfRange,
         "Subscript out of range: cmd.txt, line 1, word \"lg17\"", "lg17\r\n"},
        {"lg-1", "a\rb\rlg-1 x\rnever\r", FailureKind::SubscriptOutOfRange,
         "Subscript out of range: cmd.txt, line 3, word \"lg-1\"", "a\r\nb\r\nlg-1 x\r\n"},
        {"lg16.6 rounds to 17", "lg16.6\r", FailureKind::SubscriptOutOfRange,
         "Subscript out of range: cmd.txt, line 1, word \"lg16.6\"", "lg16.6\r\n"},
        {"lg beyond 32 bits", "lg99999999999\r", FailureKind::Overflow,
         "Overflow: cmd.txt, line 1, word \"lg99999999999\"", "lg99999999999\r\n"},
        {"words are shown as text with control bytes escaped", "hp1 \x82\xa0\t 1\r",
         FailureKind::TypeMismatch, "Type mismatch: cmd.txt, line 1, word \"\xe3\x81\x82\\x09\"",
         "hp1 \x82\xa0\t 1\r\n"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.bytes);
        ASSERT_TRUE(r.kind) << c.name;
        EXPECT_EQ(*r.kind, c.kind) << c.name;
        EXPECT_EQ(r.what, c.what) << c.name;
        EXPECT_EQ(r.copy, c.copy) << c.name;
        for (auto [index, value] : c.scales)
            EXPECT_EQ(r.parameters.scales[std::size_t(index)], value) << c.name << ", entry " << index;
    }
}

TEST(CommandLines, EndAtCrCrLfOrLfAndCountFromOne)
{
    CommandLines lines("a\r\nb\n\rc\r\rd\n\ne");
    std::string_view line;
    std::vector<std::pair<std::string, std::size_t>> seen;
    while (lines.next(line))
        seen.emplace_back(std::string(line), lines.lineNumber());
    const std::vector<std::pair<std::string, std::size_t>> expected = {
        {"a", 1}, {"b", 2}, {"", 3}, {"c", 4}, {"", 5}, {"d", 6}, {"", 7}, {"e", 8}};
    EXPECT_EQ(seen, expected);
}

// Lines a user meant but the designed reading passes over leave the output as
// designed; the warning names each such line and why.
TEST(CommandFile, WarningsNameLinesThatLookMeantButAreNotRead)
{
    const std::string scale0 =
        "Warning: the chosen scale is 0, so every point was written on the base point: cmd.txt: ";
    const struct {
        const char* name;
        std::string bytes;
        std::string warning;
    } cases[] = {
        {"a usable file says nothing", "hp1 1 2\r\nhs 2 3 \r\nlg1\r\n", ""},
        {"LF line ends are read", "hp1 1 2\nhs 2 3 \nlg1\n", ""},
        {"a byte order mark before hp1 is read", "\xEF\xBB\xBFhp1 1 2\r\nhs 2 3 \r\nlg1\r\n", ""},
        {"upper case", "HP1 1 2\r\nhs 2 3 \r\nlg1\r\n",
         "Warning: cmd.txt, line 1 looks like an \"hp1\" line but is not read: only lower-case letters are read "
         "in its first word."},
        {"a leading blank", "hp1 1 2\r\n hs 2 3 \r\nlg1\r\n",
         "Warning: cmd.txt, line 2 looks like an \"hs\" line but is not read: a blank or tab stands before its "
         "first word.\n" + scale0 + "it has no \"hs\" line."},
        {"a leading tab", "hs 2 3 \r\n\tlg1\r\n",
         "Warning: cmd.txt, line 2 looks like an \"lg\" line but is not read: a blank or tab stands before its "
         "first word.\n" + scale0 + "it has no \"lg\" line."},
        {"a tab after the word", "hp1\t1 2\r\nhs 2 3 \r\nLG1\r\n",
         "Warning: cmd.txt, line 1 looks like an \"hp1\" line but is not read: a tab follows its first word, "
         "where only a blank separates words.\n"
         "Warning: cmd.txt, line 3 looks like an \"lg\" line but is not read: only lower-case letters are read "
         "in its first word.\n" + scale0 + "it has no \"lg\" line."},
        {"words that only start alike say nothing", "HP10 1\r\nhsx\r\nhs 2 3 \r\nlg1\r\n", ""},
        {"lg with a tab is read", "hs 2 3 \r\nlg1\t\r\n", ""},
        {"a negative scale is not a scale of 0", "hs -2 3 \r\nlg0\r\n", ""},
    };
    for (const auto& c : cases) {
        const Result r = run(c.bytes);
        EXPECT_FALSE(r.kind) << c.name << ": " << r.what;
        EXPECT_EQ(jwWarning(c.bytes, "cmd.txt", r.parameters), c.warning) << c.name;
    }

    std::string many;
    for (int i = 0; i < 12; ++i)
        many += "HS 1 2\r\n";
    JwParameters parameters;
    parameters.chosenScale = 1;
    const std::string warning = jwWarning(many, "cmd.txt", parameters);
    EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 10) << warning;
    EXPECT_NE(warning.find("line 10 looks like"), std::string::npos) << warning;
    EXPECT_EQ(warning.find("line 11 looks like"), std::string::npos) << warning;
    EXPECT_TRUE(warning.ends_with("Warning: cmd.txt: 2 more such lines are not read.")) << warning;
}
