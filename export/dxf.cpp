#include "export/dxf.hpp"

#include "base/codepage.hpp"
#include "export/byte_files.hpp"
#include "cut/cut.hpp"
#include "outline/curve_bounds.hpp"

#include <algorithm>
#include <charconv>
#include <optional>
#include <cstdio>
#include <span>
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
    kActiveVport = 0x29, kTextLayer = 0x2A, kNoPlotLayer = 0x2B, kFirstEntity = 0x100,
};

class Tags {
public:
    explicit Tags(ByteSink& out) : out_(out) {}
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
        return integerLine(value);
    }
    Tags& integerLine(int value)
    {
        if (used_ > kSize - kRoom)
            flush();
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
        return handleLine(value);
    }
    // A value's line alone, for a group code written with the fixed lines
    // before it.
    Tags& handleLine(unsigned value)
    {
        if (used_ > kSize - kRoom)
            flush();
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
        // The placement, its scale and the write position are held in locals
        // the buffer's writes cannot alias, so none is read back or worked
        // out again per point; the arithmetic is toMillimetres's own.
        const double originX = mm.originX, originY = mm.originY, mmPerPixel = kMmPerInch / mm.dpi;
        char* at = buffer_ + used_;
        char* const full = buffer_ + (kSize - kRoom);
        for (const POINT& p : points) {
            if (at > full) {
                used_ = std::size_t(at - buffer_);
                flush();
                at = buffer_;
            }
            const double x = (p.x - originX) * mmPerPixel, y = (originY - p.y) * mmPerPixel;
            at = std::copy_n(" 10\n", 4, at);
            at = shortest(at, x);
            *at++ = '\n';
            at = std::copy_n(" 20\n", 4, at);
            at = shortest(at, y);
            *at++ = '\n';
        }
        used_ = std::size_t(at - buffer_);
    }
    // Vertices with the bulge of the arc to the next one; DXF's y runs up,
    // so an arc turns the other way there.
    // Each vertex moved by the arcs' shift first, then placed: the same sums
    // a moved copy of the arcs would hold (a shift of 0 only turns -0 into 0).
    void arcVertices(const PlacedArcs& arcs, const MmPlacement& mm)
    {
        const double mmPerUnit = kMmPerInch / mm.dpi;
        const double dx = arcs.shift.x, dy = arcs.shift.y;
        for (const ArcVertex& v : arcs.arcs) {
            const double x = v.at.x + dx, y = v.at.y + dy;
            number(10, (x - mm.originX) * mmPerUnit).number(20, (mm.originY - y) * mmPerUnit);
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

    // Shortest round trip; negative zero reads as 0. Adding 0 turns -0 into
    // 0 and leaves every other value as it is, with no branch on the way
    // into the conversion.
    static char* shortest(char* at, double value) { return std::to_chars(at, at + 32, value + 0.0).ptr; }
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
        out_.write(std::string_view(buffer_, used_));
        used_ = 0;
    }

    ByteSink& out_;
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
    // Millimetres move one way with x and one way with y, so the extreme
    // pixels give the extreme millimetres exactly: only two corners are
    // converted.
    POINT low{}, high{};
    for (const Figure& f : figures(outline)) {
        if (!f.closed)
            continue;
        ++closedFigures;
        if (f.points.empty())
            continue;
        if (!any)
            low = high = f.points.front();
        any = true;
        // Plain minima and maxima, which the compiler can run side by side.
        for (const POINT& p : f.points) {
            low.x = std::min(low.x, p.x);
            low.y = std::min(low.y, p.y);
            high.x = std::max(high.x, p.x);
            high.y = std::max(high.y, p.y);
        }
    }
    if (any) {
        const MmPoint a = toMillimetres(mm, low), b = toMillimetres(mm, high);
        e.min = {std::min(a.x, b.x), std::min(a.y, b.y)};
        e.max = {std::max(a.x, b.x), std::max(a.y, b.y)};
    }
    return e;
}

// The arcs each closed figure is written as, fitted once for the extents
// and the entities alike; a figure with fewer than two vertices of arcs is
// written as its points.
struct FigureArcs {
    std::vector<PlacedArcs> placed;            // one per closed figure, or none without curves
    std::vector<std::vector<ArcVertex>> fitted; // the arcs fitted now, where `placed` views them
};

FigureArcs arcsOf(const DxfPlacement& placement, unsigned closedFigures)
{
    FigureArcs a;
    const ExactCurves* curves = placement.curves;
    if (!curves)
        return a;
    a.placed.resize(closedFigures);
    a.fitted.resize(closedFigures);
    for (std::size_t k = 0; k < closedFigures && k < curves->size(); ++k)
        if ((*curves)[k])
            a.placed[k] = placedArcsOf(*(*curves)[k], placement.curveTolerance, a.fitted[k]);
    return a;
}

