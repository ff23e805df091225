// Code page 932 from tables made of glibc's converter at build time: no
// converter module to load at every start. The converter itself is opened
// only for a unit the tables do not hold (no caller hands one today).

#include "base/codepage_unit.hpp"
#include "base/utf8.hpp"
#include "platform/posix/cp932_tables.hpp"
#include "platform/posix/iconv_unit.hpp"

namespace lw {
namespace {

// One converter per direction, opened once: iconv_open is far
// dearer than a conversion of a few characters.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one whole unit; false when the target cannot hold it.
    bool convert(std::string_view in, std::string& out)
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return false;
        return convertUnit(cd_, in, out);
    }

private:
    iconv_t cd_;
};

Converter& fromCp932Converter()
{
    static Converter converter("UTF-8", "CP932");
    return converter;
}

// A lead byte's place among the lead bytes; -1 for any other byte.
int leadPlace(unsigned char b)
{
    if (b >= 0x81 && b <= 0x9F)
        return b - 0x81;
    if (b >= 0xE0 && b <= 0xFC)
        return b - 0xE0 + (0x9F - 0x81 + 1);
    return -1;
}

} // namespace

std::uint16_t encodeCp932Unit(char32_t c)
{
    if (c > 0xFFFF)
        return 0;
    return cp932::kEncodeUnits[cp932::kEncodePage[c >> 8]][c & 0xFF];
}

char32_t decodeCp932Unit(std::string_view unit)
{
    if (unit.size() == 1)
        return cp932::kSingle[static_cast<unsigned char>(unit[0])];
    if (unit.size() == 2) {
        if (const int place = leadPlace(static_cast<unsigned char>(unit[0])); place >= 0)
            return cp932::kDouble[place][static_cast<unsigned char>(unit[1])];
    }
    std::string utf8;
    if (!fromCp932Converter().convert(unit, utf8) || utf8.empty())
        return 0xFFFD;
    std::size_t i = 0;
    return nextCodepoint(utf8, i);
}

} // namespace lw
