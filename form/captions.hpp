#pragma once
// The window's captions: the design's Japanese ones and, for every user
// whose language is not Japanese, English ones. This table is the one
// source of both; each view asks it, the Qt window through its translator.
//
//   caption("サイズ", Language::English); // "Size"
//   caption("OK", Language::English);     // "OK": no English of its own

#include <span>
#include <string_view>

namespace lw {

enum class Language { Japanese, English };

struct CaptionTranslation {
    const char* japanese; // as the design writes it
    const char* english;
};

// Every caption that has English words of its own.
std::span<const CaptionTranslation> captionTranslations();

// The caption `design` for a user of `language`: its English words where it
// has some, else `design` itself (a name such as "OK", a number, the text).
const char* caption(const char* design, Language language);

// The English of `design`, or nullptr when it has none.
const char* englishCaption(std::string_view design);

} // namespace lw
