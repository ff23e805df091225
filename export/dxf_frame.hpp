#pragma once
// The 2000 drawing's frame: header, tables, blocks and objects around its
// entities. The frame is the same lines in every drawing but for a few
// values, so its fixed lines are made once per process.

#include "export/dxf_tags.hpp"

#include <string>
#include <string_view>

namespace lw::dxf {

// The frame's fixed lines, in the order they are written; a value of the
// drawing goes after each piece but the last.
struct FramePieces {
    std::string toLowCorner, toHighCorner, toHandleSeed, toViewCentre, toViewHeight, toTextLayerName,
        toEntities, toEnd;
};

// With or without the layer of the text entity.
const FramePieces& framePieces(bool textEntity);

// The drawing's frame up to its entities: extents, the next free handle,
// the view on the drawing, and the text's layer (in code page 932).
void writeFrameHead(Tags& t, const FramePieces& frame, const Extents& e, unsigned handleSeed, std::string_view layer);

} // namespace lw::dxf
