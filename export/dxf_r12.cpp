#include "export/dxf_r12.hpp"

#include "export/dxf_figures.hpp"
#include "export/dxf_text.hpp"

#include <optional>
#include <string>

namespace lw::dxf {

void writeR12Head(Tags& t, const Extents& e, std::string_view layer, bool textLayer)
{
    t(0, "SECTION")(2, "HEADER");
    t(9, "$ACADVER")(1, "AC1009");
    t(9, "$DWGCODEPAGE")(3, "ANSI_932");
    t(9, "$INSBASE").point(10, 0, 0);
    t(9, "$EXTMIN").point(10, e.min.x, e.min.y);
    t(9, "$EXTMAX").point(10, e.max.x, e.max.y);
    t(0, "ENDSEC");
    t(0, "SECTION")(2, "TABLES");
    t(0, "TABLE")(2, "LTYPE")(70, 1);
    t(0, "LTYPE")(2, "CONTINUOUS")(70, 0)(3, "Solid line")(72, 65)(73, 0).number(40, 0);
    t(0, "ENDTAB");
    t(0, "TABLE")(2, "LAYER")(70, textLayer ? 3 : 2);
    t(0, "LAYER")(2, "0")(70, 0)(62, 7)(6, "CONTINUOUS");
    t(0, "LAYER")(2, layer)(70, 0)(62, 7)(6, "CONTINUOUS");
    if (textLayer)
        t(0, "LAYER")(2, kDxfTextLayer)(70, 0)(62, 8)(6, "CONTINUOUS");
    t(0, "ENDTAB");
    t(0, "TABLE")(2, "STYLE")(70, 1);
    t(0, "STYLE")(2, "STANDARD")(70, 0).number(40, 0).number(41, 1).number(50, 0)(71, 0).number(42, 2.5);
    t(3, "txt")(4, "");
    t(0, "ENDTAB");
    t(0, "ENDSEC");
    t(0, "SECTION")(2, "BLOCKS")(0, "ENDSEC");
    t(0, "SECTION")(2, "ENTITIES");
}

void writeDxfR12(ByteSink& out, const CapturedOutline& outline, const DxfPlacement& placement)
{
    unsigned closedFigures = 0;
    Extents e = extentsOf(outline, placement.mm, closedFigures);
    const FigureArcs arcs = arcsOf(placement, closedFigures);
    if (placement.curves)
        e = writtenExtentsOf(outline, placement.mm, arcs);
    const std::string layer = dxfR12LayerName(placement.text);
    Tags t(out);
    writeR12Head(t, e, layer, placement.textEntity.has_value());
    // As the 2000 drawing places its vertices (Tags::vertices, arcVertices).
    const double mmPerUnit = kMmPerInch / placement.mm.dpi;
    const double originX = placement.mm.originX, originY = placement.mm.originY;
    // Each vertex starts with the same lines: made once.
    const std::string vertexHead = "  0\nVERTEX\n  8\n" + layer + "\n";
    std::size_t index = 0;
    for (const Figure& f : figures(outline)) {
        if (!f.closed)
            continue;
        const std::size_t k = index++;
        t(0, "POLYLINE")(8, layer)(66, 1).point(10, 0, 0)(70, 1);
        if (asArcs(arcs, k)) {
            const PlacedArcs& a = arcs.placed[k];
            for (const ArcVertex& v : a.arcs) {
                const double x = v.at.x + a.shift.x, y = v.at.y + a.shift.y;
                t(0, "VERTEX")(8, layer).point(10, (x - originX) * mmPerUnit, (originY - y) * mmPerUnit);
                if (v.bulge != 0)
                    t.number(42, -v.bulge);
            }
        } else {
            for (const POINT& p : f.points) {
                t.bytes(vertexHead);
                t.point(10, (p.x - originX) * mmPerUnit, (originY - p.y) * mmPerUnit);
            }
        }
        t(0, "SEQEND")(8, layer);
    }
    if (placement.textEntity)
        writeTextEntity(t, placement, std::nullopt);
    t(0, "ENDSEC");
    t(0, "EOF");
}

} // namespace lw::dxf
