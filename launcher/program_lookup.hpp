#pragma once
// Which file the launcher starts for a program name as typed.
//
// The separator is the later of the name's last "\" and last "/"; with
// neither, its first ":" (a drive-style prefix, an ordinary relative name
// here); with none, "./" goes in front. A file part (the text after the
// separator) that holds a "." names the one candidate, unchanged; one without
// a "." is tried with ".com", ".exe", ".bat", ".cmd" appended, in this order,
// and then bare (POSIX programs carry no extension; on Windows a program file
// may lack one too). A dot in the directory part does not count. Every "\"
// and "/" becomes the platform's separator. The current directory and the
// named directory are the only places looked at: no PATH search.
//
// The name is scanned character by character, so the trail byte of a
// double-byte character (0x5C in Shift-JIS) is never taken for a separator.
//
//   programCandidates("tool")      -> ./tool.com ./tool.exe ./tool.bat ./tool.cmd ./tool
//   programCandidates("sub\\a.sh") -> sub/a.sh
//   programCandidates("sub/a.sh", utf8CharLength, '\\') -> sub\a.sh

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// Bytes in the character that starts `rest` (at least 1, at most rest.size()).
using CharLength = std::function<std::size_t(std::string_view rest)>;

// Character length in the current LC_CTYPE locale; a byte that starts no
// valid character counts as one character.
std::size_t localeCharLength(std::string_view rest);

// Character length in UTF-8, whatever the locale; a byte that starts no valid
// sequence counts as one character.
std::size_t utf8CharLength(std::string_view rest);

// The paths to try for `name`, in order, joined with `separator`. An empty
// name has none.
std::vector<std::string> programCandidates(std::string_view name,
                                           const CharLength& charLength = localeCharLength,
                                           char separator = '/');

// The first candidate for which `exists` holds, if any; later candidates are
// not tested.
std::optional<std::string> findProgram(std::string_view name,
                                       const std::function<bool(const std::string&)>& exists,
                                       const CharLength& charLength = localeCharLength,
                                       char separator = '/');

} // namespace launcher
