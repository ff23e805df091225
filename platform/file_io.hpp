#pragma once
// The few file primitives byte_files needs from the platform: POSIX
// descriptors on Linux, Win32 handles (paths as UTF-16) on Windows. Paths are
// UTF-8. Open failures throw the lw::Failure the user is told; the others
// return false with the system's own words in `error`.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lw::fileio {

using Handle = std::intptr_t; // a descriptor or a HANDLE
inline constexpr Handle kNoHandle = -1;

// For reading a regular file: a missing file (or an empty path) is file not
// found, a missing folder path not found, a folder, a device, a pipe or no
// right path/file access. Never blocks, whatever the path names.
Handle openInput(const std::string& path);

// The file an output to `path` replaces: `path` itself, or the file a link
// there names (made when the link dangles, so the link stays a link). It must
// be a regular file or not exist yet; a folder, a device, a pipe, a link
// loop, a read-only file or (POSIX) a file with other hard links, which a
// replacement would part from its other names, is path/file access; an empty
// path or a missing folder path not found. Never opens the file, so never
// blocks.
std::string outputTarget(const std::string& path);

// Gives the file open as `handle` the mode, owner and group of `target` where
// the platform and the user's rights allow (POSIX); nothing when `target` does
// not exist yet. A replaced output so keeps what the user had set.
void keepAttributes(Handle handle, const std::string& target);

// `path` is removed if the process is stopped by SIGINT, SIGTERM or SIGHUP
// (on Windows a console's Ctrl-C, Ctrl-Break or close) before
// forgetOnInterrupt(path): an interrupted export leaves no partial file.
void removeOnInterrupt(const std::string& path);
void forgetOnInterrupt(const std::string& path);

// A name for createUnique to try: prefix, twelve hex digits, suffix. The
// digits are random, then the process and a count of the names drawn, so two
// processes or two tries of one process seldom draw the same.
std::string uniqueName(const std::string& prefix, const std::string& suffix, unsigned processId);

// Whether a file createUnique makes is removed when the process is stopped
// (as removeOnInterrupt): with Remove it is registered in the same step as
// it is created, so no signal can find it made but unregistered.
enum class OnInterrupt { Keep, Remove };

// Creates a new file exclusively (never through a link, never an existing
// one) in `folder`, named prefix + random letters + suffix; `created` gets
// its path. Failures are those of creating `shownAs` (the path the user
// gave): a missing folder path not found, no right path/file access.
Handle createUnique(const std::string& folder, const std::string& prefix, const std::string& suffix,
                    const std::string& shownAs, std::string& created, OnInterrupt onInterrupt = OnInterrupt::Keep);

bool read(Handle handle, char* buffer, std::size_t size, std::size_t& got, std::string& error);

// The whole regular file open as `handle`, mapped read-only (its size in
// `size`), for a large file read once: no copy, no fresh memory to clear.
// nullptr where the platform maps none (Windows here) or this file cannot
// be mapped (empty, not regular): the caller reads it instead.
const char* mapWhole(Handle handle, std::size_t& size);
void unmapWhole(const char* data, std::size_t size);
bool writeAll(Handle handle, const char* data, std::size_t size, std::string& error);
bool close(Handle handle, std::string& error);

// Puts `from` in the place of `to` in one step (a reader sees the old file
// or the new one, never a mix); false with the system's words otherwise.
bool replace(const std::string& from, const std::string& to, std::string& error);
// Removes a file of ours; a file that is gone already is no error.
void removeFile(const std::string& path);

// The names of the regular files in `folder` (on POSIX links followed) that
// `wanted` takes and that were last written more than `hours` hours ago;
// none when the folder cannot be read. For tidying up, so never a failure.
std::vector<std::string> filesOlderThan(const std::string& folder, int hours, bool (*wanted)(std::string_view name));

// The names of the regular files in `folder` (on POSIX links followed) that
// `wanted` takes; none when the folder cannot be read.
std::vector<std::string> regularFiles(const std::string& folder, bool (*wanted)(std::string_view name));

// The size of the regular file open as `handle`; nothing for a pipe or a
// device, whose end only reading finds.
std::optional<std::uint64_t> regularSize(Handle handle);

// The environment variable `name` as UTF-8, or nothing when it is not set.
// Windows reads it as UTF-16, so a folder named in it keeps every character
// (the narrow environment holds the ANSI code page's).
std::optional<std::string> environmentText(const char* name);

// This user's own folder for work files, made when missing:
// $XDG_CACHE_HOME/letterwire (~/.cache/letterwire), %LOCALAPPDATA%\Letterwire.
// A folder that cannot be made is path/file access.
std::string userWorkFolder();

// The folder part of a path ("." when there is none) and the name part.
std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);

// What an output to `path` writes, as a key equal for every spelling of the
// same file: the identity of the folder the written file is in (after
// outputTarget's links; POSIX device and inode, Windows volume and file
// index) and its name (Windows: its long form, case folded). The file need
// not exist yet. Empty when the folder cannot be found; outputTarget's
// failures are thrown.
std::string outputIdentity(const std::string& path);

// True when `path` names the file open as `handle`, whatever the spelling
// (links, case, short names, either slash).
bool isSameFile(Handle handle, const std::string& path);

// True when the process's standard output is the file open as `handle` (a
// shell's "> file" or ">> file" naming it).
bool isStandardOutput(Handle handle);

// Whether `path` names an existing folder within the platform's path limit
// (PATH_MAX; MAX_PATH on Windows, where the save dialog takes no longer one),
// so a remembered folder is offered only when it can be used.
bool isUsableFolder(const std::string& path);

} // namespace lw::fileio
