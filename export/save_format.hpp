#pragma once
// The drawings a capture is saved as: what OK writes when the window runs on
// its own (no run mode), and what the command line's drawing commands write.

namespace lw {

enum class SaveFormat { Dxf, Svg, JwPoints, Pdf, Hpgl };

} // namespace lw
