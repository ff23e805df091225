// The preview shows what OK saves: in the window's own mode a styled text
// is as wide on screen as in the DXF it saves, read back by ezdxf; in JW
// mode the preview stays the classic capture the host receives.
#include "fake_view.hpp"
#include "../export/export_test_support.hpp"
#include "form/save_preview.hpp"
#include "outline/capture.hpp"

#include <gtest/gtest.h>

#ifndef _WIN32

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

using namespace lw;
using namespace lw::test;

namespace {

constexpr const char* kStyledText = "WIDE 編集テキストAgé";

struct Extent {
    double left = std::numeric_limits<double>::max(), right = std::numeric_limits<double>::lowest();
    void take(double x) { left = std::min(left, x), right = std::max(right, x); }
    double width() const { return right - left; }
};

double drawnWidth(const RecordingCanvas& canvas)
{
    Extent e;
    for (const auto& polygon : canvas.polygons)
        for (const POINT& p : polygon.points)
            e.take(p.x);
    return e.width();
}

double outlineWidth(const CapturedOutline& outline)
{
    Extent e;
    for (const Figure& f : figures(outline))
        for (const POINT& p : f.points)
            e.take(p.x);
    return e.width();
}

// The DXF's width in millimetres as ezdxf reads it; NaN when it cannot.
double dxfWidthMm(const std::string& path)
{
    const std::string command =
        "/usr/bin/python3 -c 'import ezdxf, sys\n"
        "xs = [p[0] for e in ezdxf.readfile(sys.argv[1]).modelspace().query(\"LWPOLYLINE\") for p in e.get_points(\"xy\")]\n"
        "print(max(xs) - min(xs))' '" + path + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return NAN;
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    return pclose(pipe) == 0 && read ? std::strtod(line, nullptr) : NAN;
}

void chooseStyle(Window& w, const TextStyle& style)
{
    w.view.textStyleDialog = true;
    w.view.answerStyle = [style](const TextStyle&) { return std::optional<TextStyle>(style); };
    w.form.run(PreviewCommand::TextStyle);
}

} // namespace

TEST(SavePreview, OwnModeShowsTheSavedWidthAndJwModeTheClassicCapture)
{
    const struct Case {
        const char* name;
        TextStyle style;
        SavePrecision precision;
    } cases[] = {
        {"narrow, bold, spaced, 0.01 mm", {1.5, 80, true}, SavePrecision::Hundredth},
        {"wide, closer, 0.01 mm", {-0.5, 130, false}, SavePrecision::Hundredth},
        {"narrowest bold, 0.01 mm", {0, 57, true}, SavePrecision::Hundredth},
        {"spacing below a pixel, 0.01 mm", {0.3, 100, false}, SavePrecision::Hundredth},
        {"narrow, bold, spaced, 0.1 mm", {1.5, 80, true}, SavePrecision::Tenth},
        {"spacing below a pixel, 0.1 mm", {0.3, 100, false}, SavePrecision::Tenth},
        {"designed, 0.01 mm", {}, SavePrecision::Hundredth},
    };
    ScratchDir dir;
    writeBytes(dir / "cmd.txt", "hp1 100 50\r\nhs 1 \r\nlg0\r\n");
    bool classicMisleads = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window own(SaveSettings{SaveFormat::Dxf, c.precision, dir.path().string(), {}});
        own.edit(TextBox::txtInput, kStyledText, &Form1::txtInput_Change);
        chooseStyle(own, c.style);
        const double shown = drawnWidth(own.view.canvas);
        own.view.answerSave = [&](const SaveChoice&) {
            return SaveChoice{SaveFormat::Dxf, c.precision, dir / "out.dxf", {}};
        };
        own.form.run(&Form1::cmdOK_Click);
        ASSERT_TRUE(own.view.messages.empty());
        const double saved = dxfWidthMm(dir / "out.dxf") * design::kDpi / 25.4;
        ASSERT_FALSE(std::isnan(saved));
        EXPECT_NEAR(shown, saved, 1.0);
        classicMisleads = classicMisleads || std::abs(outlineWidth(own.form.capturedOutline()) - saved) > 1.0;

        // JW: the host's capture, drawn as it is, whatever the save's store says.
        Window jw({"JW", dir / "cmd.txt", dir / "jw.txt"});
        jw.view.storedSettings = SaveSettings{SaveFormat::Dxf, c.precision, "", {}};
        jw.edit(TextBox::txtInput, kStyledText, &Form1::txtInput_Change);
        chooseStyle(jw, c.style);
        const WindowFont font = jw.form.windowFont();
        NullCanvas nothing;
        DeviceContext dc(nothing);
        CapturedOutline classic;
        lw::drawFlattenPath(Placement::PreviewCentre, {kStyledText, font, 0, design::kPreviewWidth,
                                                       design::kPreviewHeight, design::kTwipsPerPixel,
                                                       Advances::Device, c.style},
                            dc, classic);
        std::vector<std::vector<POINT>> expected;
        for (const Figure& f : figures(classic))
            if (f.closed)
                expected.emplace_back(f.points.begin(), f.points.end());
        ASSERT_EQ(jw.view.canvas.polygons.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(jw.view.canvas.polygons[i].points, expected[i]) << i;
        EXPECT_EQ(jw.form.capturedOutline().pathPoints, classic.pathPoints);
        EXPECT_EQ(jw.view.settingsReads, 0);
    }
    // Else the cases would not tell the save's grid from the screen's.
    EXPECT_TRUE(classicMisleads);
}

