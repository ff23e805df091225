#pragma once
// The captured outline: what the last capture read back from the flattened
// path, held by the window between a capture and an export.

#include "outline/gdi_types.hpp"

#include <cstdint>
#include <vector>

namespace lw {

class DeviceContext;

struct CapturedOutline {
    DeviceContext* previewDC = nullptr;
    LOGFONT logFont{};
    // n, the number of points of the flattened path.
    std::int32_t pointCount = 0;
    // Indices 0 to n: slots 0..n-1 hold the path, slot n stays (0,0) / 0, so
    // the upper index of either array always equals pointCount.
    std::vector<POINT> pathPoints{POINT{}};
    std::vector<std::uint8_t> pathTypes{0};
    // Points of the figure being walked; 0 whenever no walk is in progress.
    std::int32_t figureCount = 0;

    // The upper index of pathTypes, which the exports read the count back as.
    std::int32_t upperIndex() const { return static_cast<std::int32_t>(pathTypes.size()) - 1; }
};

} // namespace lw
