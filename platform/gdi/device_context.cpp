// The GDI backend: every operation forwards to gdi32 on a memory device
// context whose surface is a DIB section, so a capture is exactly what the
// platform draws. Drawing outside a path is also handed to the canvas, so a
// recording canvas sees the same calls on both backends. A polygon outside a
// path goes to the canvas only: how a shape's figures are filled together is
// the canvas's business, and one figure filled on its own would cover the
// counters of the others.

#include "platform/gdi/native.hpp"
#include "platform/gdi/state.hpp"
#include "platform/gdi/charset.hpp"
#include "platform/gdi/linked_text.hpp"
#include "platform/gdi/shaped_text.hpp"
#include "platform/gdi/transformed_bars.hpp"
#include "platform/gdi/exact_width.hpp"

#include "base/codepage.hpp"
#include "base/design.hpp"
#include "base/failure.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lw {
namespace {

// The DIB is the device's surface: the size of the preview's drawing area.
constexpr int kSurfaceWidth = int(design::kPreviewWidth);
constexpr int kSurfaceHeight = int(design::kPreviewHeight);

COLORREF colourOf(Rgb c) { return RGB(c.red, c.green, c.blue); }

HBITMAP newSurface(HDC dc, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = std::max(width, 1);
    info.bmiHeader.biHeight = -std::max(height, 1); // top-down, as the canvas
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

} // namespace

void resizeSurface(DeviceContext& dc, int width, int height)
{
    auto& s = dc.state();
    HBITMAP dib = newSurface(s.dc, width, height);
    if (!dib)
        return;
    HGDIOBJ old = ::SelectObject(s.dc, dib);
    if (s.dib)
        ::DeleteObject(s.dib);
    else
        s.originalBitmap = old;
    s.dib = dib;
}

DeviceContext::DeviceContext(Canvas& canvas) : canvas_(&canvas), state_(std::make_unique<State>())
{
    State& s = *state_;
    s.dc = CreateCompatibleDC(nullptr);
    s.dib = newSurface(s.dc, kSurfaceWidth, kSurfaceHeight);
    if (s.dib)
        s.originalBitmap = ::SelectObject(s.dc, s.dib);
    s.pen = CreatePen(PS_SOLID, 1, colourOf(pen_));
    s.originalPen = ::SelectObject(s.dc, s.pen);
    ::SelectObject(s.dc, GetStockObject(WHITE_BRUSH));
    s.stockFont.handle = static_cast<::HFONT>(GetCurrentObject(s.dc, OBJ_FONT));
    s.stockFont.stock = true;
    s.font = &s.stockFont;
}

DeviceContext::~DeviceContext()
{
    State& s = *state_;
    ::SelectObject(s.dc, s.stockFont.handle);
    ::SelectObject(s.dc, s.originalPen);
    ::DeleteObject(s.pen);
    if (s.dib) {
        ::SelectObject(s.dc, s.originalBitmap);
        ::DeleteObject(s.dib);
    }
    DeleteDC(s.dc);
}

void DeviceContext::setPenColour(Rgb colour)
{
    pen_ = colour;
    HPEN pen = CreatePen(PS_SOLID, 1, colourOf(colour));
    ::SelectObject(state_->dc, pen);
    ::DeleteObject(state_->pen);
    state_->pen = pen;
}

HFONT DeviceContext::selectedFont() const { return state_->font; }
int DeviceContext::backgroundMode() const { return GetBkMode(state_->dc); }
std::uint32_t DeviceContext::textAlign() const { return GetTextAlign(state_->dc); }
POINT DeviceContext::currentPosition() const
{
    ::POINT p{};
    GetCurrentPositionEx(state_->dc, &p);
    return {p.x, p.y};
}

HFONT CreateFontIndirectA(const LOGFONTA& d)
{
    // The face name is code page 932 whatever the system's ANSI code page
    // is, so it goes to the platform as UTF-16.
    LOGFONTW w{};
    w.lfHeight = d.lfHeight;
    w.lfWidth = d.lfWidth;
    w.lfEscapement = d.lfEscapement;
    w.lfOrientation = d.lfOrientation;
    w.lfWeight = d.lfWeight;
    w.lfItalic = d.lfItalic;
    w.lfUnderline = d.lfUnderline;
    w.lfStrikeOut = d.lfStrikeOut;
    w.lfCharSet = d.lfCharSet;
    w.lfOutPrecision = d.lfOutPrecision;
    w.lfClipPrecision = d.lfClipPrecision;
    w.lfQuality = d.lfQuality;
    w.lfPitchAndFamily = d.lfPitchAndFamily;
    std::size_t length = 0;
    while (length < d.lfFaceName.size() && d.lfFaceName[length] != '\0')
        ++length;
    std::u16string face = utf8ToUtf16(cp932ToUtf8(std::string_view(d.lfFaceName.data(), length)));
    // A double-byte character cut in two at byte 32 leaves a lone lead byte.
    while (!face.empty() && face.back() == u'\uFFFD')
        face.pop_back();
    face.resize(std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
    std::copy(face.begin(), face.end(), w.lfFaceName);
    w.lfCharSet = charsetFor(w.lfFaceName, d.lfCharSet);

    auto font = std::make_unique<LogicalFont>();
    font->charset = w.lfCharSet;
    font->widthExact = d.lfWidth != 0 && d.lfWidthExact > 0 ? double(d.lfWidthExact) : 0;
    font->handle = CreateFontIndirectW(&w);
    // GDI substitutes for any face name, so no font at all is a broken
    // platform; drawing on with the stock font would be a wrong outline.
    if (!font->handle)
        throw Failure(FailureKind::BrokenInstallation,
                      "the platform made no font for \"" + utf16ToUtf8(face) + "\"");
    if (w.lfCharSet != d.lfCharSet) {
        w.lfCharSet = d.lfCharSet;
        font->shiftJis = CreateFontIndirectW(&w);
    }
    return font.release();
}

HFONT SelectObject(DeviceContext& dc, HFONT font)
{
    if (!font)
        return nullptr;
    auto& s = dc.state();
    ::SelectObject(s.dc, font->handle);
    HFONT old = s.font;
    s.font = font;
    return old;
}

bool DeleteObject(HFONT font)
{
    if (!font || font->stock)
        return false;
    ::DeleteObject(font->handle);
    if (font->shiftJis)
        ::DeleteObject(font->shiftJis);
    delete font;
    return true;
}

int SetBkMode(DeviceContext& dc, int mode) { return ::SetBkMode(dc.state().dc, mode); }

std::uint32_t SetTextAlign(DeviceContext& dc, std::uint32_t flags)
{
    return ::SetTextAlign(dc.state().dc, flags);
}

bool SetTextJustification(DeviceContext& dc, int breakExtra, int breakCount)
{
    return ::SetTextJustification(dc.state().dc, breakExtra, breakCount) != 0;
}

int SetTextCharacterExtra(DeviceContext& dc, int extra)
{
    return ::SetTextCharacterExtra(dc.state().dc, extra);
}

namespace {

bool shapes(DeviceContext& dc) { return !dc.state().shaping.isPlain() && !isVerticalFont(*dc.state().font); }

} // namespace

TextShaping SetTextShaping(DeviceContext& dc, const TextShaping& shaping)
{
    TextShaping previous = std::move(dc.state().shaping);
    dc.state().shaping = shaping;
    return previous;
}

bool TextOutA(DeviceContext& dc, int x, int y, const char* bytes, int count)
{
    if (!bytes || count <= 0)
        return true;
    const bool shaped = shapes(dc);
    return drawWithTransformedBars(dc.state().dc, *dc.state().font, dc.state().pathOpen,
                                   [&](HDC h, const LogicalFont& font) {
        if (shaped) {
            const std::u16string text = utf8ToUtf16(cp932ToUtf8(std::string_view(bytes, std::size_t(count))));
            return drawShapedText(h, font, x, y, text, nullptr, dc.state().shaping);
        }
        // The bytes are code page 932 whatever the font's character set; GDI
        // would read them in the set's own code page.
        if (font.charset != SHIFTJIS_CHARSET) {
            const std::u16string text = utf8ToUtf16(cp932ToUtf8(std::string_view(bytes, std::size_t(count))));
            return drawLinkedText(h, font, x, y, text, nullptr);
        }
        return ::TextOutA(h, x, y, bytes, count) != 0;
    });
}

bool GetTextMetricsA(DeviceContext& dc, TEXTMETRICA* metrics)
{
    TEXTMETRICW tm{};
    if (!metrics || !GetTextMetricsW(dc.state().dc, &tm))
        return false;
    LOGFONTW asked{};
    GetObjectW(GetCurrentObject(dc.state().dc, OBJ_FONT), sizeof asked, &asked);
    const double exact = dc.state().font->widthExact > 0 ? dc.state().font->widthExact
                       : asked.lfWidth == 0            ? exactAverageWidth(dc.state().dc)
                                                       : 0;
    *metrics = {tm.tmHeight, tm.tmAscent, tm.tmDescent, tm.tmAveCharWidth, exact > 0 ? exact : tm.tmAveCharWidth};
    return true;
}

namespace {

// The characters as GDI's wide calls take them, decoded as the core counts them.
std::u16string wideText(const char* bytes, int count)
{
    return utf8ToUtf16(cp932ToUtf8(std::string_view(bytes, std::size_t(count))));
}

} // namespace

bool ExtTextOutA(DeviceContext& dc, int x, int y, const char* bytes, int count, const int* advances)
{
    if (!bytes || count <= 0)
        return true;
    const std::u16string text = wideText(bytes, count);
    const bool shaped = shapes(dc), pathOpen = dc.state().pathOpen;
    return drawWithTransformedBars(dc.state().dc, *dc.state().font, pathOpen, [&](HDC h, const LogicalFont& font) {
        // Only a path takes the glyphs scaled; drawn on the surface they stay GDI's.
        if (shaped)
            return drawShapedText(h, font, x, y, text, advances, dc.state().shaping, pathOpen);
        return drawLinkedText(h, font, x, y, text, advances, pathOpen);
    });
}

namespace {

// Appends each character's unrounded advance in the font selected in `h`,
// widened exactly by `widthExact` pixels where above 0; shaped, a cluster's
// advance is its first character's and the others' 0.
void appendLinearAdvances(HDC h, std::u16string_view text, std::vector<double>& advances, double widthExact,
                          const TextShaping& shaping)
{
    LOGFONTW font{};
    GetObjectW(GetCurrentObject(h, OBJ_FONT), sizeof font, &font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(h, &metrics);
    const double em = font.lfHeight < 0 ? -double(font.lfHeight) : double(metrics.tmHeight - metrics.tmInternalLeading);
    // GDI reports advances hinted and rounded at the size asked for; at an em
    // of the face's own units per em they are the design advances themselves.
    UINT emSquare = 0;
    if (UINT size = GetOutlineTextMetricsW(h, 0, nullptr); size >= sizeof(OUTLINETEXTMETRICW)) {
        std::vector<char> buffer(size);
        auto* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
        if (GetOutlineTextMetricsW(h, size, outline))
            emSquare = outline->otmEMSquare;
    }
    // The glyphs drawn at the em are widened by lfWidth over the average
    // width rounded at that em; lfWidth scaled to the em square would stand
    // against an average rounded there, up to half a pixel of the em's
    // average off (1.3 % at 85 px). So the advances are measured unwidened
    // and take the ratio of the size drawn.
    const double widthRatio = emSquare == 0 || font.lfWidth == 0 ? 1
                            : widthExact > 0                     ? exactWidthRatio(h, widthExact)
                                                                 : lfWidthRatio(h);
    HDC measure = CreateCompatibleDC(h);
    ::HFONT large = nullptr;
    double scale = 1;
    if (emSquare > 0) {
        font.lfHeight = -LONG(emSquare);
        font.lfWidth = 0;
        font.lfEscapement = font.lfOrientation = 0;
        large = CreateFontIndirectW(&font);
        scale = em / emSquare;
    }
    HGDIOBJ old = ::SelectObject(measure, large ? static_cast<HGDIOBJ>(large) : GetCurrentObject(h, OBJ_FONT));
    if (!shaping.isPlain()) {
        const std::size_t start = advances.size();
        advances.resize(start + text.size(), 0.0);
        const ShapedGlyphs shaped = shapeText(measure, text, shaping);
        for (std::size_t g = 0; g < shaped.glyphs.size(); ++g)
            advances[start + shaped.first[g]] += shaped.advances[g] * widthRatio * scale;
        text = {};
    }
    for (const char16_t c : text) {
        ABC abc{};
        INT width = 0;
        if (GetCharABCWidthsW(measure, c, c, &abc))
            width = abc.abcA + INT(abc.abcB) + abc.abcC;
        else
            GetCharWidth32W(measure, c, c, &width);
        advances.push_back(width * widthRatio * scale);
    }
    ::SelectObject(measure, old);
    if (large)
        ::DeleteObject(large);
    DeleteDC(measure);
}


} // namespace

void GetLinearAdvances(DeviceContext& dc, const char* bytes, int count, std::vector<double>& advances)
{
    advances.clear();
    if (!bytes || count <= 0)
        return;
    const std::u16string text = wideText(bytes, count);
    HDC h = dc.state().dc;
    // Each character measured in the face that draws it.
    const TextShaping plain;
    const TextShaping& shaping = shapes(dc) ? dc.state().shaping : plain;
    for (const TextRun& run : linkedRuns(h, *dc.state().font, text)) {
        HGDIOBJ previous = ::SelectObject(h, run.face);
        appendLinearAdvances(h, std::u16string_view(text).substr(run.first, run.count), advances,
                             dc.state().font->widthExact, shaping);
        ::SelectObject(h, previous);
    }
}

bool Polygon(DeviceContext& dc, const POINT* points, int count)
{
    if (!points || count < 2)
        return false;
    if (dc.state().pathOpen)
        return ::Polygon(dc.state().dc, platformPoints(points), count) != 0;
    dc.canvas().polygon(std::span<const POINT>(points, std::size_t(count)), dc.penColour());
    return true;
}

bool MoveToEx(DeviceContext& dc, int x, int y, POINT* old)
{
    ::POINT previous{};
    bool ok = ::MoveToEx(dc.state().dc, x, y, &previous) != 0;
    if (old)
        *old = {previous.x, previous.y};
    return ok;
}

bool LineTo(DeviceContext& dc, int x, int y)
{
    POINT from = dc.currentPosition();
    if (!::LineTo(dc.state().dc, x, y))
        return false;
    if (!dc.state().pathOpen)
        dc.canvas().line(from, {x, y}, dc.penColour());
    return true;
}

} // namespace lw
