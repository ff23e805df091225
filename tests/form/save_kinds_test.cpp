// The save choices' rules: the format a typed name asks for, and the words a
// choice is remembered by, read back also from an older Windows window.

#include "form/save_kinds.hpp"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

namespace lw {
namespace {

using enum SaveFormat;
using enum SavePrecision;

TEST(SaveKinds, TheTypedExtensionWinsOverTheChosenFileType)
{
    const struct {
        const char* path;
        SaveFormat chosen;
        SaveFormat written;
    } cases[] = {
        {"a.svg", Dxf, Svg},
        {"a.dxf", Svg, Dxf},
        {"a.txt", Dxf, JwPoints},
        {"/x/y/A.SVG", JwPoints, Svg},
        {"C:\\work\\b.Dxf", Svg, Dxf},
        {"a", Svg, Svg},                   // no extension: the file type
        {"a.", JwPoints, JwPoints},
        {"a.png", Svg, Svg},               // none of ours: the file type
        {"a.svg.bak", Dxf, Dxf},
        {"/x.svg/name", Dxf, Dxf},         // a dot in a folder is no extension
        {"C:\\x.txt\\name", Svg, Svg},
        {"a.svgz", Dxf, Dxf},
        {"", Svg, Svg},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatForPath(c.path, c.chosen), c.written) << c.path;
}

// A name keeps the chosen type's extension unless it has one of ours;
// a dot of its own is no extension of ours.
TEST(SaveKinds, ANameWithADotKeepsTheChosenTypesExtension)
{
    using enum SaveFormat;
    const struct {
        const char* typed;
        SaveFormat chosen;
        const char* written;
    } cases[] = {
        {"0.1", Dxf, "0.1.dxf"},          {"/x/v1.2", Svg, "/x/v1.2.svg"}, {"a", JwPoints, "a.txt"},
        {"a.", Dxf, "a.dxf"},             {"a.png", Svg, "a.png.svg"},     {"a.svg", Dxf, "a.svg"},
        {"/x/A.DXF", Svg, "/x/A.DXF"},    {"b.txt", Dxf, "b.txt"},         {"/x.svg/name", Dxf, "/x.svg/name.dxf"},
        {"C:\\d\\3.5", Dxf, "C:\\d\\3.5.dxf"}, {"/x/", Dxf, "/x/"},
    };
    for (const auto& c : cases) {
        const std::string written = withFormatExtension(c.typed, c.chosen);
        EXPECT_EQ(written, c.written) << c.typed;
        // What is written is what its name says.
        EXPECT_EQ(formatForPath(written, c.chosen), formatForPath(c.typed, c.chosen)) << c.typed;
    }
}

using Store = std::map<std::string, std::string, std::less<>>;

std::optional<SaveSettings> decode(const Store& store)
{
    return decodeSaveSettings([&](std::string_view name) -> std::optional<std::string> {
        const auto found = store.find(name);
        if (found == store.end())
            return std::nullopt;
        return found->second;
    });
}

Store encode(const SaveSettings& settings)
{
    Store store;
    encodeSaveSettings(settings, [&](std::string_view name, std::string_view value) {
        store[std::string(name)] = std::string(value);
    });
    return store;
}

TEST(SaveKinds, AChoiceIsStoredAsNeutralWordsAndReadBack)
{
    const struct {
        SaveSettings settings;
        Store stored;
    } cases[] = {
        {SaveSettings{Dxf, Classic, "", {}}, {{"format", "dxf"}, {"precision", "classic"}, {"folder", ""}}},
        {SaveSettings{Svg, Tenth, "/home/a b", {}}, {{"format", "svg"}, {"precision", "0.1"}, {"folder", "/home/a b"}}},
        {SaveSettings{JwPoints, Hundredth, "C:\\図面", {}}, {{"format", "jw"}, {"precision", "0.01"}, {"folder", "C:\\図面"}}},
        {SaveSettings{SaveFormat::Pdf, Tenth, "/p", {},
                      {.pdf = {.page = MmSize{210, 297}, .marginMm = 10, .paint = PdfPaint::Cut},
                       .hpgl = {.overcutMm = 0.25},
                       .dxfVersion = DxfVersion::R12,
                       .dxfText = true}},
         {{"format", "pdf"}, {"precision", "0.1"}, {"folder", "/p"}, {"pdf-page", "a4"}, {"pdf-margin", "10"},
          {"pdf-style", "cut"}, {"hpgl-overcut", "0.25"}, {"dxf-version", "r12"}, {"dxf-text", "1"}}},
        {SaveSettings{SaveFormat::Hpgl, Hundredth, "", {}}, {{"format", "hpgl"}, {"precision", "0.01"}, {"folder", ""}}},
    };
    for (const auto& c : cases) {
        Store stored = c.stored;
        stored.insert(
            {{"merge", "1"}, {"offset", "0"}, {"anchor", "baseline-left"}, {"mirror", "none"}, {"curves", "0"}});
        // Each format's own choices, the defaults unless the case says.
        stored.insert({{"pdf-page", "fit"}, {"pdf-margin", "0"}, {"pdf-style", "fill"}, {"hpgl-overcut", "0"},
                       {"dxf-version", "2000"}, {"dxf-text", "0"}, {"stencil", "0"}, {"stencil-bridges", "1"},
                       {"pen-width", "0.1"}, {"centreline", "0"}});
        EXPECT_EQ(encode(c.settings), stored);
        EXPECT_EQ(decode(c.stored), c.settings);
    }
}

TEST(SaveKinds, TheCadChoicesAreStoredAsTheFrontEndsWords)
{
    const struct {
        CadChoices cad;
        Store words;
    } cases[] = {
        {{}, {{"merge", "1"}, {"offset", "0"}, {"anchor", "baseline-left"}, {"mirror", "none"}}},
        {{.merge = false, .offsetMm = 0.15, .anchor = Anchor::Centre, .mirror = Mirror::X},
         {{"merge", "0"}, {"offset", "0.15"}, {"anchor", "centre"}, {"mirror", "x"}}},
        {{.curves = true}, {{"merge", "1"}, {"curves", "1"}}},
        {{.offsetMm = -100, .anchor = Anchor::BottomRight, .mirror = Mirror::Y},
         {{"merge", "1"}, {"offset", "-100"}, {"anchor", "bottom-right"}, {"mirror", "y"}}},
        {{.offsetMm = 1e-3, .anchor = Anchor::BaselineCentre},
         {{"merge", "1"}, {"offset", "0.001"}, {"anchor", "baseline-centre"}, {"mirror", "none"}}},
        {{.stencilMm = 0.5, .stencilBridges = 3}, {{"stencil", "0.5"}, {"stencil-bridges", "3"}}},
        {{.penMm = 0.3}, {{"pen-width", "0.3"}}},
        {{.centreline = true}, {{"centreline", "1"}}},
    };
    for (const auto& c : cases) {
        SaveSettings settings{Svg, Tenth, "/f", {}};
        settings.cad = c.cad;
        Store stored = encode(settings);
        for (const auto& [name, word] : c.words)
            EXPECT_EQ(stored[name], word) << name;
        EXPECT_EQ(decode(stored), settings) << stored["offset"];
    }
}

TEST(SaveKinds, ATypedOffsetIsMillimetresWithinTheLimit)
{
    const struct {
        const char* typed;
        std::optional<double> mm;
    } cases[] = {
        {"0", 0.0},         {"0.25", 0.25},      {" -0.5 ", -0.5},    {"+1.5", 1.5},     {"100", 100.0},
        {"-100", -100.0},   {"1e-2", 0.01},      {"", std::nullopt},  {"  ", std::nullopt},
        {"100.01", std::nullopt}, {"0,5", std::nullopt}, {"1mm", std::nullopt}, {"+-1", std::nullopt},
        {"++1", std::nullopt},    {"nan", std::nullopt}, {"-inf", std::nullopt}, {"+", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(typedSaveOffset(c.typed), c.mm) << '"' << c.typed << '"';
}

// A hand-edited or foreign value is the design's, word by word, and says
// nothing to the user.
TEST(SaveKinds, ACorruptCadChoiceFallsBackAlone)
{
    const struct {
        const char* name;
        const char* value;
    } cases[] = {
        {"merge", "yes"},      {"merge", ""},         {"merge", "10"},          {"offset", "abc"},
        {"offset", ""},        {"offset", "0.5mm"},   {"offset", "100.5"},      {"offset", "-1e9"},
        {"offset", "nan"},     {"offset", "inf"},     {"offset", "0,5"},        {"offset", " 1"},
        {"anchor", "middle"},  {"anchor", "CENTRE"},  {"anchor", "center"},     {"anchor", ""},
        {"mirror", "xy"},      {"mirror", "X"},       {"mirror", "0"},          {"curves", "true"},
        {"curves", ""},
    };
    const CadChoices chosen{
        .merge = false, .offsetMm = 0.2, .anchor = Anchor::TopLeft, .mirror = Mirror::X, .curves = true};
    for (const auto& c : cases) {
        SaveSettings settings{Dxf, Hundredth, "/f", {}};
        settings.cad = chosen;
        Store stored = encode(settings);
        stored[c.name] = c.value;
        const std::optional<SaveSettings> read = decode(stored);
        ASSERT_TRUE(read) << c.name;
        CadChoices expected = chosen;
        const std::string_view name = c.name;
        const CadChoices design;
        if (name == "merge")
            expected.merge = design.merge;
        else if (name == "offset")
            expected.offsetMm = design.offsetMm;
        else if (name == "anchor")
            expected.anchor = design.anchor;
        else if (name == "mirror")
            expected.mirror = design.mirror;
        else
            expected.curves = design.curves;
        EXPECT_EQ(read->cad, expected) << c.name << " = \"" << c.value << "\"";
        EXPECT_EQ(read->folder, "/f") << c.name;
    }
}

TEST(SaveKinds, WhatWasStoredBeforeIsStillRead)
{
    const SaveSettings defaults;
    const struct {
        const char* name;
        Store stored;
        std::optional<SaveSettings> read;
    } cases[] = {
        {"nothing stored", {}, std::nullopt},
        {"a folder alone", {{"folder", "/x"}}, SaveSettings{defaults.format, defaults.precision, "/x", {}}},
        // The older Windows window stored its file type's English label.
        {"old DXF classic", {{"kind", "DXF, screen pixel grid (*.dxf)"}}, SaveSettings{Dxf, Classic, "", {}}},
        {"old DXF 0.1", {{"kind", "DXF, 0.1 mm grid (*.dxf)"}, {"folder", "C:\\a"}}, SaveSettings{Dxf, Tenth, "C:\\a", {}}},
        {"old DXF 0.01", {{"kind", "DXF, 0.01 mm grid (*.dxf)"}}, SaveSettings{Dxf, Hundredth, "", {}}},
        {"old SVG classic", {{"kind", "SVG, screen pixel grid (*.svg)"}}, SaveSettings{Svg, Classic, "", {}}},
        {"old SVG 0.1", {{"kind", "SVG, 0.1 mm grid (*.svg)"}}, SaveSettings{Svg, Tenth, "", {}}},
        {"old SVG 0.01", {{"kind", "SVG, 0.01 mm grid (*.svg)"}}, SaveSettings{Svg, Hundredth, "", {}}},
        {"old JW classic", {{"kind", "JW point lines, screen pixel grid (*.txt)"}}, SaveSettings{JwPoints, Classic, "", {}}},
        {"old JW 0.1", {{"kind", "JW point lines, 0.1 mm grid (*.txt)"}}, SaveSettings{JwPoints, Tenth, "", {}}},
        {"old JW 0.01", {{"kind", "JW point lines, 0.01 mm grid (*.txt)"}}, SaveSettings{JwPoints, Hundredth, "", {}}},
        {"an old label nobody wrote", {{"kind", "DXF (*.dxf)"}}, SaveSettings{defaults.format, defaults.precision, "", {}}},
        // The neutral words, once written, say what the old label said before.
        {"words over an old label",
         {{"kind", "SVG, 0.1 mm grid (*.svg)"}, {"format", "jw"}, {"precision", "0.01"}},
         SaveSettings{JwPoints, Hundredth, "", {}}},
        {"a hand-edited word keeps the rest",
         {{"kind", "SVG, 0.1 mm grid (*.svg)"}, {"format", "tiff"}, {"precision", "0.01"}},
         SaveSettings{Svg, Hundredth, "", {}}},
        // Only the lists' margins and overcuts, and the exact words.
        {"hand-edited format choices",
         {{"folder", "/x"}, {"pdf-margin", "3"}, {"hpgl-overcut", "-1"}, {"pdf-page", "A4"}, {"dxf-version", "R14"},
          {"dxf-text", "yes"}, {"stencil", "0.45"}, {"stencil-bridges", "9"},
          {"pen-width", "0.25"}},
         SaveSettings{defaults.format, defaults.precision, "/x", {}}},
        {"words are exact", {{"format", "SVG"}, {"precision", "0.10"}},
         SaveSettings{defaults.format, defaults.precision, "", {}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decode(c.stored), c.read) << c.name;
}

// A dialog of file types only names format and precision together, the
// classic grid in the same words as the precision box beside Qt's dialog.
TEST(SaveKinds, AFileTypeNamesFormatAndPrecision)
{
    const struct {
        SaveFormat format;
        SavePrecision precision;
        Language language;
        const char* label;
    } cases[] = {
        {Dxf, Hundredth, Language::English, "DXF drawing, 0.01 mm (*.dxf)"},
        {Svg, Tenth, Language::English, "SVG picture, 0.1 mm (*.svg)"},
        {JwPoints, Classic, Language::English, "JW point lines, Classic (0.26 mm) (*.txt)"},
        {Dxf, Classic, Language::Japanese, "DXF 図面, 従来 (0.26 mm) (*.dxf)"},
        {JwPoints, Hundredth, Language::Japanese, "JW 座標の行, 0.01 mm (*.txt)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(saveKindLabel(c.format, c.precision, c.language), c.label);
    // Every file type apart, in either language.
    for (Language language : {Language::Japanese, Language::English}) {
        std::map<std::string, int> labels;
        for (const SaveFormatDesign& f : saveFormats())
            for (const SavePrecisionDesign& p : savePrecisions())
                ++labels[saveKindLabel(f.format, p.precision, language)];
        EXPECT_EQ(labels.size(), saveFormats().size() * savePrecisions().size());
    }
}

TEST(SaveKinds, ASaveIsFineUnlessChosenOtherwise)
{
    EXPECT_EQ(SaveSettings{}.precision, Hundredth);
    EXPECT_EQ(SaveChoice{}.precision, Hundredth);
    EXPECT_EQ(saveDpi(Hundredth, 24), 2541); // 24 pt a whole number of pixels
    EXPECT_EQ(saveDpi(Hundredth, 36), 2540);
    EXPECT_EQ(saveDpi(Classic, 24), 96);
}

} // namespace
} // namespace lw
