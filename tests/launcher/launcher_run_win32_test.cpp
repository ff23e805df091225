// Runs the built launcher.exe in a scratch folder against copies of the argv
// probe (as .com, .exe or without an extension) and batch files that record
// which file ran, its directory, an inherited variable and its arguments, and
// then write one line to the shared stdout.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>

namespace fs = std::filesystem;

namespace {

const fs::path& launcherPath()
{
    static const fs::path path = fs::absolute(LAUNCHER_PATH);
    return path;
}

const fs::path& probePath()
{
    static const fs::path path = fs::absolute(ARGV_PROBE_PATH);
    return path;
}

std::string utf8(std::wstring_view text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string ansi(std::wstring_view text)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Result {
    DWORD status = 0xDEAD;
    std::string out; // bytes as written
    std::string err;
};

HANDLE inheritableFile(const fs::path& path)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// The launcher run in `dir` with `tail` after its own name on its command
// line, stdout and stderr going to files.
Result runLauncher(const fs::path& dir, const std::wstring& tail)
{
    Result result;
    const fs::path outPath = dir.parent_path() / (dir.filename().wstring() + L".out");
    const fs::path errPath = dir.parent_path() / (dir.filename().wstring() + L".err");
    HANDLE out = inheritableFile(outPath);
    HANDLE err = inheritableFile(errPath);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::wstring line = L"\"" + launcherPath().wstring() + L"\"" + (tail.empty() ? L"" : L" " + tail);
    PROCESS_INFORMATION process{};
    // Wine's server has refused a start once with an internal error, before
    // the launcher ran at all: that is asked again, anything else is the answer.
    BOOL started = FALSE;
    for (int attempt = 0; attempt < 3; ++attempt) {
        started = CreateProcessW(launcherPath().c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, dir.c_str(),
                                 &startup, &process);
        if (started || GetLastError() != ERROR_INTERNAL_ERROR)
            break;
        Sleep(200);
    }
    CloseHandle(out);
    CloseHandle(err);
    if (!started) {
        ADD_FAILURE() << "launcher.exe did not start: error " << GetLastError();
        return result;
    }
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "launcher.exe still running after 60 s";
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    GetExitCodeProcess(process.hProcess, &result.status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

enum class Kind { Probe, Batch, Directory, Junk };

struct File {
    std::wstring path; // relative to the launcher's folder
    Kind kind = Kind::Probe;
};

// Records the batch file's name, folder, %LW_MARK% and first three arguments
// without letting cmd see the argument text as commands. (Wine's cmd loses
// "%" and doubled quotes in batch arguments, so the cases here hold neither;
// the quoting of those is tested on its own.)
const char* const kBatch =
    "@echo off\r\n"
    "setlocal enabledelayedexpansion\r\n"
    "set \"A1=%~1\"\r\n"
    "set \"A2=%~2\"\r\n"
    "set \"A3=%~3\"\r\n"
    ">\"%LW_PROBE_RECORD%\" echo ran %~nx0\r\n"
    ">>\"%LW_PROBE_RECORD%\" echo cwd !CD!\r\n"
    ">>\"%LW_PROBE_RECORD%\" echo mark !LW_MARK!\r\n"
    ">>\"%LW_PROBE_RECORD%\" echo [!A1!]\r\n"
    ">>\"%LW_PROBE_RECORD%\" echo [!A2!]\r\n"
    ">>\"%LW_PROBE_RECORD%\" echo [!A3!]\r\n"
    "echo out of %~nx0\r\n";

void make(const fs::path& dir, const File& file)
{
    const fs::path path = dir / file.path;
    fs::create_directories(path.parent_path());
    switch (file.kind) {
    case Kind::Probe: fs::copy_file(probePath(), path); break;
    case Kind::Batch: std::ofstream(path, std::ios::binary) << kBatch; break;
    case Kind::Directory: fs::create_directory(path); break;
    case Kind::Junk: std::ofstream(path, std::ios::binary) << "not a program\r\n"; break;
    }
}

class Launcher : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH + 1];
        ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        scratch = fs::path(temp) / (L"lw-launcher-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                    fs::path(info->name()).wstring());
        fs::remove_all(scratch);
        fs::create_directories(scratch);
        SetEnvironmentVariableW(L"LW_MARK", L"inherited");
    }
    void TearDown() override
    {
        SetEnvironmentVariableW(L"LW_PROBE_RECORD", nullptr);
        SetEnvironmentVariableW(L"LW_PROBE_EXIT", nullptr);
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
    }

    fs::path scratch;
};

struct Case {
    const char* what;
    std::vector<File> files;
    std::wstring name;          // word 1, as typed
    std::wstring argsTail;      // the rest of the launcher's command line, as typed
    int status;
    std::wstring ran;           // the file that must have run, relative; "" for none
    std::vector<std::wstring> args; // what the program must get, argv[0] left out
    std::string errorHas = "";  // in stderr; "" means stderr stays empty
};

void check(const fs::path& scratch, int n, const Case& c)
{
    SCOPED_TRACE(c.what);
    const fs::path dir = scratch / ("case" + std::to_string(n));
    const fs::path record = scratch / ("record" + std::to_string(n));
    fs::create_directory(dir);
    for (const File& file : c.files)
        make(dir, file);
    SetEnvironmentVariableW(L"LW_PROBE_RECORD", record.c_str());

    // The name goes on the launcher's command line quoted when it holds a
    // blank, as a user would type it.
    std::wstring typed = c.name.empty() || c.name.find(L' ') != std::wstring::npos ? L"\"" + c.name + L"\"" : c.name;
    Result r = runLauncher(dir, typed + (c.argsTail.empty() ? L"" : L" " + c.argsTail));

    EXPECT_EQ(r.status, static_cast<DWORD>(c.status));
    // Through a file too, the Launch line comes before the program's own.
    const fs::path ran = c.ran;
    std::string out = "Launch " + ansi(c.name) + "\r\n";
    if (!c.ran.empty())
        out += "out of " + utf8(ran.filename().wstring()) + "\r\n";
    EXPECT_EQ(r.out, out);
    if (c.errorHas.empty()) {
        EXPECT_EQ(r.err, "");
    } else {
        EXPECT_NE(r.err.find(c.errorHas), std::string::npos) << r.err;
    }
    if (c.ran.empty()) {
        EXPECT_FALSE(fs::exists(record));
        return;
    }
    // Batch files end lines in CR LF. The probe's raw command line is the
    // launcher's business, tested on its own.
    std::string lines;
    std::istringstream in(readFile(record));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.starts_with("line "))
            lines += line + "\n";
    }
    std::string want = "ran " + utf8(ran.filename().wstring()) + "\ncwd " + utf8(dir.wstring()) + "\nmark inherited\n";
    const bool batch = ran.extension() == ".bat" || ran.extension() == ".cmd";
    if (!batch)
        want += "[" + utf8(c.name) + "]\n"; // argv[0]: the name as typed
    for (const std::wstring& arg : c.args)
        want += "[" + utf8(arg) + "]\n";
    EXPECT_EQ(lines, want);
}

} // namespace

