#pragma once
// The font dialog's list of stroke faces, written once for both views:
// after its "none", each installed face's vertical "@" face and then each
// face, the place where the toolkit's font list, sorted, puts its own "@"
// faces (before the others, in their order).
//
//   strokeFaceChoices({"kst32b", "rowmans"});
//   // {"@kst32b", "@rowmans", "kst32b", "rowmans"}

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace lw {

// The entries after "none", each the stroke face name the choice gives.
std::vector<std::string> strokeFaceChoices(const std::vector<std::string>& installed);

// The entry the dialog opens on for the window's `strokeFace`, or none
// (the list's "none": no stroke face, or one no longer installed).
std::optional<std::size_t> strokeFaceChoiceOf(const std::vector<std::string>& choices, const std::string& strokeFace);

} // namespace lw
