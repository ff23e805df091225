// letterwire-cli, run as a script would run it.
#include "export/jw_command.hpp"
#include "export/wit.hpp"
#include "outline/capture.hpp"
#include "outline/outline_dump.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Result {
    int status = -1;
    std::string out; // stdout and stderr together when `merge`
};

std::string quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

Result run(const std::string& args, bool merge = false)
{
    std::string command = std::string(LETTERWIRE_CLI) + " " + args + (merge ? " 2>&1" : " 2>/dev/null");
    Result r;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        r.out.append(buffer.data(), n);
    int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// The points of the JSON capture, as the dump writes them.
std::string dumpFromJson(const std::string& json)
{
    auto points = json.substr(json.find("\"points\": [") + 11);
    auto types = json.substr(json.find("\"types\": [") + 10);
    std::string dump;
    std::size_t pi = 0, ti = 0;
    while (true) {
        std::size_t open = points.find('[', pi);
        if (open == std::string::npos || open > points.find("]]", pi) + 1)
            break;
        int x = 0, y = 0, t = 0;
        std::sscanf(points.c_str() + open, "[%d, %d]", &x, &y);
        std::sscanf(types.c_str() + ti, "%d", &t);
        ti = types.find_first_of(",]", ti) + 1;
        pi = points.find(']', open) + 1;
        if (!dump.empty())
            dump += ' ';
        dump += (t == 6 ? "M " : "L ") + std::to_string(x) + "," + std::to_string(y) + (t & 1 ? " Z" : "");
    }
    return dump;
}

} // namespace

TEST(CliCapture, PrintsTheKeysInOrderAndTheSameOutlineAsTheCore)
{
    Result r = run("capture --text " + quote("編集O") + " --size 36 --angle 30 --centre");
    ASSERT_EQ(r.status, 0) << r.out;
    const char* keys[] = {"\"text\"", "\"face\"", "\"family\"", "\"file\"", "\"size\"", "\"angle\"",
                          "\"height\"", "\"alCent\"", "\"pointCount\"", "\"points\"", "\"types\""};
    std::size_t at = 0;
    for (const char* key : keys) {
        std::size_t found = r.out.find(key, at);
        ASSERT_NE(found, std::string::npos) << key;
        at = found;
    }
    EXPECT_NE(r.out.find("\"family\": \"IPAPGothic\""), std::string::npos);
    EXPECT_NE(r.out.find("\"height\": 48, \"alCent\": 1"), std::string::npos);

    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    lw::CapturedOutline outline;
    lw::WindowFont font;
    font.size = 36;
    std::int32_t alCent = 1;
    lw::drawFlattenPath(alCent, {"編集O", font, 30, 461, 301, 15}, dc, outline);
    EXPECT_EQ(dumpFromJson(r.out), lw::dumpOutline(outline));
}

TEST(CliCapture, UnknownFaceStillGivesAnOutlineAndNamesTheFamilyUsed)
{
    Result r = run("capture --font " + quote("Nonexistent Face") + " --text ABC");
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("\"face\": \"Nonexistent Face\""), std::string::npos);
    EXPECT_EQ(r.out.find("\"family\": \"\""), std::string::npos);
    EXPECT_EQ(r.out.find("\"pointCount\": 0,"), std::string::npos);
}

TEST(CliUsage, ErrorsExitTwoWithOneLine)
{
    const char* cases[] = {"", "capture --size", "capture --size abc", "capture --angle 1.5",
                           "capture --bogus", "frobnicate", "capture extra", "capture --dpi 0"};
    for (const char* args : cases) {
        Result r = run(args, true);
        EXPECT_EQ(r.status, 2) << args;
        ASSERT_FALSE(r.out.empty()) << args;
        EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << args << ": " << r.out;
    }
}

