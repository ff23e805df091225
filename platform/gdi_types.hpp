#pragma once
// The plain records and constants of the graphics interface, under the
// platform's own names (wingdi.h), so both backends and their callers agree.

#include <array>
#include <cstdint>

namespace lw {

// A device point: pixels, x to the right, y downwards.
struct POINT {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};

// Path point types. After FlattenPath only 6, 2 and 3 (2 | 1) occur.
inline constexpr std::uint8_t PT_CLOSEFIGURE = 1;
inline constexpr std::uint8_t PT_LINETO = 2;
inline constexpr std::uint8_t PT_BEZIERTO = 4;
inline constexpr std::uint8_t PT_MOVETO = 6;

inline constexpr std::int32_t FW_NORMAL = 400;
inline constexpr std::int32_t FW_BOLD = 700;
inline constexpr std::uint8_t SHIFTJIS_CHARSET = 128;
inline constexpr std::uint8_t OUT_TT_PRECIS = 4;
inline constexpr std::int32_t TRANSPARENT = 1;
inline constexpr std::int32_t OPAQUE = 2;
inline constexpr std::uint32_t TA_LEFT = 0;
inline constexpr std::uint32_t TA_TOP = 0;
inline constexpr std::uint32_t TA_RIGHT = 2;
inline constexpr std::uint32_t TA_CENTER = 6;
inline constexpr std::uint32_t TA_BOTTOM = 8;
inline constexpr std::uint32_t TA_BASELINE = 24;

// The font description: the same fields whether the face name is held as
// 32 UTF-16 units (LOGFONT, what the program keeps) or as 32 bytes of code
// page 932 (LOGFONTA, the copy handed to the platform).
template <class FaceChar>
struct BasicLogFont {
    std::int32_t lfHeight = 0;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    std::array<FaceChar, 32> lfFaceName{};
    // Beyond the platform's own description: where above 0, the width
    // lfWidth rounds to whole pixels, unrounded, which the characters then
    // take in place of lfWidth's (each face against its own unrounded
    // average width), so a line is as wide at every resolution. 0: lfWidth's.
    float lfWidthExact = 0;
};
using LOGFONT = BasicLogFont<char16_t>;
using LOGFONTA = BasicLogFont<char>;

// The selected font's metrics in whole device pixels, the part of the
// platform's text metrics the program reads: top-aligned text has its
// baseline tmAscent below the reference point; tmAveCharWidth is the
// width a font description's lfWidth is measured against.
struct TEXTMETRICA {
    std::int32_t tmHeight = 0;
    std::int32_t tmAscent = 0;
    std::int32_t tmDescent = 0;
    std::int32_t tmAveCharWidth = 0;
    // tmAveCharWidth unrounded: what lfWidthExact is measured against.
    double tmAveCharWidthExact = 0;
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

} // namespace lw
