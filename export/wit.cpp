#include "export/wit.hpp"

#include "export/byte_files.hpp"
#include "export/converter.hpp"
#include "export/line_sink.hpp"
#include "export/print_form.hpp"
#include "outline/failure.hpp"

namespace lw {
namespace {

std::size_t witPointCount(const CapturedOutline& outline)
{
    const std::int32_t n = outline.upperIndex();
    if (n <= 0)
        return 0;
    if (std::size_t(n) > outline.pathPoints.size())
        throw Failure(FailureKind::SubscriptOutOfRange,
                      "point count " + std::to_string(n) + " beyond the captured points");
    return std::size_t(n);
}

} // namespace

void writeWit(std::ostream& out, const CapturedOutline& outline, float clientWidth,
              float clientHeight)
{
    const std::size_t n = witPointCount(outline);
    LineSink sink(out);
    for (const char* line : {"#  from DX to EX", "HEADER", "Middle", "0.1", "MM"})
        sink.line(line);
    std::string& text = sink.text();
    text += "0.0 ";
    appendPlainForm(text, clientWidth);
    text += " 0.0 ";
    appendPlainForm(text, clientHeight);
    sink.endLine();
    sink.line("ENDHEAD");
    sink.line("ENTITIES");

    const double height = clientHeight;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t type = outline.pathTypes[i];
        if (type == PT_MOVETO) {
            sink.line("POLYLINE2");
            sink.line("1 0");
        }
        const POINT& p = outline.pathPoints[i];
        appendPrintForm(sink.text(), p.x);
        appendPrintForm(sink.text(), height - p.y);
        sink.endLine();
    }
    sink.line("ENDENTI");
    sink.line("EOF");
}

void WitOut(CapturedOutline& outline, float clientWidth, float clientHeight,
            const std::string& programDirectory, const std::string& outputPath)
{
    const std::string workFile = programDirectory + "/tmp.wmf";
    OutputFile file(workFile);
    writeWit(file.stream(), outline, clientWidth, clientHeight);
    file.close();

    outline.pointCount = outline.upperIndex();
    outline.figureCount = 0;
    for (std::int32_t i = 0; i < outline.pointCount; ++i)
        outline.figureCount = (outline.pathTypes[std::size_t(i)] & PT_CLOSEFIGURE) ? 0 : outline.figureCount + 1;

    startConverter(workFile, outputPath);
}

} // namespace lw
