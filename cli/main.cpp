// letterwire-cli: the outline engine and its exports for scripts and for
// machines without a display.

#include "cli/batch.hpp"
#include "cli/centreline_run.hpp"
#include "cli/options.hpp"
#include "cli/stroke_run.hpp"
#include "outline/option_limits.hpp"
#include "export/byte_files.hpp"
#include "export/capture_json.hpp"
#include "export/face_note.hpp"
#include "export/tool_report.hpp"
#include "export/jw_command.hpp"
#include "export/jw_warnings.hpp"
#include "export/wit.hpp"
#include "export/offscreen_capture.hpp"
#include "outline/stroke_font_cache.hpp"
#include "base/failure.hpp"
#include "platform/process.hpp"
#include "platform/standard_error.hpp"
#include "platform/face_info.hpp"
#include "platform/file_io.hpp"

#include <letterwire_version.hpp>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>

namespace {


void expectFiles(const lw::cli::Options& o, std::size_t count)
{
    if (o.positional.size() != count)
        throw lw::cli::UsageError("usage: letterwire-cli " + lw::cli::synopsis(o.command));
}

bool isStandardOutput(const std::string& path) { return path == "-"; }

// Through the C stream, which keeps its error for standardOutputReached.
lw::ByteSink& standardOutput()
{
    static lw::CStreamSink sink(stdout);
    return sink;
}

// A request too big to hold, whichever way the library says so.
constexpr const char* kOutOfMemory =
    "letterwire-cli: out of memory: the work needs more memory than this machine gives it\n";

// An exception of no type the work reports by name (a library's own), said
// rather than left to std::terminate; nullptr: not even a std::exception.
void internalFailure(const char* what)
{
    lw::writeStandardError(std::string("letterwire-cli: internal failure: ") +
                           (what ? what : "an exception of no known type") + "\n");
}

// A batch row's place ("rows.csv: line 4"), said before its warnings.
std::string warningWhere;

// One line each on standard error; the status stays as it is.
void warn(const std::string& text)
{
    lw::writeStandardError("letterwire-cli: " + (warningWhere.empty() ? "" : warningWhere + ": ") + "warning: " + text +
                           "\n");
}

// The export's warnings come one a line, each already saying "Warning: ".
void warnLines(std::string_view text)
{
    constexpr std::string_view kSaid = "Warning: ";
    while (!text.empty()) {
        std::string_view line = text.substr(0, text.find('\n'));
        text.remove_prefix(std::min(text.size(), line.size() + 1));
        if (line.starts_with(kSaid))
            line.remove_prefix(kSaid.size());
        warn(std::string(line));
    }
}

void warnAboutInputs(const lw::cli::Options& o, const lw::CapturedOutline& outline)
{
    if (o.text.empty())
        warn("the text is empty: the outline has no points");
    if (const auto note = lw::faceNote(o.font.faceName, lw::faceThatDrew(outline, o.font.italic, o.text)))
        warn(lw::faceNoteText(*note));
}

// The capture every command writes from, at the dpi of the command line.
std::unique_ptr<lw::OffscreenCapture> capture(const lw::cli::Options& o, lw::Placement placement,
                                              lw::CutWorkspace& work)
{
    auto made =
        std::make_unique<lw::OffscreenCapture>(lw::CaptureSource{.text = o.text, .font = o.font, .angle = o.angle,
                                                                  .advances = o.advances, .style = o.style},
                                               placement, o.dpi, o.curves);
    made->useWorkspace(work);
    if (const std::string tooLong = made->arcShortfall(); !tooLong.empty())
        throw lw::cli::UsageError("--arc: " + tooLong);
    warnAboutInputs(o, made->outline());
    return made;
}

// The cut-ready options of the command line, in the capture's pixels.
lw::CadOptions cadOptions(const lw::cli::Options& o)
{
    // In this order: the drawings' bytes depend on the offset's last bit.
    return {.merge = o.merge, .offsetPixels = lw::pixelsOfMm(o.offsetMm, o.dpi), .curves = o.curves,
            .stencilPixels = lw::pixelsOfMm(o.stencilMm, o.dpi), .stencilBridges = o.stencilBridges};
}

// The tool check of what `made` writes: its lines on `said`, its JSON in
// --report's file; 1 when the tool does not fit.
int checkDrawing(const lw::cli::Options& o, lw::OffscreenCapture& made, lw::SaveFormat format, lw::ByteSink& said)
{
    const lw::ToolReport report = made.check(format, cadOptions(o), o.toolMm.value_or(0));
    if (!warningWhere.empty())
        said << warningWhere << ": ";
    lw::writeToolReportText(said, report);
    if (o.reportPath == "-") {
        lw::writeToolReportJson(standardOutput(), report);
    } else if (!o.reportPath.empty()) {
        lw::OutputFile file(o.reportPath);
        lw::writeToolReportJson(file.stream(), report);
        file.close();
    }
    return report.passes() ? 0 : 1;
}

// `fonts`: the stroke fonts read so far, kept across a batch's rows; `work`:
// the buffers its drawings borrow in turn.
int run(const lw::cli::Options& o, lw::StrokeFontCache& fonts, lw::CutWorkspace& work)
{
    const lw::Placement asAsked = o.centre ? lw::Placement::PreviewCentre : lw::Placement::Origin;
    if (o.command == "fonts") {
        lw::cli::listStrokeFonts(standardOutput());
        return 0;
    }
    if (!o.strokeFont.empty() && o.command != "batch") {
        expectFiles(o, o.command == "capture" ? 0 : 1);
        lw::cli::runStroke(o, fonts, work, standardOutput(), warn);
        return 0;
    }
    if (o.centreline && o.command != "batch") {
        expectFiles(o, o.command == "capture" ? 0 : 1);
        const auto made = capture(o, lw::Placement::Origin, work);
        made->setAnchor(o.anchor, o.mirror);
        lw::cli::runCentreline(o, *made, work, standardOutput(), warn);
        return 0;
    }
    if (o.command == "capture") {
        expectFiles(o, 0);
        const auto made = capture(o, asAsked, work);
        const lw::FaceInfo face = lw::faceThatDrew(made->outline(), o.font.italic, o.text);
        lw::CaptureJsonForm form{lw::JsonUnits::Pixels, {.dpi = o.dpi}};
        if (o.millimetres)
            form = {lw::JsonUnits::Millimetres, o.style.arc.isArc() ? made->arcPlacement() : made->baseline()};
        const std::vector<lw::FaceRun> runs = lw::faceRunsThatDrew(made->outline(), o.font.italic, o.text);
        lw::writeCaptureJson(standardOutput(),
                             {o.text, o.font.faceName, face.family, face.file, o.font.size, o.angle,
                              std::int32_t(asAsked), o.style, &runs},
                             made->outline(), form);
        return 0;
    }
    if (o.command == "jw") {
        expectFiles(o, 2);
        if (o.centre)
            throw lw::cli::UsageError("jw always captures at the origin; --centre does not apply");
        const auto made = capture(o, lw::Placement::Origin, work);
        const std::string& input = o.positional[0];
        if (isStandardOutput(o.positional[1])) {
            lw::InputFile file(input);
            // Writing would grow the very file being copied.
            if (file.isStandardOutput())
                throw lw::Failure(lw::FailureKind::PathFileAccess, "- (standard output is the command file " + input + ")");
            const std::string bytes = file.readAll();
            const lw::JwParameters parameters =
                lw::writeJw(bytes, input, standardOutput(), made->outline(), made->twipsPerPixel());
            warnLines(lw::jwWarning(bytes, input, parameters));
        } else {
            warnLines(lw::writeJwExport(input, o.positional[1], made->outline(), made->twipsPerPixel()));
        }
        return 0;
    }
    if (o.command == "wit") {
        expectFiles(o, 1);
        // The window's WIT export writes the preview's capture: centred.
        const auto made = capture(o, lw::Placement::PreviewCentre, work);
        if (o.noConvert && isStandardOutput(o.positional[0])) {
            lw::writeWit(standardOutput(), made->outline(), lw::design::kClientWidth, lw::design::kClientHeight);
        } else if (o.noConvert) {
            lw::OutputFile file(o.positional[0]);
            lw::writeWit(file.stream(), made->outline(), lw::design::kClientWidth, lw::design::kClientHeight);
            file.close();
        } else {
            // The converter writes the output itself: it needs a file.
            if (isStandardOutput(o.positional[0]))
                throw lw::cli::UsageError("wit: the converter writes OUTPUT, so it must be a file, not \"-\" "
                                          "(--no-convert writes the WIT text to standard output)");
            lw::WitOut(made->outline(), lw::design::kClientWidth, lw::design::kClientHeight, lw::programDirectory(),
                       o.positional[0]);
        }
        return 0;
    }
    if (o.command == "svg" || o.command == "dxf" || o.command == "pdf" || o.command == "hpgl") {
        expectFiles(o, 1);
        const bool svg = o.command == "svg";
        if (!svg && o.centre)
            throw lw::cli::UsageError(o.command +
                                      " measures from the baseline of the capture at the origin; --centre does not apply");
        // The report would replace the drawing it reports on.
        if (!o.reportPath.empty() && !isStandardOutput(o.positional[0])) {
            const std::string report = lw::fileio::outputIdentity(o.reportPath);
            if (!report.empty() && report == lw::fileio::outputIdentity(o.positional[0]))
                throw lw::cli::UsageError("--report: " + o.reportPath +
                                          " is the drawing's own file; give the report a file of its own");
        }
        const auto made = capture(o, asAsked, work);
        made->setAnchor(o.anchor, o.mirror);
        made->setOutputChoices(o.output);
        const lw::SaveFormat format = o.command == "dxf"   ? lw::SaveFormat::Dxf
                                      : o.command == "pdf"  ? lw::SaveFormat::Pdf
                                      : o.command == "hpgl" ? lw::SaveFormat::Hpgl
                                                            : lw::SaveFormat::Svg;
        // The figures the CAD drawings take: merged and offset as asked, clean.
        const lw::CadOptions cad = cadOptions(o);
        // A long wait is said before it starts, on standard error only.
        if (const std::string note = made->slowWorkNote(format, cad); !note.empty())
            lw::writeStandardError("letterwire-cli: " + (warningWhere.empty() ? "" : warningWhere + ": ") + note + "\n");
        // The check measures the capture again; else nothing reads it after.
        if (!o.checkAsked)
            made->lastWrite();
        if (isStandardOutput(o.positional[0]))
            made->write(standardOutput(), format, cad);
        else
            made->writeFile(o.positional[0], format, cad);
        if (o.checkAsked) {
            // Standard output may hold the drawing: the check goes beside it.
            lw::StandardErrorSink err;
            return checkDrawing(o, *made, format, err);
        }
        return 0;
    }
    if (o.command == "check") {
        expectFiles(o, 0);
        if (o.centre)
            throw lw::cli::UsageError("check measures the drawing dxf writes, from the baseline of the capture at the "
                                      "origin; --centre does not apply");
        const auto made = capture(o, lw::Placement::Origin, work);
        made->setAnchor(o.anchor, o.mirror);
        if (o.reportPath == "-") {
            lw::StandardErrorSink err;
            return checkDrawing(o, *made, lw::SaveFormat::Dxf, err);
        }
        return checkDrawing(o, *made, lw::SaveFormat::Dxf, standardOutput());
    }
    throw lw::cli::UsageError("unknown command " + o.command + "; see --help");
}

// What went to standard output must have reached it: a full disk, a closed
// pipe or a closed descriptor is a failure, not a success.
bool standardOutputReached(bool closed, bool wrote)
{
    const bool ok = std::fflush(stdout) == 0 && !std::ferror(stdout);
    const bool closeOk = std::fclose(stdout) == 0;
    return !(wrote && (closed || !ok || !closeOk));
}

int runMain(const std::vector<std::string>& args, bool& wrote)
{
    try {
        lw::cli::Options o = lw::cli::parseOptions(args);
        const bool toStandardOutput = !o.positional.empty() && isStandardOutput(o.positional.back());
        wrote = o.request != lw::cli::Request::Run || o.command == "capture" || o.command == "fonts" ||
                o.command == "check" || toStandardOutput;
        if (o.request == lw::cli::Request::Help) {
            standardOutput() << lw::cli::usageText(o.command);
            return 0;
        }
        if (o.request == lw::cli::Request::Version) {
            standardOutput() << "letterwire-cli " << lw::kVersion << "\n";
            return 0;
        }
        if (o.command == "batch") {
            wrote = false;
            lw::StandardErrorSink err;
            bool toolFailed = false;
            lw::StrokeFontCache fonts;
            lw::CutWorkspace work; // the rows' drawings borrow its buffers in turn
            const int status = lw::cli::runBatch(o, args, [&toolFailed, &fonts, &work](const lw::cli::Options& row, const std::string& where) {
                warningWhere = where;
                struct Forget { ~Forget() { warningWhere.clear(); } } forget;
                // A drawing its tool does not fit is written, and said; the batch then ends in 1.
                toolFailed = run(row, fonts, work) != 0 || toolFailed;
            }, err);
            return toolFailed ? std::max(status, 1) : status;
        }
        // A batch's rows take the options of their own format; a single
        // run of another format would pass them over unseen.
        for (const auto& [option, format] : o.formatOptions)
            if (format != o.command)
                throw lw::cli::UsageError(option + " applies to " + format + " only");
        if (toStandardOutput)
            lw::binaryStandardOutput();
        lw::StrokeFontCache fonts;
        lw::CutWorkspace work;
        return run(o, fonts, work);
    } catch (const lw::cli::UsageError& e) {
        lw::writeStandardError(std::string("letterwire-cli: ") + e.what() + "\n");
        return 2;
    } catch (const lw::Failure& f) {
        // A page the drawing does not fit is the options' fault: chosen again.
        if (f.kind() == lw::FailureKind::DoesNotFit) {
            lw::writeStandardError("letterwire-cli: --page: " + f.where() + "\n");
            return 2;
        }
        lw::writeStandardError(std::string("letterwire-cli: ") + f.what() + "\n");
        return 1;
    } catch (const std::bad_alloc&) {
        lw::writeStandardError(kOutOfMemory);
        return 1;
    } catch (const std::length_error&) {
        lw::writeStandardError(kOutOfMemory);
        return 1;
    } catch (const std::exception& e) {
        internalFailure(e.what());
        return 1;
    } catch (...) {
        internalFailure(nullptr);
        return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    const bool closed = lw::takeClosedStandardOutput();
    lw::bufferedStandardOutput();
    lw::writesFailPastFileSizeLimit();
    bool wrote = false;
    int status = 1;
    // The arguments are converted (on Windows from UTF-16) before the work's
    // own guard: a failure there is said too.
    try {
        status = runMain(lw::commandLineArguments(argc, argv), wrote);
    } catch (const std::bad_alloc&) {
        lw::writeStandardError(kOutOfMemory);
    } catch (const std::exception& e) {
        internalFailure(e.what());
    } catch (...) {
        internalFailure(nullptr);
    }
    if (!standardOutputReached(closed, wrote)) {
        lw::writeStandardError(closed ? "letterwire-cli: standard output could not be written (it is closed)\n"
                                      : "letterwire-cli: standard output could not be written\n");
        return status == 0 ? 1 : status;
    }
    return status;
}
