#pragma once
// One line of text set on a circle: each character laid by the platform
// under its own world transform (platform/world_transform.hpp), so every
// glyph is the platform's outline, moved and turned whole, never bent.
// The advances are the font's unrounded ones, so the arc lengths are the
// same at every resolution.
//
//   lw::BeginPath(dc);
//   lw::outputArcText(dc, logFont, "ROUND PLATE", {.radius = 756}, 0, {0, 0});
//   lw::EndPath(dc);

#include "outline/anchor.hpp"
#include "outline/arc_layout.hpp"
#include "platform/device_context.hpp"
#include "platform/gdi_types.hpp"

#include <optional>
#include <string_view>
#include <vector>

namespace lw {

// The line of `arc` in device pixels at `dpi`.
ArcLine arcLine(const ArcStyle& arc, double dpi);

// `arc` with the text's point chosen by an anchor of the text's box: left,
// centre and right its start, middle and end at the arc's angle; baseline,
// top, middle and bottom the point of it that becomes the origin.
ArcStyle anchoredArc(ArcStyle arc, Anchor anchor);

// Where the origin of a drawing of an arc lies in the capture's device
// pixels (y down): the circle's centre, or the anchor's point of the text
// (its `ascent` and `descent` in device pixels).
ArcPoint arcOrigin(const ArcStyle& arc, double dpi, POINT centre, double ascent, double descent);

// Where the circle's centre lies for a capture whose reference point is
// `reference` (device pixels): there itself at the origin; centred, so that
// the point of the text at the arc's angle stands on the reference, as a
// centred straight line stands on it, whatever the radius.
ArcPoint arcCentre(const ArcLine& line, POINT reference, bool centred);

// The selected-font-free parts of a line on the arc: each character's
// unrounded advance (device pixels) and the spacing between them, the
// style's or the one that fits the text to `fitDegrees`.
struct ArcRun {
    std::vector<double> advances;
    double spacing = 0;
    // The underline's and the strike-out's bands as the platform draws them
    // under a line, device pixels below the baseline (top, bottom); none
    // where the font asks for none. On the arc they follow the circle.
    struct Band {
        double top = 0, bottom = 0;
    };
    std::optional<Band> underline, strikeout;
    double length() const { return arcLength(advances, spacing); }
};
ArcRun arcRun(DeviceContext& dc, const LOGFONT& logFont, std::string_view text, const ArcLine& line,
              double spacing, std::optional<double> fitDegrees);

// Lays `text` (UTF-8) into the open path on the circle about `centre`
// (device pixels), each character as in `run` (arcRun's). The escapement of
// `logFont` is not used: the circle turns each character. Underline and
// strike-out are bands along the circle from the text's start to its end. A face name
// beginning with "@" keeps the platform's vertical writing: its vertical
// forms, turned a quarter as in a line, stand upright along the arc as in
// a column bent round the circle. A `slant` (tan of the oblique) slants
// each glyph about its own baseline before the circle turns it.
void outputArcText(DeviceContext& dc, const LOGFONT& logFont, std::string_view text, const ArcLine& line,
                   const ArcRun& run, ArcPoint centre, double slant = 0);

// Where each character of `run` stands on the circle (y up, about the centre).
inline std::vector<ArcGlyph> arcGlyphsOf(const ArcLine& line, const ArcRun& run)
{
    return arcGlyphs(line, run.advances, run.spacing);
}

} // namespace lw
