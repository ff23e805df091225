#pragma once
// Warnings for a JW export that succeeds but is almost surely not what the
// host meant: a chosen scale of 0 puts every point of the outline on the base
// point. The output stays exactly as the command file asks; only the user is
// told, with the cause.
//
//   std::string warning = writeJwExport("cmd.txt", "out.txt", outline, 15);
//   if (!warning.empty()) std::cerr << warning << '\n';

#include "export/command_file.hpp"

#include <string>
#include <string_view>

namespace lw {

// The warning for a command file's bytes (named `commandName` in it) and the
// parameters an export took from them; empty when there is nothing to say.
// Names the first cause that applies: line feeds without carriage returns
// (the file is one line), no "hs" line, no "lg" line, or an "lg" line that
// chose an entry of 0.
std::string jwWarning(std::string_view commandBytes, std::string_view commandName,
                      const JwParameters& parameters);

} // namespace lw
