// The capture: placement, figure structure, geometry and robustness of the
// outline that a line of text becomes.
#include "outline_checks.hpp"

#include "base/failure.hpp"
#include "platform/face_info.hpp"
#include "platform/freetype/font_library.hpp"

#include <cmath>

using namespace lw;
using namespace lw::test;

TEST(CapturePlacement, AtTheOriginTheCellsTopLeftCornerIsAtZero)
{
    Capture c;
    const auto& o = c.run("H", fontOf(design::kFaceName));
    ASSERT_TRUE(wellFormed(o));
    Box b = boundingBox(o);
    const FontFace& face = resolveFace(design::kFaceName, false);
    int ascent = int(std::floor(face.ascent * 32.0 / face.unitsPerEm + 0.5));
    EXPECT_EQ(ascent, 28); // IPA P Gothic at 32 px
    EXPECT_GE(b.left, 0);
    EXPECT_LE(b.left, 5);
    EXPECT_EQ(b.bottom, ascent);         // H sits on the baseline
    EXPECT_NEAR(b.top, ascent - 23, 1);  // ascent - cap height
}

TEST(CapturePlacement, CentredTheTopEdgeMiddleIsAtThePreviewCentre)
{
    Capture atOrigin, centred;
    WindowFont font = fontOf(design::kFaceName);
    Box o = boundingBox(atOrigin.run("編集テキスト", font, 0, 0));
    Box m = boundingBox(centred.run("編集テキスト", font, 0, 1));
    // 461 x 301: the centre is (230, 150); 230.5 goes to the even 230.
    int advance = 0;
    for (char32_t ch : std::u32string(U"編集テキスト"))
        advance += int(std::floor(glyphFor(resolveFace(design::kFaceName, false), ch).outline->advance * 32.0 / 2048 + 0.5));
    EXPECT_EQ(m.left - o.left, 230 - advance / 2);
    EXPECT_EQ(m.top - o.top, 150);
    EXPECT_GT(m.top, 150); // the text stands in the lower half
    EXPECT_NEAR((m.left + m.right) / 2.0, 230, 3);
}

TEST(CapturePlacement, PreviewWidthsRoundHalvesToEven)
{
    struct Case { float width; int shiftFromOrigin; };
    Capture base;
    Box origin = boundingBox(base.run("I", fontOf(design::kFaceName), 0, 0));
    for (auto [width, centre] : {Case{461, 230}, Case{463, 232}, Case{462, 231}}) {
        Capture c;
        Box b = boundingBox(c.run("I", fontOf(design::kFaceName), 0, 1, width, 301));
        Capture c2;
        Box b2 = boundingBox(c2.run("I", fontOf(design::kFaceName), 0, 1, 461, 301));
        EXPECT_EQ(b.left - b2.left, centre - 230) << width;
    }
    (void)origin;
}

TEST(CaptureStructure, CapitalOHasTwoFiguresAndOnePolygonEach)
{
    RecordingCanvas canvas;
    DeviceContext dc(canvas);
    CapturedOutline o;
    std::int32_t alCent = 1;
    WindowFont font;
    drawFlattenPath(placementFor(alCent), {"O", font}, dc, o);
    ASSERT_TRUE(wellFormed(o));
    auto f = figureRanges(o);
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[1].first, f[0].second + 1);
    ASSERT_EQ(canvas.polygons.size(), 2u);
    EXPECT_EQ(canvas.clears, 1);
    for (std::size_t k = 0; k < 2; ++k) {
        auto [first, last] = f[k];
        ASSERT_EQ(canvas.polygons[k].points.size(), std::size_t(last - first + 1));
        EXPECT_EQ(canvas.polygons[k].points.front(), o.pathPoints[std::size_t(first)]);
        EXPECT_EQ(canvas.polygons[k].points.back(), o.pathPoints[std::size_t(last)]);
    }
}

TEST(CaptureStructure, EmptyAndBlankTextsGiveNoPoints)
{
    for (const char* text : {"", " ", "   "}) {
        RecordingCanvas canvas;
        DeviceContext dc(canvas);
        CapturedOutline o;
        o.pointCount = 7; // an earlier capture's leftovers must go
        o.pathPoints.assign(8, POINT{1, 1});
        o.pathTypes.assign(8, 2);
        std::int32_t alCent = 1;
        WindowFont font;
        drawFlattenPath(placementFor(alCent), {text, font, 0, 461, 301, 15}, dc, o);
        EXPECT_EQ(o.pointCount, 0) << '"' << text << '"';
        EXPECT_TRUE(wellFormed(o));
        EXPECT_TRUE(canvas.polygons.empty());
        EXPECT_EQ(canvas.clears, 1);
    }
}

