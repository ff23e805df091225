// The text style dialog's number boxes: what a typed value becomes, as a spin
// box would take it, and how it is shown.

#include "window/win32/text_style_field.hpp"

#include <gtest/gtest.h>


namespace lw {
namespace {

const TextStyleFieldDesign& spacing() { return kTextStyleFields[0]; }
const TextStyleFieldDesign& width() { return kTextStyleFields[1]; }

struct Typed {
    const char* text;
    double spacing, width; // each from a previous value of 7
};

TEST(TextStyleField, TypedValueIsHeldAndRoundedOrLeftAsItWas)
{
    const Typed cases[] = {
        {"50", 50, 50},
        {" 1.25 ", 1.25, 10},      // width: no decimals, at least 10
        {"+2", 2, 10},
        {"-3.125", -3.13, 10},     // spacing rounds to its two decimals
        {"10000", 1000, 400},      // past the range: its end
        {"-10000", -1000, 10},
        {"2 pt", 2, 7},            // the field's own unit only
        {"0.5mm", 1.42, 7},        // the spacing's millimetres, 0.5 / 25.4 * 72 pt
        {"-2 MM", -5.67, 7},
        {"1 px", 7, 7},
        {"60%", 7, 60},
        {"60 %", 7, 60},
        {"-0.001", 0, 10},         // no "-0"
        {"", 7, 7},                // no number: the previous value
        {"abc", 7, 7},
        {"1.2.3", 7, 7},
        {"--1", 7, 7},
        {"1e3", 7, 7},
        {"inf", 7, 7},
        {"nan", 7, 7},
        {"99999999999999999999999999999999999999999999999999", 1000, 400},
    };
    for (const Typed& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(typedFieldValue(c.text, spacing(), 7), c.spacing);
        EXPECT_DOUBLE_EQ(typedFieldValue(c.text, width(), 7), c.width);
    }
}

TEST(TextStyleField, StepsStopAtTheRangesEnds)
{
    EXPECT_DOUBLE_EQ(steppedFieldValue(0, 1, spacing()), 0.25);
    EXPECT_DOUBLE_EQ(steppedFieldValue(0, -3, spacing()), -0.75);
    EXPECT_DOUBLE_EQ(steppedFieldValue(999.9, 1, spacing()), 1000);
    EXPECT_DOUBLE_EQ(steppedFieldValue(100, 1, width()), 105);
    EXPECT_DOUBLE_EQ(steppedFieldValue(12, -1, width()), 10);
    EXPECT_DOUBLE_EQ(steppedFieldValue(400, 2, width()), 400);
}

TEST(TextStyleField, ShownWithTheFieldsDecimalsWhateverTheLocale)
{
    EXPECT_EQ(shownFieldValue(0, spacing()), "0.00");
    EXPECT_EQ(shownFieldValue(-1.5, spacing()), "-1.50");
    EXPECT_EQ(shownFieldValue(-0.001, spacing()), "0.00");
    EXPECT_EQ(shownFieldValue(100, width()), "100");
    EXPECT_EQ(shownFieldValue(1000, width()), "400");
}

} // namespace
} // namespace lw
