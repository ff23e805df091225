// Starting a program detached on POSIX: forked twice so init adopts it,
// posix_spawnp (never a shell, each argument whole), a watcher removes the work file.

#include "platform/process.hpp"

#include "base/failure.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace lw {
namespace {

// The PATH entry the search stopped at, for a program that is a folder:
// the system's "Permission denied" would send the user the wrong way.
std::string folderOnPath(const std::string& program)
{
    auto isFolder = [](const std::string& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    };
    if (program.find('/') != std::string::npos)
        return isFolder(program) ? program : std::string();
    const char* path = std::getenv("PATH");
    std::string entries = path ? path : "";
    for (std::size_t start = 0; start <= entries.size();) {
        std::size_t end = entries.find(':', start);
        if (end == std::string::npos)
            end = entries.size();
        std::string folder = entries.substr(start, end - start);
        std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + program;
        if (isFolder(candidate))
            return candidate;
        if (::access(candidate.c_str(), X_OK) == 0)
            return {};
        start = end + 1;
    }
    return {};
}

[[noreturn]] void failStart(const std::string& program, int error)
{
    if (error == ENOENT || error == ENOTDIR)
        throw Failure(FailureKind::FileNotFound, program);
    if (error == EACCES) {
        if (std::string folder = folderOnPath(program); !folder.empty())
            throw Failure(FailureKind::PathFileAccess, program + " (" + folder + " is a folder)");
    }
    throw Failure(FailureKind::PathFileAccess, program + " (" + std::strerror(error) + ")");
}

// In the watcher, which never runs our code again: only what is safe after
// fork. It keeps its standard streams for the program and the report pipe,
// so it holds no other file of ours open while the program runs.
void closeAllBut(int keep)
{
    if (keep > 3)
        ::close_range(3, unsigned(keep - 1), 0);
    ::close_range(unsigned(keep + 1), ~0U, 0);
}

} // namespace

bool programFound(const std::string& program)
{
    const auto runnable = [](const std::string& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
    };
    if (program.empty())
        return false;
    if (program.find('/') != std::string::npos)
        return runnable(program);
    const char* path = std::getenv("PATH");
    const std::string entries = path ? path : "";
    for (std::size_t start = 0; start <= entries.size();) {
        const std::size_t end = std::min(entries.find(':', start), entries.size());
        const std::string folder = entries.substr(start, end - start);
        if (runnable((folder.empty() ? std::string(".") : folder) + "/" + program))
            return true;
        start = end + 1;
    }
    return false;
}

void startDetached(const std::vector<std::string>& arguments, const std::string& removeWhenEnded)
{
    if (arguments.empty() || arguments[0].empty())
        throw Failure(FailureKind::FileNotFound, "(no program name)");

    // Everything the children need is made before fork: after it only
    // async-signal-safe calls and posix_spawnp, which takes no lock of ours.
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const auto& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const char* removal = removeWhenEnded.empty() ? nullptr : removeWhenEnded.c_str();

    // The intermediate child forks the watcher and ends at once, so the
    // watcher is adopted by init; the watcher starts the program, reports
    // the start's result, waits for the program and removes the file.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        failStart(arguments[0], errno);
    const pid_t middle = ::fork();
    if (middle == 0) {
        ::close(report[0]);
        const pid_t watcher = ::fork();
        if (watcher != 0) {
            if (watcher < 0) {
                int error = errno;
                ssize_t ignored = ::write(report[1], &error, sizeof error);
                (void)ignored;
            }
            ::_exit(0);
        }
        ::setsid();
        struct sigaction plain {};
        plain.sa_handler = SIG_DFL;
        ::sigaction(SIGCHLD, &plain, nullptr); // else waitpid finds no child to wait for
        closeAllBut(report[1]);
        pid_t program;
        int result = posix_spawnp(&program, argv[0], nullptr, nullptr, argv.data(), environ);
        ssize_t ignored = ::write(report[1], &result, sizeof result);
        (void)ignored;
        ::close(report[1]);
        if (result == 0 && removal) {
            int status;
            while (::waitpid(program, &status, 0) < 0 && errno == EINTR) {
            }
            ::unlink(removal);
        }
        ::_exit(0);
    }
    const int forkError = errno;
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
