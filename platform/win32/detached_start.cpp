// Starting the converter on Windows: CreateProcessW, which looks the program
// up as Windows does (the program's folder, the current folder, the system
// folders, PATH; ".exe" added), each argument quoted by the Windows rules.

#include "platform/process.hpp"

#include "base/failure.hpp"
#include "platform/win32/command_line_words.hpp"
#include "platform/win32/windows_text.hpp"

#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>

namespace lw {
namespace {

// The watcher is this very program started once more, with this word as its
// only argument and the variable set: it waits for the converter (the
// inherited process handle) and removes the work file. Windows has no fork,
// and a thread would end with a command-line run; so it runs here, before
// main, and never reaches it. The word, the variable and a handle to a
// process must all be there: a variable left in a user's environment alone
// never makes a program remove a file or skip its work.
constexpr const wchar_t* kWatchArgument = L"--letterwire-watch-converter";
constexpr const wchar_t* kWatchVariable = L"LETTERWIRE_REMOVE_WHEN_ENDED";

bool startedAsWatcher()
{
    const std::vector<std::wstring> words = commandLineWords(GetCommandLineW());
    return words.size() == 2 && words[1] == kWatchArgument;
}

const bool watcherRan = [] {
    if (!startedAsWatcher())
        return false;
    wchar_t value[4096];
    const DWORD n = GetEnvironmentVariableW(kWatchVariable, value, DWORD(std::size(value)));
    // "<handle>|<work file>"
    wchar_t* rest = nullptr;
    const auto handle =
        n == 0 || n >= std::size(value) ? nullptr : reinterpret_cast<HANDLE>(std::wcstoull(value, &rest, 16));
    // Only a handle to a process that ended, never a guess, lets a file go.
    if (!handle || !rest || *rest != L'|' || GetProcessId(handle) == 0
        || WaitForSingleObject(handle, INFINITE) != WAIT_OBJECT_0)
        ExitProcess(2);
    for (int attempt = 0; attempt < 50 && !DeleteFileW(rest + 1) && GetLastError() == ERROR_SHARING_VIOLATION; ++attempt)
        Sleep(100);
    ExitProcess(0);
}();

// Best effort: without a watcher the work file stays behind.
void startWatcher(HANDLE converter, const std::string& workFile)
{
    HANDLE inheritable = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), converter, GetCurrentProcess(), &inheritable,
                         SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0))
        return;
    wchar_t self[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameW(nullptr, self, DWORD(std::size(self)));
    // The environment of this process, one variable added; only the
    // converter's handle is inherited, so no pipe of ours is held open.
    std::wstring environment;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* v = block; *v; v += std::wcslen(v) + 1)
            if (std::wcsncmp(v, kWatchVariable, std::wcslen(kWatchVariable)) != 0)
                environment.append(v).push_back(L'\0');
        FreeEnvironmentStringsW(block);
    }
    wchar_t handleText[32];
    swprintf(handleText, std::size(handleText), L"%llx", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(inheritable)));
    environment.append(kWatchVariable).append(L"=").append(handleText).append(L"|").append(widePath(workFile));
    environment.push_back(L'\0');
    environment.push_back(L'\0');

    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::string storage(size, '\0');
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    if (length > 0 && length < std::size(self) && InitializeProcThreadAttributeList(attributes, 1, 0, &size)) {
        if (UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &inheritable,
                                      sizeof inheritable, nullptr, nullptr)) {
            STARTUPINFOEXW startup{};
            startup.StartupInfo.cb = sizeof startup;
            startup.lpAttributeList = attributes;
            std::wstring commandLine = quoteArgument(self) + L" " + kWatchArgument;
            PROCESS_INFORMATION process{};
            if (CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE,
                               EXTENDED_STARTUPINFO_PRESENT | CREATE_UNICODE_ENVIRONMENT | DETACHED_PROCESS
                                   | CREATE_NO_WINDOW,
                               environment.data(), nullptr, &startup.StartupInfo, &process)) {
                CloseHandle(process.hThread);
                CloseHandle(process.hProcess);
            }
        }
        DeleteProcThreadAttributeList(attributes);
    }
    CloseHandle(inheritable);
}

} // namespace

bool programFound(const std::string& program)
{
    if (program.empty())
        return false;
    const std::wstring name = widePath(program);
    wchar_t found[MAX_PATH * 2];
    // CreateProcessW's order: the program's folder and the current folder
    // first, then the system folders and PATH.
    const DWORD n = SearchPathW(nullptr, name.c_str(), L".exe", DWORD(std::size(found)), found, nullptr);
    if (n == 0 || n >= std::size(found))
        return false;
    const DWORD attributes = GetFileAttributesW(found);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void startDetached(const std::vector<std::string>& arguments, const std::string& removeWhenEnded)
{
    (void)watcherRan;
    if (arguments.empty() || arguments[0].empty())
        throw Failure(FailureKind::FileNotFound, "(no program name)");
    std::wstring commandLine;
    for (const std::string& a : arguments) {
        if (!commandLine.empty())
            commandLine.push_back(L' ');
        commandLine += quoteArgument(widePath(a));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // Minimized, as the converter has always been started.
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &process)) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            throw Failure(FailureKind::FileNotFound, arguments[0]);
        DWORD attributes = GetFileAttributesW(widePath(arguments[0]).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            throw Failure(FailureKind::PathFileAccess, arguments[0] + " (" + arguments[0] + " is a folder)");
        throw Failure(FailureKind::PathFileAccess, arguments[0] + " (" + systemMessage(error) + ")");
    }
    if (!removeWhenEnded.empty())
        startWatcher(process.hProcess, removeWhenEnded);
    // Not waited for: the handles are all this process would keep of it.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace lw
