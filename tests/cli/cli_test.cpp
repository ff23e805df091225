// letterwire-cli, run as a script would run it.
#include "outline/capture.hpp"
#include "outline/outline_dump.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

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
