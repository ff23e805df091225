#pragma once
// What the DXF writers share: the drawing frame's fixed handles, the
// drawing's extents, and Tags, which writes group codes and values into a
// buffer that goes to the sink in large pieces. For export/dxf*.cpp only.

#include "base/byte_sink.hpp"
#include "cut/arcs.hpp"
#include "outline/precision.hpp"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <span>
#include <string_view>

namespace lw::dxf {

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

} // namespace lw::dxf
