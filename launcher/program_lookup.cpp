#include "program_lookup.hpp"

#include <cwchar>

namespace launcher {

std::size_t localeCharLength(std::string_view rest)
{
    std::mbstate_t state{};
    std::size_t n = std::mbrlen(rest.data(), rest.size(), &state);
    // (size_t)-1 invalid, (size_t)-2 truncated, 0 an embedded NUL: one byte.
    if (n == 0 || n > rest.size())
        return 1;
    return n;
}

std::size_t utf8CharLength(std::string_view rest)
{
    if (rest.empty())
        return 1;
    const auto lead = static_cast<unsigned char>(rest[0]);
    std::size_t n = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        n = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        n = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        n = 4;
    if (n > rest.size())
        return 1;
    for (std::size_t i = 1; i < n; ++i) {
        if ((static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80)
            return 1;
    }
    return n;
}

namespace {

// A length the callback gets wrong is taken as one byte, so the scan always
// advances and never leaves the name.
std::size_t charAt(std::string_view name, std::size_t i, const CharLength& charLength)
{
    std::size_t len = charLength(name.substr(i));
    return len == 0 || len > name.size() - i ? 1 : len;
}

} // namespace

std::vector<std::string> programCandidates(std::string_view name, const CharLength& charLength,
                                           char separator)
{
    if (name.empty())
        return {};

    // One pass over whole characters: the path with both slashes turned into
    // the separator, the byte after the last slash and the byte after the
    // first colon.
    std::string path;
    path.reserve(name.size() + 6);
    std::size_t afterSlash = std::string_view::npos;
    std::size_t afterColon = std::string_view::npos;
    for (std::size_t i = 0; i < name.size();) {
        std::size_t len = charAt(name, i, charLength);
        if (len == 1 && (name[i] == '\\' || name[i] == '/')) {
            path += separator;
            afterSlash = i + 1;
        } else {
            if (len == 1 && name[i] == ':' && afterColon == std::string_view::npos)
                afterColon = i + 1;
            path.append(name.substr(i, len));
        }
        i += len;
    }

    std::size_t fileStart = afterSlash != std::string_view::npos ? afterSlash
                            : afterColon != std::string_view::npos ? afterColon
                                                                   : 0;
    if (afterSlash == std::string_view::npos && afterColon == std::string_view::npos)
        path.insert(0, {'.', separator});

    bool fileHasDot = false;
    for (std::size_t i = fileStart; i < name.size();) {
        std::size_t len = charAt(name, i, charLength);
        if (len == 1 && name[i] == '.') {
            fileHasDot = true;
            break;
        }
        i += len;
    }
    if (fileHasDot)
        return {path};
    return {path + ".com", path + ".exe", path + ".bat", path + ".cmd", path};
}

std::optional<std::string> findProgram(std::string_view name,
                                       const std::function<bool(const std::string&)>& exists,
                                       const CharLength& charLength, char separator)
{
    for (std::string& candidate : programCandidates(name, charLength, separator)) {
        if (exists(candidate))
            return std::move(candidate);
    }
    return std::nullopt;
}

} // namespace launcher
