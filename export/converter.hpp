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

// Whether the converter can be found where startConverter looks for it.
bool converterFound();

// What a user without it is told, before any work: where it is looked for.
inline constexpr const char* kConverterMissing =
    "WIT: the converter mfin (which turns the WIT work file into the output file) was not found on PATH nor "
    "where the system looks for programs; the WIT export cannot run until it is there. The text you type stays "
    "in the window.";

} // namespace lw
