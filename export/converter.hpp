#pragma once
// Starting an outside program the way the WIT export hands its file over:
// detached, never through a shell, each argument whole.
//
//   startDetached({"mfin", "/opt/lw/tmp-3f2a.wmf", "/home/a b/out.jww"}, "/opt/lw/tmp-3f2a.wmf");

#include <string>
#include <vector>

namespace lw {

// Starts arguments[0], looked up on PATH, with the arguments as they are
// (blanks stay inside their argument, an empty argument stays one), and
// returns without waiting. The program is no child of this process, so
// nothing is left to reap. When `removeWhenEnded` is given, a detached
// watcher removes that file once the program has ended. A program not found
// is file not found; one that cannot be started (a folder, no right) is
// path/file access, and says which.
void startDetached(const std::vector<std::string>& arguments, const std::string& removeWhenEnded = {});

// The converter of the WIT export: "mfin" with the work file and the output
// path; an empty output path is passed as an empty argument. The work file
// is removed when the converter has ended.
void startConverter(const std::string& workFile, const std::string& outputPath);

} // namespace lw