// The grid's points reach the screen rounded as std::lround rounds them (half
// away from zero), about the reference point, repeats once rounded left out.
TEST(SavePreview, GridPointsAreRoundedHalfAwayFromZero)
{
    const struct Case {
        double toScreen;
        std::int32_t from, to, step; // the grid's coordinates tried, each with its negative
    } cases[] = {
        {0.5, -41, 41, 1},                       // every half of a screen pixel
        {0.25, -83, 83, 1},                      // and every quarter
        {0.1, -1005, 1005, 5},                   // the 0.01 mm grid's ratios
        {1.0 / 3, -300, 300, 1},                 // fractions that are not exact
        {0.5, 2'000'000'001, 2'000'000'101, 2}, // far from the origin
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.toScreen);
        CapturedOutline outline;
        outline.pathPoints.clear();
        outline.pathTypes.clear();
        for (std::int32_t v = c.from; v <= c.to; v += c.step)
            for (const POINT p : {POINT{v, -v}, POINT{-v, v}}) {
                outline.pathPoints.push_back(p);
                outline.pathTypes.push_back(PT_LINETO);
            }
        outline.pathTypes.front() = PT_MOVETO;
        outline.pathTypes.back() |= PT_CLOSEFIGURE;
        outline.pointCount = std::int32_t(outline.pathPoints.size());
        outline.pathPoints.push_back({});
        outline.pathTypes.push_back(0);

        RecordingCanvas canvas;
        DeviceContext dc(canvas);
        const POINT reference{230, 150};
        drawSavePreview(outline, c.toScreen, reference, dc);
        std::vector<POINT> expected;
        for (const POINT& p : outline.points()) {
            const POINT q{reference.x + std::int32_t(std::lround(p.x * c.toScreen)),
                          reference.y + std::int32_t(std::lround(p.y * c.toScreen))};
            if (expected.empty() || q.x != expected.back().x || q.y != expected.back().y)
                expected.push_back(q);
        }
        while (expected.size() > 1 && expected.back().x == expected.front().x && expected.back().y == expected.front().y)
            expected.pop_back();
        ASSERT_EQ(canvas.polygons.size(), 1u);
        EXPECT_EQ(canvas.polygons[0].points, expected);
    }
}
#endif
