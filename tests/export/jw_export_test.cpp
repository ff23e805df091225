// The JW export on real files: the whole output, open failures, and the
// command file left as it was whatever happens.
#include "export/byte_files.hpp"
#include "export/jw_command.hpp"
#include "export_test_support.hpp"
#include "base/failure.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <vector>
#include <functional>
#include <string>

using namespace lw;
using namespace lw::test;

namespace {

#ifndef _WIN32
std::string makeFifo(const std::string& path)
{
    ::mkfifo(path.c_str(), 0600);
    return path;
}
#endif

} // namespace

TEST(JwExport, CopiesTheCommandFileThenWritesTheOutline)
{
    ScratchDir dir;
    const std::string command = "hq\r\nhp1 100 50\r\n\x83\x5c\x95\x5c\r\nhs 1 \r\nlg0";
    writeBytes(dir / "cmd.txt", command);
    writeBytes(dir / "out.txt", "old contents that must go");
    auto outline = outlineOf({{0, 0, 6}, {10, 0, 2}, {10, 10, 3}});

    writeJwExport(dir / "cmd.txt", dir / "out.txt", outline, 15);

    EXPECT_EQ(readBytes(dir / "out.txt"),
              "hp1 100 50\r\n\x83\x5c\x95\x5c\r\nhs 1 \r\nlg0\r\n"
              " 100  52.6458333333333 \r\n"
              " 102.645833333333  52.6458333333333 \r\n"
              " 102.645833333333  50 \r\n"
              " 100  52.6458333333333 \r\n"
              "\r\n");
    EXPECT_EQ(readBytes(dir / "cmd.txt"), command);
}

