// The cost of cut-ready outlines beside the capture they start from, in the
// same run: the capture alone, then cleaning only (--no-merge), the nonzero
// merge, and the merge with a 0.1 mm offset. For the default text at a 0.01 mm
// grid and the 46-character line at 144 pt (0.01 mm and the classic grid).
// The first merge: the same with a fresh workspace for each, as in a fresh
// process. Curves: the merge keeping the exact curves, and the arcs a DXF fits to
// them, after a capture that keeps the curves: their cost is this less
// the capture and the merge.
#include "cut/arcs.hpp"
#include "cut/cad_outline.hpp"
#include "outline/capture.hpp"
#include "outline/precision.hpp"
#include "platform/canvas.hpp"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const std::string kMixed = "編集テキストのアウトラインを書きこみます。Letterwire 2026 漢字かなカナABC"; // 46 characters

enum class Work { Capture, Clean, Merge, MergeFirst, MergeAndOffset, MergeAndCurves };

void BM_Cad(benchmark::State& state, const char* text, float points, double stepMm, Work work)
{
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    lw::CapturedOutline outline;
    lw::WindowFont font;
    font.size = points;
    const double dpi = lw::dpiForStep(stepMm);
    const lw::CaptureSource source{text, font, 0, lw::design::kPreviewWidth, lw::design::kPreviewHeight,
                                   1440 / dpi};
    std::int32_t alCent = 0;
    lw::CurvedPath path;
    lw::drawFlattenPath(lw::placementFor(alCent), source, dc, outline, &path);
    const lw::CadOptions options{.merge = work != Work::Clean,
                                 .offsetPixels = work == Work::MergeAndOffset ? 0.1 * dpi / lw::kMmPerInch : 0,
                                 .curves = work == Work::MergeAndCurves};
    std::size_t contours = 0;
    lw::CutWorkspace kept; // kept from merge to merge, as a window's saves keep it
    for (auto _ : state) {
        if (work == Work::Capture) {
            lw::drawFlattenPath(lw::placementFor(alCent), source, dc, outline);
            benchmark::DoNotOptimize(outline.pointCount);
        } else if (work == Work::MergeAndCurves) {
            // A capture that keeps the path before flattening, then the work.
            lw::drawFlattenPath(lw::placementFor(alCent), source, dc, outline, &path);
            const lw::CadOutline cad = lw::cadOutline(outline, options, kept, &path);
            std::size_t arcs = 0;
            std::vector<lw::ArcVertex> fitted; // as the DXF writer takes them
            for (const auto& curve : cad.curves)
                if (curve)
                    arcs += lw::placedArcsOf(*curve, cad.curveTolerance, fitted).arcs.size();
            contours = arcs;
            benchmark::DoNotOptimize(contours);
        } else {
            // As the first merge of a process: buffers fetched afresh.
            const lw::CadOutline cad =
                work == Work::MergeFirst ? lw::cadOutline(outline, options) : lw::cadOutline(outline, options, kept);
            contours = std::size_t(cad.outline.pointCount);
            benchmark::DoNotOptimize(contours);
        }
    }
    state.counters["points"] = double(outline.pointCount);
    if (work != Work::Capture)
        state.counters["points_out"] = double(contours);
}

#define LW_CAD_CASES(name, text, points, step)                                                                     \
    BENCHMARK_CAPTURE(BM_Cad, name##_capture, text, points, step, Work::Capture)->Unit(benchmark::kMicrosecond);    \
    BENCHMARK_CAPTURE(BM_Cad, name##_clean, text, points, step, Work::Clean)->Unit(benchmark::kMicrosecond);        \
    BENCHMARK_CAPTURE(BM_Cad, name##_merge, text, points, step, Work::Merge)->Unit(benchmark::kMicrosecond);        \
    BENCHMARK_CAPTURE(BM_Cad, name##_merge_first, text, points, step, Work::MergeFirst)                            \
        ->Unit(benchmark::kMicrosecond);                                                                          \
    BENCHMARK_CAPTURE(BM_Cad, name##_merge_offset, text, points, step, Work::MergeAndOffset)                        \
        ->Unit(benchmark::kMicrosecond);                                                                          \
    BENCHMARK_CAPTURE(BM_Cad, name##_merge_curves, text, points, step, Work::MergeAndCurves)                        \
        ->Unit(benchmark::kMicrosecond);

LW_CAD_CASES(default6_24pt_0_01mm, lw::design::kText, 24, 0.01)
LW_CAD_CASES(mixed46_144pt_0_01mm, kMixed.c_str(), 144, 0.01)
LW_CAD_CASES(mixed46_144pt_classic, kMixed.c_str(), 144, lw::kClassicStepMm)

} // namespace

BENCHMARK_MAIN();
