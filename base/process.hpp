#pragma once
// What the process was started with, as the platform hands it over: the
// arguments after the program's own name, each as one UTF-8 word, and the
// folder of the program file.
//
//   std::vector<std::string> words = lw::commandLineArguments(argc, argv);

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

// Standard output from here on passes every byte as written: Windows' C
// runtime would otherwise write CR LF for each LF, so a file sent to "-"
// would differ from the same file on disk. Nothing to do on POSIX.
void binaryStandardOutput();

} // namespace lw
