// What a capture must give on every platform backend, FreeType or GDI:
// closed figures of the platform's point types, the text placed where the
// alignment puts it, and rotation, slant and strokes in the right direction.
#include "outline/baseline.hpp"
#include "outline/capture.hpp"
#include "outline/precision.hpp"
#include "outline/text_output.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

using namespace lw;

namespace {

struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
};

Box boxOf(std::span<const POINT> points)
{
    Box b;
    for (const POINT& p : points) {
        b.left = std::min(b.left, p.x);
        b.right = std::max(b.right, p.x);
        b.top = std::min(b.top, p.y);
        b.bottom = std::max(b.bottom, p.y);
    }
    return b;
}

struct Capture {
    NullCanvas canvas;
    DeviceContext dc{canvas};
    CapturedOutline outline;

    const CapturedOutline& run(std::string_view text, int angle = 0, std::int32_t alCent = 0,
                               WindowFont font = {})
    {
        drawFlattenPath(placementFor(alCent), {text, font, angle}, dc, outline);
        return outline;
    }
    Box box() const
    {
        return boxOf(std::span(outline.pathPoints).first(std::size_t(outline.pointCount)));
    }
};

} // namespace

TEST(SharedCapture, EveryFigureIsClosedAndUsesOnlyTheFlattenedTypes)
{
    for (const char* text : {"O", "編集テキスト", "図回品", "Hello, 8"}) {
        Capture c;
        const CapturedOutline& o = c.run(text);
        ASSERT_GT(o.pointCount, 0) << text;
        ASSERT_EQ(o.pathPoints.size(), std::size_t(o.pointCount) + 1) << text;
        EXPECT_EQ(o.pathPoints.back(), POINT{}) << text;
        EXPECT_EQ(o.pathTypes.back(), 0) << text;
        for (const Figure& f : figures(o)) {
            EXPECT_TRUE(f.closed) << text << " figure at " << f.first;
            EXPECT_GE(f.points.size(), 2u) << text;
            EXPECT_EQ(f.types.front(), PT_MOVETO) << text;
            EXPECT_EQ(f.types.back(), PT_LINETO | PT_CLOSEFIGURE) << text;
            for (std::size_t k = 1; k + 1 < f.types.size(); ++k)
                EXPECT_EQ(f.types[k], PT_LINETO) << text << " point " << f.first + k;
        }
    }
}

TEST(SharedCapture, CapitalOIsTwoFiguresAndEmptyTextNone)
{
    Capture c;
    EXPECT_EQ(std::ranges::distance(figures(c.run("O"))), 2);
    EXPECT_EQ(c.run("").pointCount, 0);
    EXPECT_EQ(c.run("   ").pointCount, 0);
}

TEST(SharedCapture, TheAlignmentPlacesTheText)
{
    Capture c;
    c.run("編集テキスト", 0, 0);
    Box origin = c.box();
    // Top-left of the cell at (0, 0): the ink starts just right of and below it.
    EXPECT_GE(origin.left, 0);
    EXPECT_LE(origin.left, 4);
    EXPECT_GE(origin.top, 0);
    EXPECT_LE(origin.bottom, 32);

    c.run("編集テキスト", 0, 1);
    Box centred = c.box();
    // Middle of the top edge at the preview's centre (230, 150).
    EXPECT_NEAR((centred.left + centred.right) / 2.0, 230, 3);
    EXPECT_EQ(centred.top - origin.top, 150);
}

TEST(SharedCapture, AnglesTurnCounterClockwiseAsSeenOnTheScreen)
{
    Capture c;
    c.run("一二三", 0);
    Box flat = c.box();
    c.run("一二三", 90);
    Box turned = c.box();
    // At 90 degrees the line runs up the screen (towards -y) and the cell
    // lies to the right of the reference point.
    EXPECT_LE(turned.bottom, 1);
    EXPECT_LT(turned.top, -60);
    EXPECT_GE(turned.left, -1);
    EXPECT_NEAR(turned.bottom - turned.top, flat.right - flat.left, 2);

    c.run("一二三", 270);
    Box down = c.box();
    EXPECT_GE(down.top, -1);
    EXPECT_GT(down.bottom, 60);
    EXPECT_LE(down.right, 1);
}

