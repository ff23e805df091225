// File primitives on Win32 handles. Paths go to the wide API, so no
// character of a path is lost to the ANSI code page.

#include "platform/file_io.hpp"

#include "base/codepage.hpp"
#include "base/failure.hpp"
#include "base/shown_input.hpp"
#include "platform/win32/windows_text.hpp"

#include <windows.h>

#include <iterator>
#include <mutex>
#include <vector>

namespace lw::fileio {
namespace {

HANDLE handleOf(Handle h) { return reinterpret_cast<HANDLE>(h); }

bool isFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

[[noreturn]] void failOpen(const std::string& path, const std::wstring& wide, DWORD error)
{
    std::string where = path.empty() ? std::string("(empty path)") : shownInput(path);
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        throw Failure(FailureKind::FileNotFound, where);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
    case ERROR_FILENAME_EXCED_RANGE:
        throw Failure(FailureKind::PathNotFound, where);
    default:
        if (!path.empty() && isFolder(wide))
            throw Failure(FailureKind::PathFileAccess, where + " (is a folder)");
        throw Failure(FailureKind::PathFileAccess, where + " (" + systemMessage(error) + ")");
    }
}

Handle open(const std::string& path, DWORD access, DWORD share, DWORD disposition)
{
    const std::wstring wide = widePath(path);
    if (path.empty())
        failOpen(path, wide, access == GENERIC_READ ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    HANDLE h = CreateFileW(wide.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        failOpen(path, wide, GetLastError());
    return reinterpret_cast<Handle>(h);
}

} // namespace

[[noreturn]] void notRegular(const std::string& path)
{
    throw Failure(FailureKind::PathFileAccess, shownInput(path) + " (not a regular file)");
}

Handle openInput(const std::string& path)
{
    Handle h = open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
    // A device (NUL, CON, a pipe) is refused before the first read.
    if (GetFileType(handleOf(h)) != FILE_TYPE_DISK) {
        CloseHandle(handleOf(h));
        notRegular(path);
    }
    return h;
}

std::string outputTarget(const std::string& path)
{
    if (path.empty())
        failOpen(path, widePath(path), ERROR_PATH_NOT_FOUND);
    const std::wstring wide = widePath(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        failOpen(path, wide, ERROR_ACCESS_DENIED);
    // A replacement would otherwise wait for the attribute and then fail
    // with "access denied"; the user set it, so it is said.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        throw Failure(FailureKind::PathFileAccess, shownInput(path) + " (read-only)");
    // Asked without any access, which never blocks and never changes it.
    HANDLE h = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        const DWORD type = GetFileType(h);
        CloseHandle(h);
        if (type != FILE_TYPE_DISK)
            notRegular(path);
    }
    return path;
}

// The replaced file's other attributes and its security go with MoveFileEx's
// new file; the read-only attribute is refused before any writing.
void keepAttributes(Handle, const std::string&) {}

namespace {

std::mutex pendingLock;
std::vector<std::wstring> pending;

// Runs on a thread of its own while the process is being stopped.
BOOL WINAPI removePending(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT
        || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        std::lock_guard<std::mutex> hold(pendingLock);
        for (const std::wstring& path : pending)
            DeleteFileW(path.c_str());
        pending.clear();
    }
    return FALSE; // and the process ends as it would have
}

// With pendingLock held.
void addPending(std::wstring path)
{
    if (pending.empty())
        SetConsoleCtrlHandler(removePending, TRUE);
    pending.push_back(std::move(path));
}

} // namespace

void removeOnInterrupt(const std::string& path)
{
    std::lock_guard<std::mutex> hold(pendingLock);
    addPending(widePath(path));
}

void forgetOnInterrupt(const std::string& path)
{
    const std::wstring wide = widePath(path);
    std::lock_guard<std::mutex> hold(pendingLock);
    std::erase(pending, wide);
}

Handle createUnique(const std::string& folder, const std::string& prefix, const std::string& suffix,
                    const std::string& shownAs, std::string& created, OnInterrupt onInterrupt)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = folder + "\\" + uniqueName(prefix, suffix, unsigned(GetCurrentProcessId()));
        std::wstring wide = widePath(candidate);
        // The console's handler waits for the lock, so it sees the file
        // registered or not yet made, never made but unregistered.
        std::unique_lock<std::mutex> hold(pendingLock, std::defer_lock);
        if (onInterrupt == OnInterrupt::Remove)
            hold.lock();
        // CREATE_NEW: an existing file or a planted link is never opened.
        HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = GetLastError();
        if (h != INVALID_HANDLE_VALUE) {
            if (hold.owns_lock())
                addPending(std::move(wide));
            created = candidate;
            return reinterpret_cast<Handle>(h);
        }
        if (hold.owns_lock())
            hold.unlock();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            failOpen(shownAs, widePath(shownAs), error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
    }
    failOpen(shownAs, widePath(shownAs), ERROR_FILE_EXISTS);
}

const char* mapWhole(Handle, std::size_t&)
{
    // Read instead: the fonts mapped for are Linux's installed ones.
    return nullptr;
}

void unmapWhole(const char*, std::size_t) {}

bool read(Handle handle, char* buffer, std::size_t size, std::size_t& got, std::string& error)
{
    DWORD n = 0;
    if (!ReadFile(handleOf(handle), buffer, DWORD(std::min<std::size_t>(size, 1u << 30)), &n, nullptr)) {
        error = systemMessage(GetLastError());
        return false;
    }
    got = n;
    return true;
}

