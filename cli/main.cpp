// letterwire-cli: the outline engine and its exports for scripts and for
// machines without a display.

#include "cli/options.hpp"
#include "export/capture_json.hpp"
#include "export/dxf.hpp"
#include "export/jw_command.hpp"
#include "export/jw_warnings.hpp"
#include "export/svg.hpp"
#include "export/byte_files.hpp"
#include "export/wit.hpp"
#include "outline/baseline.hpp"
#include "outline/cad_geometry.hpp"
#include "outline/capture.hpp"
#include "base/failure.hpp"
#include "base/process.hpp"
#include "platform/face_info.hpp"

#include <letterwire_version.hpp>

#include <cstdio>
#include <iostream>
#include <new>
#include <stdexcept>
#include <string>
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {


void expectFiles(const lw::cli::Options& o, std::size_t count)
{
    if (o.positional.size() != count)
        throw lw::cli::UsageError("usage: letterwire-cli " + lw::cli::synopsis(o.command));
}

bool isStandardOutput(const std::string& path) { return path == "-"; }

bool sameFamily(std::string_view a, std::string_view b)
{
    auto letters = [](std::string_view s) {
        std::string out;
        for (char c : s)
            if (c != ' ')
                out += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        return out;
    };
    return letters(a) == letters(b);
}

// One line each on standard error; the status stays as it is.
void warn(const std::string& text) { std::cerr << "letterwire-cli: warning: " << text << "\n"; }

void warnAboutInputs(const lw::cli::Options& o, const lw::CapturedOutline& outline)
{
    if (o.text.empty())
        warn("the text is empty: the outline has no points");
    const lw::FaceInfo face = lw::faceThatDrew(outline, o.font.italic);
    if (!face.family.empty() && !sameFamily(face.family, o.font.faceName) &&
        !lw::isStandIn(o.font.faceName, face.family))
        warn("no face \"" + o.font.faceName + "\"; the outline is drawn in " + face.family);
}

// The figures the CAD drawings take: merged and offset as asked, clean.
lw::CadOutline cutReady(const lw::cli::Options& o, const lw::CapturedOutline& outline)
{
    return lw::cadOutline(outline, {.merge = o.merge, .offsetPixels = o.offsetMm * o.dpi / lw::kMmPerInch});
}

int run(const lw::cli::Options& o)
{
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    lw::CapturedOutline outline;
    const double twipsPerPixel = 1440.0 / o.dpi;
    lw::CaptureSource source{o.text, o.font, o.angle, lw::design::kPreviewWidth,
                             lw::design::kPreviewHeight, twipsPerPixel};
    auto capture = [&](std::int32_t alCent) {
        lw::drawFlattenPath(alCent, source, dc, outline);
        warnAboutInputs(o, outline);
        return alCent;
    };

    if (o.command == "capture") {
        expectFiles(o, 0);
        const std::int32_t alCent = capture(o.centre ? 1 : 0);
        const lw::FaceInfo face = lw::faceThatDrew(outline, o.font.italic);
        lw::CaptureJsonForm form{lw::JsonUnits::Pixels, {.dpi = o.dpi}};
        if (o.millimetres)
            form = {lw::JsonUnits::Millimetres, lw::baselinePlacement(dc, outline.logFont, o.dpi)};
        lw::writeCaptureJson(std::cout,
                             {o.text, o.font.faceName, face.family, face.file, o.font.size, o.angle, alCent},
                             outline, form);
        return 0;
    }
    if (o.command == "jw") {
        expectFiles(o, 2);
        if (o.centre)
            throw lw::cli::UsageError("jw always captures at the origin; --centre does not apply");
        capture(0);
        const std::string& input = o.positional[0];
        if (isStandardOutput(o.positional[1])) {
            const std::string bytes = lw::InputFile(input).readAll();
            const lw::JwParameters parameters = lw::writeJw(bytes, input, std::cout, outline, twipsPerPixel);
            if (const std::string w = lw::jwWarning(bytes, input, parameters); !w.empty())
                warn(w);
        } else {
            if (const std::string w = lw::writeJwExport(input, o.positional[1], outline, twipsPerPixel); !w.empty())
                warn(w);
        }
        return 0;
    }
    if (o.command == "wit") {
        expectFiles(o, 1);
        // The window's WIT export writes the preview's capture: centred.
        capture(1);
        if (o.noConvert) {
            lw::OutputFile file(o.positional[0]);
            lw::writeWit(file.stream(), outline, lw::design::kClientWidth, lw::design::kClientHeight);
            file.close();
        } else {
            lw::WitOut(outline, lw::design::kClientWidth, lw::design::kClientHeight, lw::programDirectory(),
                       o.positional[0]);
        }
        return 0;
    }
    if (o.command == "svg") {
        expectFiles(o, 1);
        capture(o.centre ? 1 : 0);
        const lw::CadOutline cut = cutReady(o, outline);
        if (isStandardOutput(o.positional[0]))
            lw::writeSvg(std::cout, cut.outline, cut.gridScale);
        else
            lw::writeSvgFile(o.positional[0], cut.outline, cut.gridScale);
        return 0;
    }
    if (o.command == "dxf") {
        expectFiles(o, 1);
        if (o.centre)
            throw lw::cli::UsageError("dxf measures from the baseline of the capture at the origin; --centre does not apply");
        capture(0);
        const lw::CadOutline cut = cutReady(o, outline);
        const lw::DxfPlacement placement{lw::onCadGrid(lw::baselinePlacement(dc, outline.logFont, o.dpi), cut),
                                         o.text};
        if (isStandardOutput(o.positional[0]))
            lw::writeDxf(std::cout, cut.outline, placement);
        else
            lw::writeDxfFile(o.positional[0], cut.outline, placement);
        return 0;
    }
    throw lw::cli::UsageError("unknown command " + o.command + "; see --help");
}

// Standard output closed at start: its descriptor is taken by /dev/null, so
// no file opened later lands on it, and anything meant for it is a failure.
bool standardOutputClosed()
{
#ifndef _WIN32
    if (::fcntl(1, F_GETFD) != -1 || errno != EBADF)
        return false;
    int fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (fd >= 0 && fd != 1)
        ::close(fd);
    return true;
#else
    return false;
#endif
}

// What went to standard output must have reached it: a full disk, a closed
// pipe or a closed descriptor is a failure, not a success.
bool standardOutputReached(bool closed, bool wrote)
{
    std::cout.flush();
    const bool ok = std::cout.good() && std::fflush(stdout) == 0 && !std::ferror(stdout);
    const bool closeOk = std::fclose(stdout) == 0;
    return !(wrote && (closed || !ok || !closeOk));
}

int runMain(const std::vector<std::string>& args, bool& wrote)
{
    try {
        lw::cli::Options o = lw::cli::parseOptions(args);
        wrote = o.request != lw::cli::Request::Run || o.command == "capture" ||
                (!o.positional.empty() && isStandardOutput(o.positional.back()));
        if (o.request == lw::cli::Request::Help) {
            std::cout << lw::cli::usageText(o.command);
            return 0;
        }
        if (o.request == lw::cli::Request::Version) {
            std::cout << "letterwire-cli " << lw::kVersion << "\n";
            return 0;
        }
        return run(o);
    } catch (const lw::cli::UsageError& e) {
        std::cerr << "letterwire-cli: " << e.what() << "\n";
        return 2;
    } catch (const lw::Failure& f) {
        std::cerr << "letterwire-cli: " << f.what() << "\n";
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << "letterwire-cli: out of memory: the work needs more memory than this machine gives it\n";
        return 1;
    } catch (const std::length_error&) {
        std::cerr << "letterwire-cli: out of memory: the work needs more memory than this machine gives it\n";
        return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    const bool closed = standardOutputClosed();
    const std::vector<std::string> args = lw::commandLineArguments(argc, argv);
    bool wrote = false;
    int status = runMain(args, wrote);
    if (!standardOutputReached(closed, wrote)) {
        std::cerr << "letterwire-cli: standard output could not be written"
                  << (closed ? " (it is closed)" : "") << "\n";
        return status == 0 ? 1 : status;
    }
    return status;
}
