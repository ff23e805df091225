// The capture JSON writer: whole outputs of hand-made outlines in both units.
#include "export/capture_json.hpp"
#include "export_test_support.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace lw {
namespace {

std::string jsonOf(const CaptureJsonInputs& inputs, const CapturedOutline& outline, const CaptureJsonForm& form = {})
{
    lw::StringSink out;
    writeCaptureJson(out, inputs, outline, form);
    return out.text();
}

// A triangle and a two-point figure, drawn at 32 pixels.
CapturedOutline tinyOutline()
{
    CapturedOutline outline = test::outlineOf({{0, 0, 6}, {10, 0, 2}, {10, 10, 3}, {20, -5, 6}, {25, -5, 3}});
    outline.logFont.lfHeight = -32;
    return outline;
}

const CaptureJsonInputs kInputs{.text = "編集", .face = "ＭＳ Ｐゴシック", .family = "IPAPGothic",
                                .file = "/fonts/ipagp.ttf", .size = 24, .angle = 30, .alCent = 1};

TEST(CaptureJson, PixelsKeepTheKeysOfOldThenAddFiguresAndTheirBox)
{
    EXPECT_EQ(jsonOf(kInputs, tinyOutline()),
              R"({"text": "編集", "face": "ＭＳ Ｐゴシック", "family": "IPAPGothic", "file": "/fonts/ipagp.ttf", )"
              R"("size": 24, "angle": 30, "spacing": 0, "width": 100, "bold": false, "height": 32, "alCent": 1, "pointCount": 5, )"
              R"("points": [[0, 0], [10, 0], [10, 10], [20, -5], [25, -5]], "types": [6, 2, 3, 6, 3], )"
              R"("dpi": 96, "units": "px", "figures": [[[0, 0], [10, 0], [10, 10]], [[20, -5], [25, -5]]], )"
              R"("bbox": {"minX": 0, "minY": -5, "maxX": 25, "maxY": 10}})"
              "\n");
}

TEST(CaptureJson, TheObliqueTheFitAndTheRunsOnlyWhereGiven)
{
    // A fallback's run after the face's own, a quote in a path escaped.
    const std::vector<FaceRun> runs{{"Room 12 ", "DejaVu Sans", "/f/DejaVuSans.ttf"},
                                    {"出口", "IPAGothic", "/f/a \"b\".ttf"}};
    CaptureJsonInputs inputs = kInputs;
    inputs.style = {.oblique = -12.5, .fitMm = 100, .fitBy = TextStyle::FitBy::Width};
    inputs.runs = &runs;
    EXPECT_EQ(jsonOf(inputs, tinyOutline()),
              R"({"text": "編集", "face": "ＭＳ Ｐゴシック", "family": "IPAPGothic", "file": "/fonts/ipagp.ttf", )"
              R"("size": 24, "angle": 30, "spacing": 0, "width": 100, "bold": false, "oblique": -12.5, )"
              R"("fit": {"mm": 100, "by": "width"}, "height": 32, "alCent": 1, "pointCount": 5, )"
              R"("points": [[0, 0], [10, 0], [10, 10], [20, -5], [25, -5]], "types": [6, 2, 3, 6, 3], )"
              R"("dpi": 96, "units": "px", "figures": [[[0, 0], [10, 0], [10, 10]], [[20, -5], [25, -5]]], )"
              R"("bbox": {"minX": 0, "minY": -5, "maxX": 25, "maxY": 10}, )"
              R"("runs": [{"text": "Room 12 ", "family": "DejaVu Sans", "file": "/f/DejaVuSans.ttf"}, )"
              R"({"text": "出口", "family": "IPAGothic", "file": "/f/a \"b\".ttf"}]})"
              "\n");
    const std::vector<FaceRun> none;
    inputs = CaptureJsonInputs{};
    inputs.runs = &none;
    EXPECT_NE(jsonOf(inputs, CapturedOutline{}).find(R"("bbox": null, "runs": []})"), std::string::npos);
}

TEST(CaptureJson, MillimetresAtOneToOneYUpFromTheOrigin)
{
    // At 25.4 dpi a pixel is a millimetre; the points and types stay pixels.
    EXPECT_EQ(jsonOf(kInputs, tinyOutline(),
                     {.units = JsonUnits::Millimetres, .mm = {.originX = 0, .originY = 10, .dpi = 25.4}}),
              R"({"text": "編集", "face": "ＭＳ Ｐゴシック", "family": "IPAPGothic", "file": "/fonts/ipagp.ttf", )"
              R"("size": 24, "angle": 30, "spacing": 0, "width": 100, "bold": false, "height": 32, "alCent": 1, "pointCount": 5, )"
              R"("points": [[0, 0], [10, 0], [10, 10], [20, -5], [25, -5]], "types": [6, 2, 3, 6, 3], )"
              R"("dpi": 25.4, "units": "mm", "origin": [0, 10], )"
              R"("figures": [[[0, 10], [10, 10], [10, 0]], [[20, 15], [25, 15]]], )"
              R"("bbox": {"minX": 0, "minY": 0, "maxX": 25, "maxY": 15}})"
              "\n");
}

