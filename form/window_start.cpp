#include "form/window_start.hpp"

namespace lw {
namespace {

bool isMode(const std::string& word)
{
    std::string upper = word;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return upper == "JW" || upper == "WIT";
}

} // namespace

bool wantsUsage(const std::vector<std::string>& words) { return words.size() == 1 && words[0] == "--help"; }

std::string windowUsage()
{
    return "Usage: Letterwire [MODE PATH...]\n"
           "  Letterwire                         the window on its own: OK saves the\n"
           "                                     outline (DXF, SVG or JW point lines)\n"
           "                                     where you choose\n"
           "  Letterwire JW COMMAND-FILE OUTPUT  OK writes the command file with the\n"
           "                                     outline's points into OUTPUT, for the\n"
           "                                     host CAD program\n"
           "  Letterwire WIT OUTPUT              OK hands the outline to the converter\n"
           "                                     mfin, found on PATH, which writes OUTPUT\n"
           "  Letterwire --help | --version\n"
           "The mode word may be in any case. letterwire-cli writes the same outputs\n"
           "without a window.\n";
}

std::optional<std::string> startNote(const std::vector<std::string>& words)
{
    if (words.empty() || isMode(words[0]) || words[0] == "--help" || words[0] == "--version")
        return std::nullopt;
    // More than one word keeps a mode OK does nothing in, as designed.
    const std::string does = words.size() == 1 ? "the window opens on its own (standalone: OK saves the outline)"
                                               : "the window opens without a mode (OK writes nothing)";
    // A control character in the word would break the one line.
    std::string shown = words[0];
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return "Letterwire: \"" + shown + "\" is no mode (JW or WIT); " + does + "; see Letterwire --help\n";
}

} // namespace lw
