#include "export/dxf.hpp"

#include "base/codepage.hpp"
#include "export/byte_files.hpp"
#include "outline/cad_arcs.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <span>
#include <sstream>
#include <string_view>
#include <utility>

namespace lw {
namespace {

// Fixed handles of the drawing's frame, as AutoCAD numbers a new drawing;
// the polylines follow from kFirstEntity.
enum Handle : unsigned {
    kBlockRecordTable = 0x1, kLayerTable = 0x2, kStyleTable = 0x3, kLtypeTable = 0x5, kViewTable = 0x6,
    kUcsTable = 0x7, kVportTable = 0x8, kAppidTable = 0x9, kDimstyleTable = 0xA, kRootDictionary = 0xC,
    kGroupDictionary = 0xD, kLayer0 = 0x10, kStandardStyle = 0x11, kAcadAppid = 0x12, kByBlock = 0x14,
    kByLayer = 0x15, kContinuous = 0x16, kLayoutDictionary = 0x1A, kPaperSpaceRecord = 0x1B,
    kPaperSpaceBlock = 0x1C, kPaperSpaceEnd = 0x1D, kPaperLayout = 0x1E, kModelSpaceRecord = 0x1F,
    kModelSpaceBlock = 0x20, kModelSpaceEnd = 0x21, kModelLayout = 0x22, kStandardDimstyle = 0x27,
    kActiveVport = 0x29, kTextLayer = 0x2A, kFirstEntity = 0x100,
};

class Tags {
public:
    explicit Tags(std::ostream& out) : out_(out) {}
    ~Tags() { flush(); }
    Tags(const Tags&) = delete;
    Tags& operator=(const Tags&) = delete;

    Tags& operator()(int code, std::string_view value)
    {
        code_(code);
        bytes(value);
        return endLine();
    }
    // Lines written before, as they are.
    void bytes(std::string_view value)
    {
        // Names and text can be long; they go in pieces.
        while (!value.empty()) {
            const std::size_t piece = std::min(value.size(), kSize - used_);
            std::copy_n(value.data(), piece, buffer_ + used_);
            used_ += piece;
            value.remove_prefix(piece);
            if (!value.empty())
                flush();
        }
    }
    Tags& operator()(int code, int value)
    {
        code_(code);
        used_ = std::size_t(std::to_chars(buffer_ + used_, buffer_ + kSize, value).ptr - buffer_);
        return endLine();
    }
    Tags& number(int code, double value)
    {
        code_(code);
        used_ = std::size_t(shortest(buffer_ + used_, value) - buffer_);
        return endLine();
    }
    Tags& handle(int code, unsigned value)
    {
        code_(code);
        char* const first = buffer_ + used_;
        char* const last = std::to_chars(first, buffer_ + kSize, value, 16).ptr;
        std::transform(first, last, first, [](char c) { return c >= 'a' ? char(c - 'a' + 'A') : c; });
        used_ = std::size_t(last - buffer_);
        return endLine();
    }
    Tags& point(int code, double x, double y, double z = 0)
    {
        number(code, x).number(code + 10, y);
        return number(code + 20, z);
    }
    // A polyline's vertices, the bulk of a file: straight into the buffer.
    void vertices(std::span<const POINT> points, const MmPlacement& mm)
    {
        // The placement and the write position are held in locals the
        // buffer's writes cannot alias, so neither is read back per point.
        const MmPlacement at0 = mm;
        char* at = buffer_ + used_;
        char* const full = buffer_ + (kSize - kRoom);
        for (const POINT& p : points) {
            if (at > full) {
                used_ = std::size_t(at - buffer_);
                flush();
                at = buffer_;
            }
            const MmPoint q = toMillimetres(at0, p);
            at = std::copy_n(" 10\n", 4, at);
            at = shortest(at, q.x);
            *at++ = '\n';
            at = std::copy_n(" 20\n", 4, at);
            at = shortest(at, q.y);
            *at++ = '\n';
        }
        used_ = std::size_t(at - buffer_);
    }
    // Vertices with the bulge of the arc to the next one; DXF's y runs up,
    // so an arc turns the other way there.
    void arcVertices(std::span<const ArcVertex> vertices, const MmPlacement& mm)
    {
        const double mmPerUnit = kMmPerInch / mm.dpi;
        for (const ArcVertex& v : vertices) {
            number(10, (v.at.x - mm.originX) * mmPerUnit).number(20, (mm.originY - v.at.y) * mmPerUnit);
            if (v.bulge != 0)
                number(42, -v.bulge);
        }
    }
    // The frame every table record and object starts with.
    Tags& record(std::string_view type, unsigned self, unsigned owner)
    {
        (*this)(0, type).handle(type == "DIMSTYLE" ? 105 : 5, self);
        return handle(330, owner);
    }

private:
    static constexpr std::size_t kSize = 1 << 16;
    // More than a code line and a value line of any number take.
    static constexpr std::size_t kRoom = 128;

