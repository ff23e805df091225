// Process facts on POSIX: argv as the shell split it, the program's folder
// from /proc/self/exe, and a standard output closed at start.

#include "platform/process.hpp"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace lw {

std::vector<std::string> commandLineArguments(int argc, const char* const* argv)
{
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
}

std::string programDirectory()
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    const std::string path = n > 0 ? std::string(buffer, std::size_t(n)) : std::string(".");
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool takeClosedStandardOutput()
{
    if (::fcntl(1, F_GETFD) != -1 || errno != EBADF)
        return false;
    int fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (fd >= 0 && fd != 1)
        ::close(fd);
    return true;
}
void binaryStandardOutput() {}
void bufferedStandardOutput() {}

namespace {
extern "C" void noticeFileSizeLimit(int) {}
} // namespace

void writesFailPastFileSizeLimit()
{
    // A handler rather than SIG_IGN, which a started program would inherit.
    struct sigaction action {};
    action.sa_handler = noticeFileSizeLimit;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGXFSZ, &action, nullptr);
}

} // namespace lw
