// The measured work bound against real captures: within a factor of two of
// the points the capture gives, across texts, faces, sizes, resolutions,
// angles and styles.
#include "outline/capture.hpp"
#include "outline_checks.hpp"
#include "outline/glyph_points.hpp"
#include "outline/work_bound.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using lw::test::repeated;

struct Request {
    std::string text;
    const char* face = "ＭＳ Ｐゴシック";
    float size = 24;
    double dpi = 96;
    std::int32_t angle = 0;
    lw::TextStyle style{};
    bool decorated = false;
};

lw::WindowFont fontOf(const Request& r)
{
    lw::WindowFont font;
    font.faceName = r.face;
    font.size = r.size;
    font.underline = font.strikeout = r.decorated;
    return font;
}

std::uint64_t capturedPoints(const Request& r)
{
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    const lw::WindowFont font = fontOf(r);
    lw::CapturedOutline outline;
    lw::drawFlattenPath(lw::Placement::Origin, {r.text, font, r.angle, 461, 301, 1440.0 / r.dpi,
                                                lw::Advances::Device, r.style},
                        dc, outline);
    return std::uint64_t(outline.pointCount);
}

std::string describe(const Request& r)
{
    return "\"" + r.text.substr(0, 24) + "\" " + r.face + " " + std::to_string(r.size) + " pt " +
           std::to_string(r.dpi) + " dpi " + std::to_string(r.angle) + " deg width " +
           std::to_string(r.style.widthPercent) + (r.style.bold ? " bold" : "") + (r.decorated ? " decorated" : "");
}

} // namespace

TEST(GlyphPoints, WithinTwiceTheRealCountEitherWay)
{
    const std::string texts[] = {
        "Hello, World!", "....,,,,''''", repeated("W", 40), "@&%$8gSoe", "繼鸞驫", "一二三",
        "編集テキスト ABC", repeated("繼", 30) + ".", repeated(".", 30) + "繼", "ｱｲｳｴｵ 123",
    };
    const float sizes[] = {1, 8, 24, 72, 144, 400};
    const double dpis[] = {96, 254, 2540};
    const char* faces[] = {"ＭＳ Ｐゴシック", "ＭＳ 明朝", "DejaVu Serif"};
    std::vector<Request> requests;
    int turn = 0;
    for (const std::string& text : texts)
        for (float size : sizes)
            for (double dpi : dpis) {
                // The face, the angle and the style turn with each case so
                // that each meets every text and size without the product.
                Request r{text, faces[turn % 3], size, dpi};
                r.angle = std::array{0, 30, 90, 347}[turn % 4];
                r.style.widthPercent = std::array{100, 10, 50, 200, 400}[turn % 5];
                r.style.spacing = turn % 2 ? 3.5 : 0;
                r.style.bold = turn % 7 == 3;
                r.decorated = turn % 3 == 1;
                requests.push_back(r);
                ++turn;
            }
    // Beyond the heights measured for every character: sampled, and beyond
    // those extrapolated.
    requests.push_back({"Sog8 編集", "ＭＳ 明朝", 2000, 96});
    requests.push_back({"Sog8 編集", "DejaVu Serif", 1000, 2540, 30});
    for (const Request& r : requests) {
        const double real = double(capturedPoints(r));
        lw::GlyphPointCounts counts(r.text, fontOf(r), r.angle, r.style);
        const double estimate = double(counts.estimate(r.dpi));
        EXPECT_GE(estimate, 0.5 * real) << describe(r) << ": " << estimate << " of " << real;
        EXPECT_LE(estimate, 2.0 * real) << describe(r) << ": " << estimate << " of " << real;
    }
}

TEST(GlyphPoints, EmptyAndBlankTextsHaveNoPointsAndHugeSizesSaturate)
{
    lw::WindowFont font;
    EXPECT_EQ(lw::GlyphPointCounts("", font).estimate(96), 0u);
    EXPECT_EQ(lw::GlyphPointCounts("   ", font).estimate(96), 0u);
    font.size = 1e30f;
    EXPECT_EQ(lw::GlyphPointCounts("A", font).estimate(1e300), UINT64_MAX);
    // Far beyond the measured heights the count still grows.
    font.size = 16384;
    lw::GlyphPointCounts large("繼", font);
    EXPECT_GT(large.estimate(100000), large.estimate(9600));
}
