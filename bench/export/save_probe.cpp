// The window's save of a DXF as OK makes it on its own: a capture off the
// screen at the save's grid, made cut-ready and written, to a sink that
// keeps nothing. Prints the first save (a fresh process's), the median and
// the fastest in microseconds, and the bytes, so two builds can be run in
// turn (bench/merge_route.py).
//   save_probe TEXT POINTS STEP-MM SAVES
#if __has_include("export/offscreen_capture.hpp")
#include "export/offscreen_capture.hpp"
#else
#include "export/offscreen_capture.hpp" // builds from before the capture moved
#endif
#include "outline/precision.hpp"
#if __has_include("cut/workspace.hpp")
#include "cut/workspace.hpp"
#define LW_CUT_WORKSPACE 1
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

class NoSink final : public lw::ByteSink {
public:
    void write(std::string_view bytes) override { count += bytes.size(); }
    std::size_t count = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: save_probe TEXT POINTS STEP-MM SAVES\n");
        return 2;
    }
    lw::WindowFont font;
    font.size = float(std::atof(argv[2]));
    const double dpi = lw::dpiForStep(std::atof(argv[3]));
    const int saves = std::max(1, std::atoi(argv[4]));
    std::vector<double> micros;
    std::size_t bytes = 0;
#ifdef LW_CUT_WORKSPACE
    lw::CutWorkspace work; // the window's, kept from save to save
#endif
    for (int i = 0; i < saves; ++i) {
        const auto start = std::chrono::steady_clock::now();
        lw::OffscreenCapture capture({.text = argv[1], .font = font, .advances = lw::Advances::Linear},
                                     lw::Placement::Origin, dpi);
#ifdef LW_CUT_WORKSPACE
        capture.useWorkspace(work);
#endif
        NoSink sink;
        capture.write(sink, lw::SaveFormat::Dxf, lw::CadOptions{});
        bytes = sink.count;
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    const double first = micros.front();
    std::sort(micros.begin(), micros.end());
    std::printf("%.1f %.1f %.1f %zu\n", first, micros[micros.size() / 2], micros.front(), bytes);
    return 0;
}
