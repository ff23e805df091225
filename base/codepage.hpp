#pragma once
// The system code page, 932 (Shift-JIS, Windows-31J), and the UTF-8/UTF-16
// forms the rest of the program holds text in. Conversions never fail:
// a character code page 932 cannot hold becomes "?", as on Windows, and a
// byte sequence that is not valid becomes U+FFFD (or "?" in code page 932).
//
//   toCp932("編集")      -> "\x95\xd2\x8f\x57"  (byte length 4)
//   toCp932("\u20ac")    -> "?"

#include <string>
#include <string_view>

namespace lw {

std::string toCp932(std::string_view utf8);
std::u32string cp932ToCodepoints(std::string_view bytes);
std::string cp932ToUtf8(std::string_view bytes);

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);
std::u32string utf8ToCodepoints(std::string_view utf8);
std::string codepointsToUtf8(std::u32string_view codepoints);

} // namespace lw
