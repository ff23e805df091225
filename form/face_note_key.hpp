#pragma once
// What the face note depends on, as one string to compare with the last:
// the face name, italic, bold and the set of distinct characters of the
// text. Neither the order nor the count of the characters can change which
// face draws them, so a keystroke that adds one more of a character the
// text already holds (or takes one away that stays) asks the platform
// nothing.
//
//   std::string key = lw::faceNoteKey("ＭＳ Ｐゴシック", false, false, text);
//   if (key != lastKey) ... describe the face again

#include <string>
#include <string_view>

namespace lw {

std::string faceNoteKey(std::string_view faceName, bool italic, bool bold, std::string_view text);

} // namespace lw
