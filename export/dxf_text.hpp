#pragma once
// The text itself as a DXF TEXT entity beside its outline.

#include "export/dxf.hpp"
#include "export/dxf_tags.hpp"

#include <optional>

namespace lw::dxf {

// With a handle, the 2000 drawing's entity (owner and subclasses); without,
// Release 12's. `placement.textEntity` must be set.
void writeTextEntity(Tags& t, const DxfPlacement& placement, std::optional<unsigned> handle);

} // namespace lw::dxf
