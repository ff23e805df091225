// File primitives on POSIX descriptors.

#include "export/file_io.hpp"

#include "base/failure.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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
    std::string where = path.empty() ? std::string("(empty path)") : path;
    if (error == EISDIR)
        where += " (is a folder)"; // the same words on every platform
    else if (kind == FailureKind::PathFileAccess)
        where += std::string(" (") + std::strerror(error) + ")";
    throw Failure(kind, where);
}

} // namespace

Handle openInput(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        failOpen(path, errno, Role::Input);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        failOpen(path, error, Role::Input);
    }
    return fd;
}

Handle openOutput(const std::string& path)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        failOpen(path, errno, Role::Output);
    return fd;
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

bool close(Handle handle, std::string& error)
{
    if (::close(int(handle)) == 0)
        return true;
    error = std::strerror(errno);
    return false;
}

bool isSameFile(Handle handle, const std::string& path)
{
    struct stat open {}, other {};
    return ::fstat(int(handle), &open) == 0 && ::stat(path.c_str(), &other) == 0
        && open.st_dev == other.st_dev && open.st_ino == other.st_ino;
}

} // namespace lw::fileio
