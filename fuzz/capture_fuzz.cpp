// The capture from untrusted inputs: text bytes, face name bytes, size,
// angle and styles, within the work bound the command line applies. Every
// bad input must end in lw::Failure; anything else escaping is a finding, and
// so is an outline that breaks the capture's invariants or a JSON report
// that is not valid JSON.
#include "export/capture_json.hpp"
#include "outline/capture.hpp"
#include "outline/work_bound.hpp"
#include "base/failure.hpp"
#include "json_check.hpp"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// Closed figures only: type 6, then 2, the last with the close bit; arrays
// one longer than the point count.
bool wellFormed(const lw::CapturedOutline& outline)
{
    const std::size_t n = std::size_t(outline.pointCount);
    if (outline.pointCount < 0 || outline.pathPoints.size() != n + 1 || outline.pathTypes.size() != n + 1)
        return false;
    bool open = false;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t t = outline.pathTypes[i];
        if (!open && t != lw::PT_MOVETO)
            return false;
        if (open && (t & ~lw::PT_CLOSEFIGURE) != lw::PT_LINETO)
            return false;
        open = !(t & lw::PT_CLOSEFIGURE);
    }
    return !open;
}

} // namespace

// Layout: flags (1 byte: italic, underline, strikeout, centre), size
// (2 bytes, quarter points), angle (4 bytes), face length (1 byte), the
// face name, then the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 8)
        return 0;
    const std::uint8_t flags = data[0];
    const float points = float(data[1] | (data[2] << 8)) / 4;
    std::int32_t angle;
    std::memcpy(&angle, data + 3, sizeof angle);
    const std::size_t faceLength = std::min<std::size_t>(data[7], size - 8);
    const std::string_view face(reinterpret_cast<const char*>(data + 8), faceLength);
    const std::string_view text(reinterpret_cast<const char*>(data + 8 + faceLength), size - 8 - faceLength);

    lw::WindowFont font;
    font.faceName = std::string(face);
    font.size = points;
    font.italic = flags & 1;
    font.underline = flags & 2;
    font.strikeout = flags & 4;
    if (lw::estimateOutlinePoints(text, points, 96, font.underline, font.strikeout) > lw::kMaxOutlinePoints)
        return 0;

    static lw::NullCanvas canvas;
    static lw::DeviceContext dc(canvas);
    lw::CapturedOutline outline;
    std::int32_t alCent = flags & 8 ? 1 : 0;
    try {
        lw::drawFlattenPath(lw::placementFor(alCent), {text, font, angle, 461, 301, 15}, dc, outline);
    } catch (const lw::Failure&) {
        return 0;
    }
    if (!wellFormed(outline))
        std::abort();
    const lw::FaceInfo drew = lw::faceThatDrew(outline, font.italic);
    lw::StringSink json;
    lw::writeCaptureJson(json, {text, font.faceName, drew.family, drew.file, font.size, angle, alCent}, outline);
    if (!lw::fuzz::JsonCheck::valid(json.text()))
        std::abort();
    return 0;
}
