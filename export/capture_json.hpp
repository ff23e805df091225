#pragma once
// The captured outline as one JSON object, for scripts: the inputs, the face
// and the font file that drew the points, the points with their types, then
// the figures and their bounding box in device pixels (y down) or in
// millimetres at 1:1 (y up, from the left end of the baseline). Always
// valid JSON: bytes that are not UTF-8 become U+FFFD. Locale-free numbers.
//
//   writeCaptureJson(out, {.text = "編集", .face = "ＭＳ Ｐゴシック", .family = "IPAPGothic",
//                          .file = "/usr/share/fonts/.../ipagp.ttf"}, outline);
//   // {"text": "編集", "face": "ＭＳ Ｐゴシック", "family": "IPAPGothic", ...}

#include "base/byte_sink.hpp"
#include "base/design.hpp"
#include "outline/captured_outline.hpp"
#include "outline/precision.hpp"
#include "outline/text_style.hpp"
#include "outline/window_font.hpp"
#include "platform/face_info.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

struct CaptureJsonInputs {
    std::string_view text;   // UTF-8, as given
    std::string_view face;   // the face name asked for
    std::string_view family; // the family of the face that drew the points
    std::string_view file;   // its font file
    double size = design::kFontSize;
    std::int32_t angle = 0;
    std::int32_t alCent = 0;
    TextStyle style{};
    // Which face drew which characters (faceRuns); null leaves the key out.
    const std::vector<FaceRun>* runs = nullptr;
};

enum class JsonUnits { Pixels, Millimetres };

struct CaptureJsonForm {
    JsonUnits units = JsonUnits::Pixels;
    // The device resolution; for millimetres also the origin (device pixels).
    MmPlacement mm;
};

// Keys in order: text, face, family, file, size, angle, spacing (points),
// width (per cent), bold (true or false), oblique (degrees) and fit
// {"mm", "by"} where the style sets them, height (pixels),
// alCent, pointCount, points [[x, y], ...] and types [...] (device pixels
// as captured, whatever the units), then dpi, units ("px" or "mm"), origin
// (millimetres only: the device pixel that is (0, 0) mm), figures
// [[[x, y], ...], ...] and bbox {"minX", "minY", "maxX", "maxY"} (null
// without points) in the units, then runs [{"text", "family", "file"}, ...]
// where given. One object, then a line feed.
void writeCaptureJson(ByteSink& out, const CaptureJsonInputs& inputs, const CapturedOutline& outline,
                      const CaptureJsonForm& form = {});

// The face that drew the outline: found from the face name as the font
// description holds it, so a name cut at 32 bytes names the face that drew.
FaceInfo faceThatDrew(const CapturedOutline& outline, bool italic, std::string_view text = {});
// The faces that drew each stretch of the text, found as faceThatDrew finds the face.
std::vector<FaceRun> faceRunsThatDrew(const CapturedOutline& outline, bool italic, std::string_view text);

// `value` as a JSON number: the shortest text that reads back as it
// (std::to_chars), negative zero as 0.
void appendJsonNumber(std::string& out, double value);

// `s` as a JSON string literal, quotes included.
void appendJsonString(std::string& out, std::string_view s);

} // namespace lw
