// letterwire-cli: the outline engine and its exports for scripts and for
// machines without a display.

#include "cli/options.hpp"
#include "export/capture_json.hpp"
#include "export/jw_command.hpp"
#include "export/svg.hpp"
#include "export/byte_files.hpp"
#include "export/wit.hpp"
#include "outline/capture.hpp"
#include "base/failure.hpp"
#include "platform/face_info.hpp"

#include <cstdio>
#include <iostream>
#include <new>
#include <stdexcept>
#include <string>
#ifdef _WIN32
#include "base/windows_text.hpp"
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

#ifndef _WIN32
// The directory of this program, for the WIT work file, as the window uses
// its own.
std::string programDirectory()
{
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string path = n > 0 ? std::string(buffer, std::size_t(n)) : std::string(".");
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
#else
using lw::programDirectory;
#endif

void expectFiles(const lw::cli::Options& o, std::size_t count, const char* usage)
{
    if (o.positional.size() != count)
        throw lw::cli::UsageError(std::string("usage: letterwire-cli ") + usage);
}

int run(const lw::cli::Options& o)
{
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    lw::CapturedOutline outline;
    double twipsPerPixel = 1440.0 / o.dpi;
    lw::CaptureSource source{o.text, o.font, o.angle, lw::design::kPreviewWidth,
                             lw::design::kPreviewHeight, twipsPerPixel};
    auto capture = [&](std::int32_t alCent) {
        lw::drawFlattenPath(alCent, source, dc, outline);
        return alCent;
    };

    if (o.command == "capture") {
        expectFiles(o, 0, "capture [options]");
        std::int32_t alCent = capture(o.centre ? 1 : 0);
        std::string json = lw::captureJson(o.text, o.font, o.angle, outline, alCent);
        std::fwrite(json.data(), 1, json.size(), stdout);
        return 0;
    }
    if (o.command == "jw") {
        expectFiles(o, 2, "jw COMMAND-FILE OUTPUT-FILE [options]");
        if (o.centre)
            throw lw::cli::UsageError("jw always captures at the origin; --centre does not apply");
        capture(0);
        lw::writeJwExport(o.positional[0], o.positional[1], outline, twipsPerPixel);
        return 0;
    }
    if (o.command == "wit") {
        expectFiles(o, 1, "wit OUTPUT [options] [--no-convert]");
        // The window's WIT export writes the preview's capture: centred.
        capture(1);
        if (o.noConvert) {
            lw::OutputFile file(o.positional[0]);
            lw::writeWit(file.stream(), outline, lw::design::kClientWidth, lw::design::kClientHeight);
            file.close();
        } else {
            lw::WitOut(outline, lw::design::kClientWidth, lw::design::kClientHeight, programDirectory(),
                       o.positional[0]);
        }
        return 0;
    }
    if (o.command == "svg") {
        expectFiles(o, 1, "svg OUTPUT [options]");
        capture(o.centre ? 1 : 0);
        lw::writeSvgFile(o.positional[0], outline);
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
        wrote = o.help || o.command == "capture";
        if (o.help) {
            std::cout << lw::cli::usageText();
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
#ifdef _WIN32
    // Taken from the wide command line: argv holds the ANSI code page's
    // version, which loses every character outside it.
    (void)argc;
    (void)argv;
    std::vector<std::string> args = lw::commandLineArguments();
    if (!args.empty())
        args.erase(args.begin());
#else
    std::vector<std::string> args(argv + 1, argv + argc);
#endif
    bool wrote = false;
    int status = runMain(args, wrote);
    if (!standardOutputReached(closed, wrote)) {
        std::cerr << "letterwire-cli: standard output could not be written"
                  << (closed ? " (it is closed)" : "") << "\n";
        return status == 0 ? 1 : status;
    }
    return status;
}
