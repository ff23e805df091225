#pragma once
// The run mode and its paths from the window's command line.
//
//   RunMode mode = parseRunMode({"jw", "cmd.txt", "out.txt"}); // {"JW", "cmd.txt", "out.txt"}

#include <string>
#include <vector>

namespace lw {

struct RunMode {
    std::string mode;       // "JW", "WIT", another word upper-cased, or "" (the window on its own)
    std::string inputPath;  // JW: the command file
    std::string outputPath; // JW, WIT: the output file
};

// The words after the program's name: the mode (upper-cased ASCII) and the
// paths it takes. A mode without a path it needs is a failure that says
// what the command line must hold; in mode JW a command file that cannot be
// read, or an output whose folder does not exist, is a failure now, before
// the user's work rather than at OK.
RunMode parseRunMode(const std::vector<std::string>& words);

} // namespace lw
