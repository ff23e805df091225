#pragma once
// The device context: a drawing surface measured in pixels (x right, y down)
// plus the graphics state the program relies on (selected font, background
// mode, text alignment, current position, pen colour and the path bracket),
// with the operations of the graphics interface in their own names.
//
// One interface, two backends chosen at build time: platform/freetype/ lays
// glyphs from FreeType into a path of its own; platform/gdi/ forwards every
// call to gdi32 on a memory device context.
//
//   lw::DeviceContext dc(canvas);
//   lw::BeginPath(dc);
//   lw::TextOutA(dc, 0, 0, bytes.data(), int(bytes.size()));
//   lw::EndPath(dc);
//   lw::FlattenPath(dc);
//   int n = lw::GetPath(dc, nullptr, nullptr, 0);

#include "platform/canvas.hpp"
#include "platform/gdi_types.hpp"
#include "platform/glyph_run.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace lw {

// A logical font; each backend defines what it holds.
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
    void setPenColour(Rgb colour);

    // Read-only views of the state, for tests.
    HFONT selectedFont() const;
    int backgroundMode() const;
    std::uint32_t textAlign() const;
    POINT currentPosition() const;

    // The backend's own state; opaque everywhere else.
    struct State;
    State& state() { return *state_; }
    const State& state() const { return *state_; }

private:
    Canvas* canvas_;
    Rgb pen_{};
    std::unique_ptr<State> state_;
};

// Fonts. The face name of the description is 32 bytes of code page 932,
// never read past its end. Creating a font never gives null: an unknown face
// name gets the platform's best substitute. A machine that can make no font
// at all (no font engine, no scalable font, no font object left) throws
// lw::Failure of kind BrokenInstallation, and leaves nothing to delete.
HFONT CreateFontIndirectA(const LOGFONTA& description);
HFONT SelectObject(DeviceContext& dc, HFONT font); // returns the font selected before
bool DeleteObject(HFONT font);                     // the stock font is never deleted

int SetBkMode(DeviceContext& dc, int mode);                        // returns the previous mode
std::uint32_t SetTextAlign(DeviceContext& dc, std::uint32_t flags); // returns the previous flags
bool SetTextJustification(DeviceContext& dc, int breakExtra, int breakCount);
// Whole device pixels added after every character TextOutA draws (negative:
// closer); returns the previous amount. ExtTextOutA's advances are taken as given.
int SetTextCharacterExtra(DeviceContext& dc, int extra);

// The selected font's ascent, descent and height as the platform places
// text with it; false when it cannot tell.
bool GetTextMetricsA(DeviceContext& dc, TEXTMETRICA* metrics);

// Inside an open path: the glyph outlines of the bytes (code page 932),
// rotated by the font's escapement, become closed figures of the path.
bool TextOutA(DeviceContext& dc, int x, int y, const char* bytes, int count);

// TextOutA with each character's advance given: `advances` holds one whole
// number of device pixels per character of the bytes as code page 932
// decodes them (a double-byte character is one), as many as
// GetLinearAdvances reports. Alignment and escapement apply as for TextOutA.
bool ExtTextOutA(DeviceContext& dc, int x, int y, const char* bytes, int count, const int* advances);

// The selected font's advance of each character of the bytes (code page
// 932), unrounded, in device pixels: the face's own design advance scaled
// to the em height, which no hinting or whole-pixel rounding has touched.
// Fills `advances` with one value per character.
void GetLinearAdvances(DeviceContext& dc, const char* bytes, int count, std::vector<double>& advances);

bool BeginPath(DeviceContext& dc);   // discards any earlier path
bool EndPath(DeviceContext& dc);
bool FlattenPath(DeviceContext& dc); // curves become straight segments
// size 0: the number of points; size n: fills n points and types, returns n;
// -1 when there is no closed path or `size` is too small.
int GetPath(DeviceContext& dc, POINT* points, std::uint8_t* types, int size);

// FlattenPath, then GetPath's count and fill, in one call: the points and
// types end with n entries each and room for one more; returns n, or -1
// without a closed path (the arrays untouched). The FreeType backend writes
// straight into the arrays, sized once from a bound; GDI reads its own path.
// With `runs`, it is replaced by the glyphs placed from a flattened copy, in
// order (GDI places none: it stays empty).
int flattenPathInto(DeviceContext& dc, std::vector<POINT>& points, std::vector<std::uint8_t>& types,
                    std::vector<GlyphRun>* runs = nullptr);

// A box of device pixels, both ends included.
struct DeviceArea {
    std::int32_t left = 0, top = 0, right = -1, bottom = -1;
    friend bool operator==(const DeviceArea&, const DeviceArea&) = default;
};

// flattenPathInto for a view that shows only `area`: a glyph whose points
// all lie outside it may be left out whole; every other figure, and every
// point kept, is as flattenPathInto gives it, in the same order. So the
// figures that meet the area are all there. A backend that cannot tell
// keeps the whole path.
int flattenPathWithin(DeviceContext& dc, const DeviceArea& area, std::vector<POINT>& points,
                      std::vector<std::uint8_t>& types);

// A point of the unflattened path, in device pixels at the platform's own
// precision (sub-pixel on Linux, whole pixels from GDI).
struct CurvePoint {
    double x = 0;
    double y = 0;
};

// After EndPath and before any flattening: the path as drawn, its curves
// still cubic Béziers (PT_BEZIERTO: two controls, then the end point with
// any close mark). Replaces the arrays; returns their length, or -1 without
// a closed path.
int readCurvedPath(DeviceContext& dc, std::vector<CurvePoint>& points, std::vector<std::uint8_t>& types);

// A glyph's figures before flattening, relative to its origin, as readCurvedPath
// would give them at the origin (0, 0).
struct GlyphCurves {
    std::vector<CurvePoint> points;
    std::vector<std::uint8_t> types;
};

// A glyph that readCurvedGlyphs left out of the points because its curves
// are kept with its flattened copy: named as that copy's GlyphRun, it stood
// before point `at` of the path, moved by (dx, dy).
struct CurvedRun {
    std::uint64_t copy = 0;
    std::size_t at = 0;
    std::int32_t dx = 0, dy = 0;
    std::shared_ptr<const GlyphCurves> curves;
};

// readCurvedPath, except that each glyph the flattening will place from its
// flattened copy is told in `runs` (in order) instead of being read into
// the points: its figures are its curves moved by (dx, dy). A platform that
// keeps no such copies (GDI) reads the whole path and leaves `runs` empty.
int readCurvedGlyphs(DeviceContext& dc, std::vector<CurvePoint>& points, std::vector<std::uint8_t>& types,
                     std::vector<CurvedRun>& runs);

// About how many more points this platform's flattening makes of a curve
// than a flattening within 0.25 pixel does: a bound on a capture's work
// scales by it.
extern const double kFlattenedPointsFactor;

// Outside a path these draw on the canvas; inside one they add to the path.
bool Polygon(DeviceContext& dc, const POINT* points, int count);
bool MoveToEx(DeviceContext& dc, int x, int y, POINT* old);
bool LineTo(DeviceContext& dc, int x, int y);

// Releases a font on every way out of a scope, selecting back what was there
// before and deleting it, as a caller of CreateFontIndirectA must.
class SelectedFont {
public:
    SelectedFont(DeviceContext& dc, HFONT font) : dc_(dc), font_(font), previous_(SelectObject(dc, font)) {}
    ~SelectedFont()
    {
        if (previous_)
            SelectObject(dc_, previous_);
        DeleteObject(font_);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    DeviceContext& dc_;
    HFONT font_;
    HFONT previous_;
};

} // namespace lw
