// A line in a stroke font beside the outline capture of the same text, in
// the same run: the capture at the drawings' 0.01 mm grid (what svg and dxf
// start from), the stroke layout alone, and each with its DXF written. The
// stroke font is read once before, as a face is opened once; reading it is
// measured on its own. Debian's kst32b.lff (librecad-data) draws both texts.
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

#include <memory>
#include <string>

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

void BM_Line(benchmark::State& state, const char* text, float points, Work work)
{
    const lw::StrokeFont* font = strokeFont();
    if (!font) {
        state.SkipWithError("kst32b.lff is not installed (librecad-data)");
        return;
    }
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    lw::CapturedOutline outline;
    lw::WindowFont face;
    face.size = points;
    const double dpi = lw::dpiForWholeEm(lw::dpiForStep(0.01), points);
    const lw::CaptureSource source{text, face, 0, lw::design::kPreviewWidth, lw::design::kPreviewHeight, 1440 / dpi};
    std::int32_t alCent = 0;
    const std::u32string codes = lw::utf8ToCodepoints(text);
    std::size_t bytes = 0;
    for (auto _ : state) {
        lw::StringSink out;
        if (work == Work::Capture || work == Work::CaptureAndDxf) {
            lw::drawFlattenPath(lw::placementFor(alCent), source, dc, outline);
            if (work == Work::CaptureAndDxf) {
                const lw::CadOutline cut = lw::cadOutline(outline, {});
                lw::writeDxf(out, cut.outline, {.mm = lw::onCadGrid({0, 0, dpi}, cut), .text = text});
            }
            benchmark::DoNotOptimize(outline.pointCount);
        } else {
            const lw::StrokeLayout laid = lw::layStrokeText(codes, *font, {}, {.sizePoints = points});
            if (work == Work::StrokeAndDxf)
                lw::writeOpenLinesDxf(out, laid.lines, text);
            benchmark::DoNotOptimize(laid.lines.count());
        }
        bytes = out.text().size();
    }
    state.counters["dxf_bytes"] = double(bytes);
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

BENCHMARK_MAIN();
