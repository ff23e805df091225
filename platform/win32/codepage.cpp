// Code page 932 through the Windows API, whatever the system's own ANSI code
// page is: the font description asks for Shift-JIS.

#include "base/codepage_unit.hpp"

#include <windows.h>

namespace lw {
namespace {

constexpr UINT kShiftJis = 932;

} // namespace

std::uint16_t encodeCp932Unit(char32_t c)
{
    wchar_t wide[2];
    int units = 1;
    if (c >= 0x10000) {
        wide[0] = wchar_t(0xD800 + ((c - 0x10000) >> 10));
        wide[1] = wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        units = 2;
    } else {
        wide[0] = wchar_t(c);
    }
    char bytes[4];
    BOOL usedDefault = FALSE;
    // No best fit: a character the code page lacks is "?", never a look-alike.
    int n = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide, units, bytes, sizeof bytes,
                                nullptr, &usedDefault);
    if (n <= 0 || n > 2 || usedDefault)
        return 0;
    return static_cast<std::uint16_t>(n == 1 ? static_cast<unsigned char>(bytes[0])
                                             : (static_cast<unsigned char>(bytes[0]) << 8)
                                                   | static_cast<unsigned char>(bytes[1]));
}

char32_t decodeCp932Unit(std::string_view unit)
{
    wchar_t wide[2];
    int n = MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, unit.data(), int(unit.size()), wide, 2);
    if (n != 1)
        return 0xFFFD;
    return wide[0];
}

} // namespace lw
