// The FreeType backend's device context: fonts, the text state, and the
// drawing calls that go to the canvas (or into an open path).

#include "platform/freetype/state.hpp"

#include "base/codepage.hpp"

#include <utility>

namespace lw {
namespace {

std::string decodeFaceName(const std::array<char, 32>& bytes)
{
    std::size_t length = 0;
    while (length < bytes.size() && bytes[length] != '\0')
        ++length;
    std::u32string name = cp932ToCodepoints(std::string_view(bytes.data(), length));
    // A double-byte character cut in two at byte 32 leaves a lone lead byte.
    while (!name.empty() && name.back() == 0xFFFD)
        name.pop_back();
    return codepointsToUtf8(name);
}

HFONT stockFont()
{
    static LogicalFont stock = [] {
        LogicalFont f;
        f.description.lfHeight = -16;
        f.description.lfWeight = FW_NORMAL;
        f.description.lfCharSet = SHIFTJIS_CHARSET;
        f.stock = true;
        return f;
    }();
    return &stock;
}

} // namespace

const FontFace& faceOf(LogicalFont& font)
{
    if (!font.face) {
        const bool bold = asksBold(font.description);
        const std::string name = decodeFaceName(font.description.lfFaceName);
        font.vertical = isVerticalName(name);
        font.face = &resolveFace(withoutVerticalMark(name), font.description.lfItalic != 0, bold);
    }
    return *font.face;
}

DeviceContext::DeviceContext(Canvas& canvas) : canvas_(&canvas), state_(std::make_unique<State>())
{
    state_->font = stockFont();
}
DeviceContext::~DeviceContext() = default;

void DeviceContext::setPenColour(Rgb colour) { pen_ = colour; }
HFONT DeviceContext::selectedFont() const { return state_->font; }
int DeviceContext::backgroundMode() const { return state_->bkMode; }
std::uint32_t DeviceContext::textAlign() const { return state_->textAlign; }
POINT DeviceContext::currentPosition() const { return state_->position; }

HFONT CreateFontIndirectA(const LOGFONTA& description)
{
    auto font = std::make_unique<LogicalFont>();
    font->description = description;
    faceOf(*font); // a broken installation throws here, and the font is freed
    return font.release();
}

HFONT SelectObject(DeviceContext& dc, HFONT font)
{
    if (!font)
        return nullptr;
    HFONT old = dc.state().font;
    dc.state().font = font;
    return old;
}

bool DeleteObject(HFONT font)
{
    if (!font || font->stock)
        return false;
    delete font;
    return true;
}

int SetBkMode(DeviceContext& dc, int mode)
{
    int old = dc.state().bkMode;
    dc.state().bkMode = mode;
    return old;
}

std::uint32_t SetTextAlign(DeviceContext& dc, std::uint32_t flags)
{
    std::uint32_t old = dc.state().textAlign;
    dc.state().textAlign = flags;
    return old;
}

// The layout never adds extra spacing, so there is nothing to reset.
bool SetTextJustification(DeviceContext&, int, int) { return true; }

int SetTextCharacterExtra(DeviceContext& dc, int extra)
{
    return std::exchange(dc.state().charExtra, extra);
}

bool Polygon(DeviceContext& dc, const POINT* points, int count)
{
    if (!points || count < 2)
        return false;
    auto& s = dc.state();
    if (s.pathState == DeviceContext::State::PathState::Open) {
        for (int i = 0; i < count; ++i) {
            std::uint8_t type = i == 0 ? PT_MOVETO : PT_LINETO;
            if (i == count - 1)
                type |= PT_CLOSEFIGURE;
            s.addPathPoint({double(points[i].x), double(points[i].y), type});
        }
        return true;
    }
    dc.canvas().polygon(std::span<const POINT>(points, std::size_t(count)), dc.penColour());
    return true;
}

bool MoveToEx(DeviceContext& dc, int x, int y, POINT* old)
{
    auto& s = dc.state();
    if (old)
        *old = s.position;
    s.position = {x, y};
    if (s.pathState == DeviceContext::State::PathState::Open)
        s.addPathPoint({double(x), double(y), PT_MOVETO});
    return true;
}

bool LineTo(DeviceContext& dc, int x, int y)
{
    auto& s = dc.state();
    POINT to{x, y};
    if (s.pathState == DeviceContext::State::PathState::Open)
        s.addPathPoint({double(x), double(y), PT_LINETO});
    else
        dc.canvas().line(s.position, to, dc.penColour());
    s.position = to;
    return true;
}

} // namespace lw
