#include "base/words.hpp"

#include <limits>

namespace lw {

std::vector<std::string_view> firstWords(std::string_view text, std::size_t most)
{
    std::vector<std::string_view> out;
    if (text.empty())
        return out;
    std::size_t start = 0;
    while (out.size() < most) {
        std::size_t space = text.find(' ', start);
        if (space == std::string_view::npos) {
            out.push_back(text.substr(start));
            break;
        }
        out.push_back(text.substr(start, space - start));
        start = space + 1;
    }
    return out;
}

std::vector<std::string_view> words(std::string_view text)
{
    return firstWords(text, std::numeric_limits<std::size_t>::max());
}

} // namespace lw
