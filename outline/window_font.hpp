#pragma once
// The window font: the program's current font, owned by the window.

#include "base/design.hpp"

#include <string>

namespace lw {

struct WindowFont {
    std::string faceName = design::kFaceName; // UTF-8
    float size = design::kFontSize;           // points, single precision
    bool bold = false;
    bool italic = false;
    bool strikeout = false;
    bool underline = false;
    // The font file the face comes from, as fontFileChoice reads it ("PATH"
    // or "PATH#INDEX"), faceName being its family; empty for an installed face.
    std::string fontFile{};
    // An installed stroke face's name ("@name" written vertically) that
    // draws the text as open lines instead of the face; empty for none.
    std::string strokeFace{};
    friend bool operator==(const WindowFont&, const WindowFont&) = default;
};

} // namespace lw
