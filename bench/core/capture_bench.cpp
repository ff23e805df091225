// The capture of a line of text three ways, on the same font file:
//   engine  - this engine (cached glyph outlines, flattening, figures)
//   qt      - QPainterPath::addText + toSubpathPolygons, the peer a Qt
//             developer would reach for
//   floor   - FreeType loading and decomposing the same glyphs at the size,
//             with no flattening at all
// Prints the engine's time as a ratio of the other two.

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

#include <cmath>
#include <cstdio>
#include <map>
#include <string>

namespace {

struct Case {
    const char* name;
    const char* text;
    float points;
    int angle;
};

const std::string kMixed = "編集テキストのアウトラインを書きこみます。Letterwire 2026 漢字かなカナABC"; // 40 characters

const Case kCases[] = {
    {"default_24pt_0deg", "編集テキスト", 24, 0},
    {"default_24pt_30deg", "編集テキスト", 24, 30},
    {"mixed40_144pt_0deg", kMixed.c_str(), 144, 0},
    {"mixed40_144pt_30deg", kMixed.c_str(), 144, 30},
};

void engine(benchmark::State& state, Case c)
{
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    lw::CapturedOutline outline;
    lw::WindowFont font;
    font.size = c.points;
    for (auto _ : state) {
        std::int32_t alCent = 1;
        lw::drawFlattenPath(alCent, {c.text, font, c.angle, 461, 301, 15}, dc, outline);
        benchmark::DoNotOptimize(outline.pathPoints.data());
    }
    state.counters["points"] = outline.pointCount;
}

void floorFreeType(benchmark::State& state, Case c)
{
    const lw::FontFace& face = lw::resolveFace(lw::design::kFaceName, false);
    FT_Library lib;
    FT_Init_FreeType(&lib);
    FT_Face ft;
    FT_New_Face(lib, face.file.c_str(), 0, &ft);
    int px = int(std::lround(c.points * 96.0 / 72.0));
    FT_Set_Pixel_Sizes(ft, 0, FT_UInt(px));
    double radians = c.angle * 3.14159265358979323846 / 180;
    FT_Matrix m{FT_Fixed(std::cos(radians) * 65536), FT_Fixed(-std::sin(radians) * 65536),
                FT_Fixed(std::sin(radians) * 65536), FT_Fixed(std::cos(radians) * 65536)};
    FT_Set_Transform(ft, &m, nullptr);
    FT_Outline_Funcs funcs{};
    funcs.move_to = [](const FT_Vector*, void* u) { ++*static_cast<long*>(u); return 0; };
    funcs.line_to = [](const FT_Vector*, void* u) { ++*static_cast<long*>(u); return 0; };
    funcs.conic_to = [](const FT_Vector*, const FT_Vector*, void* u) { ++*static_cast<long*>(u); return 0; };
    funcs.cubic_to = [](const FT_Vector*, const FT_Vector*, const FT_Vector*, void* u) {
        ++*static_cast<long*>(u);
        return 0;
    };
    std::u32string text = lw::utf8ToCodepoints(c.text);
    for (auto _ : state) {
        long steps = 0;
        for (char32_t ch : text) {
            FT_UInt index = FT_Get_Char_Index(ft, ch);
            if (FT_Load_Glyph(ft, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0)
                FT_Outline_Decompose(&ft->glyph->outline, &funcs, &steps);
        }
        benchmark::DoNotOptimize(steps);
    }
    FT_Done_Face(ft);
    FT_Done_FreeType(lib);
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
        std::map<std::string, double> times;
        void ReportRuns(const std::vector<Run>& runs) override
        {
            // With repetitions, the median stands for the case.
            for (const Run& r : runs)
                if (r.run_type == Run::RT_Iteration || r.aggregate_name == "median")
                    times[r.run_name.str()] = r.GetAdjustedRealTime();
            ConsoleReporter::ReportRuns(runs);
        }
    } reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%-22s %12s %12s %12s %10s %10s\n", "case", "engine us", "qt us", "floor us",
                "engine/qt", "engine/floor");
    for (const Case& c : kCases) {
        double e = reporter.times["engine/" + std::string(c.name)];
        double q = reporter.times["qt/" + std::string(c.name)];
        double f = reporter.times["floor/" + std::string(c.name)];
        std::printf("%-22s %12.2f %12.2f %12.2f %10.3f %10.3f\n", c.name, e, q, f, q > 0 ? e / q : 0.0,
                    f > 0 ? e / f : 0.0);
    }
    return 0;
}
