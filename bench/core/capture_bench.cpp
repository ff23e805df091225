// The capture of a line of text three ways, on the same font file:
//   engine  - this engine (cached glyph outlines, flattening, figures)
//   qt      - QPainterPath::addText + toSubpathPolygons, the peer a Qt
//             developer would reach for
//   floor   - FreeType loading and decomposing the same glyphs at the size,
//             with no flattening at all
// Prints the engine's CPU and wall times as ratios of the other two, then the
// engine and floor again taken in turns round by round (the ratio to read on a
// busy machine), the memory the capture holds per output point, and the cost
// per character from 10 to 10,000 characters (first capture and warm, time
// and memory).

#include "outline/capture.hpp"
#include "base/codepage.hpp"
#include "platform/freetype/font_library.hpp"

#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#ifdef LETTERWIRE_BENCH_QT
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainterPath>
#include <QTransform>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <malloc.h>
#include <new>
#include <string>
#include <vector>

// Live heap bytes, for the memory figures.
namespace {
std::size_t g_live = 0;
std::size_t g_peak = 0;
}

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    g_live += malloc_usable_size(p);
    g_peak = std::max(g_peak, g_live);
    return p;
}
void operator delete(void* p) noexcept
{
    if (p) {
        g_live -= malloc_usable_size(p);
        std::free(p);
    }
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

struct Case {
    const char* name;
    const char* text;
    float points;
    int angle;
};

const std::string kMixed = "編集テキストのアウトラインを書きこみます。Letterwire 2026 漢字かなカナABC"; // 46 characters

const Case kCases[] = {
    {"default6_24pt_0deg", "編集テキスト", 24, 0},
    {"default6_24pt_30deg", "編集テキスト", 24, 30},
    {"mixed46_144pt_0deg", kMixed.c_str(), 144, 0},
    {"mixed46_144pt_30deg", kMixed.c_str(), 144, 30},
};

void capture(const Case& c, lw::DeviceContext& dc, lw::CapturedOutline& outline)
{
    lw::WindowFont font;
    font.size = c.points;
    std::int32_t alCent = 1;
    lw::drawFlattenPath(lw::placementFor(alCent), {c.text, font, c.angle, 461, 301, 15}, dc, outline);
}

// The outline must be what the device context's GetPath gives, count then fill.
void checkAgainstGetPath(lw::DeviceContext& dc, const lw::CapturedOutline& outline)
{
    int n = lw::GetPath(dc, nullptr, nullptr, 0);
    std::vector<lw::POINT> points(std::size_t(std::max(n, 0)));
    std::vector<std::uint8_t> types(points.size());
    bool same = n == outline.pointCount && lw::GetPath(dc, points.data(), types.data(), n) == n
             && std::equal(points.begin(), points.end(), outline.pathPoints.begin())
             && std::equal(types.begin(), types.end(), outline.pathTypes.begin())
             && outline.pathPoints.size() == std::size_t(n) + 1 && outline.pathTypes.size() == std::size_t(n) + 1;
    if (!same) {
        std::fprintf(stderr, "the captured outline differs from GetPath\n");
        std::exit(1);
    }
}

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

// Heap bytes a capture holds afterwards (device context and outline), fresh
// objects, glyphs already cached, per output point.
void printMemory()
{
    // Small sizes too: there a glyph gives a few points and what the
    // capture keeps per glyph weighs most.
    const Case memoryCases[] = {
        kCases[0], kCases[1], kCases[2], kCases[3],
        {"default6_1pt_0deg", "編集テキスト", 1, 0},
        {"default6_8pt_0deg", "編集テキスト", 8, 0},
        {"mixed46_1pt_0deg", kMixed.c_str(), 1, 0},
        {"mixed46_8pt_0deg", kMixed.c_str(), 8, 0},
    };
    std::printf("\n%-22s %10s %14s %16s\n", "case", "points", "bytes held", "bytes per point");
    for (const Case& c : memoryCases) {
        {
            lw::NullCanvas canvas;
            lw::DeviceContext dc(canvas);
            lw::CapturedOutline outline;
            capture(c, dc, outline); // caches the glyphs
            checkAgainstGetPath(dc, outline);
        }
        std::size_t before = g_live;
        g_peak = g_live;
        lw::NullCanvas canvas;
        auto* dc = new lw::DeviceContext(canvas);
        auto* outline = new lw::CapturedOutline;
        capture(c, *dc, *outline);
        std::size_t held = g_live - before, peak = g_peak - before;
        std::printf("%-22s %10d %14zu %16.1f   (peak during the capture %.1f)\n", c.name, outline->pointCount, held,
                    double(held) / outline->pointCount, double(peak) / outline->pointCount);
        delete outline;
        delete dc;
    }
}

// Per-character time and memory of captures of 10 to 10,000 characters of
// the mixed line at 24 pt: the first capture on fresh objects (glyphs cached)
// and the warm one.
void printScaling()
{
    std::u32string mixed = lw::utf8ToCodepoints(kMixed);
    std::printf("\n%8s %10s %14s %14s %14s %14s %12s\n", "chars", "points", "first cpu/ch", "warm cpu/ch",
                "warm wall/ch", "first/warm", "bytes/ch");
    for (int chars : {10, 100, 1000, 10000}) {
        std::u32string text;
        while (int(text.size()) < chars)
            text += mixed;
        text.resize(std::size_t(chars));
        std::string utf8 = lw::codepointsToUtf8(text);
        Case c{"scaling", utf8.c_str(), 24, 0};
        {
            lw::NullCanvas canvas;
            lw::DeviceContext dc(canvas);
            lw::CapturedOutline outline;
            capture(c, dc, outline);
        }
        // Nine rounds at least: the median of three moved by a fifth from run to run.
        const int rounds = std::max(9, 20000 / chars);
        std::vector<double> first, warmCpu, warmWall;
        std::size_t held = 0;
        int points = 0;
        for (int r = 0; r < rounds; ++r) {
            std::size_t before = g_live;
            lw::NullCanvas canvas;
            auto* dc = new lw::DeviceContext(canvas);
            auto* outline = new lw::CapturedOutline;
            double t0 = cpuSeconds();
            capture(c, *dc, *outline);
            double t1 = cpuSeconds();
            auto w1 = std::chrono::steady_clock::now();
            capture(c, *dc, *outline);
            auto w2 = std::chrono::steady_clock::now();
            double t2 = cpuSeconds();
            first.push_back(t1 - t0);
            warmCpu.push_back(t2 - t1);
            warmWall.push_back(std::chrono::duration<double>(w2 - w1).count());
            held = g_live - before;
            points = outline->pointCount;
            delete outline;
            delete dc;
        }
        auto median = [](std::vector<double> v) {
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        double f = median(first), w = median(warmCpu);
        std::printf("%8d %10d %11.3f us %11.3f us %11.3f us %14.2f %12.1f\n", chars, points, f / chars * 1e6,
                    w / chars * 1e6, median(warmWall) / chars * 1e6, f / w, double(held) / chars);
    }
}

void engine(benchmark::State& state, Case c)
{
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    lw::CapturedOutline outline;
    for (auto _ : state) {
        capture(c, dc, outline);
        benchmark::DoNotOptimize(outline.pathPoints.data());
    }
    state.counters["points"] = outline.pointCount;
}

// FreeType loading and decomposing the glyphs of a case, nothing more.
class Floor {
public:
    explicit Floor(const Case& c)
    {
        const lw::FontFace& face = lw::resolveFace(lw::design::kFaceName, false);
        FT_Init_FreeType(&lib_);
        FT_New_Face(lib_, face.file.c_str(), 0, &ft_);
        int px = int(std::lround(c.points * 96.0 / 72.0));
        FT_Set_Pixel_Sizes(ft_, 0, FT_UInt(px));
        double radians = c.angle * 3.14159265358979323846 / 180;
        FT_Matrix m{FT_Fixed(std::cos(radians) * 65536), FT_Fixed(-std::sin(radians) * 65536),
                    FT_Fixed(std::sin(radians) * 65536), FT_Fixed(std::cos(radians) * 65536)};
        FT_Set_Transform(ft_, &m, nullptr);
        funcs_.move_to = [](const FT_Vector*, void* u) { ++*static_cast<long*>(u); return 0; };
        funcs_.line_to = [](const FT_Vector*, void* u) { ++*static_cast<long*>(u); return 0; };
        funcs_.conic_to = [](const FT_Vector*, const FT_Vector*, void* u) { ++*static_cast<long*>(u); return 0; };
        funcs_.cubic_to = [](const FT_Vector*, const FT_Vector*, const FT_Vector*, void* u) {
            ++*static_cast<long*>(u);
            return 0;
        };
        text_ = lw::utf8ToCodepoints(c.text);
    }
    ~Floor()
    {
        FT_Done_Face(ft_);
        FT_Done_FreeType(lib_);
    }
    Floor(const Floor&) = delete;
    Floor& operator=(const Floor&) = delete;

    long run()
    {
        long steps = 0;
        for (char32_t ch : text_) {
            FT_UInt index = FT_Get_Char_Index(ft_, ch);
            if (FT_Load_Glyph(ft_, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0)
                FT_Outline_Decompose(&ft_->glyph->outline, &funcs_, &steps);
        }
        return steps;
    }

private:
    FT_Library lib_{};
    FT_Face ft_{};
    FT_Outline_Funcs funcs_{};
    std::u32string text_;
};

void floorFreeType(benchmark::State& state, Case c)
{
    Floor floor(c);
    for (auto _ : state)
        benchmark::DoNotOptimize(floor.run());
}

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

// Engine and floor taken in turns, a short batch of each per round, so a
// busy machine weighs on both alike; the ratio of each round's CPU times,
// median and quartiles over the rounds.
void printInterleaved()
{
    std::printf("\ninterleaved, CPU time per capture (engine and floor alternating every round)\n");
    std::printf("%-22s %10s %10s %12s %12s %12s\n", "case", "engine us", "floor us", "ratio q1", "ratio med",
                "ratio q3");
    for (const Case& c : kCases) {
        lw::NullCanvas canvas;
        lw::DeviceContext dc(canvas);
        lw::CapturedOutline outline;
        Floor floor(c);
        capture(c, dc, outline);
        floor.run();
        // About 30 us of work per batch: the clock's own cost stays small.
        double t0 = threadCpuSeconds();
        for (int i = 0; i < 20; ++i)
            floor.run();
        const int batch = std::max(1, int(30e-6 / std::max(1e-9, (threadCpuSeconds() - t0) / 20)));
        std::vector<double> engineTimes, floorTimes, ratios;
        for (int round = 0; round < 2000; ++round) {
            double a = threadCpuSeconds();
            for (int i = 0; i < batch; ++i)
                capture(c, dc, outline);
            double b = threadCpuSeconds();
            for (int i = 0; i < batch; ++i)
                benchmark::DoNotOptimize(floor.run());
            double e = threadCpuSeconds();
            engineTimes.push_back((b - a) / batch);
            floorTimes.push_back((e - b) / batch);
            ratios.push_back((b - a) / (e - b));
        }
        auto at = [](std::vector<double> v, double q) {
            std::sort(v.begin(), v.end());
            return v[std::size_t(q * double(v.size() - 1))];
        };
        std::printf("%-22s %10.2f %10.2f %12.3f %12.3f %12.3f\n", c.name, at(engineTimes, 0.5) * 1e6,
                    at(floorTimes, 0.5) * 1e6, at(ratios, 0.25), at(ratios, 0.5), at(ratios, 0.75));
    }
}

#ifdef LETTERWIRE_BENCH_QT
void qtPath(benchmark::State& state, Case c)
{
    const lw::FontFace& face = lw::resolveFace(lw::design::kFaceName, false);
    static std::map<std::string, QString> families;
    if (!families.count(face.file)) {
        int id = QFontDatabase::addApplicationFont(QString::fromStdString(face.file));
        families[face.file] = QFontDatabase::applicationFontFamilies(id).value(0);
    }
    QFont font(families[face.file]);
    font.setPixelSize(int(std::lround(c.points * 96.0 / 72.0)));
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    QString text = QString::fromUtf8(c.text);
    QTransform rotate;
    rotate.translate(230, 150).rotate(-c.angle);
    for (auto _ : state) {
        QPainterPath path;
        path.addText(0, 0, font, text);
        auto polygons = path.toSubpathPolygons(rotate);
        benchmark::DoNotOptimize(polygons.size());
    }
}
#endif

} // namespace

int main(int argc, char** argv)
{
#ifdef LETTERWIRE_BENCH_QT
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
#endif
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark((std::string("engine/") + c.name).c_str(), engine, c)->Unit(benchmark::kMicrosecond);
#ifdef LETTERWIRE_BENCH_QT
        benchmark::RegisterBenchmark((std::string("qt/") + c.name).c_str(), qtPath, c)->Unit(benchmark::kMicrosecond);
#endif
        benchmark::RegisterBenchmark((std::string("floor/") + c.name).c_str(), floorFreeType, c)->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);

    // Collect the times to print the ratios after the table.
    struct Collector : benchmark::ConsoleReporter {
        std::map<std::string, std::pair<double, double>> times; // cpu, wall
        void ReportRuns(const std::vector<Run>& runs) override
        {
            // With repetitions, the median stands for the case.
            for (const Run& r : runs)
                if (r.run_type == Run::RT_Iteration || r.aggregate_name == "median")
                    times[r.run_name.str()] = {r.GetAdjustedCPUTime(), r.GetAdjustedRealTime()};
            ConsoleReporter::ReportRuns(runs);
        }
    } reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%-22s %6s %10s %10s %10s %10s %10s\n", "case", "time", "engine us", "qt us", "floor us",
                "engine/qt", "engine/floor");
    for (const Case& c : kCases) {
        auto e = reporter.times["engine/" + std::string(c.name)];
        auto q = reporter.times["qt/" + std::string(c.name)];
        auto f = reporter.times["floor/" + std::string(c.name)];
        std::printf("%-22s %6s %10.2f %10.2f %10.2f %10.3f %10.3f\n", c.name, "cpu", e.first, q.first, f.first,
                    q.first > 0 ? e.first / q.first : 0.0, f.first > 0 ? e.first / f.first : 0.0);
        std::printf("%-22s %6s %10.2f %10.2f %10.2f %10.3f %10.3f\n", "", "wall", e.second, q.second, f.second,
                    q.second > 0 ? e.second / q.second : 0.0, f.second > 0 ? e.second / f.second : 0.0);
    }
    printInterleaved();
    printMemory();
    printScaling();
    return 0;
}
