#pragma once
// The few file primitives byte_files needs from the platform: POSIX
// descriptors on Linux, Win32 handles (paths as UTF-16) on Windows. Paths are
// UTF-8. Open failures throw the lw::Failure the user is told; the others
// return false with the system's own words in `error`.

#include <cstdint>
#include <string>

namespace lw::fileio {

using Handle = std::intptr_t; // a descriptor or a HANDLE
inline constexpr Handle kNoHandle = -1;

// For reading: a missing file (or an empty path) is file not found, a
// missing folder path not found, a folder or no right path/file access.
Handle openInput(const std::string& path);
// For writing, created or emptied: a missing folder (or an empty path) is
// path not found, a folder or no right path/file access.
Handle openOutput(const std::string& path);

bool read(Handle handle, char* buffer, std::size_t size, std::size_t& got, std::string& error);
bool writeAll(Handle handle, const char* data, std::size_t size, std::string& error);
bool close(Handle handle, std::string& error);

// True when `path` names the file open as `handle`, whatever the spelling
// (links, case, short names, either slash).
bool isSameFile(Handle handle, const std::string& path);

} // namespace lw::fileio
