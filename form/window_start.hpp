#pragma once
// What the window says about its own command line before it opens: the
// usage for "--help", and one line when the first word is no mode, so a
// mistyped mode is not met by a window that silently does something else.
//
//   if (wantsUsage(words)) print(windowUsage());
//   if (auto note = startNote(words)) printError(*note);

#include <optional>
#include <string>
#include <vector>

namespace lw {

// True for the words {"--help"} alone (no mode word starts with "--").
bool wantsUsage(const std::vector<std::string>& words);

// The modes and the paths each takes, ending in a line end.
std::string windowUsage();

// One line (ending in a line end) when the first word is neither JW nor WIT
// in any case: what the window does instead. None for no words, a mode, or
// "--help"/"--version".
std::optional<std::string> startNote(const std::vector<std::string>& words);

} // namespace lw
