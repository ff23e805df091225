// launcher PROGRAM [ARGS...]: print "Launch PROGRAM", start the program file
// that PROGRAM names (see program_lookup.hpp) with ARGS, and wait for it.
//
// The program gets PROGRAM as typed for argv[0], each of ARGS unchanged, and
// the launcher's environment, directory and standard streams. SIGTERM, SIGINT
// and SIGHUP sent to the launcher are passed on to the program, and the
// launcher ends when it does. Exit status:
//   0    the program ran and ended, whatever its own status
//        (stopped by one of those signals, it ends by the program's signal)
//   255  no PROGRAM given; nothing is printed
//   127  no file for PROGRAM exists          (with a message on stderr)
//   126  a file exists but cannot be started (with a message on stderr)

#include "program_lookup.hpp"
#include "usage.hpp"

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kNoProgramName = 255; // -1 as a POSIX parent sees it
constexpr int kNotFound = 127;
constexpr int kCannotStart = 126;
constexpr int kPassedOn[] = {SIGTERM, SIGINT, SIGHUP};

volatile sig_atomic_t childPid = 0;
volatile sig_atomic_t received = 0;

// A signal sent to the launcher alone (kill, a service manager) reaches the
// program too, so it is not left running without the one waiting for it. A
// terminal's Ctrl-C already reaches the whole process group: not sent twice.
void passOn(int signal, siginfo_t* info, void*)
{
    const int saved = errno;
    received = signal;
    if (childPid > 0 && (info == nullptr || info->si_code == SI_USER || info->si_code == SI_QUEUE))
        kill(static_cast<pid_t>(childPid), signal);
    errno = saved;
}

// Installs passOn with the signals blocked, so none lands between the start
// and the moment the program's id is known; the program starts with the
// default handling and mask.
class SignalsPassedOn {
public:
    SignalsPassedOn()
    {
        sigemptyset(&set_);
        for (int s : kPassedOn)
            sigaddset(&set_, s);
        sigprocmask(SIG_BLOCK, &set_, &old_);
        struct sigaction action {};
        action.sa_sigaction = passOn;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        for (int s : kPassedOn)
            sigaction(s, &action, nullptr);
        posix_spawnattr_init(&attr_);
        posix_spawnattr_setsigmask(&attr_, &old_);
        posix_spawnattr_setsigdefault(&attr_, &set_);
        posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SignalsPassedOn() { posix_spawnattr_destroy(&attr_); }
    SignalsPassedOn(const SignalsPassedOn&) = delete;
    SignalsPassedOn& operator=(const SignalsPassedOn&) = delete;

    const posix_spawnattr_t* attributes() const { return &attr_; }
    // After the start: the program's id known, signals may arrive.
    void started(pid_t pid)
    {
        childPid = pid;
        sigprocmask(SIG_SETMASK, &old_, nullptr);
    }

private:
    sigset_t set_;
    sigset_t old_;
    posix_spawnattr_t attr_;
};

// Control characters escaped, so a newline in a name cannot break the
// message line.
std::string printable(std::string_view text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c == 0x7f) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int fail(std::string_view name, const std::string& reason, int status)
{
    std::string line = "launcher: cannot start \"" + printable(name) + "\": " + reason + "\n";
    std::fputs(line.c_str(), stderr);
    return status;
}

// 0 when the file reads as text, else the error to report. The kernel has
// refused its format; like the shells, run text under /bin/sh but refuse what
// looks binary (a NUL byte near the start) instead of feeding it to sh.
int scriptTextError(const std::string& path)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    char head[256];
    ssize_t n;
    do {
        n = read(fd, head, sizeof head);
    } while (n < 0 && errno == EINTR);
    int error = n < 0 ? errno : 0;
    close(fd);
    if (error != 0)
        return error;
    return std::memchr(head, '\0', static_cast<std::size_t>(n)) ? ENOEXEC : 0;
}

std::string startError(const std::string& path, int error)
{
    std::string reason = printable(path) + ": ";
    struct stat st;
    if (error == EACCES && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return reason + "is a directory";
    if (error == ENOENT) // the file is there, so its interpreter is not
        return reason + "its interpreter was not found";
    return reason + std::strerror(error);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2)
        return kNoProgramName;
    // Multi-byte names are scanned in the user's character set.
    std::setlocale(LC_CTYPE, "");

    const std::string_view name = argv[1];
    if (const std::string text = lw::launcher::requestedText(name); !text.empty()) {
        std::fputs(text.c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    std::printf("Launch %s\n", printable(name).c_str());
    // Flushed now so the line comes before the program's own output, also
    // when stdout is a pipe or a file.
    std::fflush(stdout);

    if (name.empty())
        return fail(name, "the program name is empty", kNotFound);

    int lookupError = 0; // the first reason other than "no such file"
    auto exists = [&lookupError](const std::string& path) {
        struct stat st;
        if (stat(path.c_str(), &st) == 0)
            return true;
        if (errno != ENOENT && lookupError == 0)
            lookupError = errno;
        return false;
    };
    const std::optional<std::string> path = launcher::findProgram(name, exists);
    if (!path) {
        if (lookupError != 0)
            return fail(name, std::strerror(lookupError), kNotFound);
        std::string tried;
        for (const std::string& candidate : launcher::programCandidates(name))
            tried += (tried.empty() ? "" : ", ") + printable(candidate);
        return fail(name, "no such program (tried " + tried + ")", kNotFound);
    }

    // argv + 1 is already null-terminated: the name as typed, then the
    // arguments, each passed on whole.
    SignalsPassedOn signals;
    pid_t pid = 0;
    int error = posix_spawn(&pid, path->c_str(), nullptr, signals.attributes(), argv + 1, environ);
    if (error == ENOEXEC) {
        error = scriptTextError(*path);
        if (error == 0) {
            // "./" in front of a relative path, so that sh neither takes a
            // leading "-" or "+" for an option nor searches PATH for it.
            std::string script = (*path)[0] == '/' ? *path : "./" + *path;
            char shName[] = "sh";
            std::vector<char*> shArgv{shName, script.data()};
            shArgv.insert(shArgv.end(), argv + 2, argv + argc + 1);
            error = posix_spawn(&pid, "/bin/sh", nullptr, signals.attributes(), shArgv.data(), environ);
        }
    }
    signals.started(error == 0 ? pid : 0);
    if (error != 0)
        return fail(name, startError(*path, error), kCannotStart);

    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    // Stopped on request, the launcher ends the way the program did, so its
    // caller sees the stop and not a success.
    if (received != 0 && WIFSIGNALED(status)) {
        std::fflush(stdout);
        const int signal = WTERMSIG(status);
        std::signal(signal, SIG_DFL);
        raise(signal);
    }
    return 0;
}
