#pragma once
// A one-line text form of a captured outline, for tests and for eyes:
//   "M 3,28 L 3,5 L 6,5 Z M ..."
// Each figure starts with M at its move-to point and ends with Z after its
// closing point; points after the last closing point end without Z.

#include "outline/captured_outline.hpp"

#include <string>

namespace lw {

std::string dumpOutline(const CapturedOutline& outline);

} // namespace lw
