#pragma once
// Files as bytes through the platform's own calls, so that an open failure
// maps to the failure kind the user is told (no stream guessing), and no
// byte is translated on the way (no line-end conversion on any platform).
//
//   std::string bytes = InputFile(path).readAll();
//   OutputFile out(path);  out.stream() << "line\r\n";  out.close();

#include "export/file_io.hpp"

#include <memory>
#include <ostream>
#include <string>

namespace lw {

// A file opened for reading. A missing file (or an empty path) is file not
// found, a missing folder path not found, anything else path/file access.
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

private:
    std::string path_;
    fileio::Handle handle_ = fileio::kNoHandle;
};

// A file opened for writing, created or emptied. A missing folder (or an
// empty path) is path not found, no right to write path/file access.
class OutputFile {
public:
    explicit OutputFile(const std::string& path);
    // Closes without reporting; use close() to learn about write errors.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::ostream& stream();
    // Writes what is pending and closes; a write error is path/file access.
    void close();

private:
    class Buffer;
    std::string path_;
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
};

} // namespace lw
