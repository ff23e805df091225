// Runs the built launcher in a scratch directory against shell scripts that
// record which file ran, their directory, an inherited variable and their
// arguments, and then write one line to the shared stdout.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
namespace fs = std::filesystem;

namespace {

struct Result {
    int status = -1; // -1 unless the launcher exited normally
    std::string out;
    std::string err;
};

std::vector<char*> nullTerminated(std::vector<std::string>& words)
{
    std::vector<char*> out;
    for (std::string& w : words)
        out.push_back(w.data());
    out.push_back(nullptr);
    return out;
}

// The launcher run in `dir`, stdout and stderr read through pipes, with a
// marker variable, a PATH that holds dir/bin and a UTF-8 locale.
Result runLauncher(const fs::path& dir, std::vector<std::string> words)
{
    std::vector<std::string> env{"LW_MARK=inherited", "LC_ALL=C.UTF-8",
                                 "PATH=" + (dir / "bin").string() + ":/usr/bin:/bin"};
    for (char** e = environ; *e; ++e) {
        std::string_view var = *e;
        if (!var.starts_with("PATH=") && !var.starts_with("LC_ALL=") && !var.starts_with("LW_MARK="))
            env.emplace_back(var);
    }
    words.insert(words.begin(), LAUNCHER_PATH);
    std::vector<char*> argv = nullTerminated(words);
    std::vector<char*> envp = nullTerminated(env);

    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        return {};
    pid_t pid = fork();
    if (pid == 0) {
        if (dup2(out[1], 1) >= 0 && dup2(err[1], 2) >= 0 && chdir(dir.c_str()) == 0)
            execve(argv[0], argv.data(), envp.data());
        _exit(99);
    }
    close(out[1]);
    close(err[1]);
    Result result;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    for (int open = 2; open > 0;) {
        if (poll(fds, 2, -1) < 0)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[4096];
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    return result;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

enum class Kind { Script, ScriptWithoutHashBang, NotExecutable, Directory, Binary, MissingInterpreter };

struct File {
    std::string path; // relative to the launcher's directory
    Kind kind = Kind::Script;
    std::string ending = ""; // shell code run after recording
};

void make(const fs::path& dir, const File& file, const fs::path& record)
{
    const fs::path path = dir / file.path;
    fs::create_directories(path.parent_path());
    if (file.kind == Kind::Directory) {
        fs::create_directory(path);
        return;
    }
    const std::string body = "{ printf 'ran %s\\n' '" + file.path + "'; printf 'cwd %s\\n' \"$(pwd -P)\";"
                             " printf 'mark %s\\n' \"$LW_MARK\";"
                             " for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > '" +
                             record.string() + "'\nprintf 'out of %s\\n' '" + file.path + "'\n" +
                             file.ending + "\n";
    std::string content;
    switch (file.kind) {
    case Kind::Script:
    case Kind::NotExecutable: content = "#!/bin/sh\n" + body; break;
    case Kind::ScriptWithoutHashBang: content = body; break;
    case Kind::Binary: content = std::string("\x01\x02\0\0\xff\xfe junk", 11); break;
    case Kind::MissingInterpreter: content = "#!/nonexistent/interpreter\n" + body; break;
    case Kind::Directory: break;
    }
    std::ofstream(path, std::ios::binary) << content;
    fs::permissions(path, file.kind == Kind::NotExecutable ? fs::perms(0644) : fs::perms(0755));
}

class Launcher : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "lw-launcher-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        scratch = fs::canonical(pattern);
    }
    void TearDown() override { fs::remove_all(scratch); }

    fs::path scratch;
};

} // namespace

