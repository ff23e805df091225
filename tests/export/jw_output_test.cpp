// The outline lines of the JW output, compared as whole text.
#include "export/jw_output.hpp"
#include "export_test_support.hpp"
#include "base/failure.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace lw;
using lw::test::outlineOf;

namespace {

std::string written(CapturedOutline outline, const JwPlacement& placement)
{
    lw::StringSink out;
    writeJwOutline(out, outline, placement);
    return out.text();
}

std::size_t countLines(const std::string& text)
{
    std::size_t n = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++n;
    return n;
}

// k = 254 (to 15 digits): one device unit is 254 written units.
constexpr JwPlacement kUnit254{.baseX = 0, .baseY = 0, .scale = 10, .twipsPerPixel = 1440};

} // namespace

TEST(JwOutline, WorkedExampleToTheCharacter)
{
    const auto outline = outlineOf({{0, 0, 6}, {10, 0, 2}, {10, 10, 3}});
    EXPECT_EQ(written(outline, {.baseX = 100, .baseY = 50, .scale = 1, .twipsPerPixel = 15}),
              " 100  52.6458333333333 \r\n"
              " 102.645833333333  52.6458333333333 \r\n"
              " 102.645833333333  50 \r\n"
              " 100  52.6458333333333 \r\n"
              "\r\n");
}

TEST(JwOutline, EdgeCases)
{
    struct Case {
        const char* name;
        CapturedOutline outline;
        JwPlacement placement;
        std::string expected;
    };
    const Case cases[] = {
        {"no points", outlineOf({}), kUnit254, ""},
        {"scale 0 and no base point gives the origin everywhere",
         outlineOf({{3, 4, 6}, {-7, 9, 3}}), {.scale = 0},
         " 0  0 \r\n 0  0 \r\n 0  0 \r\n\r\n"},
        {"all y at or above 0 keeps the bottom at 0",
         outlineOf({{0, 0, 6}, {1, -2, 3}}), kUnit254,
         " 0  0 \r\n 254  508 \r\n 0  0 \r\n\r\n"},
        {"points after the last closing point are written plain",
         outlineOf({{0, 1, 6}, {1, 1, 3}, {2, 0, 6}, {2, 1, 2}}), kUnit254,
         " 0  0 \r\n 254  0 \r\n 0  0 \r\n\r\n 508  254 \r\n 508  0 \r\n"},
        {"negative coordinates take the minus sign in place of the blank",
         outlineOf({{-1, 3, 6}, {-2, 5, 3}}), {.baseX = 0, .baseY = -10, .scale = 10, .twipsPerPixel = 1440},
         "-254  498 \r\n-508 -10 \r\n-254  498 \r\n\r\n"},
        {"two figures in a row, the second starting after the first closing point",
         outlineOf({{0, 0, 6}, {1, 0, 3}, {5, 1, 6}, {6, 1, 2}, {6, 0, 3}}), kUnit254,
         " 0  254 \r\n 254  254 \r\n 0  254 \r\n\r\n"
         " 1270  0 \r\n 1524  0 \r\n 1524  254 \r\n 1270  0 \r\n\r\n"},
        {"a close bit among other bits closes the figure",
         outlineOf({{0, 0, 6}, {1, 0, 7}}), kUnit254,
         " 0  0 \r\n 254  0 \r\n 0  0 \r\n\r\n"},
        {"exponent forms for huge and tiny values",
         outlineOf({{0, 0, 6}, {1, 0, 3}}), {.baseX = 1e15, .baseY = -2e20, .scale = 1e-7, .twipsPerPixel = 1440},
         " 1E+15 -2E+20 \r\n 1E+15 -2E+20 \r\n 1E+15 -2E+20 \r\n\r\n"},
        {"tiny steps off a zero base", outlineOf({{0, 0, 6}, {1, 0, 3}}), {.scale = 1e-7, .twipsPerPixel = 1440},
         " 0  0 \r\n 2.54E-06  0 \r\n 0  0 \r\n\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(written(c.outline, c.placement), c.expected) << c.name;
}

// Regression: a walk counted in 16 bits overflowed at 32,768 points.
TEST(JwOutline, WritesOutlinesOf32768PointsAndMore)
{
    CapturedOutline many = outlineOf({});
    for (int i = 0; i < 10000; ++i)
        lw::test::appendSquare(many, i, 0, 1);
    ASSERT_EQ(many.pointCount, 40000);
    const std::string text = written(many, kUnit254);
    EXPECT_EQ(countLines(text), 10000u * 6);
    EXPECT_TRUE(text.ends_with(" 2539746  254 \r\n\r\n")) << text.substr(text.size() - 60);

    // One figure longer than 32,767 points still closes back to point 0.
    CapturedOutline longFigure;
    longFigure.pathPoints.assign(33001, POINT{1, 0});
    longFigure.pathTypes.assign(33001, PT_LINETO);
    longFigure.pathPoints[0] = {5, 0};
    longFigure.pathTypes[0] = PT_MOVETO;
    longFigure.pathTypes[32999] = PT_LINETO | PT_CLOSEFIGURE;
    longFigure.pathPoints[33000] = {};
    longFigure.pathTypes[33000] = 0;
    longFigure.pointCount = 33000;
    const std::string longText = written(longFigure, kUnit254);
    EXPECT_EQ(countLines(longText), 33002u);
    EXPECT_TRUE(longText.ends_with(" 254  0 \r\n 1270  0 \r\n\r\n"));
}

TEST(JwOutline, FailuresLeaveOnlyWholeLines)
{
    struct Case {
        const char* name;
        CapturedOutline outline;
        JwPlacement placement;
        FailureKind kind;
        std::string what;
        std::string writtenBefore;
    };
    const Case cases[] = {
        {"factor beyond the double range", outlineOf({{0, 0, 6}, {1, 0, 3}}),
         {.scale = 1e308, .twipsPerPixel = 1e308}, FailureKind::FloatingPoint,
         "Floating-point failure: scale factor", ""},
        {"coordinate beyond the double range", outlineOf({{0, 0, 6}, {10, 0, 2}, {0, 1, 3}}),
         {.baseX = 1.7e308, .scale = 1e306, .twipsPerPixel = 1440}, FailureKind::FloatingPoint,
         "Floating-point failure: point 1", " 1.7E+308  2.54E+307 \r\n"},
        {"point count beyond the captured arrays",
         [] { auto o = outlineOf({{0, 0, 6}}); o.pointCount = 5; return o; }(), kUnit254,
         FailureKind::SubscriptOutOfRange, "Subscript out of range: point count 5 beyond the captured points", ""},
    };
    for (const auto& c : cases) {
        CapturedOutline outline = c.outline;
        lw::StringSink out;
        try {
            writeJwOutline(out, outline, c.placement);
            ADD_FAILURE() << c.name << ": no failure";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.kind(), c.kind) << c.name;
            EXPECT_STREQ(failure.what(), c.what.c_str()) << c.name;
        }
        EXPECT_EQ(out.text(), c.writtenBefore) << c.name;
    }
}
