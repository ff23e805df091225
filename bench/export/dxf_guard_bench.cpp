// The DXF writer per point against the least code that writes the same
// figures as LWPOLYLINE entities: the same millimetres, the same shortest
// numbers, group codes 10 and 20 per vertex, into the same counting sink.
// The outlines are real captures, cut as the DXF export cuts them. The
// repetitions run interleaved; the end prints the medians of CPU time per
// point and their ratio (guard: the writer at most 1.0x the bare dump).
//
// A second reading sets the writer against the same dump buffered as the
// writer buffers: what the drawing's frame and its extents cost per point.
#include "base/codepage.hpp"
#include "cut/cad_outline.hpp"
#include "export/dxf.hpp"
#include "outline/baseline.hpp"
#include "outline/capture.hpp"
#include "outline/precision.hpp"
#include "platform/canvas.hpp"

#include "export_fixtures.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using lw::bench::CountingSink;

struct Drawing {
    lw::CapturedOutline outline;
    lw::MmPlacement mm;
    std::string text;  // UTF-8, as the writer takes it
    std::string layer; // code page 932, as the writer writes it
};

Drawing capturedDrawing(const std::string& text, float points)
{
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    lw::CapturedOutline captured;
    lw::WindowFont font;
    font.size = points;
    const double dpi = lw::dpiForStep(lw::kCadStepMm);
    const lw::CaptureSource source{text, font, 0, lw::design::kPreviewWidth, lw::design::kPreviewHeight, 1440 / dpi};
    std::int32_t alCent = 0;
    lw::drawFlattenPath(lw::placementFor(alCent), source, dc, captured);
    lw::CadOutline cut = lw::cadOutline(captured, lw::CadOptions{});
    const lw::MmPlacement mm = lw::onCadGrid(lw::baselinePlacement(dc, captured.logFont, dpi), cut);
    return {std::move(cut.outline), mm, text, lw::toCp932(lw::dxfLayerName(text))};
}

const std::string kMixed = "編集テキストのアウトラインを書きこみます。Letterwire 2026 漢字かなカナABC"; // 46 characters

const Drawing& drawing(int which)
{
    static const Drawing drawings[] = {capturedDrawing(kMixed, 144), capturedDrawing(lw::design::kText, 24)};
    return drawings[which];
}
const char* const kDrawingNames[] = {"mixed46_144pt_0_01mm", "default6_24pt_0_01mm"};

char* appendText(char* at, std::string_view text) { return std::copy(text.begin(), text.end(), at); }

// One vertex as the two group pairs, into `at`; 64 bytes suffice.
char* appendVertex(char* at, const lw::MmPlacement& mm, lw::POINT p)
{
    const lw::MmPoint q = lw::toMillimetres(mm, p);
    at = appendText(at, " 10\n");
    at = std::to_chars(at, at + 32, q.x).ptr;
    at = appendText(at, "\n 20\n");
    at = std::to_chars(at, at + 32, q.y).ptr;
    *at++ = '\n';
    return at;
}

// The least code: each vertex built in a line and handed to the sink,
// each entity's head written to it piece by piece.
void writeBareDump(lw::ByteSink& out, const Drawing& d)
{
    out << "  0\nSECTION\n  2\nENTITIES\n";
    char line[96];
    for (const lw::Figure& f : lw::figures(d.outline)) {
        if (!f.closed)
            continue;
        char count[24];
        out << "  0\nLWPOLYLINE\n  8\n" << d.layer << "\n 90\n"
            << std::string_view(count, std::to_chars(count, count + sizeof count, f.points.size()).ptr)
            << "\n 70\n1\n";
        for (const lw::POINT& p : f.points)
            out.write(std::string_view(line, std::size_t(appendVertex(line, d.mm, p) - line)));
    }
    out << "  0\nENDSEC\n  0\nEOF\n";
}

// The same dump gathered in a buffer of the writer's size, so the sink is
// called as seldom as the writer calls it.
void writeBufferedDump(lw::ByteSink& out, const Drawing& d)
{
    constexpr std::size_t kSize = 1 << 16, kRoom = 128;
    std::vector<char> buffer(kSize);
    char* const first = buffer.data();
    char* at = appendText(first, "  0\nSECTION\n  2\nENTITIES\n");
    auto room = [&](std::size_t bytes) {
        if (std::size_t(at - first) + bytes > kSize) {
            out.write(std::string_view(first, std::size_t(at - first)));
            at = first;
        }
    };
    for (const lw::Figure& f : lw::figures(d.outline)) {
        if (!f.closed)
            continue;
        room(kRoom + d.layer.size());
        at = appendText(at, "  0\nLWPOLYLINE\n  8\n");
        at = appendText(at, d.layer);
        at = appendText(at, "\n 90\n");
        at = std::to_chars(at, at + 24, f.points.size()).ptr;
        at = appendText(at, "\n 70\n1\n");
        for (const lw::POINT& p : f.points) {
            room(kRoom);
            at = appendVertex(at, d.mm, p);
        }
    }
    room(kRoom);
    at = appendText(at, "  0\nENDSEC\n  0\nEOF\n");
    out.write(std::string_view(first, std::size_t(at - first)));
}

void writeOurs(lw::ByteSink& out, const Drawing& d)
{
    lw::writeDxf(out, d.outline, {.mm = d.mm, .text = d.text});
}

