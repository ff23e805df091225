// Writing the JW output of a 100,000-point outline, against the same lines
// made with snprintf("%.15G") and the fix-ups that give the same text; and
// the whole JW export as a user runs it, command file in, output file out,
// taken in turns with the DXF export of the same outline to a file.
#include "export/dxf.hpp"
#include "export/jw_command.hpp"
#include "export/jw_output.hpp"

#include "export_fixtures.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <time.h>
#include <vector>
#include <string>
#include <unistd.h>

namespace {

constexpr int kPoints = 100000;

lw::CapturedOutline bigOutline() { return lw::bench::bigOutline(kPoints); }

const lw::JwPlacement kPlacement{.baseX = 100, .baseY = 50, .scale = 1, .twipsPerPixel = 15};

// The print form built on "%.15G": blank or "-", no "0" before ".", one blank.
void appendSnprintfForm(std::string& line, double value)
{
    char text[40];
    int n = std::snprintf(text, sizeof text, "%.15G", value);
    const char* digits = text;
    if (value < 0) {
        line += '-';
        ++digits;
    } else {
        line += ' ';
    }
    if (digits[0] == '0' && digits[1] == '.')
        ++digits;
    line.append(digits, std::size_t(text + n - digits));
    line += ' ';
}

void writeWithSnprintf(lw::ByteSink& out, lw::CapturedOutline& outline, const lw::JwPlacement& p)
{
    const double k = ((p.twipsPerPixel / 1440) * 25.4) * p.scale;
    double bottom = 0;
    for (int j = 0; j < outline.pointCount; ++j)
        bottom = std::max(bottom, double(outline.pathPoints[std::size_t(j)].y));
    std::string buffer;
    auto pointLine = [&](int j) {
        const lw::POINT& q = outline.pathPoints[std::size_t(j)];
        appendSnprintfForm(buffer, p.baseX + q.x * k);
        appendSnprintfForm(buffer, p.baseY - (q.y - bottom) * k);
        buffer += "\r\n";
    };
    int figure = 0;
    for (int j = 0; j < outline.pointCount; ++j) {
        if (outline.pathTypes[std::size_t(j)] & 1) {
            ++figure;
            pointLine(j);
            pointLine(j - figure + 1);
            buffer += "\r\n";
            figure = 0;
        } else {
            pointLine(j);
            ++figure;
        }
        if (buffer.size() > 65536) {
            out.write(buffer);
            buffer.clear();
        }
    }
    out.write(buffer);
}

using lw::bench::CountingSink;

template <typename Write>
void run(benchmark::State& state, Write write)
{
    lw::CapturedOutline outline = bigOutline();
    std::size_t bytes = 0;
    for (auto _ : state) {
        CountingSink sink;
        write(sink, outline, kPlacement);
        bytes = sink.count;
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * bytes));
    state.counters["points"] = kPoints;
}

void BM_JwOutline(benchmark::State& state) { run(state, lw::writeJwOutline); }
void BM_JwOutlineSnprintf(benchmark::State& state) { run(state, writeWithSnprintf); }

// A command file as a host writes it: a base point, a scale table and a
// chosen scale (1:2), so every point line carries full-length numbers.
constexpr const char* kCommandFile = "hq\r\nhp1 100 50\r\nhs 1 2 5 10 \r\nlg1\r\nlayer text\r\n";

