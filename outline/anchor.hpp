#pragma once
// Where a CAD drawing puts its origin, and the words for mirroring it.
//
// The anchor is a point of the text's own box, which turns with the text:
// left and right are the ends of the advance extent (the left end is the
// pen's start, so a first letter's side bearing stays inside the box),
// centre their middle; top and bottom are the face's ascent above and
// descent below the baseline (not the ink, so two labels anchored alike
// line up whatever letters they hold), middle halfway between them.
// The mirror itself acts on the cut-ready drawing (cut/mirror.hpp).
//
//   MmPlacement mm = anchoredPlacement(baseline, box, Anchor::Centre, 30);

#include "outline/precision.hpp"
#include "outline/text_output.hpp"
#include "platform/device_context.hpp"

#include <optional>
#include <string_view>

namespace lw {

enum class Anchor {
    BaselineLeft, // the design: the left end of the baseline
    TopLeft,
    TopCentre,
    TopRight,
    MiddleLeft,
    Centre,
    MiddleRight,
    BottomLeft,
    BottomCentre,
    BottomRight,
    BaselineCentre,
    BaselineRight,
};

enum class Mirror { None, X, Y };

// The words of the command line and of the stored settings, in the order above.
inline constexpr std::string_view kAnchorWords[] = {
    "baseline-left", "top-left",    "top-centre",    "top-right",     "middle-left",     "centre",
    "middle-right",  "bottom-left", "bottom-centre", "bottom-right",  "baseline-centre", "baseline-right"};
inline constexpr std::string_view kMirrorWords[] = {"none", "x", "y"};

std::optional<Anchor> anchorNamed(std::string_view word); // also "center" for "centre"
std::optional<Mirror> mirrorNamed(std::string_view word);
std::string_view anchorWord(Anchor anchor);

// The text's box in device pixels of its own frame: the advance extent, and
// the face's ascent and descent.
struct TextFrame {
    double advance = 0;
    double ascent = 0;
    double descent = 0;
};

// The box of `text` as outputText lays it with `logFont`, `advances` and
// `spacing` (outputText's, in device pixels). The spacing counts between
// characters only, so the box ends at the last character's advance and a
// centred text stays centred however far apart its characters are set.
TextFrame textFrame(DeviceContext& dc, const LOGFONT& logFont, std::string_view text, Advances advances,
                    double spacing = 0);

// `baseline` (the left end of the baseline as the origin) moved to the
// anchor of `box`, turned by the capture's escapement (tenths of a degree).
MmPlacement anchoredPlacement(const MmPlacement& baseline, const TextFrame& box, Anchor anchor,
                              std::int32_t escapement);

} // namespace lw
