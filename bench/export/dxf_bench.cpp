// The DXF of a 100,000-point outline beside the JW writer on the same
// outline, and the capture of the default text at a 0.01 mm grid beside the
// classic one. The layer's name, which each drawing makes anew, against
// the length of the text (linear), beside a whole drawing of 500 points.
#include "export/dxf.hpp"
#include "base/codepage.hpp"
#include "export/jw_output.hpp"
#include "outline/baseline.hpp"
#include "outline/capture.hpp"
#include "outline/precision.hpp"
#include "platform/canvas.hpp"

#include "export_fixtures.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>

namespace {

constexpr int kPoints = 100000;

lw::CapturedOutline bigOutline() { return lw::bench::bigOutline(kPoints); }

using lw::bench::CountingSink;

void BM_DxfOutline(benchmark::State& state)
{
    const lw::CapturedOutline outline = bigOutline();
    const lw::DxfPlacement placement{{.originX = 0, .originY = 28, .dpi = 96}, "編集テキスト"};
    std::size_t bytes = 0;
    for (auto _ : state) {
        CountingSink sink;
        lw::writeDxf(sink, outline, placement);
        bytes = sink.count;
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = double(bytes);
}

void BM_JwOutline(benchmark::State& state)
{
    const lw::CapturedOutline outline = bigOutline();
    const lw::JwPlacement placement{.baseX = 100, .baseY = 50, .scale = 1, .twipsPerPixel = 15};
    std::size_t bytes = 0;
    for (auto _ : state) {
        CountingSink sink;
        lw::writeJwOutline(sink, outline, placement);
        bytes = sink.count;
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = double(bytes);
}

// The default text at 24 pt captured at the origin at a grid step in mm,
// with the baseline's measure too when a DXF export would make it.
void BM_CaptureAtStep(benchmark::State& state, double stepMm, bool withBaseline)
{
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    lw::CapturedOutline outline;
    const lw::WindowFont font;
    const double dpi = lw::dpiForStep(stepMm);
    const lw::CaptureSource source{lw::design::kText, font, 0, lw::design::kPreviewWidth,
                                   lw::design::kPreviewHeight, 1440 / dpi};
    for (auto _ : state) {
        std::int32_t alCent = 0;
        lw::drawFlattenPath(lw::placementFor(alCent), source, dc, outline);
        benchmark::DoNotOptimize(outline.pointCount);
        if (withBaseline)
            benchmark::DoNotOptimize(lw::baselinePlacement(dc, outline.logFont, dpi));
    }
    state.counters["dpi"] = dpi;
    state.counters["points"] = outline.pointCount;
}

} // namespace

// The name in code page 932 as the writer makes it, for the default text
// repeated to a number of characters.
void BM_LayerName(benchmark::State& state)
{
    const std::string piece = "編集テキスト"; // six characters of three bytes
    std::string text;
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text.append(piece, 3 * std::size_t(i % 6), 3);
    for (auto _ : state)
        benchmark::DoNotOptimize(lw::toCp932(lw::dxfLayerName(text)));
    state.SetComplexityN(state.range(0));
}

void BM_DxfSmallDrawing(benchmark::State& state)
{
    const lw::CapturedOutline outline = lw::bench::bigOutline(500);
    const lw::DxfPlacement placement{{.originX = 0, .originY = 28, .dpi = 96}, "編集テキスト"};
    for (auto _ : state) {
        CountingSink sink;
        lw::writeDxf(sink, outline, placement);
        benchmark::DoNotOptimize(sink);
    }
}

BENCHMARK(BM_DxfOutline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayerName)->Arg(6)->Arg(1000)->Arg(10000)->Arg(100000)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DxfSmallDrawing)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JwOutline)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CaptureAtStep, classic, lw::kClassicStepMm, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CaptureAtStep, precision_0_1, 0.1, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CaptureAtStep, precision_0_01, 0.01, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CaptureAtStep, precision_0_01_with_baseline, 0.01, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
