// The preview's tool check: its report is the front end's check of the same
// drawing, its marks fall on the preview's drawing (material on the ink,
// gaps and islands off it), and the next drawing clears them.
#include "fake_view.hpp"

#include "base/byte_sink.hpp"
#include "export/tool_report.hpp"

#include "../export/export_test_support.hpp"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace lw;
using lw::test::readBytes;
using lw::test::ScratchDir;
using lw::test::Window;

namespace {

// The front end's status: 1 when the tool does not fit.
int cliStatus(const std::string& args)
{
    const int status = std::system((std::string(LETTERWIRE_CLI) + " " + args + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

// Nonzero winding of the preview's filled polygons around (x, y), and the
// distance from (x, y) to their nearest edge: worked out here, apart from
// the rasteriser and the check.
struct Ink {
    bool inside = false;
    double edge = 1e300;
};

Ink inkAt(const RecordingCanvas& canvas, double x, double y)
{
    int winding = 0;
    Ink ink;
    for (const RecordingCanvas::Polygon& polygon : canvas.polygons) {
        const std::vector<POINT>& p = polygon.points;
        for (std::size_t k = 0; k < p.size(); ++k) {
            const POINT a = p[k], b = p[(k + 1) % p.size()];
            const double ax = a.x, ay = a.y, bx = b.x, by = b.y;
            if (ay <= y && by > y && (bx - ax) * (y - ay) - (x - ax) * (by - ay) > 0)
                ++winding;
            else if (ay > y && by <= y && (bx - ax) * (y - ay) - (x - ax) * (by - ay) < 0)
                --winding;
            const double dx = bx - ax, dy = by - ay, length = dx * dx + dy * dy;
            const double t = length == 0 ? 0 : std::clamp(((x - ax) * dx + (y - ay) * dy) / length, 0.0, 1.0);
            ink.edge = std::min(ink.edge, std::hypot(ax + t * dx - x, ay + t * dy - y));
        }
    }
    ink.inside = winding != 0;
    return ink;
}

} // namespace

TEST(PreviewToolCheck, TheReportIsTheFrontEndsAndTheMarksFallOnThePreviewsDrawing)
{
    using enum SavePrecision;
    const struct {
        const char* text;
        const char* size;
        int angle;
        double toolMm;
        SavePrecision precision;
        double offsetMm;
        const char* options;
    } cases[] = {
        {"BOB 8", "24", 0, 0.5, Hundredth, 0, "--precision 0.01"},
        {"BOB 8", "24", 0, 0.1, Hundredth, 0, "--precision 0.01"},
        {"出口 回", "36", 30, 1.2, Tenth, 0, "--precision 0.1 --angle 30"},
        {"Ag 図", "20", 0, 0.8, Hundredth, 0.05, "--precision 0.01 --offset 0.05"},
        {"出口", "12", 0, 0.6, Classic, 0, "--precision classic"},
    };
    ScratchDir dir;
    int marksSeen = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + std::string(" ") + c.options + " tool " + std::to_string(c.toolMm));
        Window w(SaveSettings{SaveFormat::Dxf, c.precision, "", {.offsetMm = c.offsetMm}});
        w.view.toolDialog = true;
        w.view.answerTool = [&](double) { return std::optional<double>(c.toolMm); };
        w.edit(TextBox::txtInput, c.text, &Form1::txtInput_Change);
        w.edit(TextBox::txtSize, c.size, &Form1::txtSize_Change);
        w.click(Slider::sldAngle, c.angle, &Form1::sldAngle_Click);
        w.form.run(PreviewCommand::ToolCheck);
        ASSERT_TRUE(w.form.toolReport().has_value());
        ASSERT_EQ(w.view.messages.size(), 1u);

        // The front end's check of the centred drawing, as JSON.
        const std::string reportPath = dir / "report.json";
        std::remove(reportPath.c_str());
        char tool[32];
        std::snprintf(tool, sizeof tool, "%g", c.toolMm);
        const int status = cliStatus("svg " + dir / "drawing.svg" + " --centre --text " + quoted(c.text) + " --size " + c.size + " " +
                                     c.options + " --check " + tool + " --report " + reportPath);
        StringSink window;
        writeToolReportJson(window, *w.form.toolReport());
        EXPECT_EQ(window.text(), readBytes(reportPath));
        EXPECT_EQ(status, w.form.toolReport()->passes() ? 0 : 1);

        const ToolReport& report = *w.form.toolReport();
        const std::size_t places = report.materialTooThin.size() + report.gapTooNarrow.size() + report.islands.size();
        ASSERT_EQ(w.form.toolMarks().size(), places);
        for (const ToolMark& mark : w.form.toolMarks()) {
            const Ink ink = inkAt(w.view.canvas, mark.x, mark.y);
            // Within a pixel of the edge the screen's rounding decides.
            if (ink.edge > 1) {
                EXPECT_EQ(ink.inside, mark.kind == ToolMark::Kind::Material)
                    << "mark " << int(mark.kind) << " at " << mark.x << ", " << mark.y;
            }
            EXPECT_GE(mark.x, 0);
            EXPECT_LT(mark.x, design::kPreviewWidth);
            ++marksSeen;
        }
        // The marks are drawn in their colours, and the next drawing clears them.
        const auto marked = [&] {
            for (const RecordingCanvas::Line& line : w.view.canvas.lines)
                if (line.pen == markColour(ToolMark::Kind::Material) || line.pen == markColour(ToolMark::Kind::Island))
                    return true;
            return false;
        };
        EXPECT_EQ(marked(), places != 0);
        w.form.run(&Form1::cmdDraw_Click);
        EXPECT_FALSE(marked());
        EXPECT_FALSE(w.form.toolReport().has_value());
        EXPECT_EQ(w.view.textSettings["tool"], tool);
    }
    // The table must mark something, or the marks' test tests nothing.
    EXPECT_GT(marksSeen, 10);
}
