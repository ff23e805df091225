// The preview's image when only what meets it is painted: pixel for pixel
// what painting the whole drawing gives, whatever lies beside, across or
// around the area, and after another drawing stood there before.

#include "window/qt/image_canvas.hpp"

#include "outline/capture.hpp"

#include <QTest>

#include <vector>

namespace {

using Polygon = std::vector<lw::POINT>;
using Shape = std::vector<Polygon>;

constexpr QSize kArea{40, 30};
const QColor kBackground(0xF0, 0xF0, 0xF0);
constexpr lw::Rgb kBlack{0, 0, 0}, kRed{255, 0, 0};

Polygon square(int left, int top, int side, bool clockwise = true)
{
    Polygon p{{left, top}, {left + side, top}, {left + side, top + side}, {left, top + side}};
    return clockwise ? p : Polygon{p.rbegin(), p.rend()};
}

// A glyph-like figure: an outline with a counter.
Shape ring(int left, int top, int side)
{
    return {square(left, top, side), square(left + side / 4, top + side / 4, side / 2, false)};
}

struct Line {
    lw::POINT from, to;
};

struct Drawing {
    std::vector<Shape> shapes;
    std::vector<Line> lines; // drawn after the shapes
};

void draw(const Drawing& d, lw::PreviewDrawing& canvas)
{
    canvas.clear();
    for (const Shape& shape : d.shapes) {
        for (const Polygon& p : shape)
            canvas.polygon(p, kBlack);
        canvas.line({0, 0}, {0, 0}, kRed); // ends the shape
    }
    for (const Line& l : d.lines)
        canvas.line(l.from, l.to, kRed);
}

std::uint32_t pixel(lw::Rgb c) { return 0xFF000000u | std::uint32_t(c.red) << 16 | std::uint32_t(c.green) << 8 | c.blue; }

// Everything handed to the rasteriser, nothing left out.
QImage paintedWhole(const Drawing& d)
{
    QImage image(kArea, QImage::Format_RGB32);
    image.fill(kBackground);
    const lw::Pixels px{reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
                        image.bytesPerLine() / 4};
    for (const Shape& shape : d.shapes) {
        std::vector<std::span<const lw::POINT>> spans(shape.begin(), shape.end());
        lw::fillNonzero(px, spans, 0xFFFFFFFFu);
        for (const Polygon& p : shape)
            lw::drawPolygon(px, p, pixel(kBlack));
        lw::drawLine(px, {0, 0}, {0, 0}, pixel(kRed));
    }
    for (const Line& l : d.lines)
        lw::drawLine(px, l.from, l.to, pixel(kRed));
    return image;
}

// Counts what paint hands on.
struct Counter final : lw::PreviewDrawing::Painter {
    int polygons = 0, lines = 0;
    void fill(std::span<const std::span<const lw::POINT>> p) override { polygons += int(p.size()); }
    void outline(std::span<const lw::POINT>, lw::Rgb) override {}
    void line(lw::POINT, lw::POINT, lw::Rgb) override { ++lines; }
};

} // namespace

Q_DECLARE_METATYPE(Drawing)

class PreviewPaintTest : public QObject {
    Q_OBJECT
private slots:
    void onlyWhatMeetsTheAreaIsPaintedAndThePixelsStay_data()
    {
        QTest::addColumn<Drawing>("drawing");
        QTest::addColumn<int>("handedPolygons"); // of the shapes' polygons
        QTest::addColumn<int>("handedLines");    // besides the shapes' ends at the origin
        QTest::newRow("inside") << Drawing{{ring(5, 5, 12)}, {}} << 2 << 0;
        QTest::newRow("across every edge")
            << Drawing{{ring(-6, 2, 12), ring(34, 2, 12), ring(10, -6, 12), ring(10, 24, 12)}, {}} << 8 << 0;
        QTest::newRow("wholly beside, above and below")
            << Drawing{{ring(-20, 5, 12), ring(41, 5, 12), ring(5, -20, 12), ring(5, 31, 12)}, {}} << 0 << 0;
        QTest::newRow("just touching the last column and row")
            << Drawing{{ring(39, 29, 12), ring(-12, -12, 12)}, {}} << 2 << 0;
        // Every corner outside, the area wholly inside: filled all over.
        QTest::newRow("around the area") << Drawing{{{square(-100, -100, 300)}}, {}} << 1 << 0;
        // A shape of one glyph in view and one far beside it: the counter of
        // the far one must not open a hole in the near one.
        QTest::newRow("one shape, half in view")
            << Drawing{{{square(2, 2, 20), square(500, 2, 20), square(505, 7, 10, false)}}, {}} << 1 << 0;
        QTest::newRow("a long line of glyphs")
            << Drawing{{[] {
                           Shape s;
                           for (int x = -300; x < 300; x += 15) {
                               Shape r = ring(x, 8, 12);
                               s.insert(s.end(), r.begin(), r.end());
                           }
                           return s;
                       }()},
                       {}}
            << 6 << 0;
        QTest::newRow("lines across, beside and far")
            << Drawing{{ring(5, 5, 12)}, {{{-50, 15}, {90, 15}}, {{-50, -5}, {-10, 40}}, {{1000, 1000}, {2000, 900}}}}
            << 2 << 1;
    }
    void onlyWhatMeetsTheAreaIsPaintedAndThePixelsStay()
    {
        QFETCH(Drawing, drawing);
        QFETCH(int, handedPolygons);
        QFETCH(int, handedLines);
        lw::ImageCanvas canvas(kArea, kBackground);
        draw(drawing, canvas);
        canvas.render();
        QCOMPARE(canvas.image(), paintedWhole(drawing));

        // After another drawing stood there, what it left is cleared.
        lw::ImageCanvas after(kArea, kBackground);
        draw(Drawing{{ring(-5, -5, 60), ring(30, 20, 30)}, {{{0, 29}, {39, 0}}}}, after);
        after.render();
        draw(drawing, after);
        after.render();
        QCOMPARE(after.image(), paintedWhole(drawing));

        Counter counter;
        canvas.paint(canvas.shownPoints(false, kArea.width(), kArea.height()), counter,
                     lw::PreviewDrawing::Box{0, 0, kArea.width() - 1, kArea.height() - 1});
        QCOMPARE(counter.polygons, handedPolygons);
        QCOMPARE(counter.lines - int(drawing.shapes.size()), handedLines);
    }

