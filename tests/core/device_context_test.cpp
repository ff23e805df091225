// The device context: path bracket, GetPath's counting contract, drawing,
// and the accuracy of the flattening.
#include "base/codepage.hpp"
#include "platform/device_context.hpp"
#include "platform/freetype/device_points.hpp"
#include "platform/freetype/flatten.hpp"
#include "platform/freetype/font_library.hpp"
#include "outline/text_output.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace lw;

namespace {

double distanceToSegment(PointF p, PointF a, PointF b)
{
    double dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
    double t = l2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0) : 0;
    return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

double distanceToPolyline(PointF p, const std::vector<PointF>& line)
{
    double best = 1e300;
    for (std::size_t i = 0; i + 1 < line.size(); ++i)
        best = std::min(best, distanceToSegment(p, line[i], line[i + 1]));
    return best;
}

PointF cubicAt(PointF p0, PointF p1, PointF p2, PointF p3, double t)
{
    double u = 1 - t;
    return {u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x,
            u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y};
}

} // namespace

TEST(GetPath, CountsWithSizeZeroFillsWithSizeNAndRefusesWithoutAClosedPath)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    EXPECT_EQ(GetPath(dc, nullptr, nullptr, 0), -1); // no path at all
    BeginPath(dc);
    EXPECT_EQ(GetPath(dc, nullptr, nullptr, 0), -1); // still open
    POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    Polygon(dc, square, 4);
    EndPath(dc);
    FlattenPath(dc);
    ASSERT_EQ(GetPath(dc, nullptr, nullptr, 0), 4);
    POINT points[4];
    std::uint8_t types[4];
    EXPECT_EQ(GetPath(dc, points, types, 3), -1); // too small
    ASSERT_EQ(GetPath(dc, points, types, 4), 4);
    EXPECT_EQ(points[2], (POINT{10, 10}));
    EXPECT_EQ(types[0], PT_MOVETO);
    EXPECT_EQ(types[1], PT_LINETO);
    EXPECT_EQ(types[3], PT_LINETO | PT_CLOSEFIGURE);
    EXPECT_FALSE(EndPath(dc)); // not open any more
}

TEST(GetPath, BeginPathDiscardsTheEarlierPath)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    POINT line[] = {{0, 0}, {5, 5}, {0, 5}};
    BeginPath(dc);
    Polygon(dc, line, 3);
    EndPath(dc);
    BeginPath(dc);
    EndPath(dc);
    EXPECT_EQ(GetPath(dc, nullptr, nullptr, 0), 0);
}

// Lines of text in several sizes and angles, with figures of the path's own
// between them, flatten to each of them flattened alone, one after another in
// the order they were drawn; GetPath reads the same.
TEST(GetPath, TextAndFiguresFlattenInTheOrderTheyWereDrawn)
{
    struct Drawn {
        const char* text = nullptr; // none: a square
        int height = 0, angle = 0;
        bool underline = false;
    };
    const std::vector<std::vector<Drawn>> rows = {
        {{"編集", 32, 0, false}, {}, {"テキスト", 32, 0, true}},
        {{"AB", 24, 0, false}, {"CD", 24, 30, false}, {}},
        {{}, {"gy", 40, 0, true}, {}, {"gy", 40, 0, false}, {"出口", 16, 90, false}, {"出口", 16, 90, true}},
    };
    auto draw = [](DeviceContext& dc, const Drawn& drawn) {
        if (!drawn.text) {
            const POINT square[] = {{-5, -5}, {5, -5}, {5, 5}, {-5, 5}};
            Polygon(dc, square, 4);
            return;
        }
        WindowFont font;
        font.underline = drawn.underline;
        LOGFONT lf;
        setLogFont(lf, "ＭＳ Ｐゴシック", drawn.height, drawn.angle, font);
        outputText(dc, lf, drawn.text, 0, 40, 60);
    };
    for (std::size_t row = 0; row < rows.size(); ++row) {
        NullCanvas canvas;
        DeviceContext dc(canvas);
        std::vector<POINT> expected;
        std::vector<std::uint8_t> expectedTypes;
        for (const Drawn& drawn : rows[row]) {
            BeginPath(dc);
            draw(dc, drawn);
            EndPath(dc);
            std::vector<POINT> points;
            std::vector<std::uint8_t> types;
            const int n = flattenPathInto(dc, points, types);
            ASSERT_GT(n, 0) << row;
            expected.insert(expected.end(), points.begin(), points.begin() + n);
            expectedTypes.insert(expectedTypes.end(), types.begin(), types.begin() + n);
        }
        BeginPath(dc);
        for (const Drawn& drawn : rows[row])
            draw(dc, drawn);
        EndPath(dc);
        std::vector<POINT> points;
        std::vector<std::uint8_t> types;
        const int n = flattenPathInto(dc, points, types);
        ASSERT_EQ(n, int(expected.size())) << row;
        points.resize(expected.size());
        types.resize(expected.size());
        EXPECT_EQ(points, expected) << row;
        EXPECT_EQ(types, expectedTypes) << row;
        ASSERT_EQ(GetPath(dc, nullptr, nullptr, 0), n) << row;
        ASSERT_EQ(GetPath(dc, points.data(), types.data(), n), n) << row;
        EXPECT_EQ(points, expected) << row;
        EXPECT_EQ(types, expectedTypes) << row;
    }
}

