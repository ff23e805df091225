// File primitives on Win32 handles. Paths go to the wide API, so no
// character of a path is lost to the ANSI code page.

#include "export/file_io.hpp"

#include "base/codepage.hpp"
#include "base/failure.hpp"
#include "base/windows_text.hpp"

#include <windows.h>

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
    std::string where = path.empty() ? std::string("(empty path)") : path;
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

Handle openInput(const std::string& path)
{
    return open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
}

Handle openOutput(const std::string& path)
{
    return open(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
}

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

} // namespace lw::fileio
