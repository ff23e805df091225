// A line on an arc against the same line straight: the same text, face and
// resolution, captured in turns round by round so a busy machine weighs on
// both alike. Prints each case's median times and their ratio (goal: the
// arc at most 1.2x the straight capture).
//   arc_bench [rounds]

#include "outline/capture.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Case {
    const char* name;
    std::string text;
    const char* face;
    float size;
    double dpi;
    double radiusMm;
};

double captureSeconds(const Case& c, bool arc, int* points = nullptr)
{
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    lw::CapturedOutline outline;
    lw::WindowFont font;
    font.faceName = c.face;
    font.size = c.size;
    lw::CaptureSource source{.text = c.text, .font = font, .twipsPerPixelX = 1440.0 / c.dpi,
                             .advances = lw::Advances::Linear};
    if (arc)
        source.style.arc.radiusMm = c.radiusMm;
    const auto start = std::chrono::steady_clock::now();
    lw::drawFlattenPath(lw::Placement::Origin, source, dc, outline);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (points)
        *points = outline.pointCount;
    return seconds;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string repeated(const std::string& piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 31;
    const Case cases[] = {
        {"24 pt, 96 dpi, 6 characters", "編集テキスト", "ＭＳ Ｐゴシック", 24, 96, 30},
        {"24 pt, 0.01 mm, 6 characters", "編集テキスト", "ＭＳ Ｐゴシック", 24, 2540, 30},
        {"72 pt, 0.01 mm, 60 Latin", repeated("ROUND PLATE ", 5), "DejaVu Sans", 72, 2540, 200},
        {"24 pt, 0.01 mm, 120 characters", repeated("編集テキスト", 20), "ＭＳ Ｐゴシック", 24, 2540, 200},
    };
    std::printf("%-34s %12s %12s %7s %16s\n", "case", "straight", "arc", "ratio", "points");
    for (const Case& c : cases) {
        // One of each first: the font files and the glyph cache are warm for both.
        int straightPoints = 0, arcPoints = 0;
        captureSeconds(c, false, &straightPoints);
        captureSeconds(c, true, &arcPoints);
        std::vector<double> straight, arc;
        for (int r = 0; r < rounds; ++r) {
            straight.push_back(captureSeconds(c, false));
            arc.push_back(captureSeconds(c, true));
        }
        const double s = median(straight), a = median(arc);
        std::printf("%-34s %9.1f us %9.1f us %6.2fx %7d / %7d\n", c.name, s * 1e6, a * 1e6, a / s, straightPoints,
                    arcPoints);
    }
    return 0;
}
