#include "window/guard.hpp"

#include "window/title.hpp"

#include <QString>

#include <cstdio>

namespace lw {

void reportUncaught(Services& services, QWidget* parent, const char* text) noexcept
{
    // A timer (a held slider button) can fire while the report is open; a
    // second failure then ends the program without a second box.
    static bool reporting = false;
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
    if (!reporting) {
        reporting = true;
        try {
            services.showMessage(parent, QString::fromUtf8(kProgramTitle), QString::fromUtf8(text));
        } catch (...) {
            // The report on standard error stands; end all the same.
        }
        reporting = false;
    }
    services.endProgram(kFailureExitStatus);
}

} // namespace lw
