// The offset alone on the merged shapes of a text, and those shapes written
// out so that another program (bench/offset_geos.py, GEOS through shapely)
// can buffer the very same polygons beside it:
//   offset_bench CHARACTERS POINTS OFFSET-MM ROUNDS [SHAPES-FILE [RESULT-FILE]]
// prints the shapes' vertices, the distance and arc tolerance in grid units,
// the points per circle, and the best and median CPU seconds of the rounds.
// The text is the default text repeated. The file holds one contour a line,
// "O" or "H" (outer or hole) and its x y pairs in grid units; the last line
// is the distance and tolerance.
#include "cut/cad_outline.hpp"
#include "cut/offset.hpp"
#include "outline/capture.hpp"
#include "outline/precision.hpp"
#include "platform/canvas.hpp"

#include <algorithm>
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

std::string repeated(const std::u32string& piece, std::size_t characters)
{
    std::string out;
    for (std::size_t i = 0; i < characters; ++i) {
        const char32_t c = piece[i % piece.size()];
        // The piece is in the Basic Multilingual Plane.
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The merged outline's figures as shapes: an outer contour (clockwise in
// device orientation) starts one, the holes after it belong to it.
std::vector<lw::Shape> shapesOf(const lw::CapturedOutline& outline)
{
    std::vector<lw::Shape> shapes;
    for (const lw::Figure& f : lw::figures(outline)) {
        lw::Contour c(f.points.begin(), f.points.end());
        if (lw::twiceArea(c) < 0 || shapes.empty())
            shapes.push_back({std::move(c), {}});
        else
            shapes.back().holes.push_back(std::move(c));
    }
    return shapes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: offset_bench CHARACTERS POINTS OFFSET-MM ROUNDS [SHAPES-FILE]\n");
        return 2;
    }
    const std::size_t characters = std::strtoul(argv[1], nullptr, 10);
    const float points = std::strtof(argv[2], nullptr);
    const double offsetMm = std::strtod(argv[3], nullptr);
    const int rounds = std::max(1, std::atoi(argv[4]));

    const std::string text = repeated(U"編集テキスト", characters);
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    lw::CapturedOutline captured;
    lw::WindowFont font;
    font.size = points;
    const double dpi = lw::dpiForStep(0.01);
    const lw::CaptureSource source{text, font, 0, lw::design::kPreviewWidth, lw::design::kPreviewHeight, 1440 / dpi};
    std::int32_t alCent = 0;
    lw::drawFlattenPath(lw::placementFor(alCent), source, dc, captured);
    const double offsetPixels = offsetMm * dpi / lw::kMmPerInch;
    // The grid the CLI's offset works on: made with the offset asked for.
    const int scale = lw::cadOutline(captured, {.merge = true, .offsetPixels = offsetPixels}).gridScale;
    const lw::CadOutline merged = lw::cadOutline(captured, {.merge = true});
    if (merged.gridScale != scale) {
        std::fprintf(stderr, "the merge's grid (%d) is not the offset's (%d)\n", merged.gridScale, scale);
        return 1;
    }
    const std::vector<lw::Shape> shapes = shapesOf(merged.outline);
    const double distance = offsetPixels * scale, tolerance = lw::kOffsetArcTolerance * scale;

    std::size_t vertices = 0;
    for (const lw::Shape& s : shapes) {
        vertices += s.outer.size();
        for (const lw::Contour& h : s.holes)
            vertices += h.size();
    }
    std::vector<double> times;
    std::size_t out = 0;
    for (int r = 0; r < rounds; ++r) {
        const double start = cpuSeconds();
        const std::vector<lw::Shape> moved = lw::offsetShapes(shapes, distance, tolerance);
        times.push_back(cpuSeconds() - start);
        out = 0;
        for (const lw::Shape& s : moved) {
            out += s.outer.size();
            for (const lw::Contour& h : s.holes)
                out += h.size();
        }
    }
    if (argc > 6) {
        // The result too, in the same form, for a comparison.
        FILE* f = std::fopen(argv[6], "w");
        if (!f)
            return 1;
        for (const lw::Shape& s : lw::offsetShapes(shapes, distance, tolerance)) {
            const auto write = [&](char kind, const lw::Contour& c) {
                std::fputc(kind, f);
                for (const lw::POINT& p : c)
                    std::fprintf(f, " %d %d", int(p.x), int(p.y));
                std::fputc('\n', f);
            };
            write('O', s.outer);
            for (const lw::Contour& h : s.holes)
                write('H', h);
        }
        std::fclose(f);
    }
    std::sort(times.begin(), times.end());
    std::printf("%zu %zu %.17g %.17g %d %.6f %.6f %zu\n", shapes.size(), vertices, distance, tolerance,
                lw::pointsPerCircle(distance, tolerance), times.front(), times[times.size() / 2], out);

    if (argc > 5) {
        FILE* f = std::fopen(argv[5], "w");
        if (!f)
            return 1;
        for (const lw::Shape& s : shapes) {
            const auto write = [&](char kind, const lw::Contour& c) {
                std::fputc(kind, f);
                for (const lw::POINT& p : c)
                    std::fprintf(f, " %d %d", int(p.x), int(p.y));
                std::fputc('\n', f);
            };
            write('O', s.outer);
            for (const lw::Contour& h : s.holes)
                write('H', h);
        }
        std::fprintf(f, "D %.17g %.17g %d\n", distance, tolerance, lw::pointsPerCircle(distance, tolerance));
        std::fclose(f);
    }
    return 0;
}
