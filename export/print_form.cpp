#include "export/print_form.hpp"

#include <charconv>
#include <cmath>
#include <cstring>

namespace lw {
namespace {

constexpr int kSignificant = 15;

// Decimal digits d1 d2 ... dn meaning d1.d2...dn x 10^exponent, no trailing zeros.
struct Decimal {
    char digits[24];
    int count = 0;
    int exponent = 0;
};

// Reads to_chars' scientific text "d[.ddd]e[+-]XX".
void parseScientific(const char* first, const char* last, Decimal& d)
{
    d.count = 0;
    const char* p = first;
    for (; p != last && *p != 'e'; ++p)
        if (*p != '.')
            d.digits[d.count++] = *p;
    ++p;
    const bool negative = *p == '-';
    int exponent = 0;
    for (++p; p != last; ++p)
        exponent = exponent * 10 + (*p - '0');
    d.exponent = negative ? -exponent : exponent;
}

// The value rounded to 15 significant digits, exactly as "%.15E" rounds it.
// The shortest round-trip digits are cheap; rounding them again gives the
// correctly rounded result for normal values unless they sit exactly on a
// midpoint, which only the exact conversion can settle.
void roundedDigits(double magnitude, Decimal& d)
{
    char text[40];
    auto shortest = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific);
    parseScientific(text, shortest.ptr, d);
    if (d.count > kSignificant) {
        const char next = d.digits[kSignificant];
        bool beyond = false;
        for (int i = kSignificant + 1; i < d.count; ++i)
            beyond = beyond || d.digits[i] != '0';
        if (next == '5' && !beyond) {
            auto exact = std::to_chars(text, text + sizeof text, magnitude,
                                       std::chars_format::scientific, kSignificant - 1);
            parseScientific(text, exact.ptr, d);
        } else {
            d.count = kSignificant;
            if (next >= '5') {
                int i = kSignificant - 1;
                while (i >= 0 && d.digits[i] == '9')
                    d.digits[i--] = '0';
                if (i >= 0) {
                    ++d.digits[i];
                } else {
                    d.digits[0] = '1';
                    ++d.exponent;
                }
            }
        }
    }
    while (d.count > 1 && d.digits[d.count - 1] == '0')
        --d.count;
}

// Subnormals carry fewer digits than 15, so their shortest digits are not
// the 15-digit rounding; they take the exact conversion.
void exactDigits(double magnitude, Decimal& d)
{
    char text[40];
    auto exact = std::to_chars(text, text + sizeof text, magnitude,
                               std::chars_format::scientific, kSignificant - 1);
    parseScientific(text, exact.ptr, d);
    while (d.count > 1 && d.digits[d.count - 1] == '0')
        --d.count;
}

// Lays out the digits as "%G" does at the digit count's precision, without
// the "0" before "." and with an upper-case exponent of at least two digits.
void appendDecimal(std::string& line, const Decimal& d, int precision, bool leadingZero)
{
    char text[48];
    char* out = text;
    const int x = d.exponent;
    if (x < -4 || x >= precision) {
        *out++ = d.digits[0];
        if (d.count > 1) {
            *out++ = '.';
            std::memcpy(out, d.digits + 1, std::size_t(d.count - 1));
            out += d.count - 1;
        }
        *out++ = 'E';
        *out++ = x < 0 ? '-' : '+';
        const int a = x < 0 ? -x : x;
        if (a < 10)
            *out++ = '0';
        out = std::to_chars(out, text + sizeof text, a).ptr;
    } else if (x < 0) {
        if (leadingZero)
            *out++ = '0';
        *out++ = '.';
        for (int i = -1; i > x; --i)
            *out++ = '0';
        std::memcpy(out, d.digits, std::size_t(d.count));
        out += d.count;
    } else {
        for (int i = 0; i <= x; ++i)
            *out++ = i < d.count ? d.digits[i] : '0';
        if (d.count > x + 1) {
            *out++ = '.';
            std::memcpy(out, d.digits + x + 1, std::size_t(d.count - x - 1));
            out += d.count - x - 1;
        }
    }
    line.append(text, out);
}

} // namespace

void appendPrintForm(std::string& line, double value)
{
    if (value == 0) {
        line += " 0 ";
        return;
    }
    if (!std::isfinite(value)) {
        // Callers refuse such values before writing; keep the text readable.
        line += std::isnan(value) ? " NaN " : value < 0 ? "-Inf " : " Inf ";
        return;
    }
    line += value < 0 ? '-' : ' ';
    const double magnitude = std::fabs(value);
    Decimal d;
    if (std::isnormal(magnitude))
        roundedDigits(magnitude, d);
    else
        exactDigits(magnitude, d);
    appendDecimal(line, d, kSignificant, false);
    line += ' ';
}

void appendPlainForm(std::string& line, float value)
{
    if (value == 0) {
        line += '0';
        return;
    }
    if (!std::isfinite(value)) {
        line += std::isnan(value) ? "NaN" : value < 0 ? "-Inf" : "Inf";
        return;
    }
    if (value < 0)
        line += '-';
    char text[40];
    auto end = std::to_chars(text, text + sizeof text, std::fabs(value),
                             std::chars_format::scientific, 6).ptr;
    Decimal d;
    parseScientific(text, end, d);
    while (d.count > 1 && d.digits[d.count - 1] == '0')
        --d.count;
    appendDecimal(line, d, 7, true);
}

} // namespace lw