bool asArcs(const FigureArcs& a, std::size_t k) { return k < a.placed.size() && a.placed[k].arcs.size() >= 2; }

// The extents of the figures as written: arcs reach past their vertices,
// up to half a grid step beyond the captured points.
Extents writtenExtentsOf(const CapturedOutline& outline, const MmPlacement& mm, const FigureArcs& arcs)
{
    CurveBox box;
    std::size_t k = 0;
    for (const Figure& f : figures(outline)) {
        if (!f.closed)
            continue;
        if (const std::size_t mine = k++; asArcs(arcs, mine)) {
            const PlacedArcs& a = arcs.placed[mine];
            const auto at = [&](std::size_t i) {
                const ArcVertex& v = a.arcs[i % a.arcs.size()];
                return CurvePoint{v.at.x + a.shift.x, v.at.y + a.shift.y};
            };
            box.add(at(0));
            for (std::size_t i = 0; i < a.arcs.size(); ++i)
                boundArc(box, at(i), at(i + 1), a.arcs[i].bulge);
            continue;
        }
        for (const POINT& p : f.points)
            box.add({double(p.x), double(p.y)});
    }
    Extents e;
    if (box.any) {
        // As the vertices are placed (Tags::vertices, Tags::arcVertices).
        const double mmPerUnit = kMmPerInch / mm.dpi;
        const double x0 = (box.left - mm.originX) * mmPerUnit, x1 = (box.right - mm.originX) * mmPerUnit;
        const double y0 = (mm.originY - box.top) * mmPerUnit, y1 = (mm.originY - box.bottom) * mmPerUnit;
        e.min = {std::min(x0, x1), std::min(y0, y1)};
        e.max = {std::max(x0, x1), std::max(y0, y1)};
    }
    return e;
}

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

// The frame's fixed lines, in the order they are written; a value of the
// drawing goes after each piece but the last.
struct FramePieces {
    std::string toLowCorner, toHighCorner, toHandleSeed, toViewCentre, toViewHeight, toTextLayerName,
        toEntities, toEnd;
};

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