TEST(Drawing, PolygonAndLinesGoToTheCanvasInThePenColour)
{
    RecordingCanvas canvas;
    DeviceContext dc(canvas);
    POINT triangle[] = {{0, 0}, {10, 0}, {5, 8}};
    dc.setPenColour({128, 0, 0});
    Polygon(dc, triangle, 3);
    POINT old{};
    MoveToEx(dc, 1, 2, &old);
    LineTo(dc, 3, 4);
    LineTo(dc, 5, 6);
    ASSERT_EQ(canvas.polygons.size(), 1u);
    EXPECT_EQ(canvas.polygons[0].points.size(), 3u);
    EXPECT_EQ(canvas.polygons[0].pen, (Rgb{128, 0, 0}));
    ASSERT_EQ(canvas.lines.size(), 2u);
    EXPECT_EQ(canvas.lines[0].from, (POINT{1, 2}));
    EXPECT_EQ(canvas.lines[1].from, (POINT{3, 4}));
    EXPECT_EQ(canvas.lines[1].to, (POINT{5, 6}));
    EXPECT_EQ(dc.currentPosition(), (POINT{5, 6}));
}

TEST(Flattening, EveryPartOfTheCurveLiesWithinTheToleranceOfThePolyline)
{
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> coordinate(-300, 300);
    for (int round = 0; round < 500; ++round) {
        PointF p[4];
        for (auto& q : p)
            q = {coordinate(random), coordinate(random)};
        std::vector<PointF> line{p[0]};
        flattenCubic(p[0], p[1], p[2], p[3], kFlatness, line);
        ASSERT_EQ(line.back().x, p[3].x);
        for (int k = 0; k <= 400; ++k) {
            PointF onCurve = cubicAt(p[0], p[1], p[2], p[3], k / 400.0);
            ASSERT_LE(distanceToPolyline(onCurve, line), kFlatness + 1e-9) << round << " " << k;
        }
    }
}

TEST(Flattening, StraightCurvesAndPointsNeedOneSegment)
{
    EXPECT_EQ(flatteningSegments({0, 0}, {1, 1}, {2, 2}, {3, 3}, kFlatness), 1);
    EXPECT_EQ(flatteningSegments({5, 5}, {5, 5}, {5, 5}, {5, 5}, kFlatness), 1);
    EXPECT_LE(flatteningSegments({0, 0}, {1e30, 0}, {-1e30, 0}, {0, 0}, kFlatness), 1024);
}

// Points round half-way up and clamp to +-2^30 on either road, x and y
// alike: a truncation toward zero, a swapped lane or a lost half shows here.
TEST(DevicePoints, RoundHalfWayUpAndClampAsTheScalarRoundingDoes)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr std::int32_t limit = 1 << 30;
    const struct {
        double v;
        std::int32_t pixel;
    } table[] = {
        {0, 0},        {-0.0, 0},       {0.4, 0},          {0.5, 1},         {1.5, 2},
        {-0.5, 0},     {-0.51, -1},     {-1.5, -1},        {-1.6, -2},       {-1e-300, 0},
        {-0.75, -1},   {2.4999, 2},     {-2.5000001, -3},  {1e300, limit},   {-1e300, -limit},
        {inf, limit},  {-inf, -limit},  {nan, -limit},     {1073741823.4, 1073741823},
        {-1073741824.4, -limit},
    };
    const std::size_t n = std::size(table);
    for (std::size_t i = 0; i < n; ++i) {
        EXPECT_EQ(devicePixel(table[i].v), table[i].pixel) << table[i].v;
        const auto& other = table[n - 1 - i];
        EXPECT_EQ(devicePoint({table[i].v, other.v}), (POINT{table[i].pixel, other.pixel}))
            << table[i].v << ", " << other.v;
    }
}

