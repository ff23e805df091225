#pragma once
// A command run through the shell, as a script would run the CLI: its exit
// status and what it printed on standard output (the command line itself
// redirects standard error where a test wants it).

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace lw::test {

struct ShellResult {
    int status = -1;
    std::string out;
};

inline ShellResult runShell(const std::string& command)
{
    ShellResult r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        r.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

} // namespace lw::test
