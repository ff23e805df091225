// A line in a stroke font beside the outline capture of the same text, in
// the same run: the capture at the drawings' 0.01 mm grid (what svg and dxf
// start from), the stroke layout alone, and each with its DXF written. The
// stroke font is read once before, as a face is opened once; reading it is
// measured on its own. Debian's kst32b.lff (librecad-data) draws both texts.
// First a table of the four taken in turns, a batch of each per round, so a
// busy machine weighs on all alike: the median CPU time of each and the
// ratios (goal: the stroke layout at most half the capture); then the
// benchmarks one after another (--benchmark_filter as usual).
//   stroke_bench [--rounds=N] [benchmark flags]
#include "base/byte_sink.hpp"
#include "base/codepage.hpp"
#include "cut/cad_outline.hpp"
#include "export/dxf.hpp"
#include "outline/capture.hpp"
#include "outline/precision.hpp"
#include "outline/stroke_font_files.hpp"
#include "outline/stroke_text.hpp"
#include "platform/canvas.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kFontFile = "/usr/share/librecad/fonts/kst32b.lff";
const std::string kMixed = "編集テキストのアウトラインを書きこみます。Letterwire 2026 漢字かなカナABC"; // 46 characters

const lw::StrokeFont* strokeFont()
{
    static const std::unique_ptr<lw::StrokeFont> font = [] {
        try {
            // Only the texts' glyphs, as the command line reads a face.
            const std::u32string texts = lw::utf8ToCodepoints(std::string(lw::design::kText) + kMixed);
            return std::make_unique<lw::StrokeFont>(lw::loadStrokeFont(
                kFontFile, [&](char32_t c) { return texts.find(c) != std::u32string::npos; }));
        } catch (const std::exception&) {
            return std::unique_ptr<lw::StrokeFont>();
        }
    }();
    return font.get();
}

enum class Work { Capture, CaptureAndDxf, Stroke, StrokeAndDxf };

// One line's work of each kind, set up once as a session has it.
class Line {
public:
    Line(const char* text, float points, const lw::StrokeFont& font)
        : text_(text), points_(points), font_(font), dc_(canvas_),
          dpi_(lw::dpiForWholeEm(lw::dpiForStep(0.01), points)), codes_(lw::utf8ToCodepoints(text)),
          face_(faceOf(points)), source_{text, face_, 0, lw::design::kPreviewWidth, lw::design::kPreviewHeight, 1440 / dpi_}
    {
    }
    // The DXF's bytes, or 0 without one.
    std::size_t run(Work work)
    {
        lw::StringSink out;
        if (work == Work::Capture || work == Work::CaptureAndDxf) {
            lw::drawFlattenPath(lw::placementFor(alCent_), source_, dc_, outline_);
            if (work == Work::CaptureAndDxf) {
                const lw::CadOutline cut = lw::cadOutline(outline_, {});
                lw::writeDxf(out, cut.outline, {.mm = lw::onCadGrid({0, 0, dpi_}, cut), .text = text_});
            }
            benchmark::DoNotOptimize(outline_.pointCount);
        } else {
            const lw::StrokeLayout laid = lw::layStrokeText(codes_, font_, {}, {.sizePoints = points_});
            if (work == Work::StrokeAndDxf)
                lw::writeOpenLinesDxf(out, laid.lines, text_);
            benchmark::DoNotOptimize(laid.lines.count());
        }
        return out.text().size();
    }

private:
    static lw::WindowFont faceOf(float points)
    {
        lw::WindowFont face;
        face.size = points;
        return face;
    }

    const char* text_;
    float points_;
    const lw::StrokeFont& font_;
    lw::NullCanvas canvas_;
    lw::DeviceContext dc_;
    lw::CapturedOutline outline_;
    double dpi_;
    std::int32_t alCent_ = 0;
    std::u32string codes_;
    lw::WindowFont face_;
    lw::CaptureSource source_;
};

