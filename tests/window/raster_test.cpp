// The preview's rasteriser, read back as text: '#' for the fill, 'o' for an
// outline, '.' for the background. Pixel by pixel, so a fill by the wrong
// rule, an edge off by one or a line that loses an end shows at once.

#include "window/qt/raster.hpp"

#include <QTest>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kBackground = 0, kFill = 1, kInk = 2;

struct Buffer {
    int width, height;
    std::vector<std::uint32_t> bits;
    Buffer(int w, int h) : width(w), height(h), bits(std::size_t(w * h), kBackground) {}
    lw::Pixels pixels() { return {bits.data(), width, height, width}; }
    QString dump() const
    {
        std::string text;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                text += ".#o"[bits[std::size_t(y * width + x)]];
            text += '\n';
        }
        return QString::fromStdString(text);
    }
};

using Polygon = std::vector<lw::POINT>;

QString filled(int width, int height, const std::vector<Polygon>& polygons)
{
    Buffer buffer(width, height);
    std::vector<std::span<const lw::POINT>> spans(polygons.begin(), polygons.end());
    lw::fillNonzero(buffer.pixels(), spans, kFill);
    return buffer.dump();
}

Polygon reversed(Polygon p) { return {p.rbegin(), p.rend()}; }

// The winding number around pixel (x, y)'s centre, counted exactly: an edge
// crossing the centre's row at or left of the centre counts.
int windingAt(const std::vector<Polygon>& polygons, int x, int y)
{
    const long long cx2 = 2LL * x + 1, cy2 = 2LL * y + 1;
    int winding = 0;
    for (const Polygon& p : polygons)
        for (std::size_t i = 0; i < p.size(); ++i) {
            lw::POINT a = p[i], b = p[(i + 1) % p.size()];
            int sign = 1;
            if (a.y > b.y) {
                std::swap(a, b);
                sign = -1;
            }
            if (!(2LL * a.y <= cy2 && cy2 < 2LL * b.y))
                continue;
            const long long dx = b.x - a.x, dy = b.y - a.y;
            if ((2LL * a.x - cx2) * dy + (cy2 - 2LL * a.y) * dx <= 0)
                winding += sign;
        }
    return winding;
}

} // namespace

class RasterTest : public QObject {
    Q_OBJECT
private slots:
    void fillTakesThePixelsWhoseCentresLieInside()
    {
        // Corners on pixel corners: centres 1.5 to 3.5 across, 1.5 to 2.5 down.
        const Polygon box{{1, 1}, {4, 1}, {4, 3}, {1, 3}};
        const QString expected = "......\n"
                                 ".###..\n"
                                 ".###..\n"
                                 "......\n";
        QCOMPARE(filled(6, 4, {box}), expected);
        QCOMPARE(filled(6, 4, {reversed(box)}), expected);
        // Slanted edges through pixel centres: a centre on a left edge is in,
        // one on a right edge out.
        QCOMPARE(filled(5, 4, {{{0, 0}, {4, 0}, {0, 4}}}), QString("###..\n##...\n#....\n.....\n"));
        QCOMPARE(filled(5, 4, {{{0, 0}, {4, 0}, {4, 4}}}), QString("####.\n.###.\n..##.\n...#.\n"));
    }

    void nonzeroKeepsCountersOpenAndFillsWhatWindsTwice()
    {
        const Polygon outer{{0, 0}, {8, 0}, {8, 6}, {0, 6}};
        const Polygon inner{{2, 2}, {6, 2}, {6, 4}, {2, 4}};
        // Wound against the outer outline: a counter.
        QCOMPARE(filled(8, 6, {outer, reversed(inner)}), QString("########\n"
                                                                  "########\n"
                                                                  "##....##\n"
                                                                  "##....##\n"
                                                                  "########\n"
                                                                  "########\n"));
        // Wound with it (a stroke over a stroke), in either order: all ink.
        const QString solid = filled(8, 6, {outer});
        QCOMPARE(filled(8, 6, {outer, inner}), solid);
        QCOMPARE(filled(8, 6, {inner, outer}), solid);
    }

