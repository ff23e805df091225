// The WIT file as whole text, and the export handing it to a stand-in
// converter that records the arguments it was given.
#include "export/converter.hpp"
#include "platform/process.hpp"
#include "export/wit.hpp"
#include "export_test_support.hpp"
#include "base/failure.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

using namespace lw;
using namespace lw::test;

namespace {

const std::string kHeader = "#  from DX to EX\r\nHEADER\r\nMiddle\r\n0.1\r\nMM\r\n0.0 501 0.0 494\r\nENDHEAD\r\nENTITIES\r\n";
const std::string kEnd = "ENDENTI\r\nEOF\r\n";

std::string wit(const CapturedOutline& outline, float width = 501, float height = 494)
{
    lw::StringSink out;
    writeWit(out, outline, width, height);
    return out.text();
}

// Puts a stand-in "mfin" first on PATH for the life of the object. It
// records its arguments, NUL-separated, and a copy of the work file.
class StandInConverter {
public:
    StandInConverter()
    {
        std::filesystem::create_directory(dir_ / "bin");
        const std::string script = dir_ / "bin/mfin";
        writeBytes(script, "#!/bin/sh\n"
                           "cp \"$1\" '" + dir_ / "copy.wmf" + "'\n"
                           "printf '%s\\0' \"$@\" > '" + dir_ / "args.tmp" + "'\n"
                           "mv '" + dir_ / "args.tmp" + "' '" + dir_ / "args" + "'\n");
        ::chmod(script.c_str(), 0755);
        const char* old = std::getenv("PATH");
        oldPath_ = old ? old : "";
        ::setenv("PATH", (dir_ / "bin" + ":" + oldPath_).c_str(), 1);
    }
    ~StandInConverter() { ::setenv("PATH", oldPath_.c_str(), 1); }

    // The arguments after the program name, once the stand-in has run.
    std::vector<std::string> arguments()
    {
        const std::string path = dir_ / "args";
        for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const std::string bytes = readBytes(path);
        std::filesystem::remove(path);
        std::vector<std::string> out;
        std::size_t start = 0;
        for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
            out.push_back(bytes.substr(start, end - start));
        return out;
    }
    std::string workFileCopy() { return readBytes(dir_ / "copy.wmf"); }
    const ScratchDir& dir() const { return dir_; }

private:
    ScratchDir dir_;
    std::string oldPath_;
};

} // namespace

TEST(Wit, LayoutOfWholeFiles)
{
    struct Case {
        const char* name;
        CapturedOutline outline;
        std::string entities;
    };
    const Case cases[] = {
        {"empty outline", outlineOf({}), ""},
        {"one figure, first point not repeated", outlineOf({{120, 4, 6}, {130, 4, 2}, {130, 14, 3}}),
         "POLYLINE2\r\n1 0\r\n 120  490 \r\n 130  490 \r\n 130  480 \r\n"},
        {"several figures in captured order, inner contour included",
         outlineOf({{0, 0, 6}, {9, 0, 2}, {9, 9, 3}, {3, 3, 6}, {4, 3, 2}, {4, 4, 3}, {20, 0, 6}, {21, 1, 3}}),
         "POLYLINE2\r\n1 0\r\n 0  494 \r\n 9  494 \r\n 9  485 \r\n"
         "POLYLINE2\r\n1 0\r\n 3  491 \r\n 4  491 \r\n 4  490 \r\n"
         "POLYLINE2\r\n1 0\r\n 20  494 \r\n 21  493 \r\n"},
        {"x < 0 and y beyond the client area", outlineOf({{-4, 500, 6}, {-12345, 600, 3}}),
         "POLYLINE2\r\n1 0\r\n-4 -6 \r\n-12345 -106 \r\n"},
        {"the close bit wins over other bits; other types add points", outlineOf({{0, 0, 6}, {1, 0, 7}, {2, 0, 4}, {3, 0, 2}}),
         "POLYLINE2\r\n1 0\r\n 0  494 \r\n 1  494 \r\n 2  494 \r\n 3  494 \r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wit(c.outline), kHeader + c.entities + kEnd) << c.name;
}

TEST(Wit, ExtentsLineAndMirrorUseTheClientArea)
{
    const std::string text = wit(outlineOf({{1, 2, 6}, {3, 4, 3}}), 640.5f, 480.25f);
    EXPECT_NE(text.find("\r\n0.0 640.5 0.0 480.25\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n 1  478.25 \r\n 3  476.25 \r\n"), std::string::npos);
}

TEST(Wit, ArraysShorterThanTheUpperIndexFail)
{
    auto outline = outlineOf({{1, 2, 6}});
    outline.pathPoints.clear();
    EXPECT_THROW(wit(outline), Failure);
}

// The work files of the export in `folder` that are still there.
std::vector<std::string> workFilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find("tmp") != std::string::npos && name.ends_with(".wmf"))
            names.push_back(name);
    }
    return names;
}

