#pragma once
// The preview's rasteriser: polygons and lines at whole pixels painted
// straight into 32-bit pixels. No toolkit: the preview redraws on every
// keystroke, and a general painter's per-call set-up cost more than the
// drawing itself.
//
// A fill follows the nonzero rule over all the polygons given together, each
// closed back to its first point, sampled at pixel centres: pixel (x, y) is
// filled when the winding number around (x + 0.5, y + 0.5) is not zero, so a
// centre on a left edge is inside and one on a right edge is not. Lines are
// one pixel wide and include both end points.
//
// Any coordinate in the 32-bit range may be given. Only pixels inside the
// buffer are touched, and the work is bounded by the buffer's size and the
// number of edges, never by how far off the buffer a point lies.
//
//   Pixels px{image.bits(), image.width(), image.height(), image.bytesPerLine() / 4};
//   fillNonzero(px, polygons, 0xFFFFFFFF);
//   for (auto polygon : polygons) drawPolygon(px, polygon, 0xFF000000);

#include "platform/gdi_types.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace lw {

struct Pixels {
    std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0; // pixels from the start of one row to the next
};

// The rows and columns a drawing touches, both ends included; empty when
// right < left.
struct PixelBox {
    int left = 0, top = 0, right = -1, bottom = -1;

    bool empty() const { return right < left || bottom < top; }
};

// What a fill works in besides the pixels. A caller that fills again and
// again (the preview, on every keystroke) keeps one, so that a fill after
// the first allocates nothing; one fill at a time may use it.
class FillWorkspace {
public:
    FillWorkspace();
    ~FillWorkspace();
    FillWorkspace(const FillWorkspace&) = delete;
    FillWorkspace& operator=(const FillWorkspace&) = delete;

    struct Buffers;
    Buffers& buffers() { return *buffers_; }

private:
    std::unique_ptr<Buffers> buffers_;
};

// Fills by the rule above. Every other pixel of `clear`, when one is given,
// becomes `background` in the same pass: each pixel is written once, where
// clearing first would write the filled ones twice.
void fillNonzero(const Pixels& pixels, std::span<const std::span<const POINT>> polygons, std::uint32_t colour,
                 FillWorkspace& workspace, PixelBox clear = {}, std::uint32_t background = 0);
// The same with a workspace of its own.
void fillNonzero(const Pixels& pixels, std::span<const std::span<const POINT>> polygons, std::uint32_t colour,
                 PixelBox clear = {}, std::uint32_t background = 0);

// The polygon's outline, its last point joined back to its first.
void drawPolygon(const Pixels& pixels, std::span<const POINT> polygon, std::uint32_t colour);

void drawLine(const Pixels& pixels, POINT from, POINT to, std::uint32_t colour);

// Every pixel of the box that lies in the buffer.
void fillBox(const Pixels& pixels, PixelBox box, std::uint32_t colour);

} // namespace lw
