// The work bound as the front end applies it: long texts whose outlines fit
// are taken, and what is really beyond the limit is refused with a message
// that says the count is estimated and names the limit.
#include "cli/options.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string repeatedTo(const std::string& piece, std::size_t characters, std::size_t bytesPerCharacter = 1)
{
    std::string out;
    while (out.size() < characters * bytesPerCharacter)
        out += piece;
    out.resize(characters * bytesPerCharacter);
    return out;
}

// Text as a writer might type it: words, digits and punctuation.
const std::string kProse = "The quick brown fox jumps over the lazy dog, 0123456789 times; ";
// Kanji from everyday use, and the densest the Japanese fonts draw.
const std::string kKanji = "日本語文字編集東京都会議書類漢字変換確認番号電話住所氏名年月時間";
const std::string kDense = "繼鸞驫鬱";

} // namespace

TEST(WorkBoundOptions, TakesWhatFitsAndRefusesWhatDoesNot)
{
    const struct {
        const char* name;
        std::vector<std::string> args;
        bool taken;
    } cases[] = {
        {"100,000 ASCII characters at 24 pt", {"capture", "--text", repeatedTo(kProse, 100000)}, true},
        {"40,000 kanji at 24 pt", {"capture", "--text", repeatedTo(kKanji, 40000, 3)}, true},
        {"40,000 dense kanji at 24 pt", {"capture", "--text", repeatedTo(kDense, 40000, 3)}, true},
        {"100,000 ASCII characters underlined, at 30 degrees", {"capture", "--underline", "--angle", "30", "--text",
                                                                repeatedTo(kProse, 100000)}, true},
        {"100,000 ASCII characters as a drawing at 0.01 mm", {"dxf", "o.dxf", "--text", repeatedTo(kProse, 100000)},
         true},
        {"120,000 dense kanji at 24 pt", {"capture", "--text", repeatedTo(kDense, 120000, 3)}, false},
        {"40,000 kanji at 144 pt, 0.001 mm", {"dxf", "o.dxf", "--size", "144", "--precision", "0.001", "--text",
                                             repeatedTo(kKanji, 40000, 3)}, false},
        // An offset's round joins count: a cutter's width fits, a 100 mm offset
        // of every character at the finest grid does not.
        {"3,900 characters at 144 pt offset 0.5 mm", {"dxf", "o.dxf", "--size", "144", "--offset", "0.5", "--text",
                                                      repeatedTo("編集テキスト", 3900, 3)}, true},
        {"3,900 characters at 144 pt offset 100 mm", {"dxf", "o.dxf", "--size", "144", "--offset", "100", "--text",
                                                      repeatedTo("編集テキスト", 3900, 3)}, false},
        {"20,000 curved characters at 16384 pt", {"capture", "--size", "16384", "--text",
                                                 repeatedTo("@&%$8gSoe", 20000)}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            (void)lw::cli::parseOptions(c.args);
            EXPECT_TRUE(c.taken);
        } catch (const lw::cli::UsageError& e) {
            EXPECT_FALSE(c.taken) << e.what();
            const std::string said = e.what();
            EXPECT_NE(said.find("estimate"), std::string::npos) << said;
            EXPECT_NE(said.find("10000000"), std::string::npos) << said;
        }
    }
}
