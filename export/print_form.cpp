#include "export/print_form.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
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

// a * b = p + error exactly, p the rounded product (Dekker's product; no
// fused multiply-add is needed, and values from the fast range cannot
// overflow or underflow it).
double productError(double a, double b, double p)
{
    constexpr double kSplit = 134217729.0; // 2^27 + 1
    const double ca = kSplit * a, cb = kSplit * b;
    const double ah = ca - (ca - a), al = a - ah;
    const double bh = cb - (cb - b), bl = b - bh;
    return ((ah * bh - p) + ah * bl + al * bh) + al * bl;
}

// Two decimal digits at a time.
constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                          "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                          "8081828384858687888990919293949596979899";

// Eight digits of v (< 10^8), with leading zeros.
void eightDigits(char* out, std::uint32_t v)
{
    const std::uint32_t high = v / 10000, low = v % 10000;
    std::memcpy(out, kPairs + 2 * (high / 100), 2);
    std::memcpy(out + 2, kPairs + 2 * (high % 100), 2);
    std::memcpy(out + 4, kPairs + 2 * (low / 100), 2);
    std::memcpy(out + 6, kPairs + 2 * (low % 100), 2);
}

// The 15 digits of a value from 0.001 to 10^15 (the range coordinates live
// in) from one exact product with a power of ten: the rounding is decided
// there unless the value lies on or next to a midpoint, or outside the
// range, and then the caller takes the long way.
bool fastDigits(double magnitude, Decimal& d)
{
    if (!(magnitude >= 1e-3 && magnitude < 1e15))
        return false;
    static constexpr double kTens[] = {1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    // 10^17 down to 10^0, all exact in a double.
    static constexpr double kScales[] = {1e17, 1e16, 1e15, 1e14, 1e13, 1e12, 1e11, 1e10, 1e9,
                                         1e8,  1e7,  1e6,  1e5,  1e4,  1e3,  1e2,  1e1,  1e0};
    int e = 0; // the decimal exponent + 3; the inexact tenths are checked below
    while (magnitude >= kTens[e])
        ++e;
    const double scaled = magnitude * kScales[e];
    // A misjudged exponent or a carry into a sixteenth digit goes the long way.
    if (!(scaled >= 1e14 + 1 && scaled < 1e15 - 1))
        return false;
    auto whole = static_cast<std::uint64_t>(scaled);
    // Below 2^53 the subtraction is exact; the product's error is the rest.
    double fraction = (scaled - static_cast<double>(whole)) + productError(magnitude, kScales[e], scaled);
    if (fraction < 0) {
        --whole;
        fraction += 1;
    } else if (fraction >= 1) {
        ++whole;
        fraction -= 1;
    }
    if (fraction > 0.4999 && fraction < 0.5001)
        return false;
    const std::uint64_t m = whole + (fraction > 0.5);
    if (m >= 1'000'000'000'000'000ULL)
        return false;
    // 15 digits: 7, then 8.
    char text[16];
    const auto high = static_cast<std::uint32_t>(m / 100000000), low = static_cast<std::uint32_t>(m % 100000000);
    eightDigits(text, high); // text[0] is the zero of a 7-digit part
    eightDigits(text + 8, low);
    int count = kSignificant;
    while (text[count] == '0')
        --count;
    std::memcpy(d.digits, text + 1, std::size_t(count));
    d.count = count;
    d.exponent = e - 3;
    return true;
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
    if (!fastDigits(magnitude, d)) {
        if (std::isnormal(magnitude))
            roundedDigits(magnitude, d);
        else
            exactDigits(magnitude, d);
    }
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