TEST(CliUsage, HelpExplainsEveryOption)
{
    Result r = run("--help");
    EXPECT_EQ(r.status, 0);
    for (const char* option : {"--text", "--font", "--size", "--angle", "--italic", "--underline",
                               "--strikeout", "--centre", "--dpi"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

namespace {

// A scratch folder that goes away with the test.
struct ScratchDir {
    std::string path;
    ScratchDir()
    {
        char pattern[] = "/tmp/letterwire-cli-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~ScratchDir() { std::filesystem::remove_all(path); }
    operator const std::string&() const { return path; }
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

lw::CapturedOutline coreCapture(const char* text, std::int32_t alCent)
{
    static lw::NullCanvas canvas;
    static lw::DeviceContext dc(canvas);
    lw::CapturedOutline outline;
    lw::WindowFont font;
    lw::drawFlattenPath(alCent, {text, font, 0, 461, 301, 15}, dc, outline);
    return outline;
}

} // namespace

TEST(CliJw, WritesTheSameBytesAsTheCoreExportForTheSameInputs)
{
    ScratchDir scratch;
    const std::string& dir = scratch;
    std::string command = "hq\r\nhp1 100 50\r\nhs 1 2 \r\nlg1\r\n\x95\xd2\x8f\x57 text\r\n";
    writeFile(dir + "/cmd.txt", command);
    Result r = run("jw " + dir + "/cmd.txt " + dir + "/out.txt --text " + quote("編集O"));
    ASSERT_EQ(r.status, 0) << r.out;

    lw::CapturedOutline outline = coreCapture("編集O", 0);
    writeFile(dir + "/cmd2.txt", command);
    lw::writeJwExport(dir + "/cmd2.txt", dir + "/expected.txt", outline, 15);
    EXPECT_EQ(readFile(dir + "/out.txt"), readFile(dir + "/expected.txt"));
    EXPECT_EQ(readFile(dir + "/cmd.txt"), command); // never changed
    EXPECT_EQ(readFile(dir + "/out.txt").rfind("hp1 100 50\r\nhs 1 2 \r\nlg1\r\n\x95\xd2\x8f\x57 text\r\n", 0), 0u);
}

TEST(CliJw, FailuresExitOneNamingTheFileAndLine)
{
    ScratchDir scratch;
    const std::string& dir = scratch;
    writeFile(dir + "/bad.txt", "hp1 1 2\r\nlg17\r\n");
    struct Case {
        std::string args;
        std::string expected;
    };
    const Case cases[] = {
        {"jw " + dir + "/missing.txt " + dir + "/o.txt", "File not found: " + dir + "/missing.txt"},
        {"jw " + dir + "/bad.txt " + dir + "/o.txt", "Subscript out of range: " + dir + "/bad.txt, line 2"},
        {"jw " + dir + "/bad.txt " + dir + "/no/such/o.txt", "Path not found"},
    };
    for (const auto& c : cases) {
        Result r = run(c.args, true);
        EXPECT_EQ(r.status, 1) << c.args;
        EXPECT_NE(r.out.find(c.expected), std::string::npos) << r.out;
    }
}

TEST(CliWit, WithoutConversionWritesTheCentredCaptureAsWit)
{
    ScratchDir scratch;
    const std::string& dir = scratch;
    Result r = run("wit " + dir + "/o.wit --no-convert --text O");
    ASSERT_EQ(r.status, 0) << r.out;
    std::string wit = readFile(dir + "/o.wit");
    std::ostringstream expected;
    lw::writeWit(expected, coreCapture("O", 1), 501, 494);
    EXPECT_EQ(wit, expected.str());
    EXPECT_EQ(wit.rfind("#  from DX to EX\r\nHEADER\r\nMiddle\r\n0.1\r\nMM\r\n0.0 501 0.0 494\r\n", 0), 0u);
}

TEST(CliWit, StartsTheConverterWithTheWorkFileAndTheOutputPath)
{
    ScratchDir scratch;
    const std::string& dir = scratch;
    writeFile(dir + "/mfin", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args\"\n");
    chmod((dir + "/mfin").c_str(), 0755);
    std::string out = dir + "/with blank.out";
    std::string saved = getenv("PATH");
    setenv("PATH", (dir + ":" + saved).c_str(), 1);
    Result r = run("wit " + quote(out) + " --text O", true);
    setenv("PATH", saved.c_str(), 1);
    ASSERT_EQ(r.status, 0) << r.out;
    for (int i = 0; i < 100 && readFile(dir + "/args").empty(); ++i)
        usleep(20000);
    std::string args = readFile(dir + "/args");
    std::string cliDir = std::string(LETTERWIRE_CLI).substr(0, std::string(LETTERWIRE_CLI).rfind('/'));
    EXPECT_EQ(args, cliDir + "/tmp.wmf\n" + out + "\n");
}

TEST(CliSvg, HasOneClosedSubpathPerFigureInOnePath)
{
    ScratchDir scratch;
    const std::string& dir = scratch;
    Result r = run("svg " + dir + "/o.svg --text " + quote("O編"));
    ASSERT_EQ(r.status, 0) << r.out;
    std::string svg = readFile(dir + "/o.svg");
    lw::CapturedOutline outline = coreCapture("O編", 0);
    int figures = 0;
    for (int i = 0; i < outline.pointCount; ++i)
        figures += outline.pathTypes[std::size_t(i)] & 1;
    int paths = 0, closes = 0;
    for (std::size_t at = 0; (at = svg.find("<path ", at)) != std::string::npos; ++at)
        ++paths;
    for (std::size_t at = 0; (at = svg.find(" Z", at)) != std::string::npos; ++at)
        ++closes;
    EXPECT_EQ(paths, 1);
    EXPECT_EQ(closes, figures);
    EXPECT_NE(svg.find("fill-rule=\"nonzero\""), std::string::npos);
}