TEST(DevicePoints, CurvesRoundToThePixelsOfTheScalarFlattening)
{
    std::mt19937 random(2026);
    for (double range : {3.0, 300.0, 3e5, 3e9}) {
        std::uniform_real_distribution<double> coordinate(-range, range);
        for (int round = 0; round < 300; ++round) {
            PointF p[4];
            for (auto& q : p)
                q = {coordinate(random), coordinate(random)};
            std::vector<POINT> scalar, device;
            flattenCubic(p[0], p[1], p[2], p[3], kFlatness,
                         [&](PointF q) { scalar.push_back({devicePixel(q.x), devicePixel(q.y)}); });
            flattenCubicToDevice(p[0], p[1], p[2], p[3], kFlatness, [&](POINT q) { device.push_back(q); });
            ASSERT_EQ(device, scalar) << range << " " << round;
        }
    }
}

TEST(Flattening, CapturedGlyphStaysWithinToleranceAndRoundingOfTheExactOutline)
{
    // "S" at 144 pt (192 px) at the origin: every exact outline point must lie
    // near the flattened figures and every captured point near the outline.
    const double allowed = kFlatness + std::sqrt(0.5) + 1e-6;
    NullCanvas canvas;
    DeviceContext dc(canvas);
    LOGFONT lf;
    setLogFont(lf, "ＭＳ Ｐゴシック", 192, 0, WindowFont{});
    BeginPath(dc);
    outputText(dc, lf, "S", 0, 0, 0);
    EndPath(dc);
    FlattenPath(dc);
    int n = GetPath(dc, nullptr, nullptr, 0);
    std::vector<POINT> points(static_cast<std::size_t>(n));
    std::vector<std::uint8_t> types(static_cast<std::size_t>(n));
    GetPath(dc, points.data(), types.data(), n);

    std::vector<std::vector<PointF>> figures(1);
    for (int i = 0; i < n; ++i) {
        figures.back().push_back({double(points[std::size_t(i)].x), double(points[std::size_t(i)].y)});
        if (types[std::size_t(i)] & PT_CLOSEFIGURE) {
            figures.back().push_back(figures.back().front());
            figures.emplace_back();
        }
    }
    figures.pop_back();

    const FontFace& face = resolveFace("ＭＳ Ｐゴシック", false);
    const GlyphOutline* glyph = face.glyph(U'S');
    ASSERT_NE(glyph, nullptr);
    double scale = 192.0 / face.unitsPerEm;
    double ascent = std::floor(face.ascent * scale + 0.5);
    auto device = [&](double fx, double fy) { return PointF{fx * scale, ascent - fy * scale}; };
    std::vector<PointF> exact;
    PointF last{};
    for (const OutlineStep& s : glyph->steps) {
        if (s.kind == OutlineStep::Move || s.kind == OutlineStep::Line) {
            last = device(s.x[0], s.y[0]);
            exact.push_back(last);
        } else if (s.kind == OutlineStep::Conic) {
            PointF c = device(s.x[0], s.y[0]), e = device(s.x[1], s.y[1]);
            for (int k = 1; k <= 50; ++k) {
                double t = k / 50.0, u = 1 - t;
                exact.push_back({u * u * last.x + 2 * u * t * c.x + t * t * e.x,
                                 u * u * last.y + 2 * u * t * c.y + t * t * e.y});
            }
            last = e;
        }
    }
    ASSERT_GT(exact.size(), 100u);
    auto nearestFigure = [&](PointF p) {
        double best = 1e300;
        for (const auto& f : figures)
            best = std::min(best, distanceToPolyline(p, f));
        return best;
    };
    for (PointF p : exact)
        EXPECT_LE(nearestFigure(p), allowed) << p.x << "," << p.y;
    for (const POINT& q : points) {
        double best = 1e300;
        for (PointF e : exact)
            best = std::min(best, std::hypot(e.x - q.x, e.y - q.y));
        EXPECT_LE(best, allowed + 0.05) << q.x << "," << q.y; // sampled outline: a little slack
    }
}
