#include "export/open_lines_drawing.hpp"

#include "base/failure.hpp"
#include "cut/cut.hpp"
#include "export/dxf.hpp"
#include "export/hpgl.hpp"
#include "export/open_lines_svg.hpp"
#include "export/pdf.hpp"
#include "export/svg.hpp"
#include "outline/stroke_offset.hpp"

#include <cmath>
#include <optional>

namespace lw {

void writeOpenLinesDrawing(ByteSink& out, const OpenLines& lines, const OpenLinesDrawing& drawing, CutWorkspace& work)
{
    const bool dxf = drawing.format == SaveFormat::Dxf;
    std::optional<DxfText> textEntity;
    if (dxf && drawing.output.dxfText) {
        // The em and the angle the lines were set with, as for an outline.
        const double angle = std::fmod(double(drawing.angle), 360.0);
        textEntity = DxfText{.heightMm = drawing.sizePoints * kMmPerInch / 72,
                             .angleDegrees = angle < 0 ? angle + 360 : angle,
                             .anchor = drawing.anchor,
                             .mirror = drawing.mirror};
    }
    if (drawing.offsetMm > 0) {
        // The ink of a round pen, on the drawing's grid, made cut-ready.
        const CadOutline cut =
            cadOutline(strokeInk(lines, drawing.offsetMm, drawing.dpi), {.merge = drawing.merge}, work);
        if (cut.outline.pointCount == 0 && lines.count() != 0)
            throw Failure(FailureKind::NothingToDraw, "the strokes drawn with the pen leave no outline");
        const MmPlacement mm = onCadGrid({.originX = 0, .originY = 0, .dpi = drawing.dpi}, cut);
        if (dxf)
            writeDxf(out, cut.outline,
                     {.mm = mm, .text = drawing.text, .version = drawing.output.dxfVersion, .textEntity = textEntity});
        else if (drawing.format == SaveFormat::Pdf)
            writePdf(out, cut.outline, mm, nullptr, drawing.output.pdf);
        else if (drawing.format == SaveFormat::Hpgl)
            writeHpgl(out, cut.outline, mm, {}, drawing.output.hpgl);
        else
            writeSvg(out, cut.outline, mm);
        return;
    }
    if (dxf)
        writeOpenLinesDxf(out, lines,
                          OpenLinesDxf{.text = drawing.text, .version = drawing.output.dxfVersion,
                                       .textEntity = textEntity, .bulges = drawing.bulges});
    else if (drawing.format == SaveFormat::Pdf)
        writeOpenLinesPdf(out, lines, drawing.output.pdf);
    else if (drawing.format == SaveFormat::Hpgl)
        writeOpenLinesHpgl(out, lines, drawing.output.hpgl.pen);
    else
        writeOpenLinesSvg(out, lines);
}

} // namespace lw
