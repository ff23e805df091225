#pragma once
// The captured outline as one JSON object, for scripts: the inputs, the face
// and the font file that drew the points, and the points with their types.
// Always valid JSON: bytes that are not UTF-8 become U+FFFD.
//
//   captureJson("編集", font, 0, outline, 1)
//   // {"text": "編集", "face": "ＭＳ Ｐゴシック", "family": "IPAPGothic", ...}

#include "outline/captured_outline.hpp"
#include "outline/window_font.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace lw {

// Keys in order: text, face (as asked for), family and file (of the face the
// platform used, found from the face name as the font description holds it,
// so a name cut at 32 bytes names the face that drew), size, angle, height
// (pixels), alCent, pointCount, points [[x, y], ...], types [...].
std::string captureJson(std::string_view text, const WindowFont& font, std::int32_t angle,
                        const CapturedOutline& outline, std::int32_t alCent);

// `s` as a JSON string literal, quotes included.
void appendJsonString(std::string& out, std::string_view s);

} // namespace lw
