#pragma once
// The FreeType backend's read-back without a copy: what FlattenPath and the
// two GetPath calls (count, then fill) give, written straight into the
// caller's arrays, sized once from a bound on the flattened points.

#include "platform/device_context.hpp"

#include <cstdint>
#include <vector>

namespace lw {

// Flattens the closed path into `points` and `types`, which end with n
// entries each and room for one more; returns n, or -1 without a closed
// path. GetPath answers afterwards as after FlattenPath.
int flattenPathInto(DeviceContext& dc, std::vector<POINT>& points, std::vector<std::uint8_t>& types);

} // namespace lw