TEST(JwExport, FailuresNameTheFileAndLeaveTheCommandFileAlone)
{
    struct Case {
        const char* name;
        std::string command;     // bytes of cmd.txt; not written when empty and `noCommand`
        bool noCommand;
        std::function<std::string(const ScratchDir&)> input;
        std::function<std::string(const ScratchDir&)> output;
        FailureKind kind;
        std::function<std::string(const ScratchDir&)> what;
        const char* outputAfter; // nullptr: the output file must not exist
    };
    auto cmd = [](const ScratchDir& d) { return d / "cmd.txt"; };
    auto out = [](const ScratchDir& d) { return d / "out.txt"; };
    const Case cases[] = {
        {"missing command file", "", true, [](const ScratchDir& d) { return d / "missing.txt"; }, out,
         FailureKind::FileNotFound, [](const ScratchDir& d) { return "File not found: " + d / "missing.txt"; },
         nullptr},
        {"empty command path", "", true, [](const ScratchDir&) { return std::string(); }, out,
         FailureKind::FileNotFound, [](const ScratchDir&) { return std::string("File not found: (empty path)"); },
         nullptr},
        {"command path is a folder", "", true, [](const ScratchDir& d) { return d.path().string(); }, out,
         FailureKind::PathFileAccess,
         [](const ScratchDir& d) { return "Path/File access error: " + d.path().string() + " (is a folder)"; },
         nullptr},
        {"output folder missing", "a\r", false, cmd, [](const ScratchDir& d) { return d / "no/out.txt"; },
         FailureKind::PathNotFound, [](const ScratchDir& d) { return "Path not found: " + d / "no/out.txt"; },
         nullptr},
        {"empty output path", "a\r", false, cmd, [](const ScratchDir&) { return std::string(); },
         FailureKind::PathNotFound, [](const ScratchDir&) { return std::string("Path not found: (empty path)"); },
         nullptr},
        {"output path is a folder", "a\r", false, cmd, [](const ScratchDir& d) { return d.path().string(); },
         FailureKind::PathFileAccess,
         [](const ScratchDir& d) { return "Path/File access error: " + d.path().string() + " (is a folder)"; },
         nullptr},
        // A device or a pipe could block the open or never end; neither is
        // opened at all.
#ifndef _WIN32
        {"output is a device", "a\r", false, cmd, [](const ScratchDir&) { return std::string("/dev/full"); },
         FailureKind::PathFileAccess,
         [](const ScratchDir&) { return std::string("Path/File access error: /dev/full (not a regular file)"); },
         nullptr},
        {"command file is a device without end", "", true, [](const ScratchDir&) { return std::string("/dev/zero"); },
         out, FailureKind::PathFileAccess,
         [](const ScratchDir&) { return std::string("Path/File access error: /dev/zero (not a regular file)"); },
         nullptr},
        {"command file is a pipe without writer", "", true, [](const ScratchDir& d) { return makeFifo(d / "fifo"); },
         out, FailureKind::PathFileAccess,
         [](const ScratchDir& d) { return "Path/File access error: " + d / "fifo" + " (not a regular file)"; },
         nullptr},
        {"output is a pipe without reader", "a\r", false, cmd, [](const ScratchDir& d) { return makeFifo(d / "fifo"); },
         FailureKind::PathFileAccess,
         [](const ScratchDir& d) { return "Path/File access error: " + d / "fifo" + " (not a regular file)"; },
         nullptr},
#else
        {"output is a device", "a\r", false, cmd, [](const ScratchDir&) { return std::string("NUL"); },
         FailureKind::PathFileAccess,
         [](const ScratchDir&) { return std::string("Path/File access error: NUL (not a regular file)"); }, nullptr},
        {"command file is a device", "", true, [](const ScratchDir&) { return std::string("NUL"); }, out,
         FailureKind::PathFileAccess,
         [](const ScratchDir&) { return std::string("Path/File access error: NUL (not a regular file)"); }, nullptr},
#endif
        {"output path is the command file", "hp1 1 2\r", false, cmd, cmd, FailureKind::PathFileAccess,
         [](const ScratchDir& d) {
             return "Path/File access error: " + d / "cmd.txt" + " (the output file is the command file)";
         },
         nullptr},
        {"lg out of range on line 3", "a\r\nhs 1 2 \r\nlg17\r\nb\r\n", false, cmd, out,
         FailureKind::SubscriptOutOfRange,
         [](const ScratchDir& d) { return "Subscript out of range: " + d / "cmd.txt" + ", line 3, word \"lg17\""; },
         "a\r\nhs 1 2 \r\nlg17\r\n"},
        {"too many hs values", "hs 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19", false, cmd, out,
         FailureKind::SubscriptOutOfRange,
         [](const ScratchDir& d) { return "Subscript out of range: " + d / "cmd.txt" + ", line 1, word \"18\""; },
         "hs 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19\r\n"},
        {"non-number after an empty line", "\r\nhp1 1 x\r\n", false, cmd, out, FailureKind::TypeMismatch,
         [](const ScratchDir& d) { return "Type mismatch: " + d / "cmd.txt" + ", line 2, word \"x\""; },
         "\r\nhp1 1 x\r\n"},
        {"outline beyond the double range names the output", "hp1 1.7e308 0\rhs 1e305 \rlg0\r", false, cmd, out,
         FailureKind::FloatingPoint,
         [](const ScratchDir& d) {
             return "Floating-point failure: " + d / "out.txt" + ", point 1, from " + d / "cmd.txt"
                  + ", line 1 (base point), line 3 (scale)";
         },
         "hp1 1.7e308 0\r\nhs 1e305 \r\nlg0\r\n 1.7E+308  2.54E+307 \r\n"},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        if (!c.noCommand)
            writeBytes(dir / "cmd.txt", c.command);
        auto outline = outlineOf({{0, 0, 6}, {10, 0, 2}, {10, 10, 3}});
        try {
            writeJwExport(c.input(dir), c.output(dir), outline, 1440);
            ADD_FAILURE() << c.name << ": no failure";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.kind(), c.kind) << c.name;
            const std::string expected = c.what(dir);
            const std::string what = failure.what();
            if (expected.ends_with("("))
                EXPECT_TRUE(what.starts_with(expected) && what.ends_with(")")) << c.name << ": " << what;
            else
                EXPECT_EQ(what, expected) << c.name;
        }
        if (!c.noCommand) {
            EXPECT_EQ(readBytes(dir / "cmd.txt"), c.command) << c.name;
        }
        if (c.outputAfter) {
            EXPECT_EQ(readBytes(dir / "out.txt"), c.outputAfter) << c.name;
        } else {
            EXPECT_FALSE(std::filesystem::exists(dir / "out.txt")) << c.name;
        }
    }
}

TEST(JwExport, RefusesTheCommandFileReachedThroughAnotherSpelling)
{
    ScratchDir dir;
    writeBytes(dir / "Cmd.txt", "hp1 1 2\r\n");
    auto outline = outlineOf({});
    std::vector<std::string> spellings;
#ifdef _WIN32
    // Case and either slash name the same file on Windows.
    std::string lower = dir / "cmd.txt";
    std::string slashes = dir / "Cmd.txt";
    std::replace(slashes.begin(), slashes.end(), '\\', '/');
    spellings = {lower, slashes};
#endif
    spellings.push_back(dir.path().string() + "/./Cmd.txt");
    for (const std::string& spelling : spellings) {
        EXPECT_THROW(writeJwExport(dir / "Cmd.txt", spelling, outline, 15), Failure) << spelling;
        EXPECT_EQ(readBytes(dir / "Cmd.txt"), "hp1 1 2\r\n") << spelling;
    }
}

