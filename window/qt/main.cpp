#include "form/window_start.hpp"
#include "platform/process.hpp"
#include "window/qt/app.hpp"

#include <letterwire_version.hpp>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    // Answered before any window: a script asks, no display needed. No mode
    // word starts with "--", so the host's command lines never mean this.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Letterwire %s\n", std::string(lw::kVersion).c_str());
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    const std::vector<std::string> words = lw::commandLineArguments(argc, argv);
    if (lw::wantsUsage(words)) {
        std::fputs(lw::windowUsage().c_str(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (const auto note = lw::startNote(words))
        std::fputs(note->c_str(), stderr);
    return lw::runLetterwire(argc, argv);
}