    void fillIsExactlyTheNonzeroCentresOfTangledOutlines()
    {
        // Self-crossing outlines of both windings, partly off the buffer.
        std::mt19937 random(7);
        std::uniform_int_distribution<int> coordinate(-6, 26), corners(3, 9), count(1, 4);
        for (int round = 0; round < 300; ++round) {
            std::vector<Polygon> polygons(std::size_t(count(random)));
            for (Polygon& p : polygons) {
                p.resize(std::size_t(corners(random)));
                for (lw::POINT& point : p)
                    point = {coordinate(random), coordinate(random)};
            }
            std::string expected;
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 20; ++x)
                    expected += windingAt(polygons, x, y) != 0 ? '#' : '.';
                expected += '\n';
            }
            QCOMPARE(filled(20, 16, polygons), QString::fromStdString(expected));
            // Clearing a box in the same pass leaves the fill as it was and
            // only the box's other pixels cleared.
            const lw::PixelBox box{coordinate(random), coordinate(random), coordinate(random), coordinate(random)};
            Buffer apart(20, 16), together(20, 16);
            std::fill(apart.bits.begin(), apart.bits.end(), kInk);
            together.bits = apart.bits;
            std::vector<std::span<const lw::POINT>> spans(polygons.begin(), polygons.end());
            lw::fillBox(apart.pixels(), box, kBackground);
            lw::fillNonzero(apart.pixels(), spans, kFill);
            lw::fillNonzero(together.pixels(), spans, kFill, box, kBackground);
            QCOMPARE(together.dump(), apart.dump());
        }
        // So many crossings that the rows are taken in several bands.
        Polygon zigzag(30000);
        for (lw::POINT& point : zigzag)
            point = {coordinate(random), coordinate(random)};
        std::string expected;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 20; ++x)
                expected += windingAt({zigzag}, x, y) != 0 ? '#' : '.';
            expected += '\n';
        }
        QCOMPARE(filled(20, 16, {zigzag}), QString::fromStdString(expected));
    }

    void oneWorkspaceFillsLinesOfGlyphsInAnyOrder_data()
    {
        QTest::addColumn<int>("order"); // of the glyphs along the row
        QTest::addColumn<int>("glyphs");
        QTest::newRow("in order, short rows") << 0 << 6;
        QTest::newRow("in order, long rows") << 0 << 40;
        QTest::newRow("right to left, long rows") << 1 << 40;
        QTest::newRow("shuffled, long rows") << 2 << 40;
        QTest::newRow("right to left, short rows") << 1 << 6;
    }

    // A line of ringed, slanted glyphs crosses each row many times, in the
    // order the glyphs come; the fills share one workspace, each after a
    // larger or smaller one, and each is the exact nonzero count.
    void oneWorkspaceFillsLinesOfGlyphsInAnyOrder()
    {
        QFETCH(int, order);
        QFETCH(int, glyphs);
        static lw::FillWorkspace workspace; // across the table's rows
        std::vector<Polygon> polygons;
        for (int g = 0; g < glyphs; ++g) {
            const int x = 3 + g * 7;
            polygons.push_back({{x, 1}, {x + 6, 2}, {x + 5, 17}, {x - 1, 16}});
            polygons.push_back(reversed({{x + 1, 5}, {x + 4, 5}, {x + 4, 9}, {x + 1, 10}}));
        }
        if (order == 1)
            std::reverse(polygons.begin(), polygons.end());
        if (order == 2)
            std::shuffle(polygons.begin(), polygons.end(), std::mt19937(3));
        const int width = 10 + glyphs * 7, height = 19;
        std::string expected;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                expected += windingAt(polygons, x, y) != 0 ? '#' : '.';
            expected += '\n';
        }
        Buffer buffer(width, height);
        std::vector<std::span<const lw::POINT>> spans(polygons.begin(), polygons.end());
        lw::fillNonzero(buffer.pixels(), spans, kFill, workspace);
        QCOMPARE(buffer.dump(), QString::fromStdString(expected));
    }

    void farCoordinatesFillAndClipWithoutTheirCost()
    {
        constexpr int far = 1 << 30;
        QCOMPARE(filled(4, 2, {{{-far, -far}, {far, -far}, {far, far}, {-far, far}}}), QString("####\n####\n"));
        QCOMPARE(filled(4, 2, {{{-far, -far}, {-far + 1, -far}, {-far + 1, -far + 1}}}), QString("....\n....\n"));
        // Closed outlines beside the buffer, on its rows, leave its winding as
        // it was: a counter stays open, ink stays ink.
        const Polygon box{{0, 0}, {4, 0}, {4, 2}, {0, 2}};
        const Polygon left{{-far, -1}, {-9, -1}, {-9, 3}, {-far, 3}};
        const Polygon right{{far, 3}, {9, 3}, {9, -1}, {far, -1}};
        QCOMPARE(filled(4, 2, {left, right}), QString("....\n....\n"));
        QCOMPARE(filled(4, 2, {box, left, right}), QString("####\n####\n"));
        QCOMPARE(filled(4, 2, {box, reversed(left), right}), QString("####\n####\n"));
    }

    void linesTakeBothEndsAndOnePixelPerStep()
    {
        Buffer buffer(7, 4);
        lw::drawLine(buffer.pixels(), {0, 0}, {6, 3}, kInk);
        lw::drawLine(buffer.pixels(), {6, 0}, {6, 0}, kInk);
        QCOMPARE(buffer.dump(), QString("o.....o\n"
                                        ".oo....\n"
                                        "...oo..\n"
                                        ".....oo\n"));
        // Steep, drawn upwards: one pixel a row.
        Buffer steep(3, 5);
        lw::drawLine(steep.pixels(), {2, 4}, {0, 0}, kInk);
        QCOMPARE(steep.dump(), QString("o..\n.o.\n.o.\n..o\n..o\n"));
    }

    void everyLineIsOnePixelPerStepRoundedHalfUp()
    {
        // Flat, steep, level and upright lines, partly off the buffer, in
        // every direction.
        std::mt19937 random(11);
        std::uniform_int_distribution<int> coordinate(-5, 14);
        for (int round = 0; round < 400; ++round) {
            const lw::POINT from{coordinate(random), coordinate(random)};
            const lw::POINT to{round % 4 == 0 ? from.x : coordinate(random), round % 4 == 1 ? from.y : coordinate(random)};
            Buffer drawn(10, 8), expected(10, 8);
            lw::drawLine(drawn.pixels(), from, to, kInk);
            // Along the longer axis from its lower end: minor = minor0 +
            // floor((2 k rise + run) / (2 run)).
            const bool alongX = std::abs(to.x - from.x) >= std::abs(to.y - from.y);
            lw::POINT a = from, b = to;
            if ((alongX ? b.x - a.x : b.y - a.y) < 0)
                std::swap(a, b);
            const int run = alongX ? b.x - a.x : b.y - a.y, rise = alongX ? b.y - a.y : b.x - a.x;
            for (int k = 0; k <= run; ++k) {
                const int minor = (alongX ? a.y : a.x)
                                  + (run ? int(std::floor((2.0 * k * rise + run) / (2.0 * run))) : 0);
                const int x = alongX ? a.x + k : minor, y = alongX ? minor : a.y + k;
                if (x >= 0 && y >= 0 && x < 10 && y < 8)
                    expected.bits[std::size_t(y * 10 + x)] = kInk;
            }
            QCOMPARE(drawn.dump(), expected.dump());
            // As a polygon's edge, out and back: the same pixels, whether
            // both ends lie in the buffer or not.
            Buffer outlined(10, 8);
            lw::drawPolygon(outlined.pixels(), Polygon{from, to}, kInk);
            QCOMPARE(outlined.dump(), expected.dump());
        }
    }

    void polygonOutlineClosesAndClipsFarLines()
    {
        Buffer buffer(5, 4);
        lw::drawPolygon(buffer.pixels(), Polygon{{0, 0}, {4, 0}, {4, 3}, {0, 3}}, kInk);
        QCOMPARE(buffer.dump(), QString("ooooo\n"
                                        "o...o\n"
                                        "o...o\n"
                                        "ooooo\n"));
        Buffer clipped(5, 3);
        lw::drawLine(clipped.pixels(), {INT_MIN, 1}, {INT_MAX, 1}, kInk);
        lw::drawLine(clipped.pixels(), {2, INT_MIN}, {2, INT_MAX}, kInk);
        QCOMPARE(clipped.dump(), QString("..o..\nooooo\n..o..\n"));
    }
};

QTEST_APPLESS_MAIN(RasterTest)
#include "raster_test.moc"