TEST(JwExport, RefusesTheCommandFileReachedThroughALink)
{
    ScratchDir dir;
    writeBytes(dir / "cmd.txt", "hp1 1 2\r\n");
    std::error_code error;
    std::filesystem::create_symlink(dir / "cmd.txt", dir / "link.txt", error);
    if (error)
        GTEST_SKIP() << "no symbolic links here: " << error.message();
    auto outline = outlineOf({});
    EXPECT_THROW(writeJwExport(dir / "cmd.txt", dir / "link.txt", outline, 15), Failure);
    EXPECT_EQ(readBytes(dir / "cmd.txt"), "hp1 1 2\r\n");
}

// The file holds every piece in order, whether it fits the room the output
// holds back, fills it exactly, crosses its end or is larger than all of it.
TEST(JwExport, AnOutputFileHoldsEveryPieceInOrder)
{
    constexpr std::size_t kHeld = 65536;
    const std::vector<std::vector<std::size_t>> cases = {
        {}, {0}, {1, 2, 3}, {kHeld}, {kHeld - 1, 1, 1}, {10, kHeld - 10, 0, 5},
        {kHeld - 3, 7, kHeld + 1, 2}, {3 * kHeld + 17}, {1, 3 * kHeld, 1},
    };
    for (const auto& pieces : cases) {
        ScratchDir dir;
        std::string expected;
        OutputFile output(dir / "out.bin");
        for (const std::size_t size : pieces) {
            std::string piece(size, '\0');
            for (std::size_t i = 0; i < size; ++i)
                piece[i] = char('a' + (expected.size() + i) % 23);
            output.stream() << piece;
            expected += piece;
        }
        output.stream().put('.');
        output.close();
        EXPECT_EQ(readBytes(dir / "out.bin"), expected + '.') << pieces.size() << " pieces";
    }
}

// Temporary files a killed export left more than a day ago go with the next
// export beside them; anything else, and a fresh one (an export at work),
// stays.
TEST(JwExport, StaleTemporaryFilesOfOursAreRemoved)
{
    namespace fs = std::filesystem;
    ScratchDir dir;
    writeBytes(dir / "cmd.txt", "hp1 1 2\r\n");
    const auto twoDaysAgo = fs::file_time_type::clock::now() - std::chrono::hours(48);
    // Names that differ in more than case: on Windows two such are one file.
    const struct {
        const char* name;
        bool old;
        bool stays;
    } files[] = {
        {".lw-0123456789ab.tmp", true, false}, {".lw-0123456789ab.tmp.keep", true, true},
        {".lw-fedcba987654.tmp", false, true}, {".lw-0123456789CD.tmp", true, true},
        {".lw-notours.tmp", true, true},       {"mine.tmp", true, true},
    };
    for (const auto& f : files) {
        writeBytes(dir / f.name, "partial");
        if (f.old)
            fs::last_write_time(dir.path() / f.name, twoDaysAgo);
    }
    writeJwExport(dir / "cmd.txt", dir / "out.txt", outlineOf({}), 15);
    for (const auto& f : files)
        EXPECT_EQ(fs::exists(dir.path() / f.name), f.stays) << f.name;
}

#ifndef _WIN32
// A full disk, as a file-size limit: the write fails before the output would
// take the old file's place, so the old file stays and nothing else is left.
TEST(JwExport, AWriteErrorLeavesTheOldOutputAsItWas)
{
    ScratchDir dir;
    std::string command;
    while (command.size() < 256 * 1024)
        command += "a line of the command file to copy\r\n";
    writeBytes(dir / "cmd.txt", command);
    writeBytes(dir / "out.txt", "the old output");
    auto outline = outlineOf({{0, 0, 6}, {10, 0, 2}, {10, 10, 3}});

    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    try {
        writeJwExport(dir / "cmd.txt", dir / "out.txt", outline, 15);
        ADD_FAILURE() << "a failed write reported success";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.kind(), FailureKind::PathFileAccess);
        EXPECT_TRUE(std::string(failure.what()).starts_with("Path/File access error: " + dir / "out.txt" + " ("))
            << failure.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(readBytes(dir / "out.txt"), "the old output");
    EXPECT_EQ(readBytes(dir / "cmd.txt"), command);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"cmd.txt", "out.txt"}));
}

