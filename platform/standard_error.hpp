#pragma once
// Messages on standard error in one stated encoding on every platform: the
// bytes of UTF-8, as the program holds its text, written to a file or a
// pipe (on Windows with CR LF line ends, as its C runtime writes text); in a
// Windows console, the console's own characters, so a name in any script
// shows as typed whatever the console's code page.
//
//   lw::consoleStandardError();               // first thing in main
//   std::cerr << "letterwire-cli: 図.txt\n";   // reaches a console as characters
//   lw::writeStandardError("Letterwire: ...\n");

#include <string_view>

namespace lw {

// std::cerr from here on follows the rule above. Nothing to do on POSIX.
void consoleStandardError();

// Writes `utf8` to standard error by the rule above, for a program that has
// no C runtime stream there (a window program started with one redirected).
void writeStandardError(std::string_view utf8);

} // namespace lw