    // Shortest round trip; negative zero reads as 0.
    static char* shortest(char* at, double value)
    {
        return std::to_chars(at, at + 32, value == 0 ? 0.0 : value).ptr;
    }
    void code_(int code)
    {
        if (used_ > kSize - kRoom)
            flush();
        // Right-aligned in three columns, as AutoCAD writes them.
        char text[8];
        char* end = std::to_chars(text, text + sizeof text, code).ptr;
        for (std::ptrdiff_t pad = 3 - (end - text); pad > 0; --pad)
            buffer_[used_++] = ' ';
        used_ = std::size_t(std::copy(text, end, buffer_ + used_) - buffer_);
        buffer_[used_++] = '\n';
    }
    Tags& endLine()
    {
        if (used_ == kSize)
            flush();
        buffer_[used_++] = '\n';
        return *this;
    }
    void flush()
    {
        out_.write(buffer_, std::streamsize(used_));
        used_ = 0;
    }

    std::ostream& out_;
    char buffer_[kSize];
    std::size_t used_ = 0;
};

struct Extents {
    MmPoint min{0, 0}, max{0, 0};
};

Extents extentsOf(const CapturedOutline& outline, const MmPlacement& mm, unsigned& closedFigures)
{
    Extents e;
    bool any = false;
    closedFigures = 0;
    // Millimetres grow with x and shrink with y at any positive scale, so the
    // extreme pixels give the extreme millimetres exactly: only the corners
    // are converted. Any other scale converts every point.
    const bool monotone = kMmPerInch / mm.dpi > 0;
    POINT low{}, high{};
    for (const Figure& f : figures(outline)) {
        if (!f.closed)
            continue;
        ++closedFigures;
        for (const POINT& p : f.points) {
            if (monotone) {
                low = any ? POINT{std::min(low.x, p.x), std::min(low.y, p.y)} : p;
                high = any ? POINT{std::max(high.x, p.x), std::max(high.y, p.y)} : p;
            } else {
                const MmPoint q = toMillimetres(mm, p);
                e.min = any ? MmPoint{std::min(e.min.x, q.x), std::min(e.min.y, q.y)} : q;
                e.max = any ? MmPoint{std::max(e.max.x, q.x), std::max(e.max.y, q.y)} : q;
            }
            any = true;
        }
    }
    if (monotone && any) {
        // Device y runs down: the lowest row is the drawing's top.
        e.min = toMillimetres(mm, POINT{low.x, high.y});
        e.max = toMillimetres(mm, POINT{high.x, low.y});
    }
    return e;
}

void writeHeader(Tags& t, const Extents& e, unsigned handleSeed)
{
    t(0, "SECTION")(2, "HEADER");
    t(9, "$ACADVER")(1, "AC1015");
    t(9, "$DWGCODEPAGE")(3, "ANSI_932");
    t(9, "$INSBASE").point(10, 0, 0);
    t(9, "$EXTMIN").point(10, e.min.x, e.min.y);
    t(9, "$EXTMAX").point(10, e.max.x, e.max.y);
    t(9, "$LUNITS")(70, 2);
    t(9, "$INSUNITS")(70, 4);
    t(9, "$MEASUREMENT")(70, 1);
    t(9, "$HANDSEED").handle(5, handleSeed);
    t(0, "ENDSEC");
    t(0, "SECTION")(2, "CLASSES")(0, "ENDSEC");
}

void beginTable(Tags& t, std::string_view name, unsigned self, int count)
{
    t(0, "TABLE")(2, name).handle(5, self).handle(330, 0)(100, "AcDbSymbolTable")(70, count);
}

void symbol(Tags& t, std::string_view type, unsigned self, unsigned owner, std::string_view subclass,
            std::string_view name)
{
    t.record(type, self, owner)(100, "AcDbSymbolTableRecord")(100, subclass)(2, name)(70, 0);
}

void writeTables(Tags& t, const Extents& e, std::string_view layer)
{
    t(0, "SECTION")(2, "TABLES");

    beginTable(t, "VPORT", kVportTable, 1);
    symbol(t, "VPORT", kActiveVport, kVportTable, "AcDbViewportTableRecord", "*ACTIVE");
    const double width = e.max.x - e.min.x, height = e.max.y - e.min.y;
    t.number(10, 0).number(20, 0).number(11, 1).number(21, 1);
    t.number(12, (e.min.x + e.max.x) / 2).number(22, (e.min.y + e.max.y) / 2);
    t.number(13, 0).number(23, 0).number(14, 10).number(24, 10).number(15, 10).number(25, 10);
    t.point(16, 0, 0, 1).point(17, 0, 0);
    t.number(40, std::max({height * 1.1, width * 1.1 / 1.5, 10.0})).number(41, 1.5).number(42, 50);
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

    beginTable(t, "LAYER", kLayerTable, 2);
    for (auto [handle, name] : {std::pair<unsigned, std::string_view>{kLayer0, "0"}, {kTextLayer, layer}}) {
        symbol(t, "LAYER", handle, kLayerTable, "AcDbLayerTableRecord", name);
        t(62, 7)(6, "Continuous")(370, -3);
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

void writeEntities(Tags& t, const CapturedOutline& outline, const DxfPlacement& placement, std::string_view layer)
{
    t(0, "SECTION")(2, "ENTITIES");
    unsigned handle = kFirstEntity;
    std::size_t index = 0;
    std::vector<ArcVertex> fitted;
    for (const Figure& f : figures(outline)) {
        if (!f.closed)
            continue;
        const ExactCurves* curves = placement.curves;
        const std::size_t k = index++;
        t.record("LWPOLYLINE", handle++, kModelSpaceRecord)(100, "AcDbEntity")(8, layer);
        if (curves && k < curves->size() && (*curves)[k]) {
            const std::span<const ArcVertex> arcs = arcsOf(*(*curves)[k], placement.curveTolerance, fitted);
            if (arcs.size() >= 2) {
                t(100, "AcDbPolyline")(90, int(arcs.size()))(70, 1);
                t.arcVertices(arcs, placement.mm);
                continue;
            }
        }
        t(100, "AcDbPolyline")(90, int(f.points.size()))(70, 1);
        t.vertices(f.points, placement.mm);
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

bool forbiddenInName(char32_t c)
{
    return c < 0x20 || c == 0x7F || std::u32string_view(U"<>/\\\":;?*|=`").find(c) != std::u32string_view::npos;
}

} // namespace

std::string dxfLayerName(std::string_view text)
{
    std::u32string name = utf8ToCodepoints(text);
    for (char32_t& c : name) {
        const bool inCp932 = c < 0x80 || toCp932(codepointsToUtf8(std::u32string_view(&c, 1))) != "?";
        if (forbiddenInName(c) || !inCp932)
            c = U'_';
    }
    const auto blank = [](char32_t c) { return c == U' ' || c == U'\u3000'; };
    const auto trim = [&] {
        while (!name.empty() && blank(name.back()))
            name.pop_back();
        name.erase(name.begin(), std::find_if_not(name.begin(), name.end(), blank));
    };
    trim();
    // A reader may keep names in 255 bytes: cut whole characters to fit.
    while (toCp932(codepointsToUtf8(name)).size() > kLayerNameBytes)
        name.pop_back();
    trim();
    if (name.empty())
        return "Letterwire";
    // Layer 0 is every drawing's own, and Defpoints never prints: the text's
    // layer takes neither name (letter case aside).
    std::string utf8 = codepointsToUtf8(name);
    std::string folded = utf8;
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    if (folded == "0" || folded == "defpoints")
        utf8 = "_" + utf8;
    return utf8;
}

void writeDxf(std::ostream& out, const CapturedOutline& outline, const DxfPlacement& placement)
{
    unsigned closedFigures = 0;
    const Extents extents = extentsOf(outline, placement.mm, closedFigures);
    const std::string layer = toCp932(dxfLayerName(placement.text));
    Tags t(out);
    writeHeader(t, extents, kFirstEntity + closedFigures);
    writeTables(t, extents, layer);
    // The blocks and the objects are the same in every drawing: their lines
    // are made once.
    static const auto [blocks, objects] = [] {
        std::ostringstream b, o;
        {
            Tags tb(b), to(o);
            writeBlocks(tb);
            writeObjects(to);
        }
        return std::pair{b.str(), o.str()};
    }();
    t.bytes(blocks);
    writeEntities(t, outline, placement, layer);
    t.bytes(objects);
    t(0, "EOF");
}

void writeDxfFile(const std::string& path, const CapturedOutline& outline, const DxfPlacement& placement)
{
    OutputFile file(path);
    writeDxf(file.stream(), outline, placement);
    file.close();
}

} // namespace lw
