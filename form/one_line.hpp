#pragma once
// The text box holds one line. Text pasted (or dropped) into it keeps its
// first line: what follows the first line end is a second line, which the
// outline cannot draw, and joining it would make a text nobody typed.
//
//   pastedLine("one\r\ntwo");  // "one"
//   pastedLine("a\tb");        // "a b"

#include <string>
#include <string_view>

namespace lw {

// The UTF-8 text up to its first line end (LF, CR, U+2028, U+2029), a tab
// made a space and every other control character (C0, DEL, C1) left out,
// so no control glyph is ever drawn.
std::string pastedLine(std::string_view pasted);

} // namespace lw