TEST(SharedCapture, ItalicLeansRightAndStrokesLieWhereTheyBelong)
{
    Capture c;
    WindowFont plain, italic, strike, under;
    italic.italic = true;
    strike.strikeout = true;
    under.underline = true;

    // The stem of "I": its top points move right, its bottom points stay.
    Box upright = c.run("I", 0, 0, plain).pointCount ? c.box() : Box{};
    c.run("I", 0, 0, italic);
    int topX = INT_MIN, bottomX = INT_MIN;
    Box leaning = c.box();
    for (const POINT& p : std::span(c.outline.pathPoints).first(std::size_t(c.outline.pointCount))) {
        if (p.y == leaning.top)
            topX = std::max(topX, p.x);
        if (p.y == leaning.bottom)
            bottomX = std::max(bottomX, p.x);
    }
    EXPECT_GT(topX - bottomX, 2);

    // The last figure is the stroke: strikeout between the cap top and the
    // baseline, underline below the baseline (the bottom of the plain "I").
    auto lastFigureBox = [&](const WindowFont& font) {
        c.run("I", 0, 0, font);
        Figure last;
        for (const Figure& f : figures(c.outline))
            last = f;
        return boxOf(last.points);
    };
    Box strikeBox = lastFigureBox(strike);
    EXPECT_GT(strikeBox.top, upright.top);
    EXPECT_LT(strikeBox.bottom, upright.bottom);
    Box underBox = lastFigureBox(under);
    EXPECT_GE(underBox.top, upright.bottom);
}

namespace {

// A capture at the origin at a grid step as the drawings make it (the classic
// grid as designed), with its extents in millimetres from the baseline, y up.
struct MmBox {
    double left = 1e9, bottom = 1e9, right = -1e9, top = -1e9;
    double baselineAlignedBottom = 0; // the lowest point of the same text drawn on the baseline, mm
};

// The lowest point of `text` drawn with its baseline on y = 0, as the
// platform aligns it (y up, device pixels).
double lowestOnBaseline(DeviceContext& dc, const LOGFONT& logFont, std::string_view text)
{
    BeginPath(dc);
    {
        SelectedFont font(dc, CreateFontIndirectA(toAnsiLogFont(logFont)));
        SetTextAlign(dc, TA_LEFT | TA_BASELINE);
        TextOutA(dc, 0, 0, text.data(), int(text.size()));
        SetTextAlign(dc, 0);
    }
    EndPath(dc);
    FlattenPath(dc);
    const int n = GetPath(dc, nullptr, nullptr, 0);
    std::vector<POINT> points(std::size_t(std::max(n, 0)));
    std::vector<std::uint8_t> types(points.size());
    GetPath(dc, points.data(), types.data(), n);
    int lowest = INT_MIN;
    for (const POINT& p : points)
        lowest = std::max(lowest, p.y);
    return -double(lowest);
}

MmBox drawingBox(std::string_view text, const char* face, float size, double stepMm)
{
    const bool classic = stepMm == 0;
    const double dpi = classic ? design::kDpi : dpiForWholeEm(dpiForStep(stepMm), size);
    WindowFont font;
    font.faceName = face;
    font.size = size;
    NullCanvas canvas;
    DeviceContext dc(canvas);
    CapturedOutline outline;
    std::int32_t alCent = 0;
    drawFlattenPath(placementFor(alCent),
                    {text, font, 0, design::kPreviewWidth, design::kPreviewHeight, 1440 / dpi,
                     classic ? Advances::Device : Advances::Linear},
                    dc, outline);
    const MmPlacement mm = baselinePlacement(dc, outline.logFont, dpi);
    MmBox b;
    for (const Figure& f : figures(outline))
        for (const POINT& p : f.points) {
            const MmPoint q = toMillimetres(mm, p);
            b.left = std::min(b.left, q.x), b.right = std::max(b.right, q.x);
            b.bottom = std::min(b.bottom, q.y), b.top = std::max(b.top, q.y);
        }
    b.baselineAlignedBottom = lowestOnBaseline(dc, outline.logFont, text) * kMmPerInch / dpi;
    return b;
}

} // namespace

