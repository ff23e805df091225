// The command file on bytes in hand: what is copied and what it sets, and
// every failure with its kind, line and word.
#include "export/command_file.hpp"
#include "base/failure.hpp"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>
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
    std::ostringstream out;
    try {
        copyCommandFile(bytes, "cmd.txt", out, r.parameters);
    } catch (const Failure& failure) {
        r.kind = failure.kind();
        r.what = failure.what();
    }
    r.copy = out.str();
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
        {"LF alone is text: one line, word 1 decides", "hq x\nhp1 1 2\nlg1\n", ""},
        {"LF alone is text: copied with its line feeds", "hp1\n1 2\n", "hp1\n1 2\n\r\n"},
        {"LF before CR stays in the line", "a\n\rb", "a\n\r\nb\r\n"},
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
        {"words are shown as text with control bytes escaped", "hp1 \x82\xa0\n 1\r",
         FailureKind::TypeMismatch, "Type mismatch: cmd.txt, line 1, word \"\xe3\x81\x82\\x0A\"",
         "hp1 \x82\xa0\n 1\r\n"},
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

TEST(CommandLines, EndAtCrOrCrLfAndCountFromOne)
{
    CommandLines lines("a\r\nb\n\rc\r\rd");
    std::string_view line;
    std::vector<std::pair<std::string, std::size_t>> seen;
    while (lines.next(line))
        seen.emplace_back(std::string(line), lines.lineNumber());
    const std::vector<std::pair<std::string, std::size_t>> expected = {
        {"a", 1}, {"b\n", 2}, {"c", 3}, {"", 4}, {"d", 5}};
    EXPECT_EQ(seen, expected);
}
