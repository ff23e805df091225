#include "cli/centreline_run.hpp"

#include "cli/stroke_run.hpp"
#include "export/capture_json.hpp"
#include "export/open_lines_json.hpp"
#include "export/offscreen_capture.hpp"
#include "platform/face_info.hpp"

namespace lw::cli {

void refuseOpenCurves(const Options& o)
{
    if (o.command != "dxf" && o.command != "batch")
        throw UsageError("--curves: open lines are written as arcs in dxf only; " + o.command +
                         " takes their points");
    if (o.offsetMm > 0)
        throw UsageError("--curves: the pen's outline (--offset) is written as points; --curves applies to the "
                         "open lines themselves");
}

void refuseWithCentreline(const Options& o, const std::string& units)
{
    const auto refuse = [](const std::string& why) { throw UsageError("--centreline: " + why); };
    if (o.command == "jw" || o.command == "wit")
        refuse(o.command + " takes the closed outline of an outline face, which a centreline's open lines are not");
    if (o.command == "check")
        refuse("check measures closed outlines; a centreline's open lines have none");
    if (!o.strokeFont.empty())
        refuse("a stroke font's lines are centres already; --centreline takes an outline face (--font)");
    if (o.stencilMm > 0 || o.checkAsked)
        refuse(std::string(o.stencilMm > 0 ? "--stencil" : "the tool check") +
               " measures closed outlines; a centreline's open lines have none");
    if (o.curves)
        refuseOpenCurves(o);
    if (!o.merge)
        refuse("the centre is that of the merged outline; --no-merge does not apply");
    if (o.command == "capture" && o.offsetMm != 0)
        refuse("capture gives the lines themselves; --offset applies to svg, dxf, pdf and hpgl");
    if (o.offsetMm < 0)
        refuse("--offset is the pen's radius around the lines; it must be above 0");
    if (o.offsetMm == 0 && o.output.hpgl.overcutMm > 0)
        refuse("--overcut: the lines are open and have no contour to cut past; --overcut applies with --offset, "
               "whose outlines are closed");
    if (o.centre)
        refuse("the lines are measured from the baseline; --centre does not apply (--anchor centre does)");
    if (units == "px")
        refuse("capture gives the lines in millimetres; --units px does not apply");
}

void runCentreline(const Options& o, OffscreenCapture& made, CutWorkspace& work, ByteSink& standardOutput,
                   const std::function<void(const std::string&)>& warn)
{
    const SaveFormat format = o.command == "svg"    ? SaveFormat::Svg
                              : o.command == "pdf"  ? SaveFormat::Pdf
                              : o.command == "hpgl" ? SaveFormat::Hpgl
                                                    : SaveFormat::Dxf;
    OpenLines lines = made.centreline(format);
    lines.penMm = o.penMm.value_or(kDefaultPenMm);
    if (lines.count() == 0 && made.outline().pointCount > 0)
        warn("the outline gives no centreline");
    if (o.command == "capture") {
        const FaceInfo face = faceThatDrew(made.outline(), o.font.italic, o.text);
        writeOpenLinesJson(standardOutput,
                           {.text = o.text, .face = o.font.faceName, .file = face.file, .size = o.font.size,
                            .angle = o.angle, .centreline = true},
                           lines);
        return;
    }
    writeOpenLinesRun(o, lines, work, standardOutput);
}

} // namespace lw::cli