// A link at the output path stays a link and the file it names gets the
// output; a hard link to the command file is the command file.
TEST(JwExport, LinksAtTheOutputPath)
{
    ScratchDir dir;
    writeBytes(dir / "cmd.txt", "hp1 1 2\r\n");
    writeBytes(dir / "real.txt", "old");
    std::filesystem::create_symlink(dir / "real.txt", dir / "link.txt");
    std::filesystem::create_hard_link(dir / "cmd.txt", dir / "hard.txt");
    auto outline = outlineOf({});

    writeJwExport(dir / "cmd.txt", dir / "link.txt", outline, 15);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.txt"));
    EXPECT_EQ(readBytes(dir / "real.txt"), "hp1 1 2\r\n");

    EXPECT_THROW(writeJwExport(dir / "cmd.txt", dir / "hard.txt", outline, 15), Failure);
    EXPECT_THROW(writeJwExport(dir / "cmd.txt", "/proc/self/fd/0", outline, 15), Failure);
    EXPECT_EQ(readBytes(dir / "cmd.txt"), "hp1 1 2\r\n");
}

// What the user had at the output stays: its mode, a link (even one that
// names no file yet), and a file refused whole when replacing it would be
// wrong; every name the file system allows can be written.
TEST(JwExport, ReplacingAnOutputKeepsWhatTheUserHad)
{
    namespace fs = std::filesystem;
    const std::string written = "hp1 1 2\r\n";
    const struct {
        const char* name;
        std::function<std::string(const ScratchDir&)> prepare; // returns the output path
        const char* refusal;                                    // nullptr: written
        std::function<void(const ScratchDir&)> check;
    } cases[] = {
        {"a private file stays private",
         [](const ScratchDir& d) {
             writeBytes(d / "out.txt", "old");
             ::chmod((d / "out.txt").c_str(), 0600);
             return d / "out.txt";
         },
         nullptr,
         [](const ScratchDir& d) {
             struct stat info {};
             ASSERT_EQ(::stat((d / "out.txt").c_str(), &info), 0);
             EXPECT_EQ(info.st_mode & 07777, 0600u);
         }},
        {"a link that names no file yet gets its file",
         [](const ScratchDir& d) {
             fs::create_directory(d / "sub");
             fs::create_symlink("sub/new.txt", d / "link.txt");
             return d / "link.txt";
         },
         nullptr,
         [&](const ScratchDir& d) {
             EXPECT_TRUE(fs::is_symlink(d / "link.txt"));
             EXPECT_EQ(readBytes(d / "sub/new.txt"), written);
         }},
        {"a loop of links", [](const ScratchDir& d) {
             fs::create_symlink("b.txt", d / "a.txt");
             fs::create_symlink("a.txt", d / "b.txt");
             return d / "a.txt";
         },
         " (a loop of links)",
         [](const ScratchDir& d) { EXPECT_TRUE(fs::is_symlink(d / "a.txt")); }},
        {"a read-only file",
         [](const ScratchDir& d) {
             writeBytes(d / "out.txt", "old");
             ::chmod((d / "out.txt").c_str(), 0444);
             return d / "out.txt";
         },
         " (read-only)", [](const ScratchDir& d) { EXPECT_EQ(readBytes(d / "out.txt"), "old"); }},
        {"a file with another hard link",
         [](const ScratchDir& d) {
             writeBytes(d / "out.txt", "old");
             fs::create_hard_link(d / "out.txt", d / "other.txt");
             return d / "out.txt";
         },
         " (has other hard links",
         [](const ScratchDir& d) {
             EXPECT_EQ(readBytes(d / "out.txt"), "old");
             EXPECT_EQ(fs::hard_link_count(d / "out.txt"), 2u);
         }},
        {"a name of 255 bytes", [](const ScratchDir& d) { return d / std::string(255, 'n'); }, nullptr,
         [&](const ScratchDir& d) { EXPECT_EQ(readBytes(d / std::string(255, 'n')), written); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        writeBytes(dir / "cmd.txt", written);
        const std::string output = c.prepare(dir);
        if (c.refusal) {
            try {
                writeJwExport(dir / "cmd.txt", output, outlineOf({}), 15);
                ADD_FAILURE() << "not refused";
            } catch (const Failure& failure) {
                EXPECT_EQ(failure.kind(), FailureKind::PathFileAccess);
                EXPECT_NE(std::string(failure.what()).find(output + c.refusal), std::string::npos) << failure.what();
            }
        } else {
            writeJwExport(dir / "cmd.txt", output, outlineOf({}), 15);
        }
        c.check(dir);
        for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
            EXPECT_FALSE(entry.path().filename().string().starts_with(".lw-")) << entry.path();
    }
}

// Stopped while an output is being written, the process takes its partial
// file with it.
TEST(JwExport, AnInterruptedExportLeavesNoPartialFile)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ScratchDir dir;
        const pid_t child = fork();
        if (child == 0) {
            OutputFile output(dir / "out.txt");
            output.stream() << std::string(100000, 'x');
            output.stream().flush();
            ::raise(signal);
            _exit(0);
        }
        ASSERT_GT(child, 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "signal " << signal << " left a file";
    }
}
#endif
