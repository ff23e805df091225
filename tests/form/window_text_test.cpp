// What the window makes of text that is not one line, and of its command
// line before it opens.

#include "form/one_line.hpp"
#include "form/window_start.hpp"

#include <gtest/gtest.h>

namespace lw {
namespace {

TEST(PastedLine, KeepsTheFirstLineWithoutControlCharacters)
{
    const struct {
        const char* name;
        std::string_view pasted;
        const char* line;
    } cases[] = {
        {"plain", "BOB 出口 8", "BOB 出口 8"},
        {"empty", "", ""},
        {"LF", "first\nsecond", "first"},
        {"CR LF", "first\r\nsecond", "first"},
        {"CR alone", "first\rsecond", "first"},
        {"line end first", "\nsecond", ""},
        {"tab", "a\tb", "a b"},
        {"bell and escape", "a\a\x1b" "b", "ab"},
        {"DEL", "a\x7F" "b", "ab"},
        {"NUL inside", std::string_view("a\0b", 3), "ab"},
        {"C1 control", "a\xC2\x85" "b", "ab"},
        {"Latin-1 letter kept", "caf\xC3\xA9", "caf\xC3\xA9"},
        {"non-breaking space kept", "a\xC2\xA0" "b", "a\xC2\xA0" "b"},
        {"line separator", "上\xE2\x80\xA8下", "上"},
        {"paragraph separator", "上\xE2\x80\xA9下", "上"},
        {"other punctuation kept", "a\xE2\x80\xA6", "a\xE2\x80\xA6"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pastedLine(c.pasted), c.line) << c.name;
}

TEST(WindowStart, UsageOnlyForHelpAlone)
{
    EXPECT_TRUE(wantsUsage({"--help"}));
    EXPECT_FALSE(wantsUsage({}));
    EXPECT_FALSE(wantsUsage({"--help", "x"}));
    EXPECT_FALSE(wantsUsage({"JW", "--help"}));
    const std::string usage = windowUsage();
    for (const char* part : {"JW COMMAND-FILE OUTPUT", "WIT OUTPUT", "mfin", "--version"})
        EXPECT_NE(usage.find(part), std::string::npos) << part;
    EXPECT_EQ(usage.back(), '\n');
}

TEST(WindowStart, OneLineForAWordThatIsNoMode)
{
    const struct {
        std::vector<std::string> words;
        const char* says; // "" for no note
    } cases[] = {
        {{}, ""},
        {{"jw", "c.txt", "o.txt"}, ""},
        {{"Wit", "o.wit"}, ""},
        {{"--version"}, ""},
        {{"--help"}, ""},
        {{"FOO"}, "\"FOO\" is no mode (JW or WIT); the window opens on its own (standalone"},
        {{"jww", "c.txt", "o.txt"}, "\"jww\" is no mode (JW or WIT); the window opens without a mode"},
        {{"-h"}, "\"-h\" is no mode"},
        {{"a\nb\tc"}, "\"a?b?c\" is no mode"},
    };
    for (const auto& c : cases) {
        const auto note = startNote(c.words);
        if (*c.says == '\0') {
            EXPECT_FALSE(note) << *note;
            continue;
        }
        ASSERT_TRUE(note) << c.says;
        EXPECT_NE(note->find(c.says), std::string::npos) << *note;
        EXPECT_EQ(note->find('\n'), note->size() - 1) << "one line: " << *note;
    }
}

} // namespace
} // namespace lw
