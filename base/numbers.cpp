#include "base/numbers.hpp"

#include "base/failure.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace lw {
namespace {

bool isIgnoredBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a radix integer the way the runtime types it: 16-bit when the digits
// fit in 16 bits, else 32-bit, both two's complement; larger stays unsigned.
double radixValue(const std::string& digits, unsigned radix)
{
    std::uint64_t value = 0;
    bool huge = false;
    double big = 0;
    for (char c : digits) {
        unsigned d;
        if (isDigit(c))
            d = unsigned(c - '0');
        else if (c >= 'a' && c <= 'f')
            d = unsigned(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            d = unsigned(c - 'A' + 10);
        else
            break;
        if (d >= radix)
            break;
        big = big * radix + d;
        if (!huge) {
            value = value * radix + d;
            if (value > 0xFFFFFFFFu)
                huge = true;
        }
    }
    if (huge)
        return big;
    if (value <= 0xFFFF)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// Length of the longest prefix of s of the form [+-]digits[.digits][(E|D)[+-]digits]
// with at least one mantissa digit; 0 when there is none.
std::size_t numberPrefix(const std::string& s, bool& hasExponentD)
{
    std::size_t i = 0;
    hasExponentD = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t mantissaDigits = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            hasExponentD = (s[i] == 'D' || s[i] == 'd');
            i = j;
        }
    }
    return i;
}

double convertPrefix(std::string s, std::size_t length, bool exponentD)
{
    s.resize(length);
    if (exponentD) {
        for (char& c : s)
            if (c == 'D' || c == 'd')
                c = 'E';
    }
    // from_chars takes no leading '+'.
    std::size_t start = (!s.empty() && s[0] == '+') ? 1 : 0;
    double value = 0;
    auto [ptr, ec] = std::from_chars(s.data() + start, s.data() + s.size(), value,
                                     std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Overflowed magnitudes become infinities, underflows zero; the
        // caller's conversion to an integer reports the overflow.
        bool tiny = s.find_first_of("Ee") != std::string::npos
                    && s.find("-", s.find_first_of("Ee")) != std::string::npos;
        bool negative = s[0] == '-';
        if (tiny)
            return negative ? -0.0 : 0.0;
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    (void)ptr;
    return value;
}

} // namespace

double leadingNumberValue(std::string_view text)
{
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (!isIgnoredBlank(c))
            compact.push_back(c);

    if (compact.size() >= 2 && compact[0] == '&') {
        char r = compact[1];
        if (r == 'H' || r == 'h')
            return radixValue(compact.substr(2), 16);
        if (r == 'O' || r == 'o')
            return radixValue(compact.substr(2), 8);
        return 0;
    }
    bool exponentD = false;
    std::size_t length = numberPrefix(compact, exponentD);
    if (length == 0)
        return 0;
    return convertPrefix(compact, length, exponentD);
}

std::string shortest(double value)
{
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, error == std::errc() ? end : buffer);
}

std::string shortest(float value)
{
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, error == std::errc() ? end : buffer);
}

double roundHalfEven(double value)
{
    double nearest = std::round(value); // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5)
        nearest = 2.0 * std::round(value / 2.0);
    return nearest;
}

std::int32_t roundToInt32(double value, std::string_view what)
{
    double r = roundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw Failure(FailureKind::Overflow, std::string(what));
    return static_cast<std::int32_t>(r);
}

void throwOverflow()
{
    throw Failure(FailureKind::Overflow, {});
}

double parseDecimal(std::string_view word, std::string_view where)
{
    std::size_t first = 0, last = word.size();
    while (first < last && (word[first] == ' ' || word[first] == '\t'))
        ++first;
    while (last > first && (word[last - 1] == ' ' || word[last - 1] == '\t'))
        --last;
    std::string body(word.substr(first, last - first));
    bool exponentD = false;
    std::size_t length = numberPrefix(body, exponentD);
    if (length == 0 || length != body.size())
        throw Failure(FailureKind::TypeMismatch, std::string(where));
    double value = convertPrefix(body, length, exponentD);
    if (!std::isfinite(value))
        throw Failure(FailureKind::Overflow, std::string(where));
    return value;
}

} // namespace lw
