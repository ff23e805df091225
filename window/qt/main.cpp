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
    return lw::runLetterwire(argc, argv);
}
