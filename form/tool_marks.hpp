#pragma once
// What a tool check found, shown on the preview: a coloured disc as wide as
// each place narrower than the tool, with its width in millimetres beside
// it, and a ring on each island. Drawn as one-pixel lines, so every view's
// canvas shows them with nothing of its own, and the next drawing of the
// preview clears them.
//
//   const auto marks = toolMarks(report, {.originX = 11, .originY = 150, .pixelsPerMm = 96 / 25.4});
//   drawToolMarks(view.previewDC().canvas(), marks);

#include "export/tool_report.hpp"
#include "platform/canvas.hpp"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

// The tool the check takes, as the front end takes it: above 0, at most this.
inline constexpr double kToolLimitMm = 100;
inline constexpr double kDefaultToolMm = 0.5;

// The menu's question and what a tool outside the limit is told.
inline constexpr const char* kToolSizeCaption = "工具の太さ (mm):";
inline constexpr const char* kToolSizeRefused = "工具の太さは 0 より大きく 100 までの mm の数で入力してください";

// A tool's width as typed: millimetres with a decimal point, blanks around
// allowed; nothing for text that is no number within the limit.
std::optional<double> typedToolSize(std::string_view text);

// The remembered tool, under the name "tool" beside the font's settings;
// the default where none is stored or the stored one is out of the limit.
double decodeToolSize(const std::optional<std::string>& stored);
std::string encodeToolSize(double mm);

// Where the report's millimetres (y up) fall on the preview (pixels, y down).
struct MarkFrame {
    double originX = 0, originY = 0; // the report's (0, 0)
    double pixelsPerMm = 1;
};

struct ToolMark {
    enum class Kind { Material, Gap, Island };
    Kind kind = Kind::Material;
    double x = 0, y = 0;  // preview pixels
    double diameter = 0;  // preview pixels: the place's width; an island's ring: 0
    std::string label;    // "0.42": the width in millimetres; empty for an island
};

// One mark per place narrower than the tool and one per island, in the
// report's order: material, gaps, islands.
std::vector<ToolMark> toolMarks(const ToolReport& report, const MarkFrame& frame);

// The colour each kind is drawn in.
Rgb markColour(ToolMark::Kind kind);

// A disc at least kLeastMarkPixels wide, so a hairline place still shows,
// its label to the right; an island's ring; all as lines on `canvas`.
inline constexpr double kLeastMarkPixels = 5;
void drawToolMarks(Canvas& canvas, std::span<const ToolMark> marks);

} // namespace lw