enum Writer { kOurs, kBare, kBuffered, kWriters };
const char* const kWriterNames[] = {"dxf_writer", "bare_dump", "bare_dump_buffered"};
using WriteFn = void (*)(lw::ByteSink&, const Drawing&);
const WriteFn kWrite[] = {writeOurs, writeBareDump, writeBufferedDump};

void BM_Write(benchmark::State& state, int which, Writer writer)
{
    const Drawing& d = drawing(which);
    std::size_t bytes = 0;
    for (auto _ : state) {
        CountingSink sink;
        kWrite[writer](sink, d);
        bytes = sink.count;
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * d.outline.pointCount);
    state.counters["points"] = d.outline.pointCount;
    state.counters["bytes"] = double(bytes);
}

// The values of groups 10 and 20 in the ENTITIES section, in order.
std::vector<std::string> entityVertices(const std::string& dxf)
{
    std::vector<std::string> values;
    std::istringstream in(dxf);
    std::string code, value;
    bool inEntities = false;
    while (std::getline(in, code) && std::getline(in, value)) {
        const int group = std::atoi(code.c_str());
        if (group == 2 && value == "ENTITIES")
            inEntities = true;
        else if (group == 0 && value == "ENDSEC")
            inEntities = false;
        else if (inEntities && (group == 10 || group == 20))
            values.push_back(value);
    }
    return values;
}

// Every peer must write exactly the writer's vertices, or the comparison
// measures something else.
bool samePoints()
{
    for (int which = 0; which < 2; ++which) {
        std::string texts[kWriters];
        for (int w = 0; w < kWriters; ++w) {
            lw::StringSink out;
            kWrite[w](out, drawing(which));
            texts[w] = out.text();
        }
        const std::vector<std::string> ours = entityVertices(texts[kOurs]);
        if (ours.size() != 2 * std::size_t(drawing(which).outline.pointCount)) {
            std::fprintf(stderr, "%s: the writer wrote %zu values\n", kDrawingNames[which], ours.size());
            return false;
        }
        for (int w = kBare; w < kWriters; ++w) {
            if (entityVertices(texts[w]) != ours) {
                std::fprintf(stderr, "%s: %s writes other vertices\n", kDrawingNames[which], kWriterNames[w]);
                return false;
            }
        }
    }
    return true;
}

// Keeps each case's CPU time per point: the median of its repetitions, or
// its one run when there are no repetitions to take a median of.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Median {
        double nsPerPoint = 0;
        std::int64_t repetitions = 0;
    };
    std::map<std::string, Median> medians;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred || !(median || run.run_type == Run::RT_Iteration))
                continue;
            const auto points = run.counters.find("points");
            if (points == run.counters.end() || points->second.value <= 0)
                continue;
            const double ns = run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            Median& m = medians[run.run_name.function_name];
            if (median || m.repetitions == 0)
                m = {ns / points->second.value, median ? run.iterations : 1};
        }
    }
};

std::string nameOf(int which, int writer) { return std::string(kWriterNames[writer]) + "/" + kDrawingNames[which]; }

void printRatios(const RatioReporter& reporter)
{
    std::printf("\nCPU time per point, medians of the interleaved repetitions (guard: writer / bare dump <= 1.0)\n");
    for (int which = 0; which < 2; ++which) {
        double ns[kWriters] = {};
        std::int64_t count = 0;
        for (int w = 0; w < kWriters; ++w) {
            const auto found = reporter.medians.find(nameOf(which, w));
            if (found != reporter.medians.end()) {
                ns[w] = found->second.nsPerPoint;
                count = found->second.repetitions;
            }
        }
        if (ns[kOurs] <= 0 || ns[kBare] <= 0 || ns[kBuffered] <= 0)
            continue;
        std::printf("%s (%d points, repetitions: %jd): writer %.2f ns, bare dump %.2f ns, buffered dump %.2f ns; "
                    "writer / bare dump %.3f (%s), writer / buffered dump %.3f\n",
                    kDrawingNames[which], drawing(which).outline.pointCount, std::intmax_t(count), ns[kOurs], ns[kBare],
                    ns[kBuffered], ns[kOurs] / ns[kBare], ns[kOurs] <= ns[kBare] ? "met" : "not met",
                    ns[kOurs] / ns[kBuffered]);
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Interleaved repetitions unless the caller chooses otherwise.
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=15";
    char interleaved[] = "--benchmark_enable_random_interleaving=true";
    char minTime[] = "--benchmark_min_time=0.1";
    char aggregates[] = "--benchmark_display_aggregates_only=true";
    auto given = [&](const char* flag) {
        return std::any_of(args.begin() + 1, args.end(), [&](const char* a) { return std::strstr(a, flag) != nullptr; });
    };
    if (!given("--benchmark_repetitions"))
        args.push_back(repetitions);
    if (!given("--benchmark_enable_random_interleaving"))
        args.push_back(interleaved);
    if (!given("--benchmark_min_time"))
        args.push_back(minTime);
    if (!given("aggregates_only"))
        args.push_back(aggregates);
    int count = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 2;
    if (!samePoints())
        return 1;
    for (int which = 0; which < 2; ++which)
        for (int w = 0; w < kWriters; ++w)
            benchmark::RegisterBenchmark(nameOf(which, w).c_str(),
                                         [which, w](benchmark::State& state) { BM_Write(state, which, Writer(w)); })
                ->Unit(benchmark::kMicrosecond);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    benchmark::Shutdown();
    return 0;
}
