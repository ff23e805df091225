#pragma once
// Processes on this platform: what this one was started with, as the
// platform hands it over (the arguments after the program's own name, each
// as one UTF-8 word, and the folder of the program file), and starting
// another one detached, never through a shell, each argument whole.
//
//   std::vector<std::string> words = lw::commandLineArguments(argc, argv);
//   startDetached({"mfin", "/opt/lw/tmp-3f2a.wmf", "/home/a b/out.jww"}, "/opt/lw/tmp-3f2a.wmf");

#include <string>
#include <vector>

namespace lw {

// POSIX: argv as it is (the shell has split the line). Windows: the wide
// command line split by the Windows rules (a double-quoted stretch is one
// word, quotes removed), so no character outside the ANSI code page is
// lost; argc and argv are not read there.
std::vector<std::string> commandLineArguments(int argc, const char* const* argv);

// No trailing separator but at a root; "." when the platform cannot tell.
std::string programDirectory();

// True when the process was started with standard output closed; its
// descriptor is then taken by the null device, so that no file opened later
// lands on it and anything meant for it is a failure. Call it first thing.
// Windows: false (a closed handle is no descriptor a file could take).
bool takeClosedStandardOutput();

// Standard output from here on passes every byte as written: Windows' C
// runtime would otherwise write CR LF for each LF, so a file sent to "-"
// would differ from the same file on disk. Nothing to do on POSIX.
void binaryStandardOutput();

// Standard output held in a buffer of its own when it is a character device
// (a console, the null device): Windows' C runtime leaves one unbuffered and
// hands it over a few bytes a call. Files and pipes keep the runtime's buffer;
// the bytes written stay the same. Call it before anything is written; the
// command line flushes before it ends. Nothing to do on POSIX.
void bufferedStandardOutput();

// A file-size limit (ulimit -f) makes a write past it fail, so the work
// says which file could not be written and removes its new file, instead of
// the process being stopped unannounced (SIGXFSZ). Nothing to do on Windows.
void writesFailPastFileSizeLimit();

// Starts arguments[0], looked up on PATH, with the arguments as they are
// (blanks stay inside their argument, an empty argument stays one), and
// returns without waiting. The program is no child of this process, so
// nothing is left to reap. When `removeWhenEnded` is given, a detached
// watcher removes that file once the program has ended. A program not found
// is file not found; one that cannot be started (a folder, no right) is
// path/file access, and says which.
void startDetached(const std::vector<std::string>& arguments, const std::string& removeWhenEnded = {});

// Whether startDetached would find `program` as a file it may run (never a
// folder): on PATH on POSIX (a name with "/" as it stands), where
// CreateProcessW looks on Windows (".exe" added). A start can still fail
// later; this lets a caller say so before the user's work, not after it.
bool programFound(const std::string& program);

} // namespace lw
