#include "form/offscreen_capture.hpp"

#include "export/byte_files.hpp"
#include "export/dxf.hpp"
#include "export/jw_output.hpp"
#include "export/svg.hpp"
#include "outline/baseline.hpp"

namespace lw {

OffscreenCapture::OffscreenCapture(const CaptureSource& source, Placement placement, double dpi)
    : text_(source.text), alCent_(std::int32_t(placement)), dpi_(dpi)
{
    const CaptureSource atDpi{text_,         source.font,     source.angle, source.scaleWidth,
                              source.scaleHeight, twipsPerPixel(), source.advances};
    drawFlattenPath(placement, atDpi, dc_, outline_);
}

MmPlacement OffscreenCapture::baseline() { return baselinePlacement(dc_, outline_.logFont, dpi_); }

MmPlacement OffscreenCapture::svgPlacement()
{
    // Centred, the picture keeps the preview's origin; else the DXF's.
    return alCent_ != 0 ? MmPlacement{0, 0, dpi_} : baseline();
}

void OffscreenCapture::write(std::ostream& out, SaveFormat format)
{
    switch (format) {
    case SaveFormat::Dxf: writeDxf(out, outline_, {baseline(), text_}); return;
    case SaveFormat::Svg: writeSvg(out, outline_, svgPlacement()); return;
    case SaveFormat::JwPoints:
        writeJwOutline(out, outline_, {.baseX = 0, .baseY = 0, .scale = 1, .twipsPerPixel = twipsPerPixel()});
        return;
    }
}

void OffscreenCapture::writeFile(const std::string& path, SaveFormat format)
{
    switch (format) {
    case SaveFormat::Dxf: writeDxfFile(path, outline_, {baseline(), text_}); return;
    case SaveFormat::Svg: writeSvgFile(path, outline_, svgPlacement()); return;
    case SaveFormat::JwPoints: {
        OutputFile file(path);
        write(file.stream(), format);
        file.close();
        return;
    }
    }
}

} // namespace lw
