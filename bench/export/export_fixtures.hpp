#pragma once
// What the export benchmarks share: the outline they write (glyph-like
// figures of 50 points each, coordinates as a capture gives them, the same
// in every run) and a sink that counts the bytes and keeps none, so the
// writers are timed, not the growth of a string.

#include "base/byte_sink.hpp"
#include "outline/captured_outline.hpp"

#include <cmath>
#include <numbers>
#include <random>

namespace lw::bench {

inline CapturedOutline bigOutline(int points)
{
    std::mt19937 random(42);
    std::uniform_int_distribution<int> wobble(-3, 3);
    CapturedOutline outline;
    outline.pathPoints.clear();
    outline.pathTypes.clear();
    for (int i = 0; i < points; ++i) {
        const int figure = i / 50, step = i % 50;
        const double angle = step * (2 * std::numbers::pi / 50);
        outline.pathPoints.push_back({figure * 40 + int(20 * std::cos(angle)) + wobble(random),
                                      30 + int(25 * std::sin(angle)) + wobble(random)});
        outline.pathTypes.push_back(step == 0 ? PT_MOVETO : step == 49 ? 3 : PT_LINETO);
    }
    outline.pathPoints.push_back({});
    outline.pathTypes.push_back(0);
    outline.pointCount = points;
    return outline;
}

class CountingSink final : public ByteSink {
public:
    void write(std::string_view bytes) override { count += bytes.size(); }
    std::size_t count = 0;
};

} // namespace lw::bench