TEST_F(Launcher, StartsTheFileTheNameSelectsOrSaysWhyNot)
{
    wchar_t drive[3] = {scratch.wstring()[0], L':', 0};
    const std::wstring hyo = L"\u8868"; // "表": 0x95 0x5C in code page 932
    const Case cases[] = {
        {"com before exe", {{L"tool.exe"}, {L"tool.com"}}, L"tool", L"", 0, L"tool.com", {}},
        {"exe before bat", {{L"tool.bat", Kind::Batch}, {L"tool.exe"}}, L"tool", L"", 0, L"tool.exe", {}},
        {"bat before cmd", {{L"tool.cmd", Kind::Batch}, {L"tool.bat", Kind::Batch}, {L"tool"}}, L"tool",
         L"x y z", 0, L"tool.bat", {L"x", L"y", L"z"}},
        {"only cmd", {{L"tool.cmd", Kind::Batch}}, L"tool", L"x y z", 0, L"tool.cmd", {L"x", L"y", L"z"}},
        {"bare name last", {{L"tool"}}, L"tool", L"", 0, L"tool", {}},
        {"no PATH search", {{L"bin\\tool.exe"}}, L"tool", L"", 127, L"", {}, "no such program"},
        {"dotted name not completed", {{L"tool.exe.com"}, {L"tool.exe.exe"}}, L"tool.exe", L"", 127, L"", {},
         "(tried .\\tool.exe)"},
        {"slash", {{L"sub\\tool.exe"}, {L"tool.exe"}}, L"sub/tool", L"", 0, L"sub\\tool.exe", {}},
        {"backslash", {{L"sub\\tool.exe"}, {L"tool.exe"}}, L"sub\\tool", L"", 0, L"sub\\tool.exe", {}},
        {"dotted folder", {{L"old.tools\\tool.exe"}}, L"old.tools\\tool", L"", 0, L"old.tools\\tool.exe", {}},
        {"drive prefix", {{L"tool.exe"}}, std::wstring(drive) + L"tool", L"", 0, L"tool.exe", {}},
        {"arguments arrive whole",
         {{L"tool.exe"}},
         L"tool",
         LR"("a b" "" "  lead and trail  " * "\"q\"" back\slash\ "tail\\" a\\\"b %PATH% 日本語 한)",
         0,
         L"tool.exe",
         {L"a b", L"", L"  lead and trail  ", L"*", L"\"q\"", L"back\\slash\\", L"tail\\", L"a\\\"b", L"%PATH%",
          L"日本語", L"한"}},
        {"batch arguments arrive whole", {{L"tool.bat", Kind::Batch}}, L"tool", LR"-("a b" "x&y|z>w" "k=l,m;n (o)")-",
         0, L"tool.bat", {L"a b", L"x&y|z>w", L"k=l,m;n (o)"}},
        {"batch in a folder with a blank", {{L"my dir\\tool.bat", Kind::Batch}}, L"my dir\\tool", L"1 2 3", 0,
         L"my dir\\tool.bat", {L"1", L"2", L"3"}},
        {"batch backslashes arrive single", {{L"tool.bat", Kind::Batch}}, L"tool", LR"(dir\ "my dir\\" x)", 0,
         L"tool.bat", {L"dir\\", L"my dir\\", L"x"}},
        {"batch refuses a percent", {{L"tool.bat", Kind::Batch}}, L"tool", L"50%", 126, L"", {}, "\"%\" in an argument"},
        {"exit code ignored", {{L"tool.exe"}}, L"tool", L"", 0, L"tool.exe", {}},
        {"double-byte name, trail byte 0x5C", {{hyo + L".exe"}, {L"tool.exe"}}, hyo, L"", 0, hyo + L".exe", {}},
        {"double-byte folder, trail byte 0x5C", {{hyo + L"\\tool.exe"}}, hyo + L"\\tool", L"", 0,
         hyo + L"\\tool.exe", {}},
        {"name outside the ANSI code page", {{L"한.exe"}}, L"한", L"", 0, L"한.exe", {}},
        {"name with a blank", {{L"my tool.exe"}}, L"my tool", L"", 0, L"my tool.exe", {}},
        {"missing", {}, L"tool", L"", 127, L"", {},
         "no such program (tried .\\tool.com, .\\tool.exe, .\\tool.bat, .\\tool.cmd, .\\tool)"},
        {"empty name", {{L".com"}}, L"", L"", 127, L"", {}, "the program name is empty"},
        {"folder", {{L"tool.exe", Kind::Directory}}, L"tool", L"", 126, L"", {}, ".\\tool.exe: "},
        {"not a program", {{L"tool.exe", Kind::Junk}}, L"tool", L"", 126, L"", {}, "(error 193)"},
    };
    // The double-byte cases mean something only where "表" holds a 0x5C.
    EXPECT_EQ(ansi(hyo), "\x95\x5C") << "the ANSI code page is " << GetACP() << ", not 932";
    int n = 0;
    for (const Case& c : cases) {
        SetEnvironmentVariableW(L"LW_PROBE_EXIT", std::string_view(c.what) == "exit code ignored" ? L"3" : nullptr);
        check(scratch, ++n, c);
    }
}

