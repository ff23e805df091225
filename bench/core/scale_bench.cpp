// The merge and the curves beside the capture they start from, over a table
// of lengths (10 to 10,000 characters at 24 pt) and sizes (1 to 1,000 pt
// for the 46-character line), at a 0.01 mm grid, CPU time. A case's rounds
// run together, its steps timed in turns within each round, so a busy
// machine weighs on the steps alike; each figure is the median of the
// rounds. (Cases in turns would have each capture flatten its glyphs anew:
// the platform keeps one flattened copy of a glyph, for the size last drawn.)
//   capture   the capture alone (what `dxf` does before the cut)
//   merge     the nonzero merge, kept workspace, the default way
//   path      the capture keeping the curves alone
//   curves    a capture keeping the curves, the merge keeping them and the
//             arcs fitted as the DXF writer fits them, less the same round's
//             merge and the cheaper of its two captures
// Goal: merge/capture and curves/capture at most 1.0 in every row.
//   scale_bench [rounds] [filter]
#include "cut/arcs.hpp"
#include "cut/cad_outline.hpp"
#include "outline/capture.hpp"
#include "outline/precision.hpp"
#include "platform/canvas.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

const std::string kMixed = "編集テキストのアウトラインを書きこみます。Letterwire 2026 漢字かなカナABC"; // 46 characters

// The first `count` characters of the line repeated.
std::string charactersOf(const std::string& piece, int count)
{
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < piece.size(); ++i) {
        if ((static_cast<unsigned char>(piece[i]) & 0xC0) != 0x80)
            characters.emplace_back();
        characters.back() += piece[i];
    }
    std::string out;
    for (int k = 0; k < count; ++k)
        out += characters[std::size_t(k) % characters.size()];
    return out;
}

double cpuNow()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Case {
    std::string name;
    std::string text;
    float points;
    int repeats; // per round, so a round of a small case is not all clock
    std::vector<double> capture, merge, curves, curvedCapture;
    std::int32_t capturedPoints = 0;
};

struct Run {
    lw::NullCanvas canvas;
    lw::DeviceContext dc{canvas};
    lw::CutWorkspace kept;
};

void round(Case& c, Run& run)
{
    lw::WindowFont font;
    font.size = c.points;
    const double dpi = lw::dpiForStep(0.01);
    const lw::CaptureSource source{.text = c.text, .font = font, .twipsPerPixelX = 1440 / dpi,
                                   .advances = lw::Advances::Linear};
    lw::CapturedOutline outline;
    lw::CurvedPath path;
    std::size_t sink = 0;

    double t = cpuNow();
    for (int r = 0; r < c.repeats; ++r) {
        lw::drawFlattenPath(lw::Placement::Origin, source, run.dc, outline);
        sink += std::size_t(outline.pointCount);
    }
    c.capture.push_back((cpuNow() - t) / c.repeats);
    c.capturedPoints = outline.pointCount;

    t = cpuNow();
    for (int r = 0; r < c.repeats; ++r)
        sink += std::size_t(lw::cadOutline(outline, {.merge = true}, run.kept).outline.pointCount);
    c.merge.push_back((cpuNow() - t) / c.repeats);

    t = cpuNow();
    for (int r = 0; r < c.repeats; ++r) {
        lw::drawFlattenPath(lw::Placement::Origin, source, run.dc, outline, &path);
        sink += std::size_t(outline.pointCount);
    }
    c.curvedCapture.push_back((cpuNow() - t) / c.repeats);

    std::vector<lw::ArcVertex> fitted;
    t = cpuNow();
    for (int r = 0; r < c.repeats; ++r) {
        lw::drawFlattenPath(lw::Placement::Origin, source, run.dc, outline, &path);
        const lw::CadOutline cad =
            lw::cadOutline(outline, {.merge = true, .curves = true, .arcs = true}, run.kept, &path);
        for (const auto& curve : cad.curves)
            if (curve)
                sink += lw::placedArcsOf(*curve, cad.curveTolerance, fitted).arcs.size();
    }
    // Each round's own difference: the merge dwarfs the curves at small
    // sizes, and a difference of medians would be mostly the merge's noise.
    // Less the cheaper capture: where the curved capture costs less than
    // the plain one (it can), what is left is what the curves add.
    c.curves.push_back((cpuNow() - t) / c.repeats - std::min(c.capture.back(), c.curvedCapture.back()) -
                       c.merge.back());
    if (sink == 1)
        std::puts("");
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const std::string filter = argc > 2 ? argv[2] : "";
    std::vector<Case> cases;
    for (const int n : {10, 100, 1000, 10000})
        cases.push_back({std::to_string(n) + " chars 24 pt", charactersOf(kMixed, n), 24,
                         std::max(1, 2000 / n), {}, {}, {}, {}});
    for (const float pt : {1.f, 2.f, 4.f, 8.f, 24.f, 144.f, 1000.f})
        cases.push_back({"46 chars " + std::to_string(int(pt)) + " pt", kMixed, pt,
                         std::max(1, int(200 / pt)), {}, {}, {}, {}});
    std::erase_if(cases, [&](const Case& c) { return c.name.find(filter) == std::string::npos; });
    Run run;
    for (Case& c : cases)
        for (int r = 0; r < rounds; ++r)
            round(c, run);
    std::printf("%-20s %9s %11s %11s %11s %11s %8s %8s\n", "case", "points", "capture us", "path us", "merge us",
                "curves us", "merge/c", "curves/c");
    for (const Case& c : cases) {
        const double capture = median(c.capture), merge = median(c.merge), curves = median(c.curves);
        std::printf("%-20s %9d %11.1f %11.1f %11.1f %11.1f %8.2f %8.2f\n", c.name.c_str(), c.capturedPoints,
                    capture * 1e6, median(c.curvedCapture) * 1e6, merge * 1e6, curves * 1e6, merge / capture,
                    curves / capture);
    }
    std::puts("goal: merge/c and curves/c <= 1.0 in every row");
    return 0;
}
