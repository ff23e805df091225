#pragma once
// The program's start, shared by main() and the start-up benchmark.

#include <functional>
#include <string>

namespace lw {

class Form1;

// The argument text of the command line: the arguments after the program's
// own name, joined with single blanks, exactly as the host passed them.
std::string argumentText(int argc, const char* const* argv);

// Installs the font rules, makes the application and Form1, loads and shows
// it, calls `shown` (if any) and runs the event loop.
int runLetterwire(int argc, char** argv, const std::function<void(Form1&)>& shown = {});

} // namespace lw
