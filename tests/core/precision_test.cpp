// The precision: steps to resolutions and their refusals, the baseline
// origin, and captures at a fine grid measured against the exact glyph.
#include "outline/baseline.hpp"
#include "outline/capture.hpp"
#include "outline/precision.hpp"
#include "outline/text_output.hpp"
#include "platform/canvas.hpp"
#include "platform/face_info.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace lw {
namespace {

// An estimate like the work bound's: points growing with the root of the
// resolution, 10 million of them at exactly 10000 dpi for this text.
std::uint64_t rootEstimate(double dpi) { return std::uint64_t(std::ceil(100000 * std::sqrt(dpi))); }
constexpr std::uint64_t kBound = 10'000'000;

TEST(Precision, StepsBecomeResolutionsNeverCoarserThanTheClassicPixel)
{
    EXPECT_EQ(dpiForPrecision(0.01, rootEstimate, kBound), 2540);
    EXPECT_EQ(dpiForPrecision(0.1, rootEstimate, kBound), 254); // not 253.99999999999997
    EXPECT_EQ(dpiForPrecision(kClassicStepMm, rootEstimate, kBound), 96);
    EXPECT_EQ(dpiForPrecision(1, rootEstimate, kBound), 96);
    EXPECT_EQ(dpiForPrecision(kCoarsestStepMm, rootEstimate, kBound), 96);
    EXPECT_EQ(dpiForPrecision(0.00254, rootEstimate, kBound), 10000);
    EXPECT_DOUBLE_EQ(dpiForStep(0.03), 25.4 / 0.03);
    EXPECT_EQ(dpiForStep(kFinestStepMm), 25400);
}

std::string refusal(double step, const PointEstimate& estimate = rootEstimate)
{
    try {
        dpiForPrecision(step, estimate, kBound);
    } catch (const PrecisionError& e) {
        return e.what();
    }
    return "accepted";
}

TEST(Precision, OutOfRangeStepsAreRefusedWithTheRange)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (double step : {0.0, -0.01, nan, inf, -inf, 0.0009, 1000.5})
        EXPECT_EQ(refusal(step), "--precision must be from 0.001 to 1000 mm (the largest grid step at 1:1), "
                                 "or classic (0.26 mm, the screen pixel at 96 dpi)")
            << step;
}

TEST(Precision, AStepBeyondTheWorkBoundNamesTheFinestThisTextAllows)
{
    EXPECT_EQ(refusal(0.001), "--precision 0.001 would make the outline of this text above 10000000 points; "
                              "for this text and size it must be from 0.00254 to 1000 mm");
    EXPECT_EQ(refusal(0.00253), refusal(0.001).replace(12, 5, "0.00253"));
    // A bound between three-digit steps names the next one up.
    const auto steeper = [](double dpi) { return rootEstimate(dpi * 1.001); };
    EXPECT_NE(refusal(0.001, steeper).find("must be from 0.00255 to 1000 mm"), std::string::npos);
    EXPECT_EQ(refusal(0.00255, steeper), "accepted");
}

TEST(Precision, ATextBeyondTheBoundAtAnyStepSaysSo)
{
    EXPECT_EQ(refusal(1, [](double) { return kBound + 1; }),
              "--precision: this text at this size is above 10000000 points at any precision; "
              "use a shorter text or a smaller size");
}

TEST(Precision, PixelsBecomeMillimetresFromTheOriginYUp)
{
    const MmPlacement at96{.originX = 0, .originY = 28, .dpi = 96};
    EXPECT_EQ(toMillimetres(at96, POINT{96, 28}).x, 25.4);
    EXPECT_EQ(toMillimetres(at96, POINT{96, 28}).y, 0);
    EXPECT_EQ(toMillimetres(at96, POINT{0, 0}).y, 28 * (25.4 / 96));
    EXPECT_EQ(toMillimetres({.originX = 10, .originY = 0, .dpi = 25.4}, POINT{0, 5}).x, -10);
}

LOGFONT fontAt(std::int32_t height, std::int32_t angle)
{
    LOGFONT logFont{};
    setLogFont(logFont, design::kFaceName, height, angle, WindowFont{});
    return logFont;
}

TEST(Baseline, TheAscentIsThePlatformsWholePixels)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    EXPECT_EQ(captureAscent(dc, fontAt(32, 0)), 28); // IPA P Gothic: usWinAscent 1802 of 2048
    EXPECT_EQ(captureAscent(dc, fontAt(847, 0)), 745);
    EXPECT_EQ(captureAscent(dc, fontAt(32, 90)), 28);
}

TEST(Baseline, TheOriginTurnsWithTheText)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    const MmPlacement upright = baselinePlacement(dc, fontAt(32, 0), 96);
    EXPECT_EQ(upright.originX, 0);
    EXPECT_EQ(upright.originY, 28);
    EXPECT_EQ(upright.dpi, 96);
    // At 90 degrees the text runs towards -y: the baseline lies to the right.
    const MmPlacement turned = baselinePlacement(dc, fontAt(32, 90), 96);
    EXPECT_NEAR(turned.originX, 28, 1e-12);
    EXPECT_NEAR(turned.originY, 0, 1e-12);
}

// A capture at the origin of one line of text at `size` points and `dpi`.
CapturedOutline captureAt(const std::string& text, float size, double dpi)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    CapturedOutline outline;
    WindowFont font;
    font.size = size;
    std::int32_t alCent = 0;
    drawFlattenPath(alCent, {text, font, 0, design::kPreviewWidth, design::kPreviewHeight, 1440 / dpi}, dc, outline);
    return outline;
}

struct PointD {
    double x, y;
};

