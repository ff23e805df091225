// Code page 932 through glibc's iconv.

#include "base/codepage_unit.hpp"
#include "base/utf8.hpp"

#include <iconv.h>

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
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[16];
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return false;
        out.append(buffer, std::size_t(outPtr - buffer));
        return true;
    }

private:
    iconv_t cd_;
};

Converter& toCp932Converter()
{
    static Converter converter("CP932", "UTF-8");
    return converter;
}

Converter& fromCp932Converter()
{
    static Converter converter("UTF-8", "CP932");
    return converter;
}

} // namespace

std::uint16_t encodeCp932Unit(char32_t c)
{
    std::string utf8, bytes;
    appendUtf8(utf8, c);
    if (!toCp932Converter().convert(utf8, bytes) || bytes.empty() || bytes.size() > 2)
        return 0;
    return static_cast<std::uint16_t>(bytes.size() == 1 ? static_cast<unsigned char>(bytes[0])
                                                        : (static_cast<unsigned char>(bytes[0]) << 8)
                                                              | static_cast<unsigned char>(bytes[1]));
}

char32_t decodeCp932Unit(std::string_view unit)
{
    std::string utf8;
    if (!fromCp932Converter().convert(unit, utf8) || utf8.empty())
        return 0xFFFD;
    std::size_t i = 0;
    return nextCodepoint(utf8, i);
}

} // namespace lw
