#include "export/dxf.hpp"

#include "base/codepage.hpp"
#include "export/byte_files.hpp"
#include "export/dxf_figures.hpp"
#include "export/dxf_frame.hpp"
#include "export/dxf_r12.hpp"
#include "export/dxf_tags.hpp"
#include "export/dxf_text.hpp"
#include "outline/open_line_arcs.hpp"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lw {

using namespace dxf;

namespace {

void writeEntities(Tags& t, const CapturedOutline& outline, const DxfPlacement& placement, const FigureArcs& arcs,
                   std::string_view layer)
{
    // Each polyline's head is the same lines but for its handle and its
    // vertex count (owner *Model_Space, group codes right-aligned).
    static_assert(kModelSpaceRecord == 0x1F);
    const std::string_view toHandle = "  0\nLWPOLYLINE\n  5\n";
    const std::string toCount = "330\n1F\n100\nAcDbEntity\n  8\n" + std::string(layer) + "\n100\nAcDbPolyline\n 90\n";
    const std::string_view closed = " 70\n1\n";
    unsigned handle = kFirstEntity;
    std::size_t index = 0;
    for (const Figure& f : figures(outline)) {
        if (!f.closed)
            continue;
        const std::size_t k = index++;
        const bool curved = asArcs(arcs, k);
        t.bytes(toHandle);
        t.handleLine(handle++).bytes(toCount);
        t.integerLine(int(curved ? arcs.placed[k].arcs.size() : f.points.size())).bytes(closed);
        if (curved)
            t.arcVertices(arcs.placed[k], placement.mm);
        else
            t.vertices(f.points, placement.mm);
    }
}

} // namespace

void writeDxf(ByteSink& out, const CapturedOutline& outline, const DxfPlacement& placement)
{
    if (placement.version == DxfVersion::R12) {
        writeDxfR12(out, outline, placement);
        return;
    }
    unsigned closedFigures = 0;
    Extents e = extentsOf(outline, placement.mm, closedFigures);
    const FigureArcs arcs = arcsOf(placement, closedFigures);
    if (placement.curves)
        e = writtenExtentsOf(outline, placement.mm, arcs);
    const std::string layer = toCp932(dxfLayerName(placement.text));
    const FramePieces& frame = framePieces(placement.textEntity.has_value());
    Tags t(out);
    writeFrameHead(t, frame, e, kFirstEntity + closedFigures + (placement.textEntity ? 1 : 0), layer);
    writeEntities(t, outline, placement, arcs, layer);
    if (placement.textEntity)
        writeTextEntity(t, placement, kFirstEntity + closedFigures);
    t.bytes(frame.toEnd);
}

void writeOpenLinesDxf(ByteSink& out, const OpenLines& lines, std::string_view text)
{
    writeOpenLinesDxf(out, lines, OpenLinesDxf{.text = text});
}

void writeOpenLinesDxf(ByteSink& out, const OpenLines& lines, const OpenLinesDxf& form)
{
    Extents e;
    if (const std::optional<MmBox> box = lines.box())
        e = {box->min, box->max};
    if (!form.bulges.empty())
        if (const std::optional<MmBox> box = arcLinesBox(lines, form.bulges))
            e = {box->min, box->max};
    const auto bulgeAt = [&](std::size_t k) { return form.bulges.empty() ? 0.0 : form.bulges[k]; };
    // The TEXT entity's writer reads the text and its form from a placement.
    const DxfPlacement placement{.mm = {}, .text = form.text, .version = form.version, .textEntity = form.textEntity};
    if (form.version == DxfVersion::R12) {
        const std::string layer = dxfR12LayerName(form.text);
        Tags t(out);
        writeR12Head(t, e, layer, form.textEntity.has_value());
        for (std::size_t i = 0; i < lines.count(); ++i) {
            t(0, "POLYLINE")(8, layer)(66, 1).point(10, 0, 0)(70, 0);
            const std::size_t first = i == 0 ? 0 : lines.ends[i - 1];
            for (std::size_t k = first; k < lines.ends[i]; ++k) {
                t(0, "VERTEX")(8, layer).point(10, lines.points[k].x, lines.points[k].y);
                if (bulgeAt(k) != 0)
                    t.number(42, bulgeAt(k));
            }
            t(0, "SEQEND")(8, layer);
        }
        if (form.textEntity)
            writeTextEntity(t, placement, std::nullopt);
        t(0, "ENDSEC");
        t(0, "EOF");
        return;
    }
    const std::string layer = toCp932(dxfLayerName(form.text));
    const FramePieces& frame = framePieces(form.textEntity.has_value());
    const unsigned entities = unsigned(lines.count()) + (form.textEntity ? 1 : 0);
    Tags t(out);
    writeFrameHead(t, frame, e, kFirstEntity + entities, layer);
    unsigned handle = kFirstEntity;
    for (std::size_t i = 0; i < lines.count(); ++i) {
        const std::span<const MmPoint> line = lines.line(i);
        t(0, "LWPOLYLINE").handle(5, handle++).handle(330, kModelSpaceRecord)(100, "AcDbEntity")(8, layer);
        t(100, "AcDbPolyline")(90, int(line.size()))(70, 0);
        const std::size_t first = i == 0 ? 0 : lines.ends[i - 1];
        for (std::size_t k = 0; k < line.size(); ++k) {
            t.number(10, line[k].x).number(20, line[k].y);
            if (bulgeAt(first + k) != 0)
                t.number(42, bulgeAt(first + k));
        }
    }
    if (form.textEntity)
        writeTextEntity(t, placement, handle);
    t.bytes(frame.toEnd);
}

void writeOpenLinesDxfFile(const std::string& path, const OpenLines& lines, std::string_view text)
{
    OutputFile file(path);
    writeOpenLinesDxf(file.stream(), lines, text);
    file.close();
}

void writeDxfFile(const std::string& path, const CapturedOutline& outline, const DxfPlacement& placement)
{
    OutputFile file(path);
    writeDxf(file.stream(), outline, placement);
    file.close();
}

} // namespace lw
