#pragma once
// The JW export after its capture: the command file copied and interpreted,
// then the outline written behind the copied lines.
//
//   writeJwExport("/tmp/cmd.txt", "/tmp/out.txt", outline, 15);
//   // throws lw::Failure, e.g. "Subscript out of range: /tmp/cmd.txt, line 3, word "lg17""

#include "base/byte_sink.hpp"
#include "export/command_file.hpp"
#include "outline/captured_outline.hpp"

#include <string>
#include <string_view>

namespace lw {

// The export on bytes in hand: copies and interprets `commandBytes` (named
// `commandName` in failures), then writes the outline with the base point and
// the chosen scale the command file left. Returns those parameters.
JwParameters writeJw(std::string_view commandBytes, std::string_view commandName,
                     ByteSink& out, const CapturedOutline& outline, double twipsPerPixelX);

// The export on files: opens the command file, then creates or empties the
// output file, writes as writeJw does and closes both. The caller has
// captured the outline with the text at the origin. The command file is only
// read; an output path that names the command file itself is refused
// (path/file access) before anything is opened for writing. Lines written
// before a failure stay in the output file, always whole. Returns the
// warning for an export that is almost surely not what the host meant (see
// jwWarning), empty when there is none.
std::string writeJwExport(const std::string& inputPath, const std::string& outputPath,
                          const CapturedOutline& outline, double twipsPerPixelX);

} // namespace lw
