#pragma once
// Number helpers shared by every caller: the leading-number value of a text,
// rounding half to even, and checked integer arithmetic. All locale-free.

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace lw {

// The value of the number at the start of a text. Blanks, tabs and line feeds
// are ignored wherever they stand; then an optional sign, digits, "." and
// digits, and an exponent (E or D). &H / &O read a hexadecimal / octal
// integer (16-bit when it fits 4 / 6 digits' worth, else 32-bit, as the
// runtime types them). A comma ends the number; no number gives 0.
//
//   leadingNumberValue("1 2")   -> 12
//   leadingNumberValue("3,5")   -> 3
//   leadingNumberValue("&HFF")  -> 255
double leadingNumberValue(std::string_view text);

// The shortest text that reads back as `value` ("0.1", "100", "1e+15"), in
// the type it has: a float's own digits, not those of the double it widens to.
std::string shortest(double value);
std::string shortest(float value);
template <std::integral T>
std::string shortest(T value)
{
    return shortest(double(value));
}

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// roundHalfEven into a 32-bit integer; a result outside the range (or NaN)
// is the overflow failure, naming `what`.
std::int32_t roundToInt32(double value, std::string_view what = {});

// Checked arithmetic: a result outside the type is the overflow failure.
// Inline: the capture counts every point with it.
[[noreturn]] void throwOverflow();

inline std::int32_t checkedAdd32(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_add_overflow(a, b, &r))
        throwOverflow();
    return r;
}

inline std::int32_t checkedMul32(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_mul_overflow(a, b, &r))
        throwOverflow();
    return r;
}

inline std::int16_t checkedAdd16(std::int16_t a, std::int16_t b)
{
    std::int16_t r;
    if (__builtin_add_overflow(a, b, &r))
        throwOverflow();
    return r;
}

// Text to double for file words ("hp1"/"hs"): blanks around, sign, digits
// with ".", optional exponent; anything else (the empty text included) is the
// type-mismatch failure naming `where`.
double parseDecimal(std::string_view word, std::string_view where);

} // namespace lw
