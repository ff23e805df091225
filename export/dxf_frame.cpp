#include "export/dxf_frame.hpp"

#include "base/byte_sink.hpp"
#include "export/dxf.hpp"

#include <algorithm>
#include <utility>

namespace lw::dxf {
namespace {

// The drawing's frame is the same lines in every drawing but for a few
// values: the lines between those values are made once per process (see
// framePieces), and each piece below ends where a value goes.
void headerToLowCorner(Tags& t)
{
    t(0, "SECTION")(2, "HEADER");
    t(9, "$ACADVER")(1, "AC1015");
    t(9, "$DWGCODEPAGE")(3, "ANSI_932");
    t(9, "$INSBASE").point(10, 0, 0);
    t(9, "$EXTMIN");
}

void toHighCorner(Tags& t) { t(9, "$EXTMAX"); }

void toHandleSeed(Tags& t)
{
    t(9, "$LUNITS")(70, 2);
    t(9, "$INSUNITS")(70, 4);
    t(9, "$MEASUREMENT")(70, 1);
    t(9, "$HANDSEED");
}

void beginTable(Tags& t, std::string_view name, unsigned self, int count)
{
    t(0, "TABLE")(2, name).handle(5, self).handle(330, 0)(100, "AcDbSymbolTable")(70, count);
}

// The record up to its name; the name and flags follow.
Tags& symbolHead(Tags& t, std::string_view type, unsigned self, unsigned owner, std::string_view subclass)
{
    return t.record(type, self, owner)(100, "AcDbSymbolTableRecord")(100, subclass);
}

void symbol(Tags& t, std::string_view type, unsigned self, unsigned owner, std::string_view subclass,
            std::string_view name)
{
    symbolHead(t, type, self, owner, subclass)(2, name)(70, 0);
}

void toViewCentre(Tags& t)
{
    t(0, "ENDSEC");
    t(0, "SECTION")(2, "CLASSES")(0, "ENDSEC");
    t(0, "SECTION")(2, "TABLES");
    beginTable(t, "VPORT", kVportTable, 1);
    symbol(t, "VPORT", kActiveVport, kVportTable, "AcDbViewportTableRecord", "*ACTIVE");
    t.number(10, 0).number(20, 0).number(11, 1).number(21, 1);
}

void toViewHeight(Tags& t)
{
    t.number(13, 0).number(23, 0).number(14, 10).number(24, 10).number(15, 10).number(25, 10);
    t.point(16, 0, 0, 1).point(17, 0, 0);
}

void layerRecord(Tags& t, unsigned handle, std::string_view name)
{
    symbol(t, "LAYER", handle, kLayerTable, "AcDbLayerTableRecord", name);
    t(62, 7)(6, "Continuous")(370, -3);
}

void toTextLayerName(Tags& t, bool textEntity)
{
    t.number(41, 1.5).number(42, 50);
    t.number(43, 0).number(44, 0).number(50, 0).number(51, 0);
    t(71, 0)(72, 100)(73, 1)(74, 3)(75, 0)(76, 0)(77, 0)(78, 0);
    t(0, "ENDTAB");

    beginTable(t, "LTYPE", kLtypeTable, 3);
    const struct {
        unsigned handle;
        const char* name;
        const char* description;
    } ltypes[] = {{kByBlock, "ByBlock", ""}, {kByLayer, "ByLayer", ""}, {kContinuous, "Continuous", "Solid line"}};
    for (const auto& l : ltypes) {
        symbol(t, "LTYPE", l.handle, kLtypeTable, "AcDbLinetypeTableRecord", l.name);
        t(3, l.description)(72, 65)(73, 0).number(40, 0);
    }
    t(0, "ENDTAB");

    beginTable(t, "LAYER", kLayerTable, textEntity ? 3 : 2);
    layerRecord(t, kLayer0, "0");
    symbolHead(t, "LAYER", kTextLayer, kLayerTable, "AcDbLayerTableRecord");
}

void afterTextLayerName(Tags& t, bool textEntity)
{
    t(70, 0)(62, 7)(6, "Continuous")(370, -3);
    if (textEntity) {
        symbol(t, "LAYER", kNoPlotLayer, kLayerTable, "AcDbLayerTableRecord", kDxfTextLayer);
        t(62, 8)(6, "Continuous")(290, 0)(370, -3);
    }
    t(0, "ENDTAB");

    beginTable(t, "STYLE", kStyleTable, 1);
    symbol(t, "STYLE", kStandardStyle, kStyleTable, "AcDbTextStyleTableRecord", "Standard");
    t.number(40, 0).number(41, 1).number(50, 0)(71, 0).number(42, 2.5)(3, "txt")(4, "");
    t(0, "ENDTAB");

    beginTable(t, "VIEW", kViewTable, 0);
    t(0, "ENDTAB");
    beginTable(t, "UCS", kUcsTable, 0);
    t(0, "ENDTAB");

    beginTable(t, "APPID", kAppidTable, 1);
    symbol(t, "APPID", kAcadAppid, kAppidTable, "AcDbRegAppTableRecord", "ACAD");
    t(0, "ENDTAB");

    beginTable(t, "DIMSTYLE", kDimstyleTable, 1);
    t(100, "AcDbDimStyleTable")(71, 0);
    symbol(t, "DIMSTYLE", kStandardDimstyle, kDimstyleTable, "AcDbDimStyleTableRecord", "Standard");
    t(0, "ENDTAB");

    beginTable(t, "BLOCK_RECORD", kBlockRecordTable, 2);
    symbol(t, "BLOCK_RECORD", kModelSpaceRecord, kBlockRecordTable, "AcDbBlockTableRecord", "*Model_Space");
    t.handle(340, kModelLayout);
    symbol(t, "BLOCK_RECORD", kPaperSpaceRecord, kBlockRecordTable, "AcDbBlockTableRecord", "*Paper_Space");
    t.handle(340, kPaperLayout);
    t(0, "ENDTAB");

    t(0, "ENDSEC");
}

void writeBlocks(Tags& t)
{
    t(0, "SECTION")(2, "BLOCKS");
    const struct {
        unsigned block, end, record;
        const char* name;
        bool paper;
    } blocks[] = {{kModelSpaceBlock, kModelSpaceEnd, kModelSpaceRecord, "*Model_Space", false},
                  {kPaperSpaceBlock, kPaperSpaceEnd, kPaperSpaceRecord, "*Paper_Space", true}};
    for (const auto& b : blocks) {
        t.record("BLOCK", b.block, b.record)(100, "AcDbEntity");
        if (b.paper)
            t(67, 1);
        t(8, "0")(100, "AcDbBlockBegin")(2, b.name)(70, 0).point(10, 0, 0)(3, b.name)(1, "");
        t.record("ENDBLK", b.end, b.record)(100, "AcDbEntity");
        if (b.paper)
            t(67, 1);
        t(8, "0")(100, "AcDbBlockEnd");
    }
    t(0, "ENDSEC");
}

void writeLayout(Tags& t, unsigned self, unsigned record, std::string_view name, int tab)
{
    t(0, "LAYOUT").handle(5, self)(102, "{ACAD_REACTORS").handle(330, kLayoutDictionary)(102, "}");
    t.handle(330, kLayoutDictionary)(100, "AcDbPlotSettings")(1, "")(2, "none_device")(4, "")(6, "");
    for (int code = 40; code <= 49; ++code)
        t.number(code, 0);
    t.number(140, 0).number(141, 0).number(142, 1).number(143, 1);
    t(70, 688)(72, 1)(73, 0)(74, 5)(7, "")(75, 16).number(147, 1).number(148, 0).number(149, 0);
    t(100, "AcDbLayout")(1, name)(70, 1)(71, tab);
    t.number(10, 0).number(20, 0).number(11, 420).number(21, 297);
    t.point(12, 0, 0).point(14, 0, 0).point(15, 0, 0).number(146, 0).point(13, 0, 0);
    t.point(16, 1, 0).point(17, 0, 1)(76, 0).handle(330, record);
}

void writeObjects(Tags& t)
{
    t(0, "SECTION")(2, "OBJECTS");
    t(0, "DICTIONARY").handle(5, kRootDictionary).handle(330, 0)(100, "AcDbDictionary")(281, 1);
    t(3, "ACAD_GROUP").handle(350, kGroupDictionary)(3, "ACAD_LAYOUT").handle(350, kLayoutDictionary);
    t(0, "DICTIONARY").handle(5, kGroupDictionary)(102, "{ACAD_REACTORS").handle(330, kRootDictionary);
    t(102, "}").handle(330, kRootDictionary)(100, "AcDbDictionary")(281, 1);
    t(0, "DICTIONARY").handle(5, kLayoutDictionary)(102, "{ACAD_REACTORS").handle(330, kRootDictionary);
    t(102, "}").handle(330, kRootDictionary)(100, "AcDbDictionary")(281, 1);
    t(3, "Layout1").handle(350, kPaperLayout)(3, "Model").handle(350, kModelLayout);
    writeLayout(t, kPaperLayout, kPaperSpaceRecord, "Layout1", 1);
    writeLayout(t, kModelLayout, kModelSpaceRecord, "Model", 0);
    t(0, "ENDSEC");
}

FramePieces makeFramePieces(bool textEntity)
{
    const auto linesOf = [](auto write) {
        StringSink out;
        {
            Tags t(out);
            write(t);
        }
        return std::move(out.text());
    };
    return FramePieces{
        linesOf(headerToLowCorner),
        linesOf(toHighCorner),
        linesOf(toHandleSeed),
        linesOf(toViewCentre),
        linesOf(toViewHeight),
        linesOf([&](Tags& t) { toTextLayerName(t, textEntity); }),
        linesOf([&](Tags& t) {
            afterTextLayerName(t, textEntity);
            writeBlocks(t);
            t(0, "SECTION")(2, "ENTITIES");
        }),
        linesOf([](Tags& t) {
            t(0, "ENDSEC");
            writeObjects(t);
            t(0, "EOF");
        }),
    };
}

} // namespace

const FramePieces& framePieces(bool textEntity)
{
    static const FramePieces plain = makeFramePieces(false), withText = makeFramePieces(true);
    return textEntity ? withText : plain;
}

void writeFrameHead(Tags& t, const FramePieces& frame, const Extents& e, unsigned handleSeed, std::string_view layer)
{
    t.bytes(frame.toLowCorner);
    t.point(10, e.min.x, e.min.y);
    t.bytes(frame.toHighCorner);
    t.point(10, e.max.x, e.max.y);
    t.bytes(frame.toHandleSeed);
    t.handle(5, handleSeed);
    t.bytes(frame.toViewCentre);
    t.number(12, (e.min.x + e.max.x) / 2).number(22, (e.min.y + e.max.y) / 2);
    t.bytes(frame.toViewHeight);
    const double width = e.max.x - e.min.x, height = e.max.y - e.min.y;
    t.number(40, std::max({height * 1.1, width * 1.1 / 1.5, 10.0}));
    t.bytes(frame.toTextLayerName);
    t(2, layer);
    t.bytes(frame.toEntities);
}

} // namespace lw::dxf
