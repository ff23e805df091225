#pragma once
// The main window's quiet line under the preview: what shapes the outline
// beyond the face, size and angle its controls show (a text style other
// than the designed one, and in the window's own mode the save's anchor and
// mirror), then where the last save wrote. The settings are remembered
// between runs, so without it a narrow width or a bold from an earlier day
// would apply unseen.
//
//   windowNoteFor({.style = {.widthPercent = 80}}, Language::English)
//   // "Text style: Width 80 %"

#include "form/captions.hpp"
#include "outline/anchor.hpp"
#include "outline/text_style.hpp"

#include <functional>
#include <string>

namespace lw {

struct WindowNote {
    TextStyle style;
    Anchor anchor = Anchor::BaselineLeft;
    Mirror mirror = Mirror::None;
    std::string savedTo; // UTF-8; empty before a save

    // Nothing to say: the view hides the line.
    bool isEmpty() const
    {
        return style.isDesigned() && anchor == Anchor::BaselineLeft && mirror == Mirror::None && savedTo.empty();
    }
    bool operator==(const WindowNote&) const = default;
};

inline constexpr const char* kSavedCaption = "保存しました:";

// The line in the words `word` gives for each design caption (a view's own
// translation); empty when the note is.
std::string windowNoteText(const WindowNote& note, const std::function<std::string(const char*)>& word);

std::string windowNoteFor(const WindowNote& note, Language language);

} // namespace lw