// True once `folder` holds no work file, within 5 s.
bool workFilesGone(const std::string& folder)
{
    for (int i = 0; i < 500 && !workFilesIn(folder).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return workFilesIn(folder).empty();
}

TEST(WitOut, WritesAWorkFileOfItsOwnAndHandsItToTheConverterWhole)
{
    StandInConverter mfin;
    struct Case {
        const char* name;
        std::string programDir;
        std::string outputPath;
    };
    const Case cases[] = {
        {"paths with blanks arrive whole", "prog dir", mfin.dir() / "out dir/a b.jww"},
        {"an empty output path is an empty argument", "prog", ""},
        {"shell characters mean nothing", "p'$x;`y`", mfin.dir() / "o\"ut*.jww"},
    };
    auto outline = outlineOf({{0, 0, 6}, {9, 0, 2}, {9, 9, 3}, {3, 3, 6}});
    for (const auto& c : cases) {
        const std::string programDir = mfin.dir() / c.programDir;
        std::filesystem::create_directories(programDir);
        WitOut(outline, 501, 494, programDir, c.outputPath);
        const std::vector<std::string> arguments = mfin.arguments();
        ASSERT_EQ(arguments.size(), 2u) << c.name;
        const std::string workName = arguments[0].substr(programDir.size() + 1);
        EXPECT_EQ(arguments[0].substr(0, programDir.size() + 1), programDir + "/") << c.name;
        EXPECT_TRUE(workName.starts_with("tmp") && workName.ends_with(".wmf")) << workName;
        EXPECT_EQ(arguments[1], c.outputPath) << c.name;
        EXPECT_EQ(mfin.workFileCopy(), wit(outline)) << c.name;
        EXPECT_TRUE(workFilesGone(programDir)) << c.name << ": the work file outlived its converter";
    }
    // The converter is no child of ours: nothing is left to reap.
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

// Two exports one after the other while the first converter still works:
// each converter reads its own export's outline. A link planted where the
// work file used to be is never written through.
TEST(WitOut, EachConverterReadsItsOwnExport)
{
    ScratchDir dir;
    std::filesystem::create_directory(dir / "bin");
    writeBytes(dir / "bin/mfin", "#!/bin/sh\nsleep 0.3\ncp \"$1\" \"$2\"\n");
    ::chmod((dir / "bin/mfin").c_str(), 0755);
    writeBytes(dir / "victim", "not to be written");
    std::filesystem::create_symlink(dir / "victim", dir / "tmp.wmf");
    const std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (dir / "bin:" + saved).c_str(), 1);

    auto first = outlineOf({{0, 0, 6}, {9, 0, 2}, {9, 9, 3}});
    auto second = outlineOf({{5, 5, 6}, {7, 5, 3}});
    WitOut(first, 501, 494, dir.path().string(), dir / "first.out");
    WitOut(second, 501, 494, dir.path().string(), dir / "second.out");
    ::setenv("PATH", saved.c_str(), 1);

    // A converter's copy exists before it is whole: wait for the bytes.
    const auto bothWhole = [&] {
        return readBytes(dir / "first.out") == wit(first) && readBytes(dir / "second.out") == wit(second);
    };
    for (int i = 0; i < 500 && !bothWhole(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::filesystem::remove(dir / "tmp.wmf");
    EXPECT_TRUE(workFilesGone(dir.path().string()));
    EXPECT_EQ(readBytes(dir / "first.out"), wit(first));
    EXPECT_EQ(readBytes(dir / "second.out"), wit(second));
    EXPECT_EQ(readBytes(dir / "victim"), "not to be written");
}

// A program folder that cannot be written (an installed program's) gives the
// work file to the user's own folder.
TEST(WitOut, AnUnwritableProgramFolderUsesTheUsersFolder)
{
    StandInConverter mfin;
    const char* old = std::getenv("XDG_CACHE_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_CACHE_HOME", (mfin.dir() / "cache").c_str(), 1);
    auto outline = outlineOf({{0, 0, 6}, {1, 1, 3}});
    // Not writable even for root.
    WitOut(outline, 501, 494, "/sys", "out.jww");
    old ? ::setenv("XDG_CACHE_HOME", saved.c_str(), 1) : ::unsetenv("XDG_CACHE_HOME");
    const std::vector<std::string> arguments = mfin.arguments();
    ASSERT_EQ(arguments.size(), 2u);
    EXPECT_TRUE(arguments[0].starts_with(mfin.dir() / "cache/letterwire/tmp")) << arguments[0];
    EXPECT_EQ(mfin.workFileCopy(), wit(outline));
    EXPECT_TRUE(workFilesGone(mfin.dir() / "cache/letterwire"));
}

TEST(WitOut, FailuresStopTheExportAndLeaveNoWorkFile)
{
    StandInConverter mfin;
    auto outline = outlineOf({{0, 0, 6}, {1, 1, 3}});
    try {
        WitOut(outline, 501, 494, mfin.dir() / "missing", "out.jww");
        ADD_FAILURE() << "no failure for a missing program directory";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.kind(), FailureKind::PathNotFound);
        EXPECT_EQ(std::string(failure.what()), "Path not found: " + mfin.dir() / "missing");
    }

    const char* path = std::getenv("PATH");
    const std::string saved = path ? path : "";
    ::setenv("PATH", (mfin.dir() / "nowhere").c_str(), 1);
    try {
        WitOut(outline, 501, 494, mfin.dir().path().string(), "out.jww");
        ADD_FAILURE() << "no failure without a converter on PATH";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.kind(), FailureKind::FileNotFound);
        EXPECT_STREQ(failure.what(), "File not found: mfin (the converter that turns the WIT work file into the "
                                     "output file; not found on PATH nor where the system looks for programs)");
    }
    ::setenv("PATH", saved.c_str(), 1);
    EXPECT_TRUE(workFilesIn(mfin.dir().path().string()).empty());
}

TEST(StartDetached, ReportsAProgramThatCannotStart)
{
    ScratchDir dir;
    const std::string notExecutable = dir / "plain";
    writeBytes(notExecutable, "#!/bin/sh\n");
    ::chmod(notExecutable.c_str(), 0644);
    // A folder named like the converter, first on PATH.
    std::filesystem::create_directories(dir / "bin/mfin");
    const std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (dir / "bin:" + saved).c_str(), 1);
    struct Case {
        std::vector<std::string> arguments;
        FailureKind kind;
        std::string what;
    };
    const Case cases[] = {
        {{"letterwire-no-such-program"}, FailureKind::FileNotFound, "File not found: letterwire-no-such-program"},
        {{dir / "missing"}, FailureKind::FileNotFound, "File not found: " + dir / "missing"},
        {{""}, FailureKind::FileNotFound, "File not found: (no program name)"},
        {{}, FailureKind::FileNotFound, "File not found: (no program name)"},
        {{notExecutable}, FailureKind::PathFileAccess, "Path/File access error: " + notExecutable + " (Permission denied)"},
        {{dir.path().string()}, FailureKind::PathFileAccess,
         "Path/File access error: " + dir.path().string() + " (" + dir.path().string() + " is a folder)"},
        {{"mfin"}, FailureKind::PathFileAccess, "Path/File access error: mfin (" + dir / "bin/mfin" + " is a folder)"},
    };
    for (const auto& c : cases) {
        try {
            startDetached(c.arguments);
            ADD_FAILURE() << (c.arguments.empty() ? "(none)" : c.arguments[0]) << ": started";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.kind(), c.kind) << failure.what();
            EXPECT_EQ(failure.what(), c.what);
        }
    }
    ::setenv("PATH", saved.c_str(), 1);
}
