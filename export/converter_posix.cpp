#include "export/converter.hpp"

#include "base/failure.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace lw {
namespace {

[[noreturn]] void failStart(const std::string& program, int error)
{
    if (error == ENOENT || error == ENOTDIR)
        throw Failure(FailureKind::FileNotFound, program);
    throw Failure(FailureKind::PathFileAccess, program + " (" + std::strerror(error) + ")");
}

} // namespace

void startDetached(const std::vector<std::string>& arguments)
{
    if (arguments.empty() || arguments[0].empty())
        throw Failure(FailureKind::FileNotFound, "(no program name)");

    // Everything the child needs is made before fork: after it only
    // async-signal-safe calls and posix_spawnp, which takes no lock of ours.
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const auto& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    if (int error = posix_spawnattr_init(&attributes))
        failStart(arguments[0], error);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);

    // The intermediate child starts the program and reports the start's
    // result; it ends at once, so the program is adopted by init.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        int error = errno;
        posix_spawnattr_destroy(&attributes);
        failStart(arguments[0], error);
    }
    const pid_t middle = ::fork();
    if (middle == 0) {
        ::close(report[0]);
        pid_t program;
        int result = posix_spawnp(&program, argv[0], nullptr, &attributes, argv.data(), environ);
        ssize_t ignored = ::write(report[1], &result, sizeof result);
        (void)ignored;
        ::_exit(0);
    }
    const int forkError = errno;
    posix_spawnattr_destroy(&attributes);
    ::close(report[1]);
    if (middle < 0) {
        ::close(report[0]);
        failStart(arguments[0], forkError);
    }

    int result = 0;
    ssize_t got;
    do
        got = ::read(report[0], &result, sizeof result);
    while (got < 0 && errno == EINTR);
    ::close(report[0]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    if (got != ssize_t(sizeof result))
        result = ECHILD;
    if (result != 0)
        failStart(arguments[0], result);
}

} // namespace lw
