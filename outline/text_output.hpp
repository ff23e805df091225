#pragma once
// The font description and the text output: setLogFont fills the LOGFONT
// from a face name, a pixel height and an angle; outputText creates that
// font, lays one line of text into the device context and puts the context
// back. outputText knows nothing of paths: the caller brackets it.
//
//   lw::setLogFont(logFont, "ＭＳ Ｐゴシック", 32, 0, windowFont);
//   lw::BeginPath(dc);
//   lw::outputText(dc, logFont, "編集テキスト", 1, 230, 150);
//   lw::EndPath(dc);

#include "platform/device_context.hpp"
#include "platform/gdi_types.hpp"
#include "outline/text_style.hpp"
#include "outline/window_font.hpp"

#include <cstdint>
#include <string_view>

namespace lw {

// Height in pixels (stored negated: the em height), angle in degrees
// (escapement = angle x 10, checked: outside 32 bits is the overflow
// failure). Italic, underline and strikeout come from the window font as
// 255 or 0; its bold is not used. The face name goes into 32 UTF-16 units:
// the name, one NUL, blanks; a longer name is cut at 32 and has no NUL.
void setLogFont(LOGFONT& logFont, std::string_view faceName, std::int32_t height,
                std::int32_t angle, const WindowFont& windowFont);

// The copy handed to the platform: the face name as code page 932, cut at 32 bytes.
LOGFONTA toAnsiLogFont(const LOGFONT& logFont);

// How the characters of a line follow each other. Device: each advance as
// the platform rounds it at the device resolution (the designed capture).
// Linear: each character starts at the font's unrounded advances summed,
// scaled to the size, rounded once to the device pixel, so a line is as
// long at every resolution.
enum class Advances { Device, Linear };

// The style's weight and width into a description setLogFont filled: bold
// is weight 700; a width other than 100 % is lfWidth, that percentage of the
// average character width the platform gives the font at its designed
// width and weight (at least 1 pixel), and lfWidthExact, the same unrounded.
// The spacing is outputText's. The style's shaping is set on the device
// context for the text that follows.
void applyTextStyle(DeviceContext& dc, LOGFONT& logFont, const TextStyle& style);

// The description a line is laid with at `advances`: Linear ones take the
// exact width, Device ones lfWidth's whole pixels, as the platform rounds it.
LOGFONT withAdvances(const LOGFONT& logFont, Advances advances);

// Alignment code 1 puts the reference point at the middle of the text's top
// edge, any other code at its top-left corner. The text (UTF-8) is converted
// to code page 932 and passed with its length in bytes. `spacing` (device
// pixels) follows every character: Device advances take it rounded to whole
// pixels as the platform's character extra; Linear ones add it unrounded
// before each start is rounded. `slant` (TextStyle::slant) shears the glyphs
// about the baseline through the world transform; 0 draws as ever.
void outputText(DeviceContext& dc, const LOGFONT& logFont, std::string_view text,
                std::int32_t alignment, std::int32_t x, std::int32_t y, Advances advances = Advances::Device,
                double spacing = 0, double slant = 0);

} // namespace lw
