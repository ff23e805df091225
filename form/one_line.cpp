#include "form/one_line.hpp"

namespace lw {

std::string pastedLine(std::string_view pasted)
{
    std::string line;
    line.reserve(pasted.size());
    for (std::size_t i = 0; i < pasted.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(pasted[i]);
        if (c == '\n' || c == '\r')
            break;
        if (c == '\t') {
            line += ' ';
            continue;
        }
        if (c < 0x20 || c == 0x7F)
            continue;
        const std::string_view rest = pasted.substr(i);
        // U+2028 and U+2029 end a line too; C1 controls (U+0080..U+009F) draw boxes.
        if (rest.starts_with("\xE2\x80\xA8") || rest.starts_with("\xE2\x80\xA9"))
            break;
        if (c == 0xC2 && i + 1 < pasted.size() && static_cast<unsigned char>(pasted[i + 1]) <= 0x9F
            && static_cast<unsigned char>(pasted[i + 1]) >= 0x80) {
            ++i;
            continue;
        }
        line += char(c);
    }
    return line;
}

} // namespace lw