// The glyph's exact outline in device pixels, its curves cut so finely
// (512 pieces each) that the cut is a thousandth of a pixel off at most.
class ExactGlyph {
public:
    ExactGlyph(char32_t c, double em, double ascent)
    {
        const FaceInfo face = describeFace(design::kFaceName, false);
        FT_Init_FreeType(&library_);
        if (FT_New_Face(library_, face.file.c_str(), 0, &face_) != 0 ||
            FT_Load_Char(face_, c, FT_LOAD_NO_SCALE) != 0)
            return;
        scale_ = em / face_->units_per_EM;
        ascent_ = ascent;
        FT_Outline_Funcs funcs{};
        funcs.move_to = [](const FT_Vector* to, void* self) {
            static_cast<ExactGlyph*>(self)->moveTo(*to);
            return 0;
        };
        funcs.line_to = [](const FT_Vector* to, void* self) {
            static_cast<ExactGlyph*>(self)->curve({*to});
            return 0;
        };
        funcs.conic_to = [](const FT_Vector* c, const FT_Vector* to, void* self) {
            static_cast<ExactGlyph*>(self)->curve({*c, *to});
            return 0;
        };
        funcs.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* self) {
            static_cast<ExactGlyph*>(self)->curve({*c1, *c2, *to});
            return 0;
        };
        FT_Outline_Decompose(&face_->glyph->outline, &funcs, this);
    }
    ~ExactGlyph()
    {
        if (face_)
            FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }

    // The distance from `p` to the nearest part of the outline, in pixels.
    double distance(POINT p) const
    {
        double best = std::numeric_limits<double>::infinity();
        for (const auto& [a, b] : segments_) {
            const double dx = b.x - a.x, dy = b.y - a.y, px = p.x - a.x, py = p.y - a.y;
            const double length = dx * dx + dy * dy;
            const double t = length > 0 ? std::clamp((px * dx + py * dy) / length, 0.0, 1.0) : 0.0;
            best = std::min(best, std::hypot(px - t * dx, py - t * dy));
        }
        return best;
    }
    bool empty() const { return segments_.empty(); }

private:
    PointD device(const FT_Vector& v) const { return {v.x * scale_, ascent_ - v.y * scale_}; }
    void moveTo(const FT_Vector& to) { pen_ = device(to); }
    void curve(std::vector<FT_Vector> controls)
    {
        std::vector<PointD> p{pen_};
        for (const FT_Vector& v : controls)
            p.push_back(device(v));
        const int pieces = p.size() == 2 ? 1 : 512;
        PointD previous = pen_;
        for (int i = 1; i <= pieces; ++i) {
            const double t = double(i) / pieces, u = 1 - t;
            PointD q;
            if (p.size() == 2)
                q = p[1];
            else if (p.size() == 3)
                q = {u * u * p[0].x + 2 * u * t * p[1].x + t * t * p[2].x,
                     u * u * p[0].y + 2 * u * t * p[1].y + t * t * p[2].y};
            else
                q = {u * u * u * p[0].x + 3 * u * u * t * p[1].x + 3 * u * t * t * p[2].x + t * t * t * p[3].x,
                     u * u * u * p[0].y + 3 * u * u * t * p[1].y + 3 * u * t * t * p[2].y + t * t * t * p[3].y};
            segments_.push_back({previous, q});
            previous = q;
        }
        pen_ = previous;
    }

    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    double scale_ = 1, ascent_ = 0;
    PointD pen_{0, 0};
    std::vector<std::pair<PointD, PointD>> segments_;
};

// The largest distance in millimetres from a point of the capture of `c`
// at 24 pt and `step` to the exact glyph.
double worstDistanceMm(char32_t c, double step, std::int32_t& points)
{
    const double dpi = dpiForStep(step);
    const CapturedOutline outline = captureAt(std::string(1, char(c)), 24, dpi);
    NullCanvas canvas;
    DeviceContext dc(canvas);
    const ExactGlyph exact(c, -outline.logFont.lfHeight, captureAscent(dc, outline.logFont));
    EXPECT_FALSE(exact.empty());
    double worst = 0;
    for (const Figure& f : figures(outline))
        for (const POINT& p : f.points)
            worst = std::max(worst, exact.distance(p));
    points = outline.pointCount;
    return worst * kMmPerInch / dpi;
}

TEST(PrecisionCapture, EveryPointLiesWithinOneStepOfTheExactGlyph)
{
    for (char32_t c : {U'O', U'S'}) {
        for (double step : {kClassicStepMm, 0.1, 0.01}) {
            std::int32_t points = 0;
            EXPECT_LE(worstDistanceMm(c, step, points), step) << char(c) << " at " << step << " mm";
            EXPECT_GT(points, 8);
        }
    }
}

TEST(PrecisionCapture, PointsGrowNoFasterThanOneOverTheRootOfTheStep)
{
    for (char32_t c : {U'O', U'S'}) {
        std::int32_t classic = 0, tenth = 0, hundredth = 0, thousandth = 0;
        worstDistanceMm(c, kClassicStepMm, classic);
        worstDistanceMm(c, 0.1, tenth);
        worstDistanceMm(c, 0.01, hundredth);
        worstDistanceMm(c, 0.001, thousandth);
        EXPECT_LE(tenth, classic * std::sqrt(kClassicStepMm / 0.1)) << char(c);
        EXPECT_LE(hundredth, tenth * std::sqrt(10.0)) << char(c);
        EXPECT_LE(thousandth, hundredth * std::sqrt(10.0)) << char(c);
        EXPECT_GT(thousandth, hundredth) << char(c);
    }
}

} // namespace
} // namespace lw
