#pragma once
// Shaping by choice: pair kerning and OpenType features for the text a
// device context lays. Off by default, so a line is each character's own
// glyph at its own advance, as the designed capture has it.
//
//   lw::SetTextShaping(dc, {.kerning = true, .features = {"liga"}});
//   lw::TextOutA(dc, 0, 0, bytes, count); // "fi" one glyph, "AV" closer

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

class DeviceContext;

struct TextShaping {
    bool kerning = false;              // the font's pair kerning (GPOS kern, or the kern table)
    std::vector<std::string> features{}; // OpenType feature tags turned on, e.g. "liga", "ss01"

    bool isPlain() const { return !kerning && features.empty(); }
    friend bool operator==(const TextShaping&, const TextShaping&) = default;
};

// Applies to every later TextOutA, ExtTextOutA and GetLinearAdvances of the
// device context; returns what was set before. With shaping, the features
// the platform would otherwise apply on its own (standard and contextual
// ligatures, kerning) stay off unless asked for, so a tag turns on exactly
// what it names; a glyph made of several characters (a ligature) takes the
// advance of them all, and the first character of it carries that advance
// in GetLinearAdvances (the others 0). Vertical writing ("@" faces) is
// never shaped beyond its vertical forms.
TextShaping SetTextShaping(DeviceContext& dc, const TextShaping& shaping);

// Why `tag` is not a feature tag shaping can turn on (empty when it is):
// the registered OpenType tags, character variants cv01-cv99 and stylistic
// sets ss01-ss20. "kern" is the kerning's own choice.
std::string featureTagRefusal(std::string_view tag);

} // namespace lw
