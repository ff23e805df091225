#pragma once
// The device context: a drawing surface measured in pixels (x right, y down)
// plus the graphics state the program relies on (selected font, background
// mode, text alignment, current position, pen colour and the path bracket),
// with the operations of the graphics interface in their own names.
//
//   lw::DeviceContext dc(canvas);
//   lw::BeginPath(dc);
//   lw::TextOutA(dc, 0, 0, bytes.data(), int(bytes.size()));
//   lw::EndPath(dc);
//   lw::FlattenPath(dc);
//   int n = lw::GetPath(dc, nullptr, nullptr, 0);

#include "outline/canvas.hpp"
#include "outline/gdi_types.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace lw {

struct LogicalFont;
using HFONT = LogicalFont*;

class DeviceContext {
public:
    explicit DeviceContext(Canvas& canvas);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    Canvas& canvas() { return *canvas_; }
    Rgb penColour() const { return pen_; }
    void setPenColour(Rgb colour) { pen_ = colour; }

    // Read-only views of the state, for tests.
    HFONT selectedFont() const { return font_; }
    int backgroundMode() const { return bkMode_; }
    std::uint32_t textAlign() const { return textAlign_; }
    POINT currentPosition() const { return position_; }

private:
    friend HFONT SelectObject(DeviceContext&, HFONT);
    friend int SetBkMode(DeviceContext&, int);
    friend std::uint32_t SetTextAlign(DeviceContext&, std::uint32_t);
    friend bool SetTextJustification(DeviceContext&, int, int);
    friend bool TextOutA(DeviceContext&, int, int, const char*, int);
    friend bool BeginPath(DeviceContext&);
    friend bool EndPath(DeviceContext&);
    friend bool FlattenPath(DeviceContext&);
    friend int GetPath(DeviceContext&, POINT*, std::uint8_t*, int);
    friend bool Polygon(DeviceContext&, const POINT*, int);
    friend bool MoveToEx(DeviceContext&, int, int, POINT*);
    friend bool LineTo(DeviceContext&, int, int);

    enum class PathState { None, Open, Closed };

    Canvas* canvas_;
    HFONT font_;                    // never null: the stock font when nothing else is selected
    int bkMode_ = 2;                // OPAQUE
    std::uint32_t textAlign_ = 0;
    int justificationExtra_ = 0;
    POINT position_{};
    Rgb pen_{};
    PathState pathState_ = PathState::None;
    // The path in device pixels before flattening (curves as cubic Béziers
    // in sub-pixel precision) and, after FlattenPath, the integer points.
    struct PathPoint {
        double x, y;
        std::uint8_t type;
    };
    std::vector<PathPoint> path_;
    std::vector<POINT> flatPoints_;
    std::vector<std::uint8_t> flatTypes_;
    bool flattened_ = false;
};

// Fonts. The face name of the description is decoded from code page 932
// (never read past its 32 bytes) and resolved through fontconfig.
HFONT CreateFontIndirectA(const LOGFONTA& description);
HFONT SelectObject(DeviceContext& dc, HFONT font); // returns the font selected before
bool DeleteObject(HFONT font);                     // the stock font is never deleted

int SetBkMode(DeviceContext& dc, int mode);                        // returns the previous mode
std::uint32_t SetTextAlign(DeviceContext& dc, std::uint32_t flags); // returns the previous flags
bool SetTextJustification(DeviceContext& dc, int breakExtra, int breakCount);

// Inside an open path: the glyph outlines of the bytes (code page 932),
// rotated by the font's escapement, become closed figures of the path.
// Outside a path nothing is drawn (the program only ever writes into paths).
bool TextOutA(DeviceContext& dc, int x, int y, const char* bytes, int count);

bool BeginPath(DeviceContext& dc);   // discards any earlier path
bool EndPath(DeviceContext& dc);
bool FlattenPath(DeviceContext& dc); // curves become straight segments (tolerance kFlatness)
// size 0: the number of points; size n: fills n points and types, returns n;
// -1 when there is no closed path or `size` is too small.
int GetPath(DeviceContext& dc, POINT* points, std::uint8_t* types, int size);

bool Polygon(DeviceContext& dc, const POINT* points, int count);
bool MoveToEx(DeviceContext& dc, int x, int y, POINT* old);
bool LineTo(DeviceContext& dc, int x, int y);

// The largest distance, in device pixels, between a flattened curve and the
// exact curve before the points are rounded to whole pixels.
inline constexpr double kFlatness = 0.25;

} // namespace lw
