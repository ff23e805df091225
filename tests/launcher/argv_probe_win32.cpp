// Stands in for a started program on Windows: records, in UTF-8 into
// %LW_PROBE_RECORD%, its own file name, current directory, %LW_MARK%, its raw
// command line and each argv entry as "[arg]"; then writes "out of NAME" to
// stdout and ends with the status in %LW_PROBE_EXIT% (0 without it). Copied
// into the scratch folder under the names the tests look up.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

namespace {

std::string utf8(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring variable(const wchar_t* name)
{
    wchar_t value[32768];
    const DWORD n = GetEnvironmentVariableW(name, value, 32768);
    return n > 0 && n < 32768 ? std::wstring(value, n) : L"";
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    wchar_t buffer[32768];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, 32768);
    std::wstring self(buffer, n);
    self = self.substr(self.find_last_of(L"\\/") + 1);
    const DWORD m = GetCurrentDirectoryW(32768, buffer);
    const std::wstring cwd(buffer, m);

    std::string record = "ran " + utf8(self) + "\ncwd " + utf8(cwd) + "\nmark " + utf8(variable(L"LW_MARK")) +
                         "\nline " + utf8(GetCommandLineW()) + "\n";
    for (int i = 0; i < argc; ++i)
        record += "[" + utf8(argv[i]) + "]\n";
    HANDLE file = CreateFileW(variable(L"LW_PROBE_RECORD").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);

    std::printf("out of %s\n", utf8(self).c_str());
    return std::wcstol(variable(L"LW_PROBE_EXIT").c_str(), nullptr, 10);
}
