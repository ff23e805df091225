// Each machine's writer beside the DXF writer on the same 100,000-point
// outline in one run: PDF (filled and cut), HPGL, DXF 2000 and Release 12.
#include "export/dxf.hpp"
#include "export/hpgl.hpp"
#include "export/pdf.hpp"

#include "export_fixtures.hpp"

#include <benchmark/benchmark.h>

namespace {

constexpr int kPoints = 100000;
const lw::MmPlacement kPlacement{.originX = 0, .originY = 28, .dpi = 2540};

template <typename Write>
void writeEach(benchmark::State& state, Write write)
{
    const lw::CapturedOutline outline = lw::bench::bigOutline(kPoints);
    std::size_t bytes = 0;
    for (auto _ : state) {
        lw::bench::CountingSink sink;
        write(sink, outline);
        bytes = sink.count;
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = double(bytes);
}

void BM_Dxf2000(benchmark::State& state)
{
    writeEach(state, [](lw::ByteSink& out, const lw::CapturedOutline& o) {
        lw::writeDxf(out, o, {.mm = kPlacement, .text = "編集テキスト"});
    });
}

void BM_DxfR12(benchmark::State& state)
{
    writeEach(state, [](lw::ByteSink& out, const lw::CapturedOutline& o) {
        lw::writeDxf(out, o, {.mm = kPlacement, .text = "編集テキスト", .version = lw::DxfVersion::R12});
    });
}

void BM_PdfFill(benchmark::State& state)
{
    writeEach(state, [](lw::ByteSink& out, const lw::CapturedOutline& o) {
        lw::writePdf(out, o, kPlacement, nullptr, {});
    });
}

void BM_PdfCut(benchmark::State& state)
{
    writeEach(state, [](lw::ByteSink& out, const lw::CapturedOutline& o) {
        lw::writePdf(out, o, kPlacement, nullptr, {.paint = lw::PdfPaint::Cut});
    });
}

void BM_Hpgl(benchmark::State& state)
{
    writeEach(state, [](lw::ByteSink& out, const lw::CapturedOutline& o) {
        lw::writeHpgl(out, o, kPlacement, {}, {.overcutMm = 0.5});
    });
}

} // namespace

BENCHMARK(BM_Dxf2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DxfR12)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfCut)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Hpgl)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
