#include "export/byte_files.hpp"

#include "base/failure.hpp"
#include "base/shown_input.hpp"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>
#include <set>

namespace lw {
namespace {

// ".lw-" twelve hex digits ".tmp", as OutputFile names its new files.
bool isOurTemporary(std::string_view name)
{
    return name.size() == 20 && name.starts_with(".lw-") && name.ends_with(".tmp") &&
           std::all_of(name.begin() + 4, name.begin() + 16,
                       [](unsigned char c) { return std::isxdigit(c) && !std::isupper(c); });
}

// Our own temporary files older than a day beside an output: left by a
// process that was killed outright (SIGKILL, a power cut), which no handler
// can clean up after. Best effort, never a failure of the export. Once a
// folder per process: a listing of a big folder costs far more than an
// output, and a batch writes many outputs into one folder.
void removeStaleTemporaries(const std::string& folder)
{
    // By the folder's spelling, not its identity: a folder removed and made
    // again may get the same identity and deserves a look of its own.
    static std::mutex lock;
    static std::set<std::string> tidied;
    {
        std::lock_guard<std::mutex> hold(lock);
        if (!tidied.insert(folder).second)
            return;
    }
    for (const std::string& name : fileio::filesOlderThan(folder, 24, isOurTemporary))
        fileio::removeFile(folder + "/" + name);
}

[[noreturn]] void failIo(const std::string& path, const std::string& error)
{
    throw Failure(FailureKind::PathFileAccess, shownInput(path) + " (" + error + ")");
}

} // namespace

InputFile::InputFile(const std::string& path) : path_(path), handle_(fileio::openInput(path)) {}

InputFile::~InputFile()
{
    std::string ignored;
    if (handle_ != fileio::kNoHandle)
        fileio::close(handle_, ignored);
}

std::string InputFile::readAll()
{
    std::string bytes;
    char chunk[65536];
    for (;;) {
        std::size_t got = 0;
        std::string error;
        if (!fileio::read(handle_, chunk, sizeof chunk, got, error))
            failIo(path_, error);
        if (got == 0)
            return bytes;
        bytes.append(chunk, got);
    }
}

bool InputFile::isSameFileAs(const std::string& path) const { return fileio::isSameFile(handle_, path); }
bool InputFile::isStandardOutput() const { return fileio::isStandardOutput(handle_); }

class OutputFile::Buffer final : public ByteSink {
public:
    explicit Buffer(fileio::Handle handle) : handle_(handle) {}
    ~Buffer() override { closeFile(); }

    void write(std::string_view bytes) override
    {
        if (bytes.size() > sizeof space_ - used_ && !sync())
            return;
        // A piece larger than the whole buffer goes on without a copy.
        if (bytes.size() > sizeof space_) {
            fileio::writeAll(handle_, bytes.data(), bytes.size(), error_);
            return;
        }
        if (!bytes.empty())
            std::memcpy(space_ + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
    }
    void flush() override { sync(); }

    void keepAttributesOf(const std::string& target)
    {
        if (handle_ != fileio::kNoHandle)
            fileio::keepAttributes(handle_, target);
    }

    // Empty when everything reached the file and it closed cleanly, else
    // the first error.
    const std::string& closeFile()
    {
        if (handle_ == fileio::kNoHandle)
            return error_;
        sync();
        std::string error;
        if (!fileio::close(handle_, error) && error_.empty())
            error_ = error;
        handle_ = fileio::kNoHandle;
        return error_;
    }

private:
    // False once anything failed to reach the file: the rest is dropped.
    bool sync()
    {
        if (handle_ == fileio::kNoHandle || !error_.empty())
            return false;
        const bool ok = fileio::writeAll(handle_, space_, used_, error_);
        used_ = 0;
        return ok;
    }

    fileio::Handle handle_;
    std::string error_;
    std::size_t used_ = 0;
    char space_[65536];
};

OutputFile::OutputFile(const std::string& path) : path_(path), target_(fileio::outputTarget(path))
{
    // Beside the target, so that the rename stays on one file system; a short
    // name of its own, so every name the file system allows can be written.
    removeStaleTemporaries(fileio::folderOf(target_));
    buffer_ = std::make_unique<Buffer>(fileio::createUnique(fileio::folderOf(target_), ".lw-", ".tmp", path,
                                                            written_, fileio::OnInterrupt::Remove));
}

OutputFile OutputFile::createUnique(const std::string& folder, const std::string& prefix, const std::string& suffix)
{
    OutputFile file;
    file.buffer_ = std::make_unique<Buffer>(fileio::createUnique(folder, prefix, suffix, folder, file.written_));
    file.path_ = file.target_ = file.written_;
    return file;
}

OutputFile::OutputFile(OutputFile&&) noexcept = default;

OutputFile::~OutputFile()
{
    if (buffer_ && !written_.empty()) {
        buffer_->closeFile();
        fileio::removeFile(written_);
        fileio::forgetOnInterrupt(written_);
    }
}

ByteSink& OutputFile::stream() { return *buffer_; }

void OutputFile::close()
{
    if (written_.empty())
        return;
    if (written_ != target_)
        buffer_->keepAttributesOf(target_);
    if (const std::string& error = buffer_->closeFile(); !error.empty())
        failIo(path_, error); // the destructor removes what was written
    std::string error;
    if (written_ != target_ && !fileio::replace(written_, target_, error))
        failIo(path_, error);
    fileio::forgetOnInterrupt(written_);
    written_.clear();
}

} // namespace lw
