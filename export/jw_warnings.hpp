#pragma once
// Warnings for a JW export that succeeds but is almost surely not what the
// host meant: lines that look like "hp1", "hs" or "lg" lines but are not read
// (upper case, a blank or tab before the word, a tab after it), and a chosen
// scale of 0, which puts every point of the outline on the base point. The
// output stays exactly as the command file asks; only the user is told, with
// the cause.
//
//   std::string warning = writeJwExport("cmd.txt", "out.txt", outline, 15);
//   if (!warning.empty()) lw::writeStandardError(warning + '\n');

#include "export/command_file.hpp"

#include <string>
#include <string_view>

namespace lw {

// The warnings for a command file's bytes (named `commandName` in them) and
// the parameters an export took from them, one line each (at most ten unread
// lines are named), separated by line feeds; empty when there is nothing to
// say. For a scale of 0 it names the first cause that applies: no "hs" line,
// no "lg" line, or an "lg" line that chose an entry of 0.
std::string jwWarning(std::string_view commandBytes, std::string_view commandName,
                      const JwParameters& parameters);

} // namespace lw
