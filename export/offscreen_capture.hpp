#pragma once
// A capture made off the screen at the device resolution of a chosen grid,
// and the files written from it: what OK saves when the window runs on its
// own, and what the command-line front end writes. One place for "capture
// at a precision, then write", so the window's file and the front end's
// are the same bytes.
//
//   OffscreenCapture capture({"編集", font, 0}, Placement::Origin, dpiForStep(0.01));
//   capture.writeFile("編集.dxf", SaveFormat::Dxf);

#include "base/byte_sink.hpp"
#include "cut/cut.hpp"
#include "export/output_choices.hpp"
#include "export/save_format.hpp"
#include "export/tool_report.hpp"
#include "outline/anchor.hpp"
#include "outline/arc_style.hpp"
#include "outline/open_lines.hpp"
#include "outline/capture.hpp"
#include "outline/precision.hpp"
#include "platform/canvas.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace lw {

class OffscreenCapture {
public:
    // Captures `source` (its twips per pixel are replaced by those of `dpi`)
    // centred or at the origin, drawing on nothing; with `keepCurves` the
    // unflattened path too, for drawings with exact curves.
    OffscreenCapture(const CaptureSource& source, Placement placement, double dpi, bool keepCurves = false);
    OffscreenCapture(const OffscreenCapture&) = delete;
    OffscreenCapture& operator=(const OffscreenCapture&) = delete;

    const CapturedOutline& outline() const { return outline_; }
    double dpi() const { return dpi_; }
    double twipsPerPixel() const { return 1440.0 / dpi_; }
    // The left end of the baseline as the origin of millimetres: the
    // placement of DXF and of millimetre JSON.
    MmPlacement baseline();
    // For a text longer than its circle is round, what it needs in a few
    // words ("the text needs 160.2 mm along the circle; ..."); else empty.
    std::string arcShortfall();
    // A line on an arc measured from the circle's centre, or from the
    // arc's anchor where one is chosen.
    MmPlacement arcPlacement();
    // Whether the drawing is placed by its own box (anchor, mirror, arc)
    // rather than at the baseline's start or the preview's centre.
    bool placedByItsBox() const;
    // Where the drawing of `cut` stands in `format`, on its grid, before
    // any mirror.
    MmPlacement drawingPlacement(SaveFormat format, const CadOutline& cut);
    // The SVG's: the baseline's, or the preview's pixel origin when centred.
    MmPlacement svgPlacement();

    // DXF, PDF and HPGL measured from the baseline, SVG in millimetres, or JW point
    // lines at 1:1 from the origin; a file that cannot be written is a
    // lw::Failure. With `cad`, DXF and SVG take the cut-ready figures (merged,
    // offset, clean); JW point lines always keep the capture's.
    // DXF and SVG from another point of the text's box, or mirrored about
    // it (the SVG of a centred capture keeps the preview's origin). The
    // design, the left end of the baseline unmirrored, writes as before.
    void setAnchor(Anchor anchor, Mirror mirror) { anchor_ = anchor, mirror_ = mirror; }
    // The PDF's page and paint, the HPGL's overcut and pen, the DXF's
    // version and text; the defaults write as before.
    void setOutputChoices(const OutputChoices& choices) { output_ = choices; }
    // The buffers the cut-ready drawings borrow: the caller's, kept from
    // one capture to the next, instead of the capture's own.
    void useWorkspace(CutWorkspace& work) { work_ = &work; }

    void write(ByteSink& out, SaveFormat format, const std::optional<CadOptions>& cad = std::nullopt);
    // The next write is the capture's last: a cut-ready drawing without
    // curves or a stencil is made in the capture's own buffer (outline() is
    // then empty), so a drawing of millions of points holds them once.
    void lastWrite() { lastWrite_ = true; }

    // What writing with `cad` is about to do, in a few plain words, when it
    // will take more than about a second ("offsetting 3,900 characters
    // (612,000 points)..."); empty when it is quick. For standard error.
    std::string slowWorkNote(SaveFormat format, const std::optional<CadOptions>& cad) const;
    void writeFile(const std::string& path, SaveFormat format, const std::optional<CadOptions>& cad = std::nullopt);

    // The drawing `write` makes of this format and `cad`, measured against
    // a tool `toolMm` wide (0: none): merged whatever `cad` says, since the
    // tool cuts the ink as the nonzero rule fills it.
    ToolReport check(SaveFormat format, const CadOptions& cad, double toolMm);

    // The centreline of the merged drawing `write` makes of this format, in
    // millimetres where that drawing stands, each point with its stroke's
    // width; the pen as the lines' default.
    OpenLines centreline(SaveFormat format);

private:
    // What write says of a stencil that leaves islands: each with its
    // character and place.
    std::string unheldIslands(SaveFormat format, const CadOptions& cad);
    NullCanvas canvas_;
    DeviceContext dc_{canvas_};
    CapturedOutline outline_;
    CurvedPath curved_;
    bool keepCurves_ = false;
    std::string text_;
    Placement placement_;
    double dpi_;
    Advances advances_;
    double spacing_ = 0; // outputText's, in device pixels
    Anchor anchor_ = Anchor::BaselineLeft;
    Mirror mirror_ = Mirror::None;
    OutputChoices output_;
    ArcStyle arc_;
    CutWorkspace ownWork_;
    CutWorkspace* work_ = &ownWork_;
    bool lastWrite_ = false;
};

} // namespace lw
