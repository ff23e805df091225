// File primitives on POSIX descriptors.

#include "platform/file_io.hpp"

#include "base/failure.hpp"
#include "base/shown_input.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace lw::fileio {
namespace {

enum class Role { Input, Output };

[[noreturn]] void failOpen(const std::string& path, int error, Role role)
{
    FailureKind kind = FailureKind::PathFileAccess;
    switch (error) {
    case ENOENT:
        // POSIX does not tell a missing file from a missing folder; for
        // reading the user means the file, for writing only the folder can be
        // missing.
        kind = role == Role::Input ? FailureKind::FileNotFound : FailureKind::PathNotFound;
        break;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        kind = FailureKind::PathNotFound;
        break;
    default:
        break;
    }
    std::string where = path.empty() ? std::string("(empty path)") : shownInput(path);
    if (error == EISDIR)
        where += " (is a folder)"; // the same words on every platform
    else if (kind == FailureKind::PathFileAccess)
        where += std::string(" (") + std::strerror(error) + ")";
    throw Failure(kind, where);
}

[[noreturn]] void notRegular(const std::string& path)
{
    throw Failure(FailureKind::PathFileAccess, shownInput(path) + " (not a regular file)");
}

} // namespace

Handle openInput(const std::string& path)
{
    // Non-blocking, so that a pipe with no writer cannot hold the open; the
    // type is checked before the first read, so a device that never ends
    // (/dev/zero) is never read.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        failOpen(path, errno, Role::Input);
    struct stat info {};
    const int statError = ::fstat(fd, &info) == 0 ? 0 : errno;
    if (statError != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        if (statError != 0)
            failOpen(path, statError, Role::Input);
        if (S_ISDIR(info.st_mode))
            failOpen(path, EISDIR, Role::Input);
        notRegular(path);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string outputTarget(const std::string& path)
{
    if (path.empty())
        failOpen(path, ENOENT, Role::Output);
    // Written where a chain of links ends, so each link stays a link; a
    // dangling one gets its file.
    std::string target = path;
    struct stat info {};
    for (int hops = 0;; ++hops) {
        if (::lstat(target.c_str(), &info) != 0)
            return target; // not there yet: created, or its folder is reported then
        if (!S_ISLNK(info.st_mode))
            break;
        if (hops == 40)
            throw Failure(FailureKind::PathFileAccess, shownInput(path) + " (a loop of links)");
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0 || std::size_t(n) >= link.size())
            failOpen(path, n < 0 ? errno : ENAMETOOLONG, Role::Output);
        link.resize(std::size_t(n));
        target = link[0] == '/' ? link : folderOf(target) + "/" + link;
    }
    if (S_ISDIR(info.st_mode))
        failOpen(path, EISDIR, Role::Output);
    if (!S_ISREG(info.st_mode))
        notRegular(path);
    // A rename needs only the folder's right: the file's own is asked here.
    if ((info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
        throw Failure(FailureKind::PathFileAccess, shownInput(path) + " (read-only)");
    if (info.st_nlink > 1)
        throw Failure(FailureKind::PathFileAccess,
                      shownInput(path) + " (has other hard links, which a new file would part from; remove them or choose "
                             "another name)");
    return target;
}

void keepAttributes(Handle handle, const std::string& target)
{
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0)
        return;
    // Owner first: changing it may clear the set-id bits the mode then restores.
    if (::fchown(int(handle), info.st_uid, info.st_gid) != 0)
        (void)::fchown(int(handle), uid_t(-1), info.st_gid);
    (void)::fchmod(int(handle), info.st_mode & 07777);
}

namespace {

// Paths the signal handler may read: fixed slots, no allocation there. A
// slot is free (0), being written (1) or holds a path to remove (2).
struct Pending {
    std::atomic<int> state{0};
    char path[PATH_MAX] = {};
};
Pending pending[16];
std::atomic<bool> handlersInstalled{false};
constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removePendingAndStop(int signal)
{
    for (Pending& p : pending)
        if (p.state.load() == 2)
            ::unlink(p.path);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void installHandlers()
{
    if (handlersInstalled.exchange(true))
        return;
    // Only where nobody else handles the signal: a program's own handler stays.
    for (int s : kInterrupts) {
        struct sigaction old {};
        if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_DFL) {
            struct sigaction action {};
            action.sa_handler = removePendingAndStop;
            sigemptyset(&action.sa_mask);
            ::sigaction(s, &action, nullptr);
        }
    }
}

} // namespace

void removeOnInterrupt(const std::string& path)
{
    if (path.size() >= PATH_MAX)
        return;
    installHandlers();
    for (Pending& p : pending) {
        int free = 0;
        if (p.state.compare_exchange_strong(free, 1)) {
            std::memcpy(p.path, path.c_str(), path.size() + 1);
            p.state.store(2);
            return;
        }
    }
}

void forgetOnInterrupt(const std::string& path)
{
    for (Pending& p : pending) {
        int ready = 2;
        if (p.state.load() == 2 && path == p.path && p.state.compare_exchange_strong(ready, 1)) {
            p.path[0] = '\0';
            p.state.store(0);
            return;
        }
    }
}

namespace {

// The interrupts held back while a file is created and registered, so the
// handler sees both or neither. Registered before the open instead, a
// signal could remove another's file of the same name.
class InterruptsHeld {
public:
    explicit InterruptsHeld(bool hold) : held_(hold)
    {
        if (!held_)
            return;
        sigset_t set;
        sigemptyset(&set);
        for (int s : kInterrupts)
            sigaddset(&set, s);
        ::pthread_sigmask(SIG_BLOCK, &set, &old_);
    }
    ~InterruptsHeld()
    {
        if (held_)
            ::pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;

private:
    bool held_;
    sigset_t old_{};
};

} // namespace

Handle createUnique(const std::string& folder, const std::string& prefix, const std::string& suffix,
                    const std::string& shownAs, std::string& created, OnInterrupt onInterrupt)
{
    const bool remove = onInterrupt == OnInterrupt::Remove;
    if (remove)
        installHandlers(); // before anything is held
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = folder + "/" + uniqueName(prefix, suffix, unsigned(::getpid()));
        int fd = -1;
        int error = 0;
        {
            InterruptsHeld held(remove);
            // O_EXCL: an existing file or a planted link is never opened.
            fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            error = errno;
            if (fd >= 0 && remove)
                removeOnInterrupt(candidate);
        }
        if (fd >= 0) {
            created = candidate;
            return fd;
        }
        if (error != EEXIST && error != EINTR)
            failOpen(shownAs, error, Role::Output);
    }
    failOpen(shownAs, EEXIST, Role::Output);
}

bool read(Handle handle, char* buffer, std::size_t size, std::size_t& got, std::string& error)
{
    for (;;) {
        ssize_t n = ::read(int(handle), buffer, size);
        if (n >= 0) {
            got = std::size_t(n);
            return true;
        }
        if (errno != EINTR) {
            error = std::strerror(errno);
            return false;
        }
    }
}

bool writeAll(Handle handle, const char* data, std::size_t size, std::string& error)
{
    while (size > 0) {
        ssize_t n = ::write(int(handle), data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = std::strerror(errno);
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

const char* mapWhole(Handle handle, std::size_t& size)
{
    struct stat info {};
    if (::fstat(int(handle), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0)
        return nullptr;
    size = std::size_t(info.st_size);
#ifdef MAP_POPULATE
    // All pages at once: one call instead of a fault per few pages.
    constexpr int kFlags = MAP_PRIVATE | MAP_POPULATE;
#else
    constexpr int kFlags = MAP_PRIVATE;
#endif
    void* data = ::mmap(nullptr, size, PROT_READ, kFlags, int(handle), 0);
    return data == MAP_FAILED ? nullptr : static_cast<const char*>(data);
}

void unmapWhole(const char* data, std::size_t size)
{
    if (data)
        ::munmap(const_cast<char*>(data), size);
}

bool close(Handle handle, std::string& error)
{
    if (::close(int(handle)) == 0)
        return true;
    error = std::strerror(errno);
    return false;
}

bool replace(const std::string& from, const std::string& to, std::string& error)
{
    if (::rename(from.c_str(), to.c_str()) == 0)
        return true;
    error = std::strerror(errno);
    return false;
}

void removeFile(const std::string& path) { ::unlink(path.c_str()); }

namespace {

// The regular files `wanted` takes and `keep` keeps, by their status; with
// no `keep`, a file the folder lists as regular is taken without a stat (a
// link, or a file system that does not say, is looked at).
template <class Keep>
std::vector<std::string> regularFilesWhere(const std::string& folder, bool (*wanted)(std::string_view name), Keep keep,
                                           bool byStatus = true)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        struct stat info {};
        if (!byStatus && entry->d_type == DT_REG) {
            if (wanted(entry->d_name))
                names.emplace_back(entry->d_name);
            continue;
        }
        // The name first: a folder of thousands of files costs no stat each.
        if (wanted(entry->d_name) && ::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 &&
            S_ISREG(info.st_mode) && keep(info))
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

} // namespace

std::vector<std::string> filesOlderThan(const std::string& folder, int hours, bool (*wanted)(std::string_view name))
{
    const std::time_t before = std::time(nullptr) - std::time_t(hours) * 3600;
    return regularFilesWhere(folder, wanted, [&](const struct stat& info) { return info.st_mtime < before; });
}

std::vector<std::string> regularFiles(const std::string& folder, bool (*wanted)(std::string_view name))
{
    return regularFilesWhere(folder, wanted, [](const struct stat&) { return true; }, false);
}

std::optional<std::uint64_t> regularSize(Handle handle)
{
    struct stat info {};
    if (::fstat(int(handle), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return std::uint64_t(info.st_size);
}

std::optional<std::string> environmentText(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::string userWorkFolder()
{
    const char* cache = std::getenv("XDG_CACHE_HOME");
    std::string base;
    if (cache && cache[0] == '/') {
        base = cache;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/')
            throw Failure(FailureKind::PathFileAccess, "(no home folder for the work file)");
        base = std::string(home) + "/.cache";
    }
    const std::string folder = base + "/letterwire";
    for (const std::string& level : {base, folder}) {
        if (::mkdir(level.c_str(), 0700) != 0 && errno != EEXIST)
            throw Failure(FailureKind::PathFileAccess, level + " (" + std::strerror(errno) + ")");
    }
    return folder;
}

std::string folderOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

namespace {

std::string folderIdentity(const std::string& folder)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return {};
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

} // namespace

std::string outputIdentity(const std::string& path)
{
    // The folder rather than the file, which need not exist yet; the name
    // is the last link's target, so a link and its file meet.
    const std::string target = outputTarget(path);
    const std::string folder = folderIdentity(folderOf(target));
    return folder.empty() ? folder : folder + "/" + nameOf(target);
}

bool isSameFile(Handle handle, const std::string& path)
{
    struct stat open {}, other {};
    return ::fstat(int(handle), &open) == 0 && ::stat(path.c_str(), &other) == 0
        && open.st_dev == other.st_dev && open.st_ino == other.st_ino;
}

bool isUsableFolder(const std::string& path)
{
    struct stat info {};
    return !path.empty() && path.size() < PATH_MAX && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isStandardOutput(Handle handle)
{
    struct stat open {}, out {};
    return ::fstat(int(handle), &open) == 0 && ::fstat(STDOUT_FILENO, &out) == 0 && open.st_dev == out.st_dev
        && open.st_ino == out.st_ino;
}

} // namespace lw::fileio
