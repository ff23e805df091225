#include "platform/file_io.hpp"

#include <atomic>
#include <cstdio>
#include <random>

namespace lw::fileio {

std::string uniqueName(const std::string& prefix, const std::string& suffix, unsigned processId)
{
    static std::atomic<unsigned> serial{0};
    std::random_device random;
    char letters[24];
    std::snprintf(letters, sizeof letters, "%08x%04x", unsigned(random()), (processId + serial++) & 0xFFFF);
    return prefix + letters + suffix;
}

} // namespace lw::fileio