TEST(CaptureGeometry, TwentyFourPointsAtFifteenTwipsArePixelHeight32)
{
    Capture c;
    const auto& o = c.run("H", fontOf(design::kFaceName, 24));
    EXPECT_EQ(o.logFont.lfHeight, -32);
    EXPECT_EQ(pixelsPerPoint(15), 1440.0 / 15 / 72);
    EXPECT_THROW(pixelsPerPoint(0), Failure);
}

TEST(CaptureGeometry, CapHeightOfHMatchesTheFontAtEverySize)
{
    const FontFace& face = resolveFace(design::kFaceName, false);
    for (float points : {12.f, 24.f, 72.f, 144.f}) {
        Capture c;
        Box b = boundingBox(c.run("H", fontOf(design::kFaceName, points)));
        double em = std::floor(points * 96.0 / 72 + 0.5);
        // IPA P Gothic's H is 0.72 em tall; allow a pixel for rounding.
        double capHeight = 1474.0 * em / face.unitsPerEm;
        EXPECT_NEAR(b.height(), capHeight, 1.5) << points;
    }
}

TEST(CaptureGeometry, NinetyDegreesTurnsTheTextCounterClockwise)
{
    Capture flat, turned;
    WindowFont font;
    Box a = boundingBox(flat.run("編集テキスト", font, 0, 0));
    Box b = boundingBox(turned.run("編集テキスト", font, 90, 0));
    EXPECT_NEAR(a.width(), b.height(), 1);
    EXPECT_NEAR(a.height(), b.width(), 1);
    // The line runs upwards from the reference point, the cell below the
    // baseline side lying to the right: all ink at x >= 0, y <= 0.
    EXPECT_GE(b.left, 0);
    EXPECT_LE(b.bottom, 0);
    // Each point is the unrotated one turned: (x, y) -> (y, -x).
    ASSERT_EQ(flat.outline.pointCount, turned.outline.pointCount);
    for (int i = 0; i < flat.outline.pointCount; ++i) {
        POINT p = flat.outline.pathPoints[std::size_t(i)], q = turned.outline.pathPoints[std::size_t(i)];
        EXPECT_EQ(q, (POINT{p.y, -p.x})) << i;
    }
}

TEST(CaptureGeometry, ThreeSixtyDegreesEqualsZero)
{
    Capture a, b;
    WindowFont font;
    EXPECT_EQ(dumpOutline(a.run("編集テキスト", font, 0, 1)), dumpOutline(b.run("編集テキスト", font, 360, 1)));
    EXPECT_EQ(b.outline.logFont.lfEscapement, 3600);
}

TEST(CaptureGeometry, ThirtyDegreesRotatesAboutTheReferencePoint)
{
    Capture flat, turned;
    WindowFont font;
    flat.run("編", font, 0, 0);
    turned.run("編", font, 30, 0);
    double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
    ASSERT_EQ(flat.outline.pointCount > 0, true);
    // Compare the centroids: rotation about (0,0), counter-clockwise on screen.
    auto centroid = [](const CapturedOutline& o) {
        double x = 0, y = 0;
        for (int i = 0; i < o.pointCount; ++i) {
            x += o.pathPoints[std::size_t(i)].x;
            y += o.pathPoints[std::size_t(i)].y;
        }
        return std::pair{x / o.pointCount, y / o.pointCount};
    };
    auto [fx, fy] = centroid(flat.outline);
    auto [tx, ty] = centroid(turned.outline);
    EXPECT_NEAR(tx, fx * c + fy * s, 1.5);
    EXPECT_NEAR(ty, -fx * s + fy * c, 1.5);
}

TEST(CaptureGeometry, UnderlineAndStrikeoutAddOneRectangleEach)
{
    WindowFont plain, under = plain, strike = plain, both = plain;
    under.underline = true;
    strike.strikeout = true;
    both.underline = both.strikeout = true;
    Capture p, u, s, b;
    std::size_t base = figureRanges(p.run("編集", plain)).size();
    const auto& uo = u.run("編集", under);
    EXPECT_EQ(figureRanges(uo).size(), base + 1);
    EXPECT_EQ(figureRanges(s.run("編集", strike)).size(), base + 1);
    EXPECT_EQ(figureRanges(b.run("編集", both)).size(), base + 2);
    // The underline spans the advance (2 x 32 px) below the baseline (28).
    auto last = figureRanges(uo).back();
    EXPECT_EQ(last.second - last.first, 3);
    Box line;
    for (int i = last.first; i <= last.second; ++i) {
        const POINT& q = uo.pathPoints[std::size_t(i)];
        line.left = std::min(line.left, q.x);
        line.right = std::max(line.right, q.x);
        line.top = std::min(line.top, q.y);
    }
    EXPECT_EQ(line.left, 0);
    EXPECT_EQ(line.right, 64);
    EXPECT_GE(line.top, 28);
    EXPECT_TRUE(wellFormed(uo));
}

