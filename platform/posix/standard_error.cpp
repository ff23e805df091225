#include "platform/standard_error.hpp"

#include <cstdio>

namespace lw {

void writeStandardError(std::string_view utf8)
{
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

} // namespace lw
