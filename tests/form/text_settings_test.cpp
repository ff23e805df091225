// The remembered face, size, angle and styles: their words, and Form1
// starting with them, remembering changes and going back to the design.
#include "fake_view.hpp"

#include "export/converter.hpp"
#include "form/text_settings.hpp"
#include "form/text_style_design.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

using namespace lw;
using namespace lw::test;

namespace {

using Store = std::map<std::string, std::string, std::less<>>;

Store encoded(const TextSettings& settings)
{
    Store store;
    encodeTextSettings(settings, [&](std::string_view n, std::string_view v) { store[std::string(n)] = v; });
    return store;
}

TextSettings decoded(const Store& store)
{
    return decodeTextSettings([&](std::string_view name) -> std::optional<std::string> {
        const auto found = store.find(name);
        return found == store.end() ? std::nullopt : std::optional<std::string>(found->second);
    });
}

TEST(TextSettings, RoundTrip)
{
    TextSettings chosen;
    chosen.font.faceName = "IPA明朝";
    chosen.font.size = 72;
    chosen.font.italic = chosen.font.strikeout = true;
    chosen.font.strokeFace = "@kst32b";
    chosen.angle = 360;
    chosen.style = {.spacing = -1.25, .widthPercent = 80, .bold = true, .oblique = -7.5, .fitMm = 120.25,
                    .fitBy = TextStyle::FitBy::Width, .arc = arcStyleWithin(-30.5, 250), .shaping = {.kerning = true}};
    const Store store = encoded(chosen);
    EXPECT_EQ(store, (Store{{"angle", "360"}, {"arc", "-30.5"}, {"arc-at", "250"}, {"bold", "1"}, {"face", "IPA明朝"},
                            {"fit", "120.25"}, {"fitBy", "width"}, {"fontFile", ""}, {"italic", "1"}, {"kerning", "1"},
                            {"oblique", "-7.5"}, {"size", "72"}, {"spacing", "-1.25"}, {"strikeout", "1"},
                            {"strokeFace", "@kst32b"}, {"underline", "0"}, {"width", "80"}}));
    EXPECT_EQ(decoded(store), chosen);
    EXPECT_EQ(decoded({}), TextSettings{});
    // A straight line stores radius 0 and no angle, and reads back straight.
    chosen.style.arc = {};
    EXPECT_EQ(encoded(chosen).at("arc"), "0");
    EXPECT_EQ(encoded(chosen).at("arc-at"), "");
    EXPECT_EQ(decoded(encoded(chosen)), chosen);
}

// A corrupt or foreign value is the design's; the others still count.
TEST(TextSettings, EachBadValueFallsBackAlone)
{
    const TextSettings design;
    const std::pair<const char*, const char*> bad[] = {
        {"face", ""},         {"face", "Tab\tFace"}, {"size", "0"},     {"size", "145"},  {"size", "24pt"},
        {"size", "nan"},      {"size", ""},          {"angle", "-1"},   {"angle", "361"}, {"angle", "45.5"},
        {"angle", "１２"},    {"italic", "true"},    {"italic", "2"},   {"underline", ""},
        {"spacing", "1001"},  {"spacing", "1e999"},  {"width", "9"},    {"width", "401"}, {"width", "80.5"},
        {"bold", "yes"},      {"oblique", "46"},     {"oblique", "x"},  {"fit", "-1"},    {"fit", "1e9"},
        {"fitBy", "height"},  {"arc", "10001"},      {"arc", "x"},      {"arc-at", "361"}, {"arc-at", "nan"}, {"kerning", "on"},
    };
    for (const auto& [name, value] : bad) {
        SCOPED_TRACE(std::string(name) + "=" + value);
        Store store = {{"face", "IPAGothic"}, {"size", "36"}, {"angle", "90"},
                       {"italic", "0"},       {"underline", "1"}, {"strikeout", "0"},
                       {"spacing", "2.5"},    {"width", "150"},   {"bold", "1"},
                       {"oblique", "12"},     {"fit", "80"},      {"fitBy", "width"},
                       {"arc", "-40"},        {"arc-at", "200"},  {"kerning", "1"}};
        store[name] = value;
        const TextSettings got = decoded(store);
        const std::string n = name;
        EXPECT_EQ(got.font.faceName, n == "face" ? design.font.faceName : "IPAGothic");
        EXPECT_EQ(got.font.size, n == "size" ? design.font.size : 36);
        EXPECT_EQ(got.angle, n == "angle" ? design.angle : 90);
        EXPECT_EQ(got.font.underline, n == "underline" ? design.font.underline : true);
        EXPECT_EQ(got.style.spacing, n == "spacing" ? design.style.spacing : 2.5);
        EXPECT_EQ(got.style.widthPercent, n == "width" ? design.style.widthPercent : 150);
        EXPECT_EQ(got.style.bold, n == "bold" ? design.style.bold : true);
        EXPECT_EQ(got.style.oblique, n == "oblique" ? design.style.oblique : 12);
        EXPECT_EQ(got.style.fitMm, n == "fit" ? design.style.fitMm : 80);
        EXPECT_EQ(got.style.fitBy, n == "fitBy" ? design.style.fitBy : TextStyle::FitBy::Width);
        EXPECT_EQ(got.style.arc.radiusMm, n == "arc" ? design.style.arc.radiusMm : -40);
        // A bad angle is the default one of the radius: the bottom inside.
        EXPECT_EQ(got.style.arc.atDegrees, n == "arc" ? std::nullopt : std::optional<double>(n == "arc-at" ? 270 : 200));
        EXPECT_EQ(got.style.shaping.kerning, n == "kerning" ? design.style.shaping.kerning : true);
    }
    EXPECT_EQ(decoded({{"face", std::string(256, 'A')}}).font.faceName, design.font.faceName);
}

struct Started {
    FakeView view;
    Form1 form{view};
    Started(const Store& store, const std::vector<std::string>& words = {})
    {
        view.textSettings = store;
        form.load(words);
    }
};

TEST(Form1TextSettings, StartsWithTheRememberedValuesInEveryMode)
{
    const Store store = {{"face", "IPAMincho"}, {"size", "48"}, {"angle", "30"},
                         {"italic", "1"},       {"underline", "0"}, {"strikeout", "1"}};
    const std::filesystem::path command = std::filesystem::temp_directory_path() / "lw-text-settings-cmd.txt";
    std::ofstream(command) << "hp1 0 0\r\n";
    const std::string out = (std::filesystem::temp_directory_path() / "lw-text-settings-out.txt").string();
    for (const std::vector<std::string>& words : {std::vector<std::string>{}, {"JW", command.string(), out},
                                                  {"WIT", out}}) {
        SCOPED_TRACE(words.empty() ? "alone" : words[0]);
        Started s(store, words);
        EXPECT_EQ(s.form.windowFont().faceName, "IPAMincho");
        EXPECT_EQ(s.form.windowFont().size, 48);
        EXPECT_TRUE(s.form.windowFont().italic);
        EXPECT_TRUE(s.form.windowFont().strikeout);
        EXPECT_EQ(s.view.texts[TextBox::txtSize], "48");
        EXPECT_EQ(s.view.texts[TextBox::txtAngle], "30");
        EXPECT_EQ(s.view.positions[Slider::sldAngle], 30);
        EXPECT_EQ(s.view.inputFont.faceName, "IPAMincho");
        EXPECT_EQ(s.form.capturedOutline().logFont.lfEscapement, 300);
        EXPECT_EQ(s.form.capturedOutline().logFont.lfHeight, -64);
        // The text is never remembered, and starting writes nothing.
        EXPECT_EQ(s.view.texts[TextBox::txtInput], design::kText);
        EXPECT_EQ(s.view.textSettingWrites, 0);
        // Nothing is said but, in mode WIT, that this machine has no converter.
        for (const FakeView::Message& m : s.view.messages)
            EXPECT_EQ(m.text, kConverterMissing);
        EXPECT_TRUE(s.view.endings.empty());
    }
    std::filesystem::remove(command);
}

TEST(Form1TextSettings, ChangesAreRememberedAndTheDesignRestored)
{
    Started s({});
    EXPECT_EQ(s.view.textSettingWrites, 0); // nothing stored, nothing changed
    s.view.positions[Slider::sldSize] = 60;
    s.form.run(&Form1::sldSize_Click);
    s.view.positions[Slider::sldAngle] = 90;
    s.form.run(&Form1::sldAngle_Click);
    s.view.answerFont = [](WindowFont f) {
        f.faceName = "IPAGothic";
        f.underline = true;
        return f;
    };
    s.form.run(&Form1::cmdFont_Click);
    s.view.textStyleDialog = true;
    s.view.answerStyle = [](const TextStyle&) { return std::optional<TextStyle>({.spacing = 3, .widthPercent = 70}); };
    s.form.run(PreviewCommand::TextStyle);
    TextSettings now = decoded(s.view.textSettings);
    EXPECT_EQ(now.font.faceName, "IPAGothic");
    EXPECT_EQ(now.font.size, 60);
    EXPECT_EQ(now.angle, 90);
    EXPECT_TRUE(now.font.underline);
    EXPECT_EQ(now.style, (TextStyle{.spacing = 3, .widthPercent = 70}));

    // The next start takes them up; the menu item goes back to the design.
    Started next(s.view.textSettings);
    EXPECT_EQ(next.form.windowFont().faceName, "IPAGothic");
    EXPECT_EQ(next.view.positions[Slider::sldAngle], 90);
    EXPECT_EQ(next.form.textStyle(), (TextStyle{.spacing = 3, .widthPercent = 70}));
    next.form.run(PreviewCommand::RestoreDesign);
    EXPECT_EQ(decoded(next.view.textSettings), TextSettings{});
    EXPECT_EQ(next.form.windowFont().faceName, design::kFaceName);
    EXPECT_EQ(next.view.texts[TextBox::txtSize], "24");
    EXPECT_EQ(next.view.texts[TextBox::txtAngle], "0");
    EXPECT_EQ(next.form.capturedOutline().logFont.lfEscapement, 0);
    EXPECT_EQ(next.form.textStyle(), TextStyle{});
    EXPECT_TRUE(next.view.endings.empty());
}

// A face from a font file: drawn by the family the file names, remembered
// with the file, taken up again at the next start; a file that is gone
// leaves the family's name; a file that is no font is refused with a
// message and changes nothing.
TEST(Form1TextSettings, AFontFileIsDrawnByItsFamilyAndRemembered)
{
    const std::string serif = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
    if (!std::filesystem::exists(serif))
        GTEST_SKIP() << "DejaVu Serif is not installed";
    const std::filesystem::path copy = std::filesystem::temp_directory_path() / "lw-font-file #1.ttf";
    std::filesystem::copy_file(serif, copy, std::filesystem::copy_options::overwrite_existing);
    const std::filesystem::path notFont = std::filesystem::temp_directory_path() / "lw-not-a-font.ttf";
    std::ofstream(notFont) << "text\n";
    struct Case {
        std::string chosen;   // the dialog's font file
        std::string face;     // the face then drawn
        std::string file;     // the file remembered
        bool refused;
    };
    const Case cases[] = {
        {copy.string(), "DejaVu Serif", copy.string(), false},
        {copy.string() + "#0", "DejaVu Serif", copy.string() + "#0", false},
        {notFont.string(), "IPAGothic", "", true},
        {copy.string() + "#1", "IPAGothic", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        Started s(Store{{"face", "IPAGothic"}});
        s.view.answerFont = [&](WindowFont f) {
            f.faceName = "chosen by file";
            f.fontFile = c.chosen;
            return f;
        };
        s.form.run(&Form1::cmdFont_Click);
        EXPECT_EQ(s.form.windowFont().faceName, c.face);
        EXPECT_EQ(s.form.capturedOutline().logFont.lfFaceName[0], char16_t(c.face[0]));
        EXPECT_EQ(s.view.messages.size(), c.refused ? 1u : 0u);
        EXPECT_EQ(decoded(s.view.textSettings).font.fontFile, c.file);
        if (c.refused)
            continue;
        Started next(s.view.textSettings);
        EXPECT_EQ(next.form.windowFont().faceName, c.face);
        EXPECT_EQ(next.form.windowFont().fontFile, c.file);
    }
    std::filesystem::remove(copy);
    Started gone(Store{{"face", "DejaVu Serif"}, {"fontFile", copy.string()}});
    EXPECT_EQ(gone.form.windowFont().faceName, "DejaVu Serif");
    EXPECT_EQ(gone.form.windowFont().fontFile, "");
    EXPECT_TRUE(gone.view.messages.empty());
    std::filesystem::remove(notFont);
}

// Rubbish in the store starts the window as designed, with no message.
TEST(Form1TextSettings, ForeignValuesStartAsDesigned)
{
    Started s({{"face", "\x01"}, {"size", "9999"}, {"angle", "east"}, {"italic", "yes"}});
    Started plain({});
    EXPECT_EQ(s.form.windowFont().faceName, design::kFaceName);
    EXPECT_EQ(s.view.texts[TextBox::txtSize], plain.view.texts[TextBox::txtSize]);
    EXPECT_EQ(s.view.positions[Slider::sldAngle], 0);
    EXPECT_TRUE(s.view.messages.empty());
    EXPECT_TRUE(s.view.endings.empty());
    EXPECT_EQ(lw::test::FakeView().textSettings.size(), 0u);
}

} // namespace
