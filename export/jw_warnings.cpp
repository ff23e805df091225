#include "export/jw_warnings.hpp"

#include "base/words.hpp"

#include <algorithm>
#include <cctype>

namespace lw {
namespace {

bool isRead(std::string_view word1)
{
    return word1 == "hp1" || word1 == "hs" || word1.starts_with("lg");
}

// For a line that a user almost surely meant as "hp1", "hs" or "lg" but that
// the designed reading passes over: the word it was meant as and why it is
// not read. Nothing for the lines that are read or mean nothing.
struct Unread {
    std::string meant;
    const char* why = nullptr;
};

Unread unread(std::string_view line)
{
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    const std::string_view rest = line.substr(start);
    const std::string_view word1 = rest.substr(0, rest.find_first_of(" \t"));
    // Three letters decide whether it is read; the rest of a long word is
    // not copied.
    std::string lower(word1.substr(0, 3));
    for (char& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    if (word1.size() > 3 && !lower.starts_with("lg"))
        return {};
    if (!isRead(lower) || isRead(firstWords(line, 1)[0]))
        return {};
    const std::string meant = lower.starts_with("lg") ? "lg" : lower;
    if (start > 0)
        return {meant, "a blank or tab stands before its first word"};
    const auto upper = [](char c) { return std::isupper(static_cast<unsigned char>(c)) != 0; };
    if (std::any_of(word1.begin(), word1.end(), upper))
        return {meant, "only lower-case letters are read in its first word"};
    return {meant, "a tab follows its first word, where only a blank separates words"};
}

// One walk over the lines: the unread ones named (at most ten, then a
// count), and whether an "hs" and an "lg" line are there at all.
struct Reading {
    std::string unreadLines;
    bool hasHs = false;
    bool hasLg = false;
};

Reading read(std::string_view bytes, std::string_view commandName)
{
    constexpr int kNamed = 10;
    Reading r;
    int count = 0;
    CommandLines lines(bytes);
    std::string_view line;
    while (lines.next(line)) {
        const std::string_view readable = readablePart(line, lines.lineNumber());
        if (const auto w = firstWords(readable, 1); !w.empty()) {
            r.hasHs = r.hasHs || w[0] == "hs";
            r.hasLg = r.hasLg || w[0].starts_with("lg");
        }
        const Unread u = unread(readable);
        if (!u.why || ++count > kNamed)
            continue;
        r.unreadLines += "Warning: " + std::string(commandName) + ", line " + std::to_string(lines.lineNumber())
                         + " looks like an \"" + u.meant + "\" line but is not read: " + u.why + ".\n";
    }
    if (count > kNamed)
        r.unreadLines += "Warning: " + std::string(commandName) + ": " + std::to_string(count - kNamed)
                         + " more such lines are not read.\n";
    return r;
}

} // namespace

std::string jwWarning(std::string_view commandBytes, std::string_view commandName,
                      const JwParameters& parameters)
{
    const Reading reading = read(commandBytes, commandName);
    std::string text = reading.unreadLines;
    if (parameters.chosenScale == 0) {
        std::string cause;
        if (!reading.hasHs)
            cause = "it has no \"hs\" line";
        else if (!reading.hasLg)
            cause = "it has no \"lg\" line";
        else
            cause = "its last \"lg\" line chose a scale entry of 0";
        text += "Warning: the chosen scale is 0, so every point was written on the base point: "
                + std::string(commandName) + ": " + cause + ".\n";
    }
    if (!text.empty())
        text.pop_back();
    return text;
}

} // namespace lw
