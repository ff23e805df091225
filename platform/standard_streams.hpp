#pragma once
// Standard output and standard error for a command-line program, made on
// first use: a run that writes through no stream never sets up the streams
// and their locale, a good part of a short run's start. They write through
// C's stdout and stderr just as std::cout and std::cerr do (on Windows they
// are those two, standard error by the rule of standard_error.hpp), and the
// error stream flushes standard output before it writes, as std::cerr does,
// so the two keep their order when they share a file.
//
//   lw::writeStandardOutput(json);                  // no stream made
//   lw::standardError() << "letterwire-cli: ...\n";

#include <ostream>
#include <string_view>

namespace lw {

std::ostream& standardOutput();
std::ostream& standardError();

// `bytes` to standard output through C's buffer, no stream made; a failure
// shows in ferror(stdout), and at a flush.
void writeStandardOutput(std::string_view bytes);

// Flushes standardOutput(), if it was made, and says whether it is still
// good; C's own buffer is left for the caller to flush and check.
bool standardOutputStreamGood();

} // namespace lw
