#pragma once
// Messages on standard error in one stated encoding on every platform: the
// bytes of UTF-8, as the program holds its text, written to a file or a
// pipe (on Windows with CR LF line ends, as its C runtime writes text); in a
// Windows console, the console's own characters, so a name in any script
// shows as typed whatever the console's code page.
//
//   lw::writeStandardError("letterwire-cli: 図.txt\n");   // reaches a console as characters
//   lw::StandardErrorSink err;  err << "letterwire-cli: " << where << "\n";

#include "base/byte_sink.hpp"

#include <string_view>

namespace lw {

// Writes `utf8` to standard error by the rule above, at once (nothing is
// held back). A piece must hold whole characters: a console is handed each
// piece as characters of its own.
void writeStandardError(std::string_view utf8);

// Standard error as a writer's sink, each piece written as it comes.
class StandardErrorSink final : public ByteSink {
public:
    void write(std::string_view utf8) override { writeStandardError(utf8); }
};

} // namespace lw
