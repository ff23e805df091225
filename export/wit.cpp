#include "export/wit.hpp"

#include "export/byte_files.hpp"
#include "export/converter.hpp"
#include "export/line_sink.hpp"
#include "export/print_form.hpp"
#include "platform/file_io.hpp"
#include "base/failure.hpp"

#include <optional>

namespace lw {

void writeWit(ByteSink& out, const CapturedOutline& outline, float clientWidth,
              float clientHeight)
{
    // The count read back as the upper index of the type array.
    const std::size_t n = checkPointCount(outline, outline.upperIndex());
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
    for (const Figure& figure : figures(outline, n)) {
        for (std::size_t i = 0; i < figure.points.size(); ++i) {
            // A move-to point opens an entity; the first point is not repeated.
            if (figure.types[i] == PT_MOVETO) {
                sink.line("POLYLINE2");
                sink.line("1 0");
            }
            appendPrintForm(sink.text(), figure.points[i].x);
            appendPrintForm(sink.text(), height - figure.points[i].y);
            sink.endLine();
        }
    }
    sink.line("ENDENTI");
    sink.line("EOF");
}

void WitOut(const CapturedOutline& outline, float clientWidth, float clientHeight,
            const std::string& programDirectory, const std::string& outputPath)
{
    // A work file of this export's own, so that no later export changes what
    // its converter reads; an installed program's folder is not the user's
    // to write, so then the user's own folder takes it.
    auto create = [](const std::string& folder) { return OutputFile::createUnique(folder, "tmp-", ".wmf"); };
    std::optional<OutputFile> file;
    try {
        file.emplace(create(programDirectory));
    } catch (const Failure& failure) {
        if (failure.kind() != FailureKind::PathFileAccess)
            throw;
        file.emplace(create(fileio::userWorkFolder()));
    }
    writeWit(file->stream(), outline, clientWidth, clientHeight);
    file->close();
    try {
        startConverter(file->path(), outputPath);
    } catch (...) {
        fileio::removeFile(file->path()); // no converter will ever read it
        throw;
    }
}

} // namespace lw
