#pragma once
// The font and text settings the window remembers between runs, in every
// mode: the face, size, angle, styles and text style (never the text itself, which
// belongs to the piece of work). Stored as named text values, the same
// names and words on every platform, beside the save dialog's choice.
//
//   encodeTextSettings(settings, write);     // "face", "size", "angle", "italic", ...
//   TextSettings back = decodeTextSettings(read);

#include "form/save_kinds.hpp"
#include "outline/text_style.hpp"
#include "outline/window_font.hpp"

#include <cstdint>

namespace lw {

struct TextSettings {
    WindowFont font;       // face, size and styles; bold is not remembered
    std::int32_t angle = 0; // degrees, as the angle slider holds it
    TextStyle style;        // spacing, width, the outline's bold and kerning
    bool operator==(const TextSettings& other) const
    {
        return font.faceName == other.font.faceName && font.size == other.font.size &&
               font.italic == other.font.italic && font.underline == other.font.underline &&
               font.strikeout == other.font.strikeout && font.fontFile == other.font.fontFile &&
               font.strokeFace == other.font.strokeFace &&
               angle == other.angle && style == other.style;
    }
};

void encodeTextSettings(const TextSettings& settings, const WriteSetting& write);

// Each value on its own: one missing, corrupt or from elsewhere (a size
// beyond the slider, a face name with control characters, a word not ours)
// is the design's value, quietly, and the others still count.
TextSettings decodeTextSettings(const ReadSetting& read);

} // namespace lw
