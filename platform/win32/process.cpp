#include "platform/process.hpp"

#include "platform/win32/command_line_words.hpp"
#include "platform/win32/windows_text.hpp"

#include <cstdio>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace lw {

std::vector<std::string> commandLineArguments(int, const char* const*)
{
    const std::vector<std::wstring> words = commandLineWords(GetCommandLineW());
    std::vector<std::string> out;
    for (std::size_t i = 1; i < words.size(); ++i)
        out.push_back(fromWide(words[i]));
    return out;
}

std::string programDirectory()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return ".";
    // "C:\" keeps its separator: a root is no folder name without it.
    std::size_t keep = (slash == 2 && path[1] == L':') ? slash + 1 : slash;
    return fromWide(path.substr(0, keep));
}

bool takeClosedStandardOutput() { return false; }

void bufferedStandardOutput()
{
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR)
        std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
}

void writesFailPastFileSizeLimit() {}

void binaryStandardOutput()
{
    // Flushed first: the mode and the buffer change under no pending bytes.
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
    bufferedStandardOutput();
}

} // namespace lw
