#pragma once
// One whole unit through an iconv descriptor, as the code page's tables were
// made and are checked: the table maker, the converter kept for units the
// tables do not hold, and the test against glibc go through this one call.

#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace lw {

// Appends the whole of `in` converted; false, with nothing appended, when the
// target cannot hold it or the converter stops short. The descriptor's shift
// state is reset first, so every unit converts on its own.
inline bool convertUnit(iconv_t cd, std::string_view in, std::string& out)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buffer[16];
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
        return false;
    out.append(buffer, std::size_t(outPtr - buffer));
    return true;
}

} // namespace lw
