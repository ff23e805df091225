// The JW and WIT exports refuse a text longer than its circle is round, as
// the command line does: told, nothing written, the window kept. Kanji in
// the design's face advance one em each, so five at 24 pt need 42.33 mm
// along the circle: a radius of 6.74 mm is the least that holds them.
#include "fake_view.hpp"

#include "form/text_style_design.hpp"

#include "../export/export_test_support.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lw {
namespace {

using lw::test::ScratchDir;
using lw::test::Window;
using lw::test::readBytes;
using lw::test::writeBytes;

TEST(ArcExport, AnExportRefusesATextLongerThanItsCircleAsTheCommandLineDoes)
{
    const struct {
        const char* mode;
        double radiusMm;
        bool tooLong;
    } cases[] = {
        {"JW", 6.6, true}, {"JW", -6.6, true}, {"JW", 6.9, false}, {"JW", 40, false},
        {"WIT", 6.6, true}, {"WIT", -2, true},
    };
    for (const auto& c : cases) {
        const std::string name = std::string(c.mode) + " at radius " + std::to_string(c.radiusMm);
        ScratchDir dir;
        writeBytes(dir / "cmd.txt", "hp1 100 50\r\nhs 2 3 \r\nlg1\r\n");
        const std::string out = dir / (c.mode == std::string("JW") ? "out.txt" : "out.jww");
        Window w(c.mode == std::string("JW") ? std::vector<std::string>{"JW", dir / "cmd.txt", out}
                                             : std::vector<std::string>{"WIT", out});
        w.view.texts[TextBox::txtInput] = "図回品編集";
        w.form.run(&Form1::txtInput_Change);
        w.view.textStyleDialog = true;
        w.view.answerStyle = [&](const TextStyle&) {
            TextStyle style;
            style.arc = arcStyleWithin(c.radiusMm, 90);
            return style;
        };
        w.form.run(&Form1::chooseTextStyle);
        w.view.messages.clear();
        testing::internal::CaptureStderr();
        w.form.run(&Form1::cmdOK_Click);
        const std::string err = testing::internal::GetCapturedStderr();
        if (!c.tooLong) {
            EXPECT_EQ(w.view.endings, std::vector<int>{0}) << name;
            EXPECT_GT(readBytes(out).size(), 100u) << name;
            continue;
        }
        EXPECT_TRUE(w.view.endings.empty()) << name;
        EXPECT_TRUE(readBytes(out).empty()) << name;
        ASSERT_EQ(w.view.messages.size(), 1u) << name;
        const std::string& text = w.view.messages[0].text;
        EXPECT_NE(text.find("mm along the circle"), std::string::npos) << name << ": " << text;
        EXPECT_NE(text.find("Nothing was written"), std::string::npos) << name << ": " << text;
        EXPECT_EQ(err, text + "\n") << name;
    }
}

} // namespace
} // namespace lw
