#pragma once
// The process's command line split into words as the shell's own splitter
// does, so a program reads its arguments without loading that library (its
// load alone costs milliseconds at every start). Windows only.

#include <string>
#include <string_view>
#include <vector>

namespace lw {

// The words of `line`, the program name first. The name ends at the next
// blank, or at the next quote when it starts with one, and keeps backslashes
// as they are; in later words 2n backslashes and a quote give n backslashes
// and start or end a quoted part, 2n+1 give n and a literal quote, and a
// doubled quote inside a quoted part gives one quote and ends the part. An
// empty line gives the program's own path as its one word.
//   commandLineWords(LR"(tool "a b" c\"d)") == {L"tool", L"a b", L"c\"d"}
std::vector<std::wstring> commandLineWords(std::wstring_view line);

} // namespace lw
