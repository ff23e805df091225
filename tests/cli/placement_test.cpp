// letterwire-cli dxf --anchor / --mirror: the drawing moved and mirrored as
// a whole, by the text's box, read back from the DXF's vertices.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

struct Vertex {
    double x = 0, y = 0;
};

// The run's status and standard output.
std::pair<int, std::string> cli(const std::string& args)
{
    std::string out;
    FILE* pipe = popen((std::string(LETTERWIRE_CLI) + " " + args + " 2>&1").c_str(), "r");
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

// Every LWPOLYLINE vertex, contour by contour, in file order.
std::vector<std::vector<Vertex>> contours(const std::string& dxf)
{
    std::istringstream in(dxf.substr(dxf.find("ENTITIES\n") + 9));
    std::vector<std::vector<Vertex>> all;
    std::string code, value;
    while (std::getline(in, code) && std::getline(in, value)) {
        const int group = std::stoi(code);
        if (group == 0 && value == "LWPOLYLINE")
            all.emplace_back();
        else if (group == 0 && value == "ENDSEC")
            break;
        else if (group == 10)
            all.back().push_back({std::stod(value), 0});
        else if (group == 20)
            all.back().back().y = std::stod(value);
    }
    return all;
}

std::vector<std::vector<Vertex>> drawing(const std::string& options, int angle = 0)
{
    const auto [status, out] = cli("dxf - --text 'Hg 編' --size 30 --underline --no-merge --angle " +
                                   std::to_string(angle) + " " + options);
    EXPECT_EQ(status, 0) << out;
    return contours(out);
}

// How far every vertex of `moved` lies from its own in `base`: one offset for
// all of them, or a failure.
Vertex offset(const std::vector<std::vector<Vertex>>& base, const std::vector<std::vector<Vertex>>& moved)
{
    EXPECT_EQ(base.size(), moved.size());
    if (base.empty() || base.size() != moved.size())
        return {};
    const Vertex d{moved[0][0].x - base[0][0].x, moved[0][0].y - base[0][0].y};
    for (std::size_t c = 0; c < base.size(); ++c) {
        EXPECT_EQ(base[c].size(), moved[c].size());
        for (std::size_t i = 0; i < std::min(base[c].size(), moved[c].size()); ++i) {
            EXPECT_NEAR(moved[c][i].x - base[c][i].x, d.x, 1e-9);
            EXPECT_NEAR(moved[c][i].y - base[c][i].y, d.y, 1e-9);
        }
    }
    return d;
}

constexpr double kPi = 3.14159265358979323846;

TEST(CliPlacement, AnchorsMoveTheDrawingByTheTurnedBox)
{
    // Upright the underline's length is exact; turned, its corners lie on the
    // 0.01 mm grid, so within a step.
    for (const auto& [angle, near] : {std::pair{0, 1e-9}, std::pair{20, 0.011}}) {
        SCOPED_TRACE(angle);
        const auto base = drawing("", angle);
        // Default and its spelled-out name give the same bytes.
        EXPECT_EQ(cli("dxf - --anchor baseline-left").second, cli("dxf -").second);
        // The underline spans the advance (unmerged, the last contour): along
        // the text, its length is the box's width.
        const auto& underline = base.back();
        const double c = std::cos(angle * kPi / 180), s = std::sin(angle * kPi / 180);
        double lo = 1e9, hi = -1e9;
        for (const Vertex& v : underline) {
            lo = std::min(lo, v.x * c + v.y * s);
            hi = std::max(hi, v.x * c + v.y * s);
        }
        const double width = hi - lo;
        // In the text's own frame: (along, up) of each anchor, from the offsets.
        const auto frame = [&](const char* anchor) {
            const Vertex d = offset(base, drawing(std::string("--anchor ") + anchor, angle));
            return Vertex{-(d.x * c + d.y * s), -(-d.x * s + d.y * c)};
        };
        const Vertex right = frame("baseline-right"), centre = frame("baseline-centre");
        EXPECT_NEAR(right.x, width, near);
        EXPECT_NEAR(right.y, 0, 1e-9);
        EXPECT_NEAR(centre.x, width / 2, near);
        const Vertex top = frame("top-left"), bottom = frame("bottom-right"), middle = frame("centre");
        EXPECT_NEAR(top.x, 0, 1e-9);
        EXPECT_GT(top.y, 5);     // about 30 pt's ascent, in mm
        EXPECT_LT(bottom.y, -1); // and its descent
        EXPECT_NEAR(bottom.x, right.x, 1e-9);
        EXPECT_NEAR(middle.x, right.x / 2, 1e-9);
        EXPECT_NEAR(middle.y, (top.y + bottom.y) / 2, 1e-9);
        const Vertex topCentre = frame("top-center");
        EXPECT_NEAR(topCentre.y, top.y, 1e-9);
    }
}

TEST(CliPlacement, MirrorReflectsAboutTheAnchor)
{
    const auto base = drawing("--anchor centre");
    for (const char* axis : {"x", "y"}) {
        SCOPED_TRACE(axis);
        const bool x = axis[0] == 'x';
        const auto mirrored = drawing(std::string("--anchor centre --mirror ") + axis);
        ASSERT_EQ(mirrored.size(), base.size());
        for (std::size_t k = 0; k < base.size(); ++k) {
            // The same first point, then the contour walked backwards.
            const auto& b = base[k];
            const auto& m = mirrored[k];
            ASSERT_EQ(m.size(), b.size());
            for (std::size_t i = 0; i < b.size(); ++i) {
                const Vertex& was = b[i == 0 ? 0 : b.size() - i];
                EXPECT_NEAR(m[i].x, x ? -was.x : was.x, 1e-9);
                EXPECT_NEAR(m[i].y, x ? was.y : -was.y, 1e-9);
            }
        }
    }
}

TEST(CliPlacement, RefusedWhereItCannotApply)
{
    const std::pair<const char*, const char*> cases[] = {
        {"dxf x.dxf --anchor middle", "is not a point of the text's box"},
        {"dxf x.dxf --anchor centr", "did you mean centre?"},
        {"dxf x.dxf --mirror z", "--mirror must be x"},
        {"svg x.svg --centre --anchor centre", "--centre does not apply"},
        {"jw a b --anchor centre", "--anchor applies to svg, dxf, pdf and hpgl only"},
        {"capture --mirror x", "--mirror applies to svg, dxf, pdf and hpgl only"},
    };
    for (const auto& [args, says] : cases) {
        const auto [status, out] = cli(args);
        EXPECT_EQ(status, 2) << args;
        EXPECT_NE(out.find(says), std::string::npos) << args << "\n" << out;
    }
}

} // namespace
