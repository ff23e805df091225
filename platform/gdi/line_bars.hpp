#pragma once
// The underline and strikeout of a line drawn in runs of several faces:
// one bar each across the whole line, in the font's own place and
// thickness, as GDI draws them for a line in one face and as Linux draws
// every line. Each run drawing its own face's bars would leave a bar at as
// many heights and thicknesses as the line has faces.
//
//   LineBars bars(font);
//   ... each run drawn with bars.face(run.face) selected ...
//   bars.draw(dc, font, x, y, total);

#include "platform/gdi/state.hpp"

namespace lw {

class LineBars {
public:
    // Bar-less twins of the font's faces, when it has bars.
    explicit LineBars(const LogicalFont& font);
    ~LineBars();
    LineBars(const LineBars&) = delete;
    LineBars& operator=(const LineBars&) = delete;

    // The face to draw a run of `face` (one of the font's) with.
    ::HFONT face(::HFONT face) const;
    // Draws the font's bars under (through) the line of `total` pixels that
    // placeRuns lays from (x, y), aligned as `dc` asks.
    bool draw(HDC dc, const LogicalFont& font, int x, int y, int total) const;

private:
    ::HFONT own_ = nullptr, ownBare_ = nullptr;
    ::HFONT fallback_ = nullptr, fallbackBare_ = nullptr;
};

} // namespace lw
