#include "base/words.hpp"

namespace lw {

std::vector<std::string_view> words(std::string_view text)
{
    std::vector<std::string_view> out;
    if (text.empty())
        return out;
    std::size_t start = 0;
    for (;;) {
        std::size_t space = text.find(' ', start);
        if (space == std::string_view::npos) {
            out.push_back(text.substr(start));
            return out;
        }
        out.push_back(text.substr(start, space - start));
        start = space + 1;
    }
}

} // namespace lw
