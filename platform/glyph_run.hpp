#pragma once
// A glyph the flattening placed whole from its flattened copy: points
// [first, first + count) of the flattened path are the copy's points moved
// by (dx, dy), closed figures all. Equal `copy` values mean equal points
// before the move, so whatever is worked out from one run holds, moved, for
// every run of the same copy. A copy's name is never given to another, even
// after the copy itself is gone.

#include <cstdint>

namespace lw {

struct GlyphRun {
    std::uint64_t copy = 0;
    std::uint32_t first = 0, count = 0;
    std::int32_t dx = 0, dy = 0;
};

} // namespace lw
