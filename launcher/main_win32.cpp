// launcher PROGRAM [ARGS...] on Windows: print "Launch PROGRAM", start the
// program file that PROGRAM names (see program_lookup.hpp) with ARGS, and wait
// for it.
//
// The arguments are taken as UTF-16, so no character outside the ANSI code
// page is lost. The program's command line is PROGRAM as typed and then ARGS,
// each quoted so that it arrives whole; a .bat or .cmd runs under cmd.exe, as
// Windows runs batch files. The program inherits environment, directory,
// console and standard handles. Exit status as on POSIX:
//   0    the program ran and ended, whatever its own status
//   255  no PROGRAM given; nothing is printed
//   127  no file for PROGRAM exists          (with a message on stderr)
//   126  a file exists but cannot be started (with a message on stderr)

#include "program_lookup.hpp"
#include "usage.hpp"
#include "windows_command_line.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

namespace {

constexpr int kNoProgramName = 255;
constexpr int kNotFound = 127;
constexpr int kCannotStart = 126;

// Unpaired surrogates do not convert; such a name is reported, not guessed.
std::optional<std::string> toUtf8(std::wstring_view text)
{
    if (text.empty())
        return std::string();
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring toWide(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), n);
    return out;
}

// Straight to the handle, unbuffered, so a line is out before the program
// starts. A console gets UTF-16; a file or pipe gets the ANSI code page, as
// Windows programs write text there.
void write(DWORD which, std::wstring_view text)
{
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty())
        return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return;
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, bytes.data(), n, nullptr, nullptr);
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Control characters escaped, so a line break in a name cannot break the
// message line.
std::wstring printable(std::wstring_view text)
{
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\n') {
            out += L"\\n";
        } else if (c < 0x20 || c == 0x7f) {
            const wchar_t* hex = L"0123456789abcdef";
            out += {L'\\', L'x', hex[c >> 4], hex[c & 0xf]};
        } else {
            out += c;
        }
    }
    return out;
}

// `subject` stands in for the "%1" that some system messages hold.
std::wstring systemMessage(DWORD error, std::wstring_view subject = L"")
{
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n > 0 && text ? std::wstring(text, n) : L"";
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ' ||
                                message.back() == L'.'))
        message.pop_back();
    for (std::size_t at = message.find(L"%1"); at != std::wstring::npos; at = message.find(L"%1", at + subject.size()))
        message.replace(at, 2, subject);
    // The number too: the text is in the user's language and may be missing.
    return message + (message.empty() ? L"" : L" ") + L"(error " + std::to_wstring(error) + L")";
}

int fail(std::wstring_view name, const std::wstring& reason, int status)
{
    write(STD_ERROR_HANDLE, L"launcher: cannot start \"" + printable(name) + L"\": " + reason + L"\r\n");
    return status;
}

std::wstring systemDirectory()
{
    wchar_t dir[MAX_PATH];
    const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(dir, n) : L"C:\\Windows\\System32";
}

// Ctrl-C and Ctrl-Break reach every process of the console, the program
// too: the launcher lets the program decide and waits for it to end, instead
// of leaving it without the one that waits. Handlers are not inherited.
BOOL WINAPI waitForTheProgram(DWORD event)
{
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc < 2)
        return kNoProgramName;
    const std::wstring name = argv[1];
    if (name == L"--help" || name == L"--version") {
        std::wstring text;
        for (const char c : lw::launcher::requestedText(name == L"--help" ? "--help" : "--version"))
            text += c == '\n' ? std::wstring(L"\r\n") : std::wstring(1, wchar_t(c));
        write(STD_OUTPUT_HANDLE, text);
        return 0;
    }
    write(STD_OUTPUT_HANDLE, L"Launch " + printable(name) + L"\r\n");

    if (name.empty())
        return fail(name, L"the program name is empty", kNotFound);
    // The lookup runs on UTF-8, whose characters never hold a byte that looks
    // like a separator, the way ANSI double-byte names would.
    const std::optional<std::string> utf8Name = toUtf8(name);
    if (!utf8Name)
        return fail(name, L"the name is not valid UTF-16", kNotFound);

    DWORD lookupError = 0; // the first reason other than "no such file"
    auto exists = [&lookupError](const std::string& path) {
        if (GetFileAttributesW(toWide(path).c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && lookupError == 0)
            lookupError = error;
        return false;
    };
    const std::optional<std::string> found = launcher::findProgram(*utf8Name, exists, launcher::utf8CharLength, '\\');
    if (!found) {
        if (lookupError != 0)
            return fail(name, systemMessage(lookupError), kNotFound);
        std::wstring tried;
        for (const std::string& candidate : launcher::programCandidates(*utf8Name, launcher::utf8CharLength, '\\'))
            tried += (tried.empty() ? L"" : L", ") + printable(toWide(candidate));
        return fail(name, L"no such program (tried " + tried + L")", kNotFound);
    }
    const std::wstring path = toWide(*found);

    std::vector<std::wstring> words(argv + 1, argv + argc);
    std::wstring application;
    std::wstring commandLine;
    if (launcher::isBatchFile(path)) {
        // CreateProcess would hand the batch file's own command line to
        // cmd.exe unquoted for cmd; built here, no argument is run as a command.
        const std::optional<std::wstring> tail =
            launcher::batchCommandLine(path, std::vector<std::wstring>(words.begin() + 1, words.end()));
        if (!tail)
            return fail(name,
                        printable(path) + L": a batch file cannot take a line break or \"%\" in an argument "
                                          L"(cmd would end the command or expand it), nor a double quote in its path",
                        kCannotStart);
        application = systemDirectory() + L"\\cmd.exe";
        commandLine = L"cmd.exe " + *tail;
    } else {
        application = path;
        commandLine = launcher::programCommandLine(words);
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Handles inherited, so standard streams redirected to files or pipes
    // reach the program too.
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        return fail(name, printable(path) + L": " + systemMessage(GetLastError(), printable(path)), kCannotStart);
    CloseHandle(process.hThread);
    SetConsoleCtrlHandler(waitForTheProgram, TRUE);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    return 0;
}
