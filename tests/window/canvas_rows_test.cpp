// The preview's canvas leaves rows that no drawing reached unwritten; what
// it shows and what image() returns must still be, pixel for pixel, the
// background plus every drawing painted in turn, however the bands move.

#include "window/qt/image_canvas.hpp"

#include <QPainter>
#include <QTest>

#include <vector>

namespace {

using Polygon = std::vector<lw::POINT>;

constexpr QSize kArea{40, 30};
const QColor kBackground(0xF0, 0xF0, 0xF0);
const QColor kStale(0x12, 0x34, 0x56); // what the screen held before
constexpr lw::Rgb kBlack{0, 0, 0};

// A square from row `top` to row `bottom`, across the middle columns.
Polygon band(int top, int bottom) { return {{8, top}, {30, top}, {30, bottom}, {8, bottom}}; }

struct Step {
    std::vector<Polygon> polygons; // one drawing; none clears the preview
};
using Steps = std::vector<Step>;

void draw(const Step& step, lw::PreviewDrawing& canvas)
{
    canvas.clear();
    for (const Polygon& p : step.polygons) {
        canvas.polygon(p, kBlack);
        canvas.line({0, 0}, {0, 0}, kBlack);
    }
}

// The same drawing on a canvas whose every row is written from the start.
QImage expected(const Step& step)
{
    lw::ImageCanvas whole(kArea, kBackground);
    (void)whole.image();
    draw(step, whole);
    whole.render();
    return whole.image();
}

// What drawOn puts on a screen that held something else, part by part.
QImage shown(const lw::ImageCanvas& canvas, const std::vector<QRect>& parts)
{
    QImage screen(kArea + QSize(6, 4), QImage::Format_RGB32);
    screen.fill(kStale);
    QPainter painter(&screen);
    for (const QRect& part : parts)
        canvas.drawOn(painter, QPoint(3, 2), part);
    painter.end();
    return screen.copy(QRect(QPoint(3, 2), kArea));
}

} // namespace

Q_DECLARE_METATYPE(Steps)

class CanvasRowsTest : public QObject {
    Q_OBJECT
private slots:
    void unwrittenRowsShowAsBackground_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::newRow("nothing drawn") << Steps{{}};
        QTest::newRow("one band in the middle") << Steps{{{band(10, 15)}}};
        QTest::newRow("first and last rows") << Steps{{{band(-5, 0)}}, {{band(29, 40)}}};
        QTest::newRow("band moves up, then down past a gap")
            << Steps{{{band(12, 16)}}, {{band(2, 5)}}, {{band(24, 27)}}};
        QTest::newRow("two bands in one drawing") << Steps{{{band(3, 5), band(22, 25)}}};
        QTest::newRow("cleared after a band") << Steps{{{band(10, 20)}}, {}};
        QTest::newRow("wholly above, then below") << Steps{{{band(-20, -10)}}, {{band(31, 50)}}};
        QTest::newRow("over the whole area") << Steps{{{band(-100, 100)}}, {{band(14, 14)}}};
    }
    void unwrittenRowsShowAsBackground()
    {
        QFETCH(Steps, steps);
        lw::ImageCanvas canvas(kArea, kBackground);
        for (const Step& step : steps) {
            draw(step, canvas);
            canvas.render();
            const QImage want = expected(step);
            // Before image() fills every row: the whole area, bands of rows
            // that straddle the written ones, and parts hanging outside.
            QCOMPARE(shown(canvas, {QRect(QPoint(0, 0), kArea)}), want);
            QCOMPARE(shown(canvas, {QRect(0, 0, 40, 11), QRect(0, 11, 40, 7), QRect(0, 18, 40, 12)}), want);
            QCOMPARE(shown(canvas, {QRect(-10, -10, 30, 60), QRect(20, -10, 30, 60)}), want);
        }
        QCOMPARE(canvas.size(), kArea);
        QCOMPARE(canvas.image(), expected(steps.back()));
    }

    // A render with nothing drawn since and the same view reports no
    // change, and the image stays what the drawing shows.
    void renderAgainChangesOnlyWhatDiffers_data()
    {
        QTest::addColumn<int>("between"); // 0 nothing, 1 drawn again, 2 fitted, 3 fitted and back
        QTest::addColumn<bool>("changes");
        QTest::newRow("nothing since") << 0 << false;
        QTest::newRow("the same drawing again") << 1 << true;
        QTest::newRow("fitted") << 2 << true;
        QTest::newRow("fitted and back before rendering") << 3 << false;
    }
    void renderAgainChangesOnlyWhatDiffers()
    {
        QFETCH(int, between);
        QFETCH(bool, changes);
        const Step step{{band(10, 15)}};
        lw::ImageCanvas canvas(kArea, kBackground);
        draw(step, canvas);
        QVERIFY(!canvas.render().isEmpty());
        if (between == 1)
            draw(step, canvas);
        canvas.setFit(between >= 2);
        if (between == 3)
            canvas.setFit(false);
        QCOMPARE(!canvas.render().isEmpty(), changes);
        if (between != 2)
            QCOMPARE(canvas.image(), expected(step));
    }
};

QTEST_APPLESS_MAIN(CanvasRowsTest)
#include "canvas_rows_test.moc"
