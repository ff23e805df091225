#pragma once
// Starting an outside program the way the WIT export hands its file over:
// detached, never through a shell, each argument whole.
//
//   startDetached({"mfin", "/opt/lw/tmp.wmf", "/home/a b/out.jww"});

#include <string>
#include <vector>

namespace lw {

// Starts arguments[0], looked up on PATH, with the arguments as they are
// (blanks stay inside their argument, an empty argument stays one), and
// returns without waiting. The program runs in its own session and is no
// child of this process, so nothing is left to reap. A program not found is
// file not found; one that cannot be started is path/file access.
void startDetached(const std::vector<std::string>& arguments);

// The converter of the WIT export: "mfin" with the work file and the output
// path; an empty output path is passed as an empty argument.
void startConverter(const std::string& workFile, const std::string& outputPath);

} // namespace lw
