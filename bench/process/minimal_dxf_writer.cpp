// The least a program can do to write the closed LWPOLYLINEs of a drawing:
// it reads them from a drawing (not timed), then opens a file and writes
// each as its count, its closed flag and its vertices, every number the
// shortest text that reads back as the same double, with fputs and fwrite
// only. Prints the CPU seconds of the writing and the vertices written:
//   minimal_dxf_writer IN.dxf OUT.dxf
// The peer of `letterwire-cli dxf` for big drawings (bench/big_drawing.sh).
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: minimal_dxf_writer IN.dxf OUT.dxf\n");
        return 2;
    }
    FILE* in = std::fopen(argv[1], "r");
    if (!in)
        return 1;
    // The polylines as their vertex counts and their coordinates, x y in turn.
    std::vector<int> counts;
    std::vector<double> xy;
    char code[64], value[512];
    bool inPolyline = false;
    while (std::fgets(code, sizeof code, in) && std::fgets(value, sizeof value, in)) {
        const int group = std::atoi(code);
        if (group == 0) {
            inPolyline = std::string(value) == "LWPOLYLINE\n";
            if (inPolyline)
                counts.push_back(0);
        } else if (inPolyline && (group == 10 || group == 20)) {
            xy.push_back(std::strtod(value, nullptr));
            if (group == 10)
                ++counts.back();
        }
    }
    std::fclose(in);

    const double start = cpuSeconds();
    FILE* out = std::fopen(argv[2], "w");
    if (!out)
        return 1;
    std::fputs("  0\nSECTION\n  2\nENTITIES\n", out);
    char text[64];
    std::size_t at = 0;
    for (const int count : counts) {
        std::fputs("  0\nLWPOLYLINE\n 90\n", out);
        char* end = std::to_chars(text, text + sizeof text, count).ptr;
        std::fwrite(text, 1, std::size_t(end - text), out);
        std::fputs("\n 70\n1\n", out);
        for (int k = 0; k < count; ++k, at += 2) {
            std::fputs(" 10\n", out);
            end = std::to_chars(text, text + sizeof text, xy[at]).ptr;
            *end = '\n';
            std::fwrite(text, 1, std::size_t(end - text) + 1, out);
            std::fputs(" 20\n", out);
            end = std::to_chars(text, text + sizeof text, xy[at + 1]).ptr;
            *end = '\n';
            std::fwrite(text, 1, std::size_t(end - text) + 1, out);
        }
    }
    std::fputs("  0\nENDSEC\n  0\nEOF\n", out);
    std::fclose(out);
    std::printf("%.6f %zu\n", cpuSeconds() - start, xy.size() / 2);
    return 0;
}