void BM_Line(benchmark::State& state, const char* text, float points, Work work)
{
    const lw::StrokeFont* font = strokeFont();
    if (!font) {
        state.SkipWithError("kst32b.lff is not installed (librecad-data)");
        return;
    }
    Line line(text, points, *font);
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = line.run(work);
    state.counters["dxf_bytes"] = double(bytes);
}

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The four kinds of work in turns, `rounds` batches of each.
void inTurns(int rounds)
{
    const lw::StrokeFont* font = strokeFont();
    if (!font) {
        std::printf("kst32b.lff is not installed (librecad-data): no table\n");
        return;
    }
    struct Case {
        const char* name;
        const char* text;
        float points;
    };
    const Case cases[] = {{"default, 6 characters, 24 pt", lw::design::kText, 24},
                          {"46 mixed characters, 144 pt", kMixed.c_str(), 144}};
    const Work works[] = {Work::Capture, Work::Stroke, Work::CaptureAndDxf, Work::StrokeAndDxf};
    std::printf("in turns, %d rounds, median CPU us per line\n", rounds);
    std::printf("%-30s %9s %9s %7s %13s %13s %7s\n", "case", "capture", "stroke", "ratio", "capture+dxf",
                "stroke+dxf", "ratio");
    for (const Case& c : cases) {
        Line line(c.text, c.points, *font);
        // A batch of each takes about a millisecond, the first round warming all.
        int batch[4];
        for (int w = 0; w < 4; ++w) {
            const double start = cpuSeconds();
            line.run(works[w]);
            batch[w] = std::clamp(int(1e-3 / std::max(cpuSeconds() - start, 1e-7)), 1, 10000);
        }
        // Each pair in turns on its own: the export's work between two
        // captures would leave the capture's glyphs out of the caches.
        std::vector<double> times[4];
        std::vector<double> ratios[2];
        for (int pair = 0; pair < 2; ++pair) {
            for (int r = 0; r < rounds; ++r) {
                double each[2];
                for (int k = 0; k < 2; ++k) {
                    const int w = 2 * pair + k;
                    const double start = cpuSeconds();
                    for (int i = 0; i < batch[w]; ++i)
                        line.run(works[w]);
                    each[k] = (cpuSeconds() - start) / batch[w];
                    times[w].push_back(each[k]);
                }
                ratios[pair].push_back(each[1] / each[0]);
            }
        }
        std::printf("%-30s %9.3f %9.3f %6.2fx %13.2f %13.2f %6.3fx\n", c.name, median(times[0]) * 1e6,
                    median(times[1]) * 1e6, median(ratios[0]), median(times[2]) * 1e6, median(times[3]) * 1e6,
                    median(ratios[1]));
    }
    std::printf("(ratio: the median of the rounds' ratios; goal: stroke / capture <= 0.5)\n\n");
}

void BM_ReadStrokeFont(benchmark::State& state)
{
    for (auto _ : state) {
        const lw::StrokeFont font = lw::loadStrokeFont(kFontFile);
        benchmark::DoNotOptimize(font.glyphs.size());
    }
}

#define LW_LINE_CASES(name, text, points)                                                                    \
    BENCHMARK_CAPTURE(BM_Line, name##_capture, text, points, Work::Capture)->Unit(benchmark::kMicrosecond);   \
    BENCHMARK_CAPTURE(BM_Line, name##_stroke, text, points, Work::Stroke)->Unit(benchmark::kMicrosecond);     \
    BENCHMARK_CAPTURE(BM_Line, name##_capture_dxf, text, points, Work::CaptureAndDxf)                        \
        ->Unit(benchmark::kMicrosecond);                                                                     \
    BENCHMARK_CAPTURE(BM_Line, name##_stroke_dxf, text, points, Work::StrokeAndDxf)->Unit(benchmark::kMicrosecond);

LW_LINE_CASES(default6_24pt, lw::design::kText, 24)
LW_LINE_CASES(mixed46_144pt, kMixed.c_str(), 144)
BENCHMARK(BM_ReadStrokeFont)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    int rounds = 31;
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rounds=", 9) == 0)
            rounds = std::max(3, std::atoi(argv[i] + 9));
        else
            rest.push_back(argv[i]);
    }
    int count = int(rest.size());
    benchmark::Initialize(&count, rest.data());
    inTurns(rounds);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
