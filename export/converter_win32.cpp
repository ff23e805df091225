// Starting the converter on Windows: CreateProcessW, which looks the program
// up as Windows does (the program's folder, the current folder, the system
// folders, PATH; ".exe" added), each argument quoted by the Windows rules.

#include "export/converter.hpp"

#include "base/failure.hpp"
#include "base/windows_text.hpp"

#include <windows.h>

namespace lw {

void startDetached(const std::vector<std::string>& arguments)
{
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
        throw Failure(FailureKind::PathFileAccess, arguments[0] + " (" + systemMessage(error) + ")");
    }
    // Not waited for: the handles are all this process would keep of it.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace lw