const FramePieces& framePieces(bool textEntity)
{
    static const FramePieces plain = makeFramePieces(false), withText = makeFramePieces(true);
    return textEntity ? withText : plain;
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
    // Every character takes a byte at least, so a long text is cut to that
    // many characters first rather than one by one.
    if (name.size() > kLayerNameBytes)
        name.resize(kLayerNameBytes);
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

namespace {

// The layer's name in code page 932 for `text`, kept from the drawing
// before: a drawing saved again, or a batch of one text, converts it once.
const std::string& layerBytes(std::string_view text)
{
    thread_local std::optional<std::string> lastText;
    thread_local std::string lastLayer;
    if (!lastText || *lastText != text) {
        lastLayer = toCp932(dxfLayerName(text));
        lastText = std::string(text);
    }
    return lastLayer;
}

// Horizontal (72) and vertical (73) alignment of TEXT at the anchor.
std::pair<int, int> textAlignment(Anchor anchor)
{
    switch (anchor) {
    case Anchor::BaselineLeft: return {0, 0};
    case Anchor::BaselineCentre: return {1, 0};
    case Anchor::BaselineRight: return {2, 0};
    case Anchor::BottomLeft: return {0, 1};
    case Anchor::BottomCentre: return {1, 1};
    case Anchor::BottomRight: return {2, 1};
    case Anchor::MiddleLeft: return {0, 2};
    case Anchor::Centre: return {1, 2};
    case Anchor::MiddleRight: return {2, 2};
    case Anchor::TopLeft: return {0, 3};
    case Anchor::TopCentre: return {1, 3};
    case Anchor::TopRight: return {2, 3};
    }
    return {0, 0};
}

// The text in code page 932; "%%" starts a control code in DXF text, so
// where it occurs every "%" is written as "%%%", the code for itself. A
// reader keeps at most `limit` bytes of a value: a longer text is cut at a
// whole character (the outline beside it keeps every letter).
std::string textBytes(std::string_view text, std::size_t limit)
{
    std::string bytes = toCp932(text);
    const bool percents = bytes.find("%%") != std::string::npos;
    const std::size_t room = percents ? limit / 3 : limit;
    if (bytes.size() > room) {
        std::size_t end = 0;
        for (std::size_t at = 0; at < bytes.size();) {
            const auto lead = static_cast<unsigned char>(bytes[at]);
            const std::size_t width = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
            if (at + width > room)
                break;
            at += width;
            end = at;
        }
        bytes.resize(end);
    }
    if (!percents)
        return bytes;
    std::string escaped;
    for (const char c : bytes)
        escaped += c == '%' ? std::string_view("%%%") : std::string_view(&c, 1);
    return escaped;
}

// With a handle, the 2000 drawing's entity (owner and subclasses); without,
// Release 12's.
void writeTextEntity(Tags& t, const DxfPlacement& placement, std::optional<unsigned> handle)
{
    const DxfText& text = *placement.textEntity;
    t(0, "TEXT");
    if (handle)
        t.handle(5, *handle).handle(330, kModelSpaceRecord)(100, "AcDbEntity");
    t(8, kDxfTextLayer);
    if (handle)
        t(100, "AcDbText");
    // Release 12 keeps 255 bytes of a string, later versions 2049.
    t.point(10, 0, 0).number(40, text.heightMm)(1, textBytes(placement.text, handle ? 2049 : 255));
    if (text.angleDegrees != 0)
        t.number(50, text.angleDegrees);
    // Backwards (mirrored in x) or upside down (in y), as the outline is.
    if (text.mirror != Mirror::None)
        t(71, text.mirror == Mirror::X ? 2 : 4);
    const auto [horizontal, vertical] = textAlignment(text.anchor);
    if (horizontal != 0)
        t(72, horizontal);
    if (horizontal != 0 || vertical != 0)
        t.point(11, 0, 0);
    if (handle)
        t(100, "AcDbText");
    if (vertical != 0)
        t(73, vertical);
}

// Release 12's sections up to its entities, which follow.
void writeR12Head(Tags& t, const Extents& e, const std::string& layer, bool textLayer)
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

// The drawing's frame up to its entities: extents, the next free handle,
// the view on the drawing, and the text's layer.
void writeFrameHead(Tags& t, const FramePieces& frame, const Extents& e, unsigned handleSeed, const std::string& layer)
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

} // namespace

std::string dxfR12LayerName(std::string_view text)
{
    std::string name;
    bool any = false;
    for (const char c : dxfLayerName(text)) {
        if (static_cast<unsigned char>(c) >= 0x80)
            continue;
        const char upper = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
        const bool letterOrDigit = (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9');
        any = any || letterOrDigit;
        if (name.size() < 31)
            name += letterOrDigit || upper == '$' || upper == '-' || upper == '_' ? upper : '_';
    }
    if (!any)
        return "LETTERWIRE";
    // Layer 0 is every drawing's own, and DEFPOINTS never prints.
    if (name == "0" || name == "DEFPOINTS")
        name = "_" + name;
    return name;
}

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
    const std::string& layer = layerBytes(placement.text);
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
    // The TEXT entity's writer reads the text and its form from a placement.
    const DxfPlacement placement{.mm = {}, .text = form.text, .version = form.version, .textEntity = form.textEntity};
    if (form.version == DxfVersion::R12) {
        const std::string layer = dxfR12LayerName(form.text);
        Tags t(out);
        writeR12Head(t, e, layer, form.textEntity.has_value());
        for (std::size_t i = 0; i < lines.count(); ++i) {
            t(0, "POLYLINE")(8, layer)(66, 1).point(10, 0, 0)(70, 0);
            for (const MmPoint& p : lines.line(i))
                t(0, "VERTEX")(8, layer).point(10, p.x, p.y);
            t(0, "SEQEND")(8, layer);
        }
        if (form.textEntity)
            writeTextEntity(t, placement, std::nullopt);
        t(0, "ENDSEC");
        t(0, "EOF");
        return;
    }
    const std::string& layer = layerBytes(form.text);
    const FramePieces& frame = framePieces(form.textEntity.has_value());
    const unsigned entities = unsigned(lines.count()) + (form.textEntity ? 1 : 0);
    Tags t(out);
    writeFrameHead(t, frame, e, kFirstEntity + entities, layer);
    unsigned handle = kFirstEntity;
    for (std::size_t i = 0; i < lines.count(); ++i) {
        const std::span<const MmPoint> line = lines.line(i);
        t(0, "LWPOLYLINE").handle(5, handle++).handle(330, kModelSpaceRecord)(100, "AcDbEntity")(8, layer);
        t(100, "AcDbPolyline")(90, int(line.size()))(70, 0);
        for (const MmPoint& p : line)
            t.number(10, p.x).number(20, p.y);
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