    void boundsAreThoseOfThePointsShown_data()
    {
        QTest::addColumn<Drawing>("drawing");
        QTest::addColumn<bool>("fit");
        QTest::newRow("nothing") << Drawing{} << false;
        QTest::newRow("shapes and lines") << Drawing{{ring(-7, 3, 12), ring(90, -40, 5)}, {{{3, 200}, {-9, 1}}}}
                                          << false;
        QTest::newRow("fitted") << Drawing{{ring(-7, 3, 120), ring(900, -40, 50)}, {{{3, 200}, {-9, 1}}}} << true;
    }
    void boundsAreThoseOfThePointsShown()
    {
        QFETCH(Drawing, drawing);
        QFETCH(bool, fit);
        lw::PreviewDrawing canvas;
        draw(drawing, canvas);
        const std::span<const lw::POINT> shown = canvas.shownPoints(fit, kArea.width(), kArea.height());
        lw::PreviewDrawing::Box scanned;
        for (const lw::POINT& p : shown)
            scanned = scanned.empty() ? lw::PreviewDrawing::Box{p.x, p.y, p.x, p.y}
                                      : lw::PreviewDrawing::Box{std::min(scanned.left, p.x), std::min(scanned.top, p.y),
                                                                std::max(scanned.right, p.x),
                                                                std::max(scanned.bottom, p.y)};
        const lw::PreviewDrawing::Box box = canvas.boundsOf(shown);
        QCOMPARE(box.empty(), shown.empty());
        if (!shown.empty()) {
            QCOMPARE(box.left, scanned.left);
            QCOMPARE(box.top, scanned.top);
            QCOMPARE(box.right, scanned.right);
            QCOMPARE(box.bottom, scanned.bottom);
        }
    }

    // A capture of only the glyphs that meet the preview shows the very
    // pixels of the whole capture, edit after edit on the same canvases,
    // so what an earlier drawing left is cleared alike.
    void aCaptureOfWhatShowsPaintsTheWholeCapturesPixels()
    {
        struct Edit {
            const char* name;
            QString text;
            float size;
            int angle;
            const char* face = "ＭＳ Ｐゴシック";
            lw::TextStyle style{};
            bool underline = false;
        };
        const QString line = QString::fromUtf8("編集テキストAgé").repeated(12);
        const std::vector<Edit> edits{
            {"long line", line, 144, 0},
            {"insert at the end", line + QChar(0x5B57), 144, 0},
            {"delete at the end", line, 144, 0},
            {"insert at the start", "W" + line, 144, 0},
            {"insert in the middle", line.left(50) + QChar(0xFF) + line.mid(50), 144, 0},
            {"delete at the start", line.mid(1), 144, 0},
            {"turned", line, 96, 30},
            {"a quarter turn", line, 96, 90},
            {"vertical face", line, 96, 0, "@ＭＳ ゴシック"},
            {"bold, wide, spaced", line, 72, 0, "DejaVu Sans", lw::TextStyle{4, 220, true}},
            {"underlined", line, 144, 0, "ＭＳ Ｐゴシック", {}, true},
            {"short", "A", 24, 0},
            {"long again", line, 144, 0},
        };
        const QSize size(461, 301);
        lw::ImageCanvas whole(size, kBackground), part(size, kBackground);
        lw::DeviceContext wholeDc(whole), partDc(part);
        lw::CapturedOutline wholeOutline, partOutline;
        for (const Edit& e : edits) {
            const std::string text = e.text.toStdString();
            lw::WindowFont font;
            font.faceName = e.face;
            font.size = e.size;
            font.underline = e.underline;
            lw::CaptureSource source{text, font, e.angle, 461, 301};
            source.style = e.style;
            lw::drawFlattenPath(lw::Placement::PreviewCentre, source, wholeDc, wholeOutline);
            source.shownArea = lw::DeviceArea{0, 0, size.width() - 1, size.height() - 1};
            lw::drawFlattenPath(lw::Placement::PreviewCentre, source, partDc, partOutline);
            whole.render();
            part.render();
            QVERIFY2(part.image() == whole.image(), e.name);
        }
    }
};

QTEST_APPLESS_MAIN(PreviewPaintTest)
#include "preview_paint_test.moc"
