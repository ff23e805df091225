#pragma once
// The window font: the program's current font, owned by the window.

#include <string>

namespace lw {

// The design face name of the window font.
inline constexpr const char* kDefaultFaceName = "ＭＳ Ｐゴシック";
// The design text of the text box, which the front end captures by default too.
inline constexpr const char* kDefaultText = "編集テキスト";

struct WindowFont {
    std::string faceName = kDefaultFaceName; // UTF-8
    float size = 24;                          // points, single precision
    bool bold = false;
    bool italic = false;
    bool strikeout = false;
    bool underline = false;
};

} // namespace lw