TEST_F(Launcher, NoProgramNameGives255AndNoOutput)
{
    Result r = runLauncher(scratch, L"");
    EXPECT_EQ(r.status, 255u);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

// --help and --version answer instead of starting a program of that name;
// such a file still starts by its path.
TEST_F(Launcher, HelpAndVersionAnswerAndStartNothing)
{
    make(scratch, {L"--help.exe"});
    const fs::path record = scratch / "record";
    SetEnvironmentVariableW(L"LW_PROBE_RECORD", record.c_str());
    const struct {
        std::wstring word;
        std::string outStarts;
    } cases[] = {
        {L"--help", "Usage: launcher PROGRAM [ARGS...]\r\n"},
        {L"--version", "launcher "},
        {L".\\--help", "Launch .\\--help\r\nout of --help.exe\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.word));
        fs::remove(record);
        Result r = runLauncher(scratch, c.word);
        EXPECT_EQ(r.status, 0u);
        EXPECT_EQ(r.out.substr(0, c.outStarts.size()), c.outStarts) << r.out;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(fs::exists(record), c.word.starts_with(L".\\"));
    }
}

// The program's raw command line: the name as typed first, arguments quoted
// only where they need it.
TEST_F(Launcher, ProgramGetsTheNameAsTypedAndQuotedArguments)
{
    make(scratch, {L"tool.exe"});
    const fs::path record = scratch / "record";
    SetEnvironmentVariableW(L"LW_PROBE_RECORD", record.c_str());
    Result r = runLauncher(scratch, LR"(.\tool "one two" three)");
    EXPECT_EQ(r.status, 0u);
    EXPECT_NE(readFile(record).find("\nline .\\tool \"one two\" three\n"), std::string::npos) << readFile(record);
}