TEST(CaptureGeometry, ItalicSlantsWithoutAnItalicFace)
{
    WindowFont upright, italic;
    italic.italic = true;
    Capture a, b;
    Box ua = boundingBox(a.run("I", upright));
    Box ib = boundingBox(b.run("I", italic));
    EXPECT_EQ(b.outline.logFont.lfItalic, 255);
    EXPECT_EQ(ua.height(), ib.height());
    EXPECT_GT(ib.width(), ua.width() + 3); // ~0.21 x 23 px of slant
}

TEST(CaptureFonts, UnknownFaceFallsBackToARealFont)
{
    Capture c;
    const auto& o = c.run("編集ABC", fontOf("No Such Face 123"));
    EXPECT_GT(o.pointCount, 0);
    EXPECT_TRUE(wellFormed(o));
    EXPECT_FALSE(describeFace("No Such Face 123", false).family.empty());
}

TEST(CaptureFonts, MissingGlyphsComeFromAFaceThatHasThem)
{
    // DejaVu Sans has no kana: they must come from a Japanese face.
    Capture latin, kana;
    EXPECT_EQ(describeFace("DejaVu Sans", false).family, "DejaVu Sans");
    EXPECT_GT(latin.run("AB", fontOf("DejaVu Sans")).pointCount, 0);
    const auto& o = kana.run("テキスト", fontOf("DejaVu Sans"));
    EXPECT_GE(figureRanges(o).size(), 4u); // at least one figure a character
}

TEST(CaptureFonts, JapaneseWindowsNamesMapToTheIpaFonts)
{
    struct Case { const char* name; const char* family; };
    for (auto [name, family] : {Case{"ＭＳ Ｐゴシック", "IPAPGothic"}, Case{"ＭＳ ゴシック", "IPAGothic"},
                                Case{"ＭＳ 明朝", "IPAMincho"}, Case{"ＭＳ Ｐ明朝", "IPAPMincho"},
                                Case{"MS PGothic", "IPAPGothic"}})
        EXPECT_EQ(describeFace(name, false).family, family) << name;
}

TEST(CaptureFonts, CharactersOutsideCodePage932BecomeQuestionMarks)
{
    Capture euro, question;
    WindowFont font;
    EXPECT_EQ(dumpOutline(euro.run("\xE2\x82\xAC", font)), dumpOutline(question.run("?", font)));
    EXPECT_GT(euro.outline.pointCount, 0);
}

TEST(CaptureFailures, HeightOutsideTheIntegerRangeIsOverflow)
{
    Capture c;
    WindowFont font;
    font.size = 3e9f;
    std::int32_t alCent = 0;
    try {
        drawFlattenPath(placementFor(alCent), {"A", font, 0, 461, 301, 15}, c.dc, c.outline);
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.kind(), FailureKind::Overflow);
    }
    font.size = 24;
    try {
        drawFlattenPath(placementFor(alCent), {"A", font, 0, 461, 301, 0}, c.dc, c.outline);
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.kind(), FailureKind::FloatingPoint);
    }
}

TEST(CaptureRobustness, EverySizeAngleFaceAndTextGivesWellFormedFigures)
{
    const char* faces[] = {"ＭＳ Ｐゴシック", "IPAMincho", "DejaVu Sans", "Unknown Face"};
    const char* texts[] = {"", "   ", "Letterwire 123", "編集テキストかなカナ漢字", "\xF0\x9F\x98\x80\xE2\x82\xAC"};
    Capture c;
    int captures = 0;
    for (const char* face : faces) {
        for (const char* text : texts) {
            for (int size = 1; size <= 144; ++size) {
                for (int angle = 0; angle <= 360; angle += 15) {
                    const auto& o = c.run(text, fontOf(face, float(size)), angle, angle % 2);
                    ASSERT_TRUE(wellFormed(o)) << face << " " << text << " " << size << " " << angle;
                    ++captures;
                }
            }
        }
    }
    EXPECT_GT(captures, 10000);
}
