#include "export/byte_files.hpp"

#include "base/failure.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <streambuf>

namespace lw {
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
    if (kind == FailureKind::PathFileAccess)
        where += std::string(" (") + std::strerror(error) + ")";
    throw Failure(kind, where);
}

[[noreturn]] void failIo(const std::string& path, int error)
{
    throw Failure(FailureKind::PathFileAccess, path + " (" + std::strerror(error) + ")");
}

bool writeAll(int fd, const char* data, std::size_t size, int& error)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

} // namespace

InputFile::InputFile(const std::string& path) : path_(path)
{
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        failOpen(path, errno, Role::Input);
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || S_ISDIR(info.st_mode)) {
        int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd_);
        fd_ = -1;
        failOpen(path, error, Role::Input);
    }
    device_ = info.st_dev;
    inode_ = info.st_ino;
}

InputFile::~InputFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::string InputFile::readAll()
{
    std::string bytes;
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failIo(path_, errno);
        }
        if (n == 0)
            return bytes;
        bytes.append(chunk, std::size_t(n));
    }
}

bool InputFile::isSameFileAs(const std::string& path) const
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && info.st_dev == device_ && info.st_ino == inode_;
}

class OutputFile::Buffer : public std::streambuf {
public:
    explicit Buffer(int fd) : fd_(fd) { setp(space_, space_ + sizeof space_); }
    ~Buffer() override { closeFile(); }

    // 0 when everything reached the file and it closed cleanly, else errno.
    int closeFile()
    {
        if (fd_ < 0)
            return error_;
        sync();
        if (::close(fd_) != 0 && error_ == 0)
            error_ = errno;
        fd_ = -1;
        return error_;
    }

protected:
    int_type overflow(int_type ch) override
    {
        if (sync() != 0)
            return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }

    std::streamsize xsputn(const char* data, std::streamsize size) override
    {
        if (size <= epptr() - pptr()) {
            std::memcpy(pptr(), data, std::size_t(size));
            pbump(int(size));
            return size;
        }
        if (sync() != 0 || !writeAll(fd_, data, std::size_t(size), error_))
            return 0;
        return size;
    }

    int sync() override
    {
        if (fd_ < 0 || error_ != 0)
            return -1;
        bool ok = writeAll(fd_, pbase(), std::size_t(pptr() - pbase()), error_);
        setp(space_, space_ + sizeof space_);
        return ok ? 0 : -1;
    }

private:
    int fd_;
    int error_ = 0;
    char space_[65536];
};

OutputFile::OutputFile(const std::string& path) : path_(path)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        failOpen(path, errno, Role::Output);
    buffer_ = std::make_unique<Buffer>(fd);
    stream_ = std::make_unique<std::ostream>(buffer_.get());
}

OutputFile::~OutputFile() = default;

std::ostream& OutputFile::stream() { return *stream_; }

void OutputFile::close()
{
    if (int error = buffer_->closeFile())
        failIo(path_, error);
}

} // namespace lw
