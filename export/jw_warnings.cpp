#include "export/jw_warnings.hpp"

#include "base/words.hpp"

namespace lw {
namespace {

bool hasLineWithWord1(std::string_view bytes, std::string_view word1, bool prefix)
{
    CommandLines lines(bytes);
    std::string_view line;
    while (lines.next(line)) {
        const auto w = words(line);
        if (!w.empty() && (prefix ? w[0].starts_with(word1) : w[0] == word1))
            return true;
    }
    return false;
}

} // namespace

std::string jwWarning(std::string_view commandBytes, std::string_view commandName,
                      const JwParameters& parameters)
{
    if (parameters.chosenScale != 0)
        return {};
    std::string cause;
    if (commandBytes.find('\n') != std::string_view::npos
        && commandBytes.find('\r') == std::string_view::npos)
        cause = "it has line feeds but no carriage returns, so it is read as one line";
    else if (!hasLineWithWord1(commandBytes, "hs", false))
        cause = "it has no \"hs\" line";
    else if (!hasLineWithWord1(commandBytes, "lg", true))
        cause = "it has no \"lg\" line";
    else
        cause = "its last \"lg\" line chose a scale entry of 0";
    return "Warning: the chosen scale is 0, so every point was written on the base point: "
           + std::string(commandName) + ": " + cause + ".";
}

} // namespace lw
