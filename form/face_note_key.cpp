#include "form/face_note_key.hpp"

#include "base/utf8.hpp"

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
    // A bit per code point: a long text is read once, in order, and the set
    // comes out sorted without a sort.
    std::vector<std::uint64_t> seen(0x110000 / 64);
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = nextCodepoint(text, i);
        if (c < 0x110000)
            seen[c / 64] |= std::uint64_t(1) << (c % 64);
    }
    for (std::size_t word = 0; word < seen.size(); ++word)
        for (std::uint64_t bits = seen[word]; bits != 0; bits &= bits - 1)
            appendUtf8(key, char32_t(word * 64 + std::size_t(std::countr_zero(bits))));
    return key;
}

} // namespace lw