// The path a user takes: the command file read, the output written to a
// real file in the temporary folder, closed and in place.
void BM_JwExportToFile(benchmark::State& state)
{
    lw::CapturedOutline outline = bigOutline();
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("letterwire-jw-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string command = (folder / "command.txt").string(), output = (folder / "output.txt").string();
    std::ofstream(command, std::ios::binary) << kCommandFile;
    for (auto _ : state)
        lw::writeJwExport(command, output, outline, 15);
    const auto bytes = fs::file_size(output);
    fs::remove_all(folder);
    state.SetBytesProcessed(std::int64_t(state.iterations() * bytes));
    state.counters["points"] = kPoints;
}

BENCHMARK(BM_JwOutline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JwOutlineSnprintf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JwExportToFile)->Unit(benchmark::kMillisecond);

// Both must give the same text, and the ratio is what the goal is about.
void printRatio()
{
    lw::CapturedOutline outline = bigOutline();
    lw::StringSink ours, theirs;
    lw::writeJwOutline(ours, outline, kPlacement);
    writeWithSnprintf(theirs, outline, kPlacement);
    if (ours.text() != theirs.text()) {
        std::fprintf(stderr, "the two writers differ\n");
        std::exit(1);
    }
    // Medians of 15 runs, CPU and wall, the two writers in turn.
    std::vector<double> cpu[2], wall[2];
    for (int i = 0; i < 15; ++i) {
        for (int w = 0; w < 2; ++w) {
            CountingSink out;
            timespec c0{}, c1{};
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c0);
            auto start = std::chrono::steady_clock::now();
            if (w == 0)
                lw::writeJwOutline(out, outline, kPlacement);
            else
                writeWithSnprintf(out, outline, kPlacement);
            auto stop = std::chrono::steady_clock::now();
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c1);
            wall[w].push_back(std::chrono::duration<double, std::milli>(stop - start).count());
            cpu[w].push_back((c1.tv_sec - c0.tv_sec) * 1e3 + (c1.tv_nsec - c0.tv_nsec) / 1e6);
        }
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("JW output of %d points (medians of 15): cpu %.2f ms against snprintf %.2f ms, %.2fx faster; "
                "wall %.2f ms against %.2f ms, %.2fx (goal: 3x and under 30 ms)\n",
                kPoints, median(cpu[0]), median(cpu[1]), median(cpu[1]) / median(cpu[0]), median(wall[0]),
                median(wall[1]), median(wall[1]) / median(wall[0]));
}

double cpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The whole JW export (command file in, output file closed) against the DXF
// export of the same outline to a file, in turns; the JW output must have
// real numbers in it, not the base point again and again.
void printExportRatio()
{
    lw::CapturedOutline outline = bigOutline();
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("letterwire-jw-dxf-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string command = (folder / "command.txt").string(), jw = (folder / "output.txt").string(),
                      dxf = (folder / "output.dxf").string();
    std::ofstream(command, std::ios::binary) << kCommandFile;
    const lw::DxfPlacement placement{{.originX = 0, .originY = 28, .dpi = 96}, "編集テキスト"};
    lw::writeJwExport(command, jw, outline, 15);
    {
        std::ifstream written(jw, std::ios::binary);
        std::string line;
        int same = 0;
        while (std::getline(written, line))
            same += line.rfind(" 100  50", 0) == 0;
        if (same > 1) {
            std::fprintf(stderr, "the JW output repeats the base point: no scale was chosen\n");
            std::exit(1);
        }
    }
    std::vector<double> jwTimes, dxfTimes, ratios;
    for (int i = 0; i < 21; ++i) {
        double a = cpuMilliseconds();
        lw::writeJwExport(command, jw, outline, 15);
        double b = cpuMilliseconds();
        lw::writeDxfFile(dxf, outline, placement);
        double c = cpuMilliseconds();
        jwTimes.push_back(b - a);
        dxfTimes.push_back(c - b);
        ratios.push_back((b - a) / (c - b));
    }
    auto at = [](std::vector<double> v, double q) {
        std::sort(v.begin(), v.end());
        return v[std::size_t(q * double(v.size() - 1))];
    };
    std::printf("whole export of %d points to a file (CPU, in turns, 21 rounds): JW %.2f ms (%ju bytes), "
                "DXF %.2f ms (%ju bytes); JW / DXF median %.3f, quartiles %.3f-%.3f (goal <= 1.0)\n",
                kPoints, at(jwTimes, 0.5), std::uintmax_t(fs::file_size(jw)), at(dxfTimes, 0.5),
                std::uintmax_t(fs::file_size(dxf)), at(ratios, 0.5), at(ratios, 0.25), at(ratios, 0.75));
    fs::remove_all(folder);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    printRatio();
    printExportRatio();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
