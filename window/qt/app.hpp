#pragma once
// The program's start, shared by main() and the start-up benchmark.

#include <functional>
#include <string>
#include <vector>

namespace lw {

class QtForm1View;

// The words of the command line: each argument after the program's own name
// as one word, exactly as the host passed it (the shell has already split
// the line, so a path with a blank in it stays whole).
std::vector<std::string> argumentWords(int argc, const char* const* argv);

// Installs the font rules, makes the application and the window, loads and
// shows it, calls `shown` (if any) and runs the event loop.
int runLetterwire(int argc, char** argv, const std::function<void(QtForm1View&)>& shown = {});

} // namespace lw
