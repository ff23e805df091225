#include "platform/gdi/line_bars.hpp"

#include "platform/gdi/linked_text.hpp"
#include "platform/gdi/selected.hpp"

namespace lw {
namespace {

// `face` without underline and strikeout; null when it has neither.
::HFONT bareTwin(::HFONT face)
{
    LOGFONTW description{};
    if (!face || !GetObjectW(face, sizeof description, &description) ||
        (!description.lfUnderline && !description.lfStrikeOut))
        return nullptr;
    description.lfUnderline = description.lfStrikeOut = 0;
    return CreateFontIndirectW(&description);
}

} // namespace

LineBars::LineBars(const LogicalFont& font) : own_(font.handle), fallback_(font.shiftJis)
{
    ownBare_ = bareTwin(own_);
    if (ownBare_)
        fallbackBare_ = bareTwin(fallback_);
}

LineBars::~LineBars()
{
    if (ownBare_)
        DeleteObject(ownBare_);
    if (fallbackBare_)
        DeleteObject(fallbackBare_);
}

::HFONT LineBars::face(::HFONT face) const
{
    if (face == own_ && ownBare_)
        return ownBare_;
    if (face == fallback_ && fallbackBare_)
        return fallbackBare_;
    return face;
}

bool LineBars::draw(HDC dc, const LogicalFont& font, int x, int y, int total) const
{
    if (!ownBare_ || total <= 0)
        return true;
    // A blank as wide as the line, in the font itself: GDI draws its bars
    // alone. The character extra and a justification's break extra would
    // widen it; the line's width has them already.
    const int extra = ::SetTextCharacterExtra(dc, 0);
    const bool ok = placeRuns(dc, font, x, y, {total}, [&](std::size_t, int at, int atY) {
        Selected own(dc, own_);
        const INT step = total;
        return ::ExtTextOutW(dc, at, atY, 0, nullptr, L" ", 1, &step) != 0;
    });
    ::SetTextCharacterExtra(dc, extra);
    return ok;
}

} // namespace lw
