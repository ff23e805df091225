#pragma once
// Command-line options of letterwire-cli: the capture inputs every
// subcommand shares, and the positional arguments of each subcommand.

#include "outline/window_font.hpp"

#include <stdexcept>
#include <string>
#include <vector>

namespace lw::cli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string command;                 // capture, jw, wit, svg
    std::vector<std::string> positional; // the subcommand's files
    std::string text = design::kText;
    WindowFont font;                     // face, size, italic, underline, strikeout
    std::int32_t angle = 0;
    bool centre = false;
    double dpi = design::kDpi;
    bool noConvert = false;
    bool help = false;
};

// Throws UsageError with a one-line message.
Options parseOptions(const std::vector<std::string>& args);

std::string usageText();

} // namespace lw::cli