TEST_F(Launcher, StartsTheFileTheNameSelectsOrSaysWhyNot)
{
    struct Case {
        const char* what;
        std::vector<File> files;
        std::vector<std::string> words; // the name, then the arguments
        int status;
        std::string ran;      // the file that must have run, "" for none
        std::string errorHas; // in stderr; "" means stderr stays empty
    };
    const std::string longName(5000, 'a');
    const std::string longPart(300, 'b');
    const Case cases[] = {
        {"exe before bat", {{"tool.exe"}, {"tool.bat"}}, {"tool"}, 0, "tool.exe", ""},
        {"only cmd", {{"tool.cmd"}}, {"tool"}, 0, "tool.cmd", ""},
        {"bare name last", {{"tool"}, {"tool.sh"}}, {"tool"}, 0, "tool", ""},
        {"no PATH search", {{"bin/tool.exe"}}, {"tool"}, 127, "", "no such program"},
        {"dotted name not completed", {{"tool.exe.com"}, {"tool.exe.exe"}}, {"tool.exe"}, 127, "",
         "(tried ./tool.exe)"},
        {"slash", {{"sub/tool.exe"}, {"tool.exe"}}, {"sub/tool"}, 0, "sub/tool.exe", ""},
        {"backslash", {{"sub/tool.exe"}, {"tool.exe"}}, {"sub\\tool"}, 0, "sub/tool.exe", ""},
        {"dotted directory", {{"old.tools/tool.exe"}}, {"old.tools/tool"}, 0, "old.tools/tool.exe", ""},
        {"drive-style prefix", {{"C:tool.bat"}}, {"C:tool"}, 0, "C:tool.bat", ""},
        {"drive-style prefix, no #!", {{"C:tool.bat", Kind::ScriptWithoutHashBang}}, {"C:tool"}, 0, "C:tool.bat", ""},
        {"arguments unchanged",
         {{"tool.exe"}},
         {"tool", "a b", "", "  lead and trail  ", "*", "$HOME", "\"q\"", "x\ny"},
         0,
         "tool.exe",
         ""},
        {"exit code ignored", {{"tool.exe", Kind::Script, "exit 3"}}, {"tool"}, 0, "tool.exe", ""},
        {"killed program", {{"tool.exe", Kind::Script, "kill -KILL $$"}}, {"tool"}, 0, "tool.exe", ""},
        {"UTF-8 name", {{"ツール.exe"}}, {"ツール", "引数"}, 0, "ツール.exe", ""},
        {"script without #!", {{"tool.exe", Kind::ScriptWithoutHashBang}}, {"tool", "a b"}, 0, "tool.exe", ""},
        {"script like an sh option", {{"-x/tool.exe", Kind::ScriptWithoutHashBang}}, {"-x/tool"}, 0,
         "-x/tool.exe", ""},
        {"name with a space", {{"my tool.exe"}}, {"my tool"}, 0, "my tool.exe", ""},
        {"name with a newline", {{"my\ntool.exe"}}, {"my\ntool"}, 0, "my\ntool.exe", ""},
        {"empty name", {{".com"}, {"tool"}}, {""}, 127, "", "the program name is empty"},
        {"directory", {{"sub", Kind::Directory}}, {"sub"}, 126, "", "./sub: is a directory"},
        {"not executable", {{"tool.exe", Kind::NotExecutable}}, {"tool"}, 126, "", "Permission denied"},
        {"binary of no known format", {{"tool.exe", Kind::Binary}}, {"tool"}, 126, "", "Exec format error"},
        {"missing interpreter", {{"tool.exe", Kind::MissingInterpreter}}, {"tool"}, 126, "", "interpreter"},
        {"very long name", {}, {longName}, 127, "", "File name too long"},
        {"very long file part", {{"sub", Kind::Directory}}, {"sub/" + longPart}, 127, "", "File name too long"},
        {"missing name with a newline", {}, {"no\nsuch"}, 127, "", "\"no\\nsuch\": no such program"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path dir = scratch / ("case" + std::to_string(++n));
        const fs::path record = scratch / ("record" + std::to_string(n));
        fs::create_directory(dir);
        for (const File& file : c.files)
            make(dir, file, record);

        Result r = runLauncher(dir, c.words);

        EXPECT_EQ(r.status, c.status);
        // Through a pipe too, the Launch line comes before the program's own.
        // The name as typed, its line breaks shown as \n.
        std::string out = "Launch ";
        for (char ch : c.words[0])
            out += ch == '\n' ? std::string("\\n") : std::string(1, ch);
        out += "\n";
        if (!c.ran.empty())
            out += "out of " + c.ran + "\n";
        EXPECT_EQ(r.out, out);
        if (c.errorHas.empty()) {
            EXPECT_EQ(r.err, "");
        } else {
            EXPECT_NE(r.err.find(c.errorHas), std::string::npos) << r.err;
        }
        if (c.ran.empty()) {
            EXPECT_FALSE(fs::exists(record));
            continue;
        }
        std::string expected = "ran " + c.ran + "\ncwd " + dir.string() + "\nmark inherited\n";
        for (std::size_t i = 1; i < c.words.size(); ++i)
            expected += "[" + c.words[i] + "]\n";
        EXPECT_EQ(readFile(record), expected);
    }
}

TEST_F(Launcher, NoProgramNameGives255AndNoOutput)
{
    Result r = runLauncher(scratch, {});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

// --help and --version answer instead of starting a program of that name;
// such a file still starts by its path.
TEST_F(Launcher, HelpAndVersionAnswerAndStartNothing)
{
    struct Case {
        std::string word;
        int status;
        std::string outStarts;
    };
    const Case cases[] = {
        {"--help", 0, "Usage: launcher PROGRAM [ARGS...]\n"},
        {"--version", 0, "launcher "},
        {"./--help", 0, "Launch ./--help\nout of --help.exe\n"},
    };
    const fs::path record = scratch / "record";
    make(scratch, {"--help.exe"}, record);
    make(scratch, {"--version.exe"}, record);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        fs::remove(record);
        Result r = runLauncher(scratch, {c.word});
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out.substr(0, c.outStarts.size()), c.outStarts) << r.out;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(fs::exists(record), c.word.starts_with("./"));
    }
}