bool writeAll(Handle handle, const char* data, std::size_t size, std::string& error)
{
    while (size > 0) {
        DWORD n = 0;
        if (!WriteFile(handleOf(handle), data, DWORD(std::min<std::size_t>(size, 1u << 30)), &n, nullptr)) {
            error = systemMessage(GetLastError());
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

bool close(Handle handle, std::string& error)
{
    if (CloseHandle(handleOf(handle)))
        return true;
    error = systemMessage(GetLastError());
    return false;
}

bool replace(const std::string& from, const std::string& to, std::string& error)
{
    const std::wstring source = widePath(from), target = widePath(to);
    // Another run replacing the same file at this moment holds it briefly.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
            return true;
        const DWORD code = GetLastError();
        if (attempt >= 50 || (code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION)) {
            error = systemMessage(code);
            return false;
        }
        Sleep(20);
    }
}

void removeFile(const std::string& path) { DeleteFileW(widePath(path).c_str()); }

namespace {

// The files (not folders) `wanted` takes and `keep` keeps, by what the
// search found.
template <class Keep>
std::vector<std::string> regularFilesWhere(const std::string& folder, bool (*wanted)(std::string_view name), Keep keep)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = widePath(folder + "\\*");
    HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = fromWide(found.cFileName);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && wanted(name) && keep(found))
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

} // namespace

std::vector<std::string> filesOlderThan(const std::string& folder, int hours, bool (*wanted)(std::string_view name))
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) { return (std::uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    const std::uint64_t before = ticks(now) - std::uint64_t(hours) * 3600 * 10'000'000; // 100 ns ticks
    return regularFilesWhere(folder, wanted,
                             [&](const WIN32_FIND_DATAW& found) { return ticks(found.ftLastWriteTime) < before; });
}

std::vector<std::string> regularFiles(const std::string& folder, bool (*wanted)(std::string_view name))
{
    return regularFilesWhere(folder, wanted, [](const WIN32_FIND_DATAW&) { return true; });
}

std::optional<std::uint64_t> regularSize(Handle handle)
{
    LARGE_INTEGER size{};
    if (GetFileType(handleOf(handle)) != FILE_TYPE_DISK || !GetFileSizeEx(handleOf(handle), &size))
        return std::nullopt;
    return std::uint64_t(size.QuadPart);
}

std::optional<std::string> environmentText(const char* name)
{
    const std::wstring wideName = widePath(name);
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD n = GetEnvironmentVariableW(wideName.c_str(), value.data(), DWORD(value.size()));
        if (n == 0)
            return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt : std::optional<std::string>(std::string());
        if (n < value.size())
            return fromWide(std::wstring_view(value.data(), n));
        // Too small: n is the size it needs, the terminator included.
        value.assign(n, L'\0');
    }
}

std::string userWorkFolder()
{
    wchar_t buffer[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, DWORD(std::size(buffer)));
    if (n == 0 || n >= std::size(buffer))
        throw Failure(FailureKind::PathFileAccess, "(no LOCALAPPDATA folder for the work file)");
    const std::string folder = fromWide(std::wstring_view(buffer, n)) + "\\Letterwire";
    if (!CreateDirectoryW(widePath(folder).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw Failure(FailureKind::PathFileAccess, folder + " (" + systemMessage(GetLastError()) + ")");
    return folder;
}

std::string folderOf(const std::string& path)
{
    std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : ".";
    // "C:\name" keeps its root separator.
    return slash == 0 || (slash == 2 && path[1] == ':') ? path.substr(0, slash + 1) : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return path.size() >= 2 && path[1] == ':' ? path.substr(2) : path;
    return path.substr(slash + 1);
}

namespace {

// Volume serial and file index of an open handle, or empty.
std::string identityOf(HANDLE h)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info))
        return {};
    return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
           std::to_string(info.nFileIndexLow);
}

std::string folderIdentity(const std::string& folder)
{
    // No access asked: never blocks, and a folder needs the backup flag.
    HANDLE h = CreateFileW(widePath(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    const std::string identity = identityOf(h);
    CloseHandle(h);
    return identity;
}

} // namespace

std::string outputIdentity(const std::string& path)
{
    const std::string target = outputTarget(path);
    const std::string folder = folderIdentity(folderOf(target));
    if (folder.empty())
        return folder;
    // An existing file's long name, so a short 8.3 spelling meets it; then
    // folded as the file system compares names.
    std::wstring wide = widePath(target);
    std::wstring name(32768, L'\0');
    const DWORD n = GetLongPathNameW(wide.c_str(), name.data(), DWORD(name.size()));
    name = n > 0 && n < name.size() ? name.substr(0, n) : wide;
    name = name.substr(name.find_last_of(L"\\/") == std::wstring::npos ? 0 : name.find_last_of(L"\\/") + 1);
    if (name.size() >= 2 && name[1] == L':')
        name = name.substr(2);
    if (!name.empty())
        CharUpperBuffW(name.data(), DWORD(name.size()));
    return folder + "/" + fromWide(name);
}

bool isSameFile(Handle handle, const std::string& path)
{
    // The volume and the file index name one file, however its path is
    // spelt: case, short 8.3 names, "/" for "\".
    HANDLE other = CreateFileW(widePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (other == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    bool same = GetFileInformationByHandle(handleOf(handle), &a) && GetFileInformationByHandle(other, &b)
             && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh
             && a.nFileIndexLow == b.nFileIndexLow;
    CloseHandle(other);
    return same;
}

bool isUsableFolder(const std::string& path)
{
    const std::wstring wide = widePath(path);
    if (wide.empty() || wide.size() >= MAX_PATH)
        return false;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isStandardOutput(Handle handle)
{
    // A console or a pipe has no file index and is never the file.
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    return out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) == FILE_TYPE_DISK
        && GetFileInformationByHandle(handleOf(handle), &a) && GetFileInformationByHandle(out, &b)
        && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh
        && a.nFileIndexLow == b.nFileIndexLow;
}

} // namespace lw::fileio
