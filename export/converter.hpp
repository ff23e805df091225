#pragma once
// The WIT export's converter, started the way the export hands its file
// over: detached, never through a shell, each argument whole.
//
//   startConverter("/opt/lw/tmp-3f2a.wmf", "/home/a b/out.jww");

#include <string>

namespace lw {

// The converter of the WIT export: "mfin" with the work file and the output
// path; an empty output path is passed as an empty argument. The work file
// is removed when the converter has ended. Failures are those of
// startDetached.
void startConverter(const std::string& workFile, const std::string& outputPath);

} // namespace lw