// A script's $0 is its path, so a real program shows argv[0].
TEST_F(Launcher, ProgramSeesTheNameAsTypedAsArgv0)
{
    fs::create_symlink(ARGV_PROBE_PATH, scratch / "probe.exe");
    const fs::path record = scratch / "record";
    ASSERT_EQ(setenv("LW_PROBE_RECORD", record.c_str(), 1), 0);
    Result r = runLauncher(scratch, {"probe", "one two"});
    unsetenv("LW_PROBE_RECORD");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readFile(record), "[probe]\n[one two]\n");
}

// A name with a line break cannot forge a second line of the launcher's.
TEST_F(Launcher, LaunchLineShowsControlCharactersEscaped)
{
    Result r = runLauncher(scratch, {"a\nLaunch b\x01"});
    EXPECT_EQ(r.status, 127);
    EXPECT_EQ(r.out, "Launch a\\nLaunch b\\x01\n");
}

// Stopping the launcher stops the program it waits for, and the caller sees
// the stop; a signal the program survives still ends it with status 0.
TEST_F(Launcher, SignalsSentToTheLauncherReachTheProgram)
{
    using namespace std::chrono;
    const struct {
        int signal;
        const char* trap; // the script's handling of the signal
        bool launcherSignalled;
    } cases[] = {
        {SIGTERM, "", true},
        {SIGINT, "", true},
        {SIGHUP, "", true},
        {SIGTERM, "trap 'echo caught > \"$1.caught\"; exit 3' TERM", false},
    };
    for (const auto& c : cases) {
        const fs::path pidFile = scratch / ("pid" + std::to_string(c.signal) + (c.launcherSignalled ? "" : "t"));
        const fs::path script = scratch / "waiter";
        std::ofstream(script) << "#!/bin/sh\n" << c.trap << "\necho $$ > \"$1.tmp\"; mv \"$1.tmp\" \"$1\"\n"
                              << "while :; do sleep 0.05; done\n";
        fs::permissions(script, fs::perms(0755));
        const pid_t launcher = fork();
        if (launcher == 0) {
            if (chdir(scratch.c_str()) == 0)
                execl(LAUNCHER_PATH, LAUNCHER_PATH, "waiter", pidFile.c_str(), static_cast<char*>(nullptr));
            _exit(99);
        }
        ASSERT_GT(launcher, 0);
        const auto deadline = steady_clock::now() + seconds(20);
        while (!fs::exists(pidFile) && steady_clock::now() < deadline)
            std::this_thread::sleep_for(milliseconds(10));
        ASSERT_TRUE(fs::exists(pidFile)) << "the program did not start";
        const pid_t program = std::stoi(readFile(pidFile));
        ASSERT_EQ(kill(launcher, c.signal), 0);

        int status = 0;
        pid_t ended = 0;
        while ((ended = waitpid(launcher, &status, WNOHANG)) == 0 && steady_clock::now() < deadline)
            std::this_thread::sleep_for(milliseconds(10));
        if (ended == 0) {
            kill(program, SIGKILL);
            kill(launcher, SIGKILL);
            waitpid(launcher, &status, 0);
            FAIL() << "the launcher did not end after signal " << c.signal;
        }
        if (c.launcherSignalled) {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << "signal " << c.signal;
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            EXPECT_EQ(readFile(pidFile.string() + ".caught"), "caught\n");
        }
        // The launcher waited for the program, so it is gone, not orphaned.
        EXPECT_NE(kill(program, 0), 0) << "signal " << c.signal;
    }
}
