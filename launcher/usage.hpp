#pragma once
// What `launcher --help` and `launcher --version` print instead of starting
// a program of that name; such a file is still started as ./--help.

#include <letterwire_version.hpp>

#include <string>
#include <string_view>

namespace lw::launcher {

inline constexpr std::string_view kUsage =
    "Usage: launcher PROGRAM [ARGS...]\n"
    "       launcher --help | --version\n"
    "\n"
    "Prints \"Launch PROGRAM\", starts the program file PROGRAM names in the\n"
    "current directory with ARGS, and waits until it has ended. A name without\n"
    "a \".\" in its file part is tried with .com, .exe, .bat and .cmd added, in\n"
    "this order, then as it is; there is no search of PATH.\n"
    "\n"
    "Exit status: 0 once the program has ended, whatever its own status; 127\n"
    "when there is no such program, 126 when it cannot be started; 255 without\n"
    "a program name.\n";

// The text a first word asks for, or "" when it names a program.
inline std::string requestedText(std::string_view word)
{
    if (word == "--help")
        return std::string(kUsage);
    if (word == "--version")
        return "launcher " + std::string(kVersion) + "\n";
    return {};
}

} // namespace lw::launcher
