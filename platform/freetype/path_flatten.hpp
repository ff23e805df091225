#pragma once
// The path flattened: curves within kFlatness, points rounded to whole
// pixels as they are made, every figure closed; a glyph at a whole-pixel
// origin placed from its flattened copy.

#include "platform/freetype/flat_glyph.hpp"
#include "platform/freetype/state.hpp"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lw {

// The points of `s` flattened into the two arrays; with `area`, glyphs
// wholly outside it are left out; with `runs`, the glyphs placed from their
// flattened copies are told there. The count of points.
std::size_t flattenPath(const DeviceContext::State& s, std::vector<POINT>& points, std::vector<std::uint8_t>& types,
                        const DeviceArea* area = nullptr, std::vector<GlyphRun>* runs = nullptr);

// The glyph's flattened copy under `m`, made now where it can serve; none
// where the glyph stands off the whole pixels the copy holds for.
const FlatGlyph* flatGlyphAt(const DeviceContext::State::PlacedGlyph& g, const DeviceContext::State::GlyphMap& m);

} // namespace lw
