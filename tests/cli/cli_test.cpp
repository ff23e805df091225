// letterwire-cli, run as a script would run it.
#include "export/jw_command.hpp"
#include "export/wit.hpp"
#include "outline/capture.hpp"
#include "outline/outline_dump.hpp"

#include "shell_run.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

extern char** environ;

namespace {

using Result = lw::test::ShellResult; // stdout, and stderr too where the command joins it
using lw::test::runShell;

std::string quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

Result run(const std::string& args, bool merge = false)
{
    return runShell(std::string(LETTERWIRE_CLI) + " " + args + (merge ? " 2>&1" : " 2>/dev/null"));
}

// Letters of many curves: their outline grows with the size and resolution,
// where straight strokes stay a few points each.
std::string curved(int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += "Sog8";
    return out;
}

// Standard error alone.
Result runForErrors(const std::string& args)
{
    return runShell(std::string(LETTERWIRE_CLI) + " " + args + " 2>&1 >/dev/null");
}

// The points of the JSON capture, as the dump writes them.
std::string dumpFromJson(const std::string& json)
{
    auto points = json.substr(json.find("\"points\": [") + 11);
    points = points.substr(0, points.find("\"types\""));
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
    lw::drawFlattenPath(lw::placementFor(alCent), {"編集O", font, 30, 461, 301, 15}, dc, outline);
    EXPECT_EQ(dumpFromJson(r.out), lw::dumpOutline(outline));
}

TEST(CliCapture, TheTextStyleIsRecordedAndDrawnAsTheCoreDrawsIt)
{
    struct Case {
        std::string args;
        std::string recorded;
        lw::TextStyle style;
    };
    // 0.5 mm is 1.4173... pt; a percent sign is allowed.
    const Case cases[] = {
        {"", R"("spacing": 0, "width": 100, "bold": false)", {}},
        {"--spacing 1.5 --width 80 --bold", R"("spacing": 1.5, "width": 80, "bold": true)",
         {.spacing = 1.5, .widthPercent = 80, .bold = true}},
        {"--spacing 0.5mm --width 150%", R"("spacing": 1.4173228346456694, "width": 150, "bold": false)",
         {.spacing = 0.5 * 72 / 25.4, .widthPercent = 150}},
        {"--spacing -2", R"("spacing": -2, "width": 100, "bold": false)", {.spacing = -2}},
    };
    for (const Case& c : cases) {
        Result r = run("capture --text " + quote("編集O") + " " + c.args);
        ASSERT_EQ(r.status, 0) << c.args << ": " << r.out;
        EXPECT_NE(r.out.find(R"("angle": 0, )" + c.recorded + R"(, "height")"), std::string::npos) << r.out.substr(0, 300);
        lw::NullCanvas canvas;
        lw::DeviceContext dc(canvas);
        lw::CapturedOutline outline;
        lw::WindowFont font;
        lw::drawFlattenPath(lw::Placement::Origin, {.text = "編集O", .font = font, .style = c.style}, dc, outline);
        EXPECT_EQ(dumpFromJson(r.out), lw::dumpOutline(outline)) << c.args;
    }
}

TEST(CliCapture, BoldNamesTheBoldFaceWhereTheFamilyHasOne)
{
    Result regular = run("capture --text Hi --font " + quote("DejaVu Sans"));
    Result bold = run("capture --text Hi --bold --font " + quote("DejaVu Sans"));
    ASSERT_EQ(bold.status, 0) << bold.out;
    EXPECT_NE(regular.out.find("DejaVuSans.ttf\""), std::string::npos) << regular.out.substr(0, 200);
    EXPECT_NE(bold.out.find("DejaVuSans-Bold.ttf\""), std::string::npos) << bold.out.substr(0, 200);
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
    struct Case {
        std::string args;
        std::string says; // part of the message
    };
    const Case cases[] = {
        {"", "no command"}, {"capture --size", "needs a value"}, {"capture --size abc", "not a number"},
        {"capture --angle 1.5", "whole number"}, {"capture --bogus", "unknown option"},
        {"frobnicate", "unknown command frobnicate; see --help"}, {"capture extra", "usage"},
        // A near miss names what was meant: a swap, a missing or an extra letter.
        {"dfx o.dxf", "unknown command dfx; did you mean dxf?"},
        {"captur", "did you mean capture?"}, {"help svgg", "no command svgg (capture, jw, wit, svg, dxf, pdf, hpgl, check or batch); did you mean svg?"},
        {"capture --sise 3", "unknown option --sise; did you mean --size?"},
        {"capture --centr", "did you mean --centre?"}, {"capture --x", "unknown option --x"},
        {"dxf o.dxf --ofset 1", "did you mean --offset?"},
        {"capture --units cm", "--units must be mm (or px, the default)"},
        // Ranges are stated; a size drawn as no pixel is not drawn as the default.
        {"capture --dpi 0", "from 10 to 10000"}, {"capture --dpi 1e-7", "from 10 to 10000"},
        {"capture --dpi 1e9", "from 10 to 10000"},
        {"capture --angle 1e12", "from -214748364 to 214748364 degrees"},
        {"capture --size 0.01", "less than half a pixel high at 96 dpi"},
        {"wit ''", "empty"}, {"svg ''", "empty"},
        {"wit -", "wit: the converter writes OUTPUT, so it must be a file, not \"-\""},
        // 100,000 characters at the largest size and a high resolution.
        {"capture --size 16384 --dpi 10000 --text " + std::string(100000, 'W'), "limit of 10000000"},
        // A precision says its range; one too fine for the text says so too.
        {"dxf o.dxf --precision 0", "from 0.001 to 1000"}, {"dxf o.dxf --precision -1", "from 0.001 to 1000"},
        {"dxf o.dxf --precision abc", "from 0.001 to 1000"},
        {"dxf o.dxf --precision 0.001 --size 144 --text " + curved(2000), "10000000"},
        {"svg o.svg --precision 0.1 --dpi 300", "give one"}, {"wit o.wit --precision 0.1", "does not apply"},
        {"capture --units mm --centre", "does not apply"}, {"dxf o.dxf --centre", "does not apply"},
        {"help frobnicate", "no command frobnicate"},
        // Cut-ready geometry is the drawings' alone.
        {"capture --offset 1", "svg, dxf, pdf and hpgl only"}, {"wit o.wit --no-merge", "svg, dxf, pdf and hpgl only"},
        {"dxf o.dxf --offset abc", "not a number"}, {"svg o.svg --offset 100.5", "from -100 to 100 mm"},
        {"dxf o.dxf --offset", "needs a value"},
        // Millimetres are the offset's and the grid's only unit.
        {"dxf o.dxf --offset 0.1pt", "not a number of millimetres"}, {"dxf o.dxf --precision 1pt", "from 0.001"},
        {"dxf o.dxf --offset mm", "not a number of millimetres"},
        // The list's encoding is the batch's alone, and one of two.
        {"batch l.csv --encoding latin1", "--encoding must be utf-8 or cp932"},
        {"dxf o.dxf --encoding cp932", "--encoding applies to batch only"},
        // The text is one line; where the break stands is said in characters.
        {"capture --text \"$(printf 'A\\nB')\"", "--text: a line feed at character 2; the text is one line"},
        {"dxf o.dxf --text \"出口$(printf '\\r')\"", "--text: a carriage return at character 3;"},
        {"capture --text \"a$(printf '\\tb')\"", "--text: a tab at character 2;"},
        {"capture --text \"$(printf 'x\\033')\"", "--text: control character 0x1B at character 2;"},
        // The text style: units and ranges said, near misses named.
        {"capture --spacing", "needs a value"}, {"capture --spacing 2px", "not a length"},
        {"capture --spacing mm", "not a length"}, {"capture --spacing 1001", "from -1000 to 1000 points"},
        {"capture --spacing 400mm", "from -1000 to 1000 points"},
        {"capture --width 9", "from 10 to 400"}, {"capture --width 401%", "from 10 to 400"},
        {"capture --width 80.5", "not a whole number"}, {"capture --width", "needs a value"},
        {"capture --spaceing 1", "did you mean --spacing?"}, {"capture --widht 80", "did you mean --width?"},
        {"capture --bodl", "did you mean --bold?"},
        // A line whose spacing would carry it beyond the device's coordinates.
        {"dxf o.dxf --precision 0.001 --spacing 1000 --text " + std::string(3000, 'i'), "pixels long"},
        {"capture --size 16384 --dpi 10000 --width 400 --text " + std::string(100, 'i'), "pixels long"},
    };
    for (const Case& c : cases) {
        Result r = run(c.args, true);
        const std::string shown = c.args.substr(0, 60);
        EXPECT_EQ(r.status, 2) << shown;
        ASSERT_FALSE(r.out.empty()) << shown;
        EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << shown << ": " << r.out;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << shown << ": " << r.out;
    }
}

// A length written with its unit draws what the same length in the option's
// own unit draws; the conversion to points is done here by hand.
TEST(CliUsage, LengthsTakeMillimetresAndPointsWhereTheyAreTheUnit)
{
    const auto points = [](double mm) {
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", mm * 72 / 25.4);
        return std::string(text);
    };
    const std::pair<std::string, std::string> same[] = {
        {"--offset 0.1mm", "--offset 0.1"},       {"--offset -0.05MM", "--offset -0.05"},
        {"--precision 0.05mm", "--precision 0.05"}, {"--spacing 1.5pt", "--spacing 1.5"},
        {"--spacing 3.6mm", "--spacing " + points(3.6)}, {"--spacing -1mm", "--spacing " + points(-1)},
        {"--offset ' 0.2 mm'", "--offset 0.2"},
    };
    const std::string base = "svg - --text Ag --size 36 ";
    const Result plain = run(base);
    ASSERT_EQ(plain.status, 0);
    for (const auto& [withUnit, inOwnUnit] : same) {
        const Result a = run(base + withUnit, true);
        const Result b = run(base + inOwnUnit, true);
        EXPECT_EQ(a.status, 0) << withUnit << ": " << a.out.substr(0, 200);
        EXPECT_EQ(a.out, b.out) << withUnit << " draws otherwise than " << inOwnUnit;
        EXPECT_NE(a.out, plain.out) << withUnit << " changed nothing";
    }
}

TEST(CliUsage, PrecisionRefusalsNameTheRangeAndTheFinestStep)
{
    const std::pair<std::string, std::string> cases[] = {
        {"dxf o.dxf --precision 1000.5",
         "--precision: must be from 0.001 to 1000 mm (the largest grid step at 1:1), or classic (0.26 mm, the "
         "screen pixel at 96 dpi)"},
        // The finest step depends on the platform's flattening: three digits
        // a little above the step asked for.
        {"dxf o.dxf --precision 0.001 --size 144 --text " + curved(2000),
         "--precision: 0\\.001 would make the outline of this text above 10000000 points \\(an estimate from the "
         "font's glyphs\\); for this text and size it must be from 0\\.00[1-9]\\d?\\d? to 1000 mm"},
        {"dxf o.dxf --precision 1 --size 16384 --text " + curved(5000),
         "--precision: this text at this size is above 10000000 points at any precision (an estimate from the "
         "font's glyphs); use a shorter text or a smaller size"},
    };
    for (const auto& [args, says] : cases) {
        Result r = run(args, true);
        EXPECT_EQ(r.status, 2) << args.substr(0, 60);
        if (says.find("\\.") == std::string::npos)
            EXPECT_EQ(r.out, "letterwire-cli: " + says + "\n");
        else
            EXPECT_TRUE(std::regex_match(r.out, std::regex("letterwire-cli: " + says + "\n"))) << r.out;
    }
}

TEST(CliUsage, HelpExplainsEveryOption)
{
    Result r = run("--help");
    EXPECT_EQ(r.status, 0);
    for (const char* option : {"--text", "--font", "--size", "--angle", "--italic", "--underline",
                               "--strikeout", "--centre", "--dpi", "--no-merge", "--offset", "--spacing",
                               "--width", "--bold", "--stroke-font", "--pen-width", "--allow-missing"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

TEST(CliConventions, HelpVersionAndWarnings)
{
    // Each command's own help, either way round; the version.
    for (const char* command : {"capture", "jw", "wit", "svg", "dxf"}) {
        Result a = run(std::string("help ") + command), b = run(std::string(command) + " --help");
        EXPECT_EQ(a.status, 0) << command;
        EXPECT_EQ(a.out, b.out) << command;
        EXPECT_EQ(a.out.rfind(std::string("Usage: letterwire-cli ") + command + " ", 0), 0u) << a.out;
    }
    Result version = run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("letterwire-cli ", 0), 0u);
    EXPECT_EQ(version.out.find('\n'), version.out.size() - 1);

    // One warning line on standard error, the status unchanged; none for the
    // designed face, which the IPA font stands in for on purpose.
    struct Case {
        const char* args;
        const char* warning; // nullptr: no warning
    };
    const Case cases[] = {
        {"capture", nullptr},
        {"capture --font 'DejaVu Sans' --text 'Room 12'", nullptr},
        // A face that is there but lacks the kanji: named with the face
        // that drew them, on every platform.
        {"capture --font 'DejaVu Sans'", "warning: \"DejaVu Sans\" has no Japanese characters; they are drawn in "},
        {"capture --text ''", "warning: the text is empty"},
        {"capture --font 'No Such Face 123'", "warning: no face \"No Such Face 123\"; the outline is drawn in "},
        // "@" asks for vertical writing in the same face, not for another face.
        {"capture --font '@ＭＳ ゴシック'", nullptr},
        {"capture --font '@No Such Face 123'", "warning: no face \"@No Such Face 123\"; the outline is drawn in "},
    };
    for (const Case& c : cases) {
        Result r = runForErrors(c.args);
        EXPECT_EQ(r.status, 0) << c.args;
        if (c.warning) {
            EXPECT_NE(r.out.find(c.warning), std::string::npos) << c.args << ": " << r.out;
            EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << c.args << ": " << r.out;
        } else {
            EXPECT_EQ(r.out, "") << c.args;
        }
    }
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
    lw::drawFlattenPath(lw::placementFor(alCent), {text, font, 0, 461, 301, 15}, dc, outline);
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
    lw::StringSink expected;
    lw::writeWit(expected, coreCapture("O", 1), 501, 494);
    EXPECT_EQ(wit, expected.text());
    EXPECT_EQ(wit.rfind("#  from DX to EX\r\nHEADER\r\nMiddle\r\n0.1\r\nMM\r\n0.0 501 0.0 494\r\n", 0), 0u);
}

TEST(CliWit, StartsTheConverterWithAWorkFileThatGoesWhenItHasEnded)
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
    const std::string cliDir = std::filesystem::path(LETTERWIRE_CLI).parent_path().string();
    const std::string workFile = args.substr(0, args.find('\n'));
    const std::string workName = std::filesystem::path(workFile).filename().string();
    EXPECT_EQ(std::filesystem::path(workFile).parent_path().string(), cliDir);
    EXPECT_TRUE(workName.starts_with("tmp") && workName.ends_with(".wmf")) << workName;
    EXPECT_EQ(args.substr(args.find('\n') + 1), out + "\n");
    for (int i = 0; i < 250 && std::filesystem::exists(workFile); ++i)
        usleep(20000);
    EXPECT_FALSE(std::filesystem::exists(workFile)) << "a work file was left in the build tree";
}

TEST(CliOutput, DashIsStandardOutputWithTheFilesBytes)
{
    ScratchDir scratch;
    const std::string& dir = scratch;
    writeFile(dir + "/cmd.txt", "hp1 100 50\r\nhs 1 2 \r\nlg1\r\n");
    struct Case {
        std::string toFile, toDash;
    };
    const Case cases[] = {
        {"jw " + dir + "/cmd.txt " + dir + "/f", "jw " + dir + "/cmd.txt -"},
        {"svg " + dir + "/f --text O", "svg - --text O"},
        {"dxf " + dir + "/f --text O --precision 0.1", "dxf - --text O --precision 0.1"},
        {"wit " + dir + "/f --no-convert --text O", "wit - --no-convert --text O"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(run(c.toFile).status, 0) << c.toFile;
        Result r = run(c.toDash);
        EXPECT_EQ(r.status, 0) << c.toDash;
        EXPECT_FALSE(r.out.empty()) << c.toDash;
        EXPECT_EQ(r.out, readFile(dir + "/f")) << c.toDash;
    }
}

// "jw CMD - >> CMD" would append the export to the file it copies.
TEST(CliOutput, DashRefusesAStandardOutputThatIsTheCommandFile)
{
    ScratchDir scratch;
    const std::string cmd = std::string(scratch) + "/cmd.txt";
    const std::string bytes = "hp1 100 50\r\nhs 1 2 \r\nlg1\r\n";
    for (const char* redirect : {">>", ">"}) {
        writeFile(cmd, bytes);
        // Standard error to the pipe first, then standard output to the file.
        Result r = runShell(std::string(LETTERWIRE_CLI) + " jw " + cmd + " - 2>&1 " + redirect + " " + cmd);
        EXPECT_EQ(r.status, 1) << redirect;
        EXPECT_NE(r.out.find("standard output is the command file"), std::string::npos) << r.out;
        if (std::string(redirect) == ">>")
            EXPECT_EQ(readFile(cmd), bytes) << "the command file changed";
        // ">" empties it before the program starts; the program must not then write into it.
        else
            EXPECT_EQ(readFile(cmd), "") << "something was written into the command file";
    }
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

namespace {

// letterwire-cli started without a shell, its standard output as `stdoutSetup`
// leaves it: "closed", "full" (/dev/full) or a file path; stderr is returned.
Result spawnCli(const std::vector<std::string>& args, const std::string& stdoutSetup)
{
    std::vector<std::string> all = {LETTERWIRE_CLI};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int err[2];
    if (pipe(err) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutSetup == "closed")
        posix_spawn_file_actions_addclose(&actions, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, stdoutSetup == "full" ? "/dev/full" : stdoutSetup.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    pid_t pid;
    Result r;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        close(err[1]);
        char buffer[4096];
        ssize_t n;
        while ((n = read(err[0], buffer, sizeof buffer)) > 0)
            r.out.append(buffer, std::size_t(n));
        int status = 0;
        waitpid(pid, &status, 0);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    } else {
        close(err[1]);
    }
    close(err[0]);
    posix_spawn_file_actions_destroy(&actions);
    return r;
}

// Parsed by a real JSON parser, which also refuses bytes that are not UTF-8.
bool isJson(const std::string& path)
{
    const std::string command = "/usr/bin/python3 -c 'import json,sys; json.load(open(sys.argv[1], encoding=\"utf-8\"))' " + quote(path);
    return std::system(command.c_str()) == 0;
}

std::string jsonValue(const std::string& json, const std::string& key)
{
    std::size_t at = json.find("\"" + key + "\": ");
    if (at == std::string::npos)
        return {};
    at += key.size() + 4;
    return json.substr(at, json.find(", \"", at) - at);
}

} // namespace

TEST(CliOutput, StandardOutputThatIsLostIsAFailure)
{
    const std::vector<std::string> capture = {"capture", "--text", "O"};
    const std::vector<std::string> help = {"--help"};
    struct Case {
        const std::vector<std::string>& args;
        std::string stdoutSetup;
    };
    const Case cases[] = {{capture, "full"}, {capture, "closed"}, {help, "full"}, {help, "closed"}};
    for (const Case& c : cases) {
        Result r = spawnCli(c.args, c.stdoutSetup);
        EXPECT_EQ(r.status, 1) << c.args[0] << " > " << c.stdoutSetup;
        EXPECT_NE(r.out.find("standard output could not be written"), std::string::npos) << r.out;
    }
    // A command that writes nothing there does not care.
    ScratchDir scratch;
    Result r = spawnCli({"svg", scratch.path + "/o.svg"}, "closed");
    EXPECT_EQ(r.status, 0) << r.out;
}

TEST(CliCapture, JsonIsValidWhateverTheBytesOfTextAndFace)
{
    ScratchDir scratch;
    const std::string json = scratch.path + "/capture.json";
    const char* bytes[] = {"\xff\xfe" "A", "\xc3", "\xed\xa0\x80", "a\x01\x7f\"\\", "\xe7\xb9"};
    for (const char* b : bytes) {
        // Control characters reach the JSON through the face name; the text
        // refuses them.
        std::string text = b;
        std::erase_if(text, [](unsigned char c) { return c < 0x20 || c == 0x7F; });
        Result r = spawnCli({"capture", "--text", text, "--font", b}, json);
        ASSERT_EQ(r.status, 0) << r.out;
        EXPECT_TRUE(isJson(json)) << readFile(json).substr(0, 120);
    }
}

TEST(CliCapture, NamesTheFaceThatDrewThePointsForALongFaceName)
{
    // The font description holds 32 characters: the rest of the name is
    // never seen by the platform, so it must not decide the face reported.
    const std::string longName = "IPAMincho" + std::string(23, ' ') + "DejaVu Sans";
    Result cut = run("capture --text O --font " + quote(longName.substr(0, 32)));
    Result whole = run("capture --text O --font " + quote(longName));
    ASSERT_EQ(whole.status, 0);
    EXPECT_EQ(jsonValue(whole.out, "family"), jsonValue(cut.out, "family"));
    EXPECT_EQ(jsonValue(whole.out, "file"), jsonValue(cut.out, "file"));
    EXPECT_EQ(dumpFromJson(whole.out), dumpFromJson(cut.out));
    EXPECT_EQ(jsonValue(whole.out, "family"), "\"IPAMincho\"");
}

TEST(CliCapture, AFaceNameNeverLoadsAFileItNames)
{
    ScratchDir scratch;
    const std::string planted = scratch.path + "/planted.ttf";
    std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf", planted);
    for (const std::string& name : {planted, ":file=" + planted, "x:file=" + planted, "DejaVu Serif:file=" + planted}) {
        Result r = run("capture --text O --font " + quote(name));
        ASSERT_EQ(r.status, 0) << name;
        EXPECT_EQ(jsonValue(r.out, "file").find(scratch.path), std::string::npos) << name;
    }
}

TEST(CliConcurrency, RunsWritingOneOutputLeaveOneWholeResult)
{
    ScratchDir scratch;
    const std::string& dir = scratch;
    // A long command file, so that the runs' writes overlap.
    std::string command = "hp1 100 50\r\nhs 1 2 \r\nlg1\r\n";
    while (command.size() < 400 * 1024)
        command += "a line of the host's drawing to be copied\r\n";
    writeFile(dir + "/cmd.txt", command);
    const char* texts[] = {"O", "編集テキスト", "W", "ABC", "図", "iii"};
    std::vector<std::string> expected;
    for (const char* text : texts) {
        lw::writeJwExport(dir + "/cmd.txt", dir + "/expected.txt", coreCapture(text, 0), 15);
        expected.push_back(readFile(dir + "/expected.txt"));
    }
    for (int round = 0; round < 4; ++round) {
        std::vector<pid_t> children;
        for (const char* text : texts) {
            std::vector<std::string> all = {LETTERWIRE_CLI, "jw", dir + "/cmd.txt", dir + "/out.txt", "--text", text};
            std::vector<char*> argv;
            for (auto& a : all)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            pid_t pid;
            ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
            children.push_back(pid);
        }
        for (pid_t pid : children) {
            int status = 0;
            waitpid(pid, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const std::string out = readFile(dir + "/out.txt");
        EXPECT_NE(std::find(expected.begin(), expected.end(), out), expected.end())
            << "round " << round << ": the output is no run's whole result (" << out.size() << " bytes)";
        EXPECT_EQ(readFile(dir + "/cmd.txt"), command);
    }
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir))
        ++files;
    EXPECT_EQ(files, 3u) << "a temporary file was left beside the output";
}

TEST(CliConcurrency, ConcurrentWitExportsEachConvertTheirOwnOutline)
{
    ScratchDir scratch;
    const std::string& dir = scratch;
    // The converter takes its time, so later exports run while it works.
    writeFile(dir + "/mfin", "#!/bin/sh\nsleep 0.2\ncp \"$1\" \"$2\"\n");
    chmod((dir + "/mfin").c_str(), 0755);
    const std::string saved = getenv("PATH");
    setenv("PATH", (dir + ":" + saved).c_str(), 1);
    const char* texts[] = {"O", "編集", "W", "AB", "図形"};
    std::vector<pid_t> children;
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        std::vector<std::string> all = {LETTERWIRE_CLI, "wit", dir + "/" + std::to_string(i) + ".out", "--text", texts[i]};
        std::vector<char*> argv;
        for (auto& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid;
        ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
        children.push_back(pid);
    }
    setenv("PATH", saved.c_str(), 1);
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        const std::string out = dir + "/" + std::to_string(i) + ".out";
        for (int k = 0; k < 250 && readFile(out).empty(); ++k)
            usleep(20000);
        lw::StringSink expected;
        lw::writeWit(expected, coreCapture(texts[i], 1), 501, 494);
        EXPECT_EQ(readFile(out), expected.text()) << texts[i];
    }
}

TEST(CliDxf, AnOutlineBeyondTheMergesRangeIsAFailureThatSaysWhatToDo)
{
    ScratchDir scratch;
    const std::string& dir = scratch;
    // Sixty W at the largest size on the finest grid reach 3.4e8 device pixels.
    const std::string args = "dxf " + dir + "/o.dxf --size 16384 --precision 0.001 --font 'DejaVu Sans' --text " +
                             std::string(60, 'W');
    Result r = run(args, true);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("do not merge"), std::string::npos) << r.out;
    EXPECT_EQ(run(args + " --no-merge", true).status, 0);
}
