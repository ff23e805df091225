#pragma once
// What a face name resolves to on this platform, for reports to the user.
//
//   lw::describeFace("ＭＳ Ｐゴシック", false)  // {"IPAPGothic", ".../ipagp.ttf"}

#include <string>
#include <string_view>
#include <vector>

namespace lw {

struct FaceInfo {
    std::string family; // the family actually used
    std::string file;   // the font file, where the platform tells it
    bool lacksText = false; // the face asked for lacks characters of the text, so another drew them
    std::string fallback{}; // that other face, where the platform tells it
    // Every name the face's family goes by, one for each language its font
    // names it in ("IPAPMincho", "IPA P明朝"); `family` is usually the one
    // the locale prefers. Empty where the platform tells no names.
    std::vector<std::string> names{};
};

// The face the platform uses for `family` (UTF-8) in the given style, for
// drawing `text` (UTF-8): on Windows a face without Shift-JIS draws the
// characters it holds itself, and those it lacks are drawn by the face the
// font mapper picks for Shift-JIS (`lacksText` and `fallback` then say so).
// Bold asks for the family's bold face, which draws where the family has one.
FaceInfo describeFace(std::string_view family, bool italic, std::string_view text = {}, bool bold = false);

// Characters of a text drawn by one face, in the order they stand.
struct FaceRun {
    std::string text;   // UTF-8, as the platform draws it (through code page 932)
    std::string family; // the face that drew them
    std::string file;   // its font file, where the platform tells it
    friend bool operator==(const FaceRun&, const FaceRun&) = default;
};

// Which face draws each stretch of `text` for the face name `family`, as
// the capture draws it: the face itself, and a fallback for the characters
// it lacks. One run for a text the face holds whole; none for an empty one.
std::vector<FaceRun> faceRuns(std::string_view family, bool italic, std::string_view text, bool bold = false);

// True when the platform uses the face `used` for the name `asked` on
// purpose (a face standing in for a usual Japanese Windows face name), so
// that the substitution is no surprise to report. Any of the face's names
// counts: which one the platform prefers depends on the locale.
bool isStandIn(std::string_view asked, const FaceInfo& used);

} // namespace lw
