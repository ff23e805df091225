#pragma once
// Files as bytes through the platform's own calls, so that an open failure
// maps to the failure kind the user is told (no stream guessing), and no
// byte is translated on the way (no line-end conversion on any platform).
//
//   std::string bytes = InputFile(path).readAll();
//   OutputFile out(path);  out.stream() << "line\r\n";  out.close();

#include "base/byte_sink.hpp"
#include "platform/file_io.hpp"

#include <memory>
#include <string>

namespace lw {

// A file opened for reading. A missing file (or an empty path) is file not
// found, a missing folder path not found, anything else path/file access.
// A regular file, checked before it is read (a pipe, a device or a folder
// is path/file access), so no path can make the read block or never end.
class InputFile {
public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Every byte of the file; a read error is path/file access.
    std::string readAll();
    // True when `path` names this very file (also through a link or another
    // spelling of it).
    bool isSameFileAs(const std::string& path) const;
    // Whether the process's standard output is this file.
    bool isStandardOutput() const;

private:
    std::string path_;
    fileio::Handle handle_ = fileio::kNoHandle;
};

// An output file written whole or not at all: the bytes go to a new file
// beside it, which takes the output's place only in close(), so a reader
// (or a second run writing the same path) never sees a mix, and a write
// error leaves the old file as it was. The output must be a regular file or
// not exist yet; a missing folder (or an empty path) is path not found, no
// right to write path/file access. The new file is removed if the process is
// stopped by a signal; the first output into a folder in a process also
// removes our new files there left over a day ago by a killed process.
class OutputFile {
public:
    explicit OutputFile(const std::string& path);
    // A new file of its own in `folder`, named prefix + random letters +
    // suffix, created exclusively and written in place; path() names it.
    static OutputFile createUnique(const std::string& folder, const std::string& prefix,
                                   const std::string& suffix);
    // Without close(), nothing of this run is left: the output stays as it was.
    ~OutputFile();
    OutputFile(OutputFile&&) noexcept;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    ByteSink& stream();
    // Writes what is pending and puts the file in place; a write error is
    // path/file access, and then the output stays as it was.
    void close();
    const std::string& path() const { return path_; }

private:
    class Buffer;
    OutputFile() = default;
    std::string path_;    // what the user named
    std::string target_;  // the file replaced: path_ or where its link points
    std::string written_; // the file the bytes go to
    std::unique_ptr<Buffer> buffer_;
};

} // namespace lw
