// The print form and the plain form as exact text, and against an
// independent snprintf reference over many values.
#include "export/print_form.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace lw;

namespace {

std::string printForm(double value)
{
    std::string line;
    appendPrintForm(line, value);
    return line;
}

std::string plainForm(float value)
{
    std::string line;
    appendPlainForm(line, value);
    return line;
}

// The same text the way the runtime's print would make it from "%.15G".
std::string referencePrintForm(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.15G", std::fabs(value));
    std::string digits = text;
    if (digits.starts_with("0."))
        digits.erase(0, 1);
    if (digits == "0")
        return " 0 ";
    return (value < 0 ? "-" : " ") + digits + " ";
}

} // namespace

TEST(PrintForm, WritesSignDigitsAndOneTrailingBlank)
{
    struct Case {
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {0.0, " 0 "},
        {-0.0, " 0 "},
        {100, " 100 "},
        {-4, "-4 "},
        {0.25, " .25 "},
        {-0.25, "-.25 "},
        {52.645833333333336, " 52.6458333333333 "},
        {102.64583333333333, " 102.645833333333 "},
        {1.0 / 3, " .333333333333333 "},
        {2.0 / 3, " .666666666666667 "},
        {0.1 + 0.2, " .3 "},
        {999999999999999, " 999999999999999 "},
        {999999999999999.9, " 1E+15 "},
        {1e15, " 1E+15 "},
        {-1.5e15, "-1.5E+15 "},
        {123456789012345678.0, " 1.23456789012346E+17 "},
        {1e100, " 1E+100 "},
        {1e-4, " .0001 "},
        {1.25e-4, " .000125 "},
        {9.99999999999999e-5, " 9.99999999999999E-05 "},
        {1.5e-5, " 1.5E-05 "},
        {-1e-300, "-1E-300 "},
        {5e-324, " 4.94065645841247E-324 "},
        {std::numeric_limits<double>::max(), " 1.79769313486232E+308 "},
        {1234567890123455.0, " 1.23456789012346E+15 "},
        {12345678901234.5, " 12345678901234.5 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(printForm(c.value), c.expected) << c.value;
}

TEST(PrintForm, AgreesWithSnprintfOverManyValues)
{
    std::mt19937_64 random(20240611);
    std::uniform_int_distribution<std::int64_t> coordinate(-200000, 200000);
    std::uniform_int_distribution<std::int64_t> wide(1'000'000'000'000'000LL, 9'999'999'999'999'999LL);
    const double k = (15.0 / 1440) * 25.4;
    int mismatches = 0;
    for (int i = 0; i < 400000 && mismatches < 10; ++i) {
        double value;
        switch (i % 4) {
        case 0: // any finite double, bit pattern at random
            do
                value = std::bit_cast<double>(random());
            while (!std::isfinite(value));
            break;
        case 1: // what the JW output writes
            value = 100 + double(coordinate(random)) * k;
            break;
        case 2: // 16-digit integers: exact, many sitting on a 15-digit midpoint
            value = double(wide(random)) / 10 * ((i & 8) ? 1 : 1e-10);
            break;
        default: // short decimals at every scale
            value = double(coordinate(random)) * std::pow(10.0, int(random() % 60) - 30);
            break;
        }
        const std::string got = printForm(value);
        const std::string want = referencePrintForm(value);
        if (got != want) {
            ++mismatches;
            ADD_FAILURE() << std::hexfloat << value << ": " << got << " != " << want;
        }
    }
}

// Where the short road hands over to the long one: the ends of its range,
// each power of ten, and values on or next to a 15-digit midpoint.
TEST(PrintForm, AgreesWithSnprintfAtTheEdgesOfTheFastRange)
{
    std::vector<double> values;
    for (int x = -5; x <= 16; ++x) {
        const double ten = std::pow(10.0, x);
        double down = ten, up = ten;
        for (int step = 0; step < 3; ++step) {
            values.push_back(down);
            values.push_back(up);
            down = std::nextafter(down, 0.0);
            up = std::nextafter(up, 1e300);
        }
    }
    // Midpoints at a sixteenth digit of 5, and their neighbours.
    for (double mid : {100.0000000000005, 123.456789012345 + 5e-13, 0.00100000000000005, 999999999999999.5,
                       99999999999999.95, 1.000000000000005, 0.5000000000000005, 108.4666666666665}) {
        values.push_back(mid);
        values.push_back(std::nextafter(mid, 0.0));
        values.push_back(std::nextafter(mid, 1e300));
    }
    // Every JW-like value of a coarse grid, scale 1:2.
    const double k = (15.0 / 1440) * 25.4 * 2;
    for (int p = -3000; p <= 3000; ++p)
        values.push_back(100 + p * k);
    for (double v : values) {
        EXPECT_EQ(printForm(v), referencePrintForm(v)) << std::hexfloat << v;
        EXPECT_EQ(printForm(-v), referencePrintForm(-v)) << std::hexfloat << -v;
    }
}

TEST(PlainForm, WritesShortestSinglePrecisionText)
{
    struct Case {
        float value;
        const char* expected;
    };
    const Case cases[] = {
        {501, "501"},       {494, "494"},     {0, "0"},           {-0.0f, "0"},
        {0.5f, "0.5"},      {0.1f, "0.1"},    {-3.25f, "-3.25"},  {1234567, "1234567"},
        {12345678, "1.234568E+07"},           {1e7f, "1E+07"},    {1.5e-5f, "1.5E-05"},
        {1e-4f, "0.0001"},  {1.0f / 3, "0.3333333"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plainForm(c.value), c.expected) << c.value;
}

TEST(PlainForm, AgreesWithSnprintfOverManyValues)
{
    std::mt19937 random(7);
    for (int i = 0; i < 100000; ++i) {
        float value;
        do
            value = std::bit_cast<float>(std::uint32_t(random()));
        while (!std::isfinite(value) || value == 0);
        char text[64];
        std::snprintf(text, sizeof text, "%.7G", double(value));
        ASSERT_EQ(plainForm(value), text) << std::hexfloat << value;
    }
}
