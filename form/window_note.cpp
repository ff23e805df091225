#include "form/window_note.hpp"

#include "form/save_kinds.hpp"
#include "form/text_style_design.hpp"

#include <cstdio>

namespace lw {
namespace {

std::string number(double value, const char* format = "%g")
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

const char* fieldCaption(TextStyleField field)
{
    for (const TextStyleFieldDesign& f : kTextStyleFields)
        if (f.field == field)
            return f.caption;
    return "";
}

} // namespace

std::string windowNoteText(const WindowNote& note, const std::function<std::string(const char*)>& word)
{
    std::string parts;
    const auto add = [&](const std::string& part, const char* separator) {
        parts += parts.empty() ? part : separator + part;
    };
    if (!note.style.isDesigned()) {
        std::string style;
        const auto addStyle = [&](const std::string& part) { style += style.empty() ? part : ", " + part; };
        if (note.style.spacing != 0)
            addStyle(word(fieldCaption(TextStyleField::Spacing)) + " " + number(note.style.spacing) + " pt (" +
                     number(note.style.spacing * 25.4 / 72, "%.3g") + " mm)");
        if (note.style.widthPercent != 100)
            addStyle(word(fieldCaption(TextStyleField::Width)) + " " + std::to_string(note.style.widthPercent) + " %");
        if (note.style.bold)
            addStyle(word(fieldCaption(TextStyleField::Bold)));
        add(word(kTextStyleTitle) + ": " + style, "; ");
    }
    if (note.anchor != Anchor::BaselineLeft)
        for (const SaveAnchorDesign& a : saveAnchors())
            if (a.anchor == note.anchor)
                add(word(kAnchorCaption) + " " + word(a.caption), "; ");
    if (note.mirror != Mirror::None)
        for (const SaveMirrorDesign& m : saveMirrors())
            if (m.mirror == note.mirror)
                add(word(kMirrorCaption) + " " + word(m.caption), "; ");
    if (!note.savedTo.empty())
        add(word(kSavedCaption) + " " + note.savedTo, "; ");
    return parts;
}

std::string windowNoteFor(const WindowNote& note, Language language)
{
    return windowNoteText(note, [language](const char* design) { return std::string(caption(design, language)); });
}

} // namespace lw