// The origin is the left end of the baseline for every face: the letters lie
// as high above y = 0 as the platform draws them above a baseline-aligned
// line, within one step; and none of them far below it.
TEST(SharedCapture, TheBaselineIsAtZeroForEveryFace)
{
    for (const char* face : {"ＭＳ 明朝", "ＭＳ Ｐ明朝", "ＭＳ ゴシック", "ＭＳ Ｐゴシック", "DejaVu Sans", "DejaVu Serif"})
        for (double step : {0.0, 0.1, 0.01}) {
            const double grid = step == 0 ? kClassicStepMm : step;
            const MmBox b = drawingBox("HIE", face, 24, step);
            EXPECT_NEAR(b.bottom, b.baselineAlignedBottom, grid) << face << " at " << step << " mm";
            EXPECT_GT(b.bottom, -grid) << face << " at " << step << " mm";
        }
}

// At a chosen step each letter stands on the font's unrounded advances, so
// the text's extents differ by at most the coarser of two steps.
TEST(SharedCapture, TheTextIsAsWideAtEveryStep)
{
    const double steps[] = {1, 0.2, 0.1, 0.05, 0.02, 0.01};
    for (const char* face : {"ＭＳ Ｐゴシック", "DejaVu Sans"}) {
        MmBox boxes[std::size(steps)];
        for (std::size_t i = 0; i < std::size(steps); ++i)
            boxes[i] = drawingBox("BOB 8 Wavy", face, 24, steps[i]);
        for (std::size_t i = 0; i < std::size(steps); ++i)
            for (std::size_t k = i + 1; k < std::size(steps); ++k) {
                const double coarser = steps[i] + 1e-9;
                EXPECT_NEAR(boxes[i].left, boxes[k].left, coarser) << face << " " << steps[i] << "/" << steps[k];
                EXPECT_NEAR(boxes[i].right, boxes[k].right, coarser) << face << " " << steps[i] << "/" << steps[k];
                EXPECT_NEAR(boxes[i].top, boxes[k].top, coarser) << face << " " << steps[i] << "/" << steps[k];
                EXPECT_NEAR(boxes[i].bottom, boxes[k].bottom, coarser) << face << " " << steps[i] << "/" << steps[k];
            }
    }
}
// The read-back the capture uses gives what FlattenPath, then GetPath's
// count and fill give, on either backend; without a closed path it leaves
// the arrays alone.
TEST(SharedCapture, FlattenPathIntoReadsWhatGetPathReads)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    LOGFONT logFont{};
    setLogFont(logFont, "ＭＳ Ｐゴシック", 32, 15, WindowFont{});
    std::vector<POINT> points{{7, 7}};
    std::vector<std::uint8_t> types{9};
    EXPECT_EQ(flattenPathInto(dc, points, types), -1);
    EXPECT_EQ(points, (std::vector<POINT>{{7, 7}}));
    EXPECT_EQ(types, std::vector<std::uint8_t>{9});

    for (const char* text : {"編集O", ""}) {
        auto draw = [&] {
            BeginPath(dc);
            outputText(dc, logFont, text, 1, 230, 150);
            EndPath(dc);
        };
        draw();
        const int n = flattenPathInto(dc, points, types);
        ASSERT_GE(n, 0) << text;
        EXPECT_EQ(points.size(), std::size_t(n));
        EXPECT_EQ(types.size(), std::size_t(n));
        draw();
        FlattenPath(dc);
        ASSERT_EQ(GetPath(dc, nullptr, nullptr, 0), n) << text;
        std::vector<POINT> read(std::size_t(n) + 1);
        std::vector<std::uint8_t> readTypes(std::size_t(n) + 1);
        GetPath(dc, read.data(), readTypes.data(), n);
        read.pop_back();
        readTypes.pop_back();
        EXPECT_EQ(points, read) << text;
        EXPECT_EQ(types, readTypes) << text;
        EXPECT_EQ(n == 0, *text == '\0') << text;
    }
}

// An unknown face name gets a substitute: a font, never null.
TEST(SharedCapture, CreatingAFontForAnUnknownFaceGivesAFont)
{
    LOGFONTA description{};
    description.lfHeight = -32;
    const char name[] = "No Such Face At All";
    std::copy(name, name + sizeof name - 1, description.lfFaceName.begin());
    const HFONT font = CreateFontIndirectA(description);
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(DeleteObject(font));
}