TEST(CaptureJson, MillimetresAreTheShortestRoundTripAndNeverNegativeZero)
{
    const CapturedOutline outline = test::outlineOf({{1, 28, 6}, {-3, 27, 3}});
    const std::string json =
        jsonOf({}, outline, {.units = JsonUnits::Millimetres, .mm = {.originX = 0, .originY = 28, .dpi = 96}});
    EXPECT_NE(json.find(R"("figures": [[[0.26458333333333334, 0], [-0.79375, 0.26458333333333334]]], )"
                        R"("bbox": {"minX": -0.79375, "minY": 0, "maxX": 0.26458333333333334, )"
                        R"("maxY": 0.26458333333333334}})"),
              std::string::npos)
        << json;
}

TEST(CaptureJson, AnEmptyOutlineHasNoFiguresAndNoBox)
{
    EXPECT_EQ(jsonOf({}, CapturedOutline{}),
              R"({"text": "", "face": "", "family": "", "file": "", "size": 24, "angle": 0, "spacing": 0, "width": 100, "bold": false, "height": 0, )"
              R"("alCent": 0, "pointCount": 0, "points": [], "types": [], "dpi": 96, "units": "px", )"
              R"("figures": [], "bbox": null})"
              "\n");
}

TEST(CaptureJson, TextIsAlwaysValidJson)
{
    // Quotes, backslashes and controls escaped; bytes that are not UTF-8
    // (a stray byte, a cut sequence) become U+FFFD; sizes as %g wrote them.
    CaptureJsonInputs inputs;
    inputs.text = "a\"b\\c\n\r\t\x01\x7F" "d\xFF" "e\xE3\x81";
    inputs.face = "\xE7\xB7";
    inputs.size = double(0.1f);
    const std::string json = jsonOf(inputs, CapturedOutline{});
    EXPECT_EQ(json.substr(0, json.find(", \"angle\"")),
              R"({"text": "a\"b\\c\n\r\t\u0001\u007fd�e�", "face": "�", "family": "", "file": "", "size": 0.1)");
}

// Whole numbers take a shorter road than the rest: every number must still
// read exactly as the shortest round trip writes it, round the edge where that
// turns to "1e+05" and at every whole number below it.
TEST(CaptureJson, NumbersAreTheShortestRoundTripWhicheverRoadTheyTake)
{
    auto shortest = [](double value) {
        char text[64];
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    };
    auto written = [](double value) {
        std::string out;
        appendJsonNumber(out, value);
        return out;
    };
    const double kSpecial[] = {0.5, -0.5, 99999.5, -99999.5, 1e5, -1e5, 100001, 123456, 1e15, 1e22, -1e22,
                               2147483647.0, 2147483648.0, -2147483649.0, 0.1, 1e-7, 4.9e-324,
                               std::numeric_limits<double>::max(), std::nextafter(1e5, 0.0),
                               std::nextafter(-1e5, 0.0), std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN()};
    for (const double value : kSpecial)
        EXPECT_EQ(written(value), shortest(value)) << value;
    for (int whole = -100002; whole <= 100002; ++whole)
        ASSERT_EQ(written(whole), shortest(whole)) << whole;
    EXPECT_EQ(written(-0.0), "0");
    EXPECT_EQ(written(1e5), "1e+05");
}

TEST(CaptureJson, SizeKeepsItsSixSignificantDigitsWhateverItsValue)
{
    auto general = [](double size) {
        char text[64];
        return std::string(text, std::to_chars(text, text + sizeof text, size, std::chars_format::general, 6).ptr);
    };
    auto sizeField = [](double size) {
        CaptureJsonInputs inputs;
        inputs.size = size;
        const std::string json = jsonOf(inputs, CapturedOutline{});
        const std::size_t from = json.find("\"size\": ") + 8;
        return json.substr(from, json.find(',', from) - from);
    };
    const double kSizes[] = {1, 24, 144, 1638, 999999, 1e6, 1234567, 0, -0.0, -24, 0.5, 24.5, 1638.4, 123456.5,
                             1e-7, std::numeric_limits<double>::infinity()};
    for (const double size : kSizes)
        EXPECT_EQ(sizeField(size), general(size)) << size;
    for (int whole = 1; whole <= 1100; ++whole)
        ASSERT_EQ(sizeField(whole), general(whole)) << whole;
}

} // namespace
} // namespace lw
