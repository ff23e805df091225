#include "form/face_note_key.hpp"

#include "base/utf8.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace lw {

std::string faceNoteKey(std::string_view faceName, bool italic, bool bold, std::string_view text)
{
    std::string key(faceName);
    key += '\0';
    key += italic ? 'i' : '-';
    key += bold ? 'b' : '-';
    key += '\0';
    // A bit per character of the basic plane, on the stack: a long text is
    // read once, in order, and the set comes out sorted without a sort or
    // an allocation per keystroke. The rarer characters beyond are sorted.
    std::array<std::uint64_t, 0x10000 / 64> basic{};
    std::vector<char32_t> beyond;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = nextCodepoint(text, i);
        if (c < 0x10000)
            basic[c / 64] |= std::uint64_t(1) << (c % 64);
        else
            beyond.push_back(c);
    }
    for (std::size_t word = 0; word < basic.size(); ++word)
        for (std::uint64_t bits = basic[word]; bits != 0; bits &= bits - 1)
            appendUtf8(key, char32_t(word * 64 + std::size_t(std::countr_zero(bits))));
    std::sort(beyond.begin(), beyond.end());
    beyond.erase(std::unique(beyond.begin(), beyond.end()), beyond.end());
    for (char32_t c : beyond)
        appendUtf8(key, c);
    return key;
}

} // namespace lw
