#pragma once
// The Release 12 drawing (AC1009): POLYLINE/VERTEX/SEQEND, no handles, no
// objects.

#include "export/dxf.hpp"
#include "export/dxf_tags.hpp"

#include <string_view>

namespace lw::dxf {

// Release 12's sections up to its entities, which follow.
void writeR12Head(Tags& t, const Extents& e, std::string_view layer, bool textLayer);

// The whole drawing of an outline.
void writeDxfR12(ByteSink& out, const CapturedOutline& outline, const DxfPlacement& placement);

} // namespace lw::dxf
