#pragma once
// Will it cut? A cut-ready drawing measured against a tool: the thinnest
// material (the narrowest neck of the letters, where a tool of that width
// cutting around them splits a letter or erases a part of it), the
// narrowest gap (the same for the sheet: where such a tool cannot pass
// between two letters or into a counter), and the islands (every part of
// the sheet a letter encloses, which falls out of a stencil). Widths are
// twice the radius of the largest disc that fits, found on the medial axis
// (medial_axis.hpp), so they are exact on the drawing's grid.
//
//   ToolCheck found = checkTool(cutContours(cut.outline), 0.5 * mmToGrid, noise);
//   if (found.thinnest && found.thinnest->width < tool) refuse(*found.thinnest);

#include "cut/contours.hpp"
#include "cut/medial_axis.hpp"
#include "cut/sheet_parts.hpp"
#include "outline/captured_outline.hpp"

#include <optional>
#include <span>
#include <vector>

namespace lw {

// A place where the ink (Side::Ink) or the sheet (Side::Sheet) is as wide
// as `width` and a disc any wider changes its shape there, in grid units.
struct Narrowing {
    double x = 0, y = 0;
    double width = 0;
    Side side = Side::Ink;
    std::uint32_t contour = 0; // a contour at the place
};

// A part of the sheet enclosed by a hole of a letter, with the letters'
// ink inside it taken away; its place is the middle of its widest part.
struct Island {
    double x = 0, y = 0;
    double area = 0;        // square grid units
    std::uint32_t hole = 0; // the hole that bounds it; kNoHole for a pocket sealed where ink touches ink
};

struct ToolCheck {
    std::optional<Narrowing> thinnest;  // the ink's narrowest; none without ink
    std::optional<Narrowing> narrowest; // the sheet's; none with fewer than two parts and no counter
    // Every place narrower than the tool, the narrowest first, at most one
    // within a tool's width of another on the same side.
    std::vector<Narrowing> tooNarrow;
    std::vector<Island> islands;
};

// The contours of a cut-ready outline (closed figures), in order.
std::vector<Contour> cutContours(const CapturedOutline& cut);

// Measures the contours (merged and oriented as cadOutline makes them)
// against a tool `toolWidth` wide (0: no tool). A neck that stands out from
// the width around it by less than `wobble` is the flattening's own ripple
// along a stroke, not a place, and is passed over.
ToolCheck checkTool(std::span<const Contour> contours, double toolWidth, double wobble);

} // namespace lw
