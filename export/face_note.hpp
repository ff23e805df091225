#pragma once
// Why the face that drew an outline is not the face the user chose, as one
// sentence for the command line's warning and the window's note. The
// wordings hold "%1" for the face asked for and "%2" for the face that drew.
//
//   if (auto note = faceNote("DejaVu Sans", faceThatDrew(outline, false, text)))
//       warn(faceNoteText(*note)); // "DejaVu Sans" has no Japanese characters; ...

#include "platform/face_info.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace lw {

enum class FaceNoteKind {
    LacksText,       // the face is there but another drew characters it lacks
    LacksTextUnnamed, // the same, where the platform does not name the other
    OtherFace,       // the face is not there: another drew the whole outline
};

struct FaceNote {
    FaceNoteKind kind;
    std::string asked;   // the face name the user chose
    std::string drawnIn; // the family that drew instead; empty for LacksTextUnnamed
    bool operator==(const FaceNote&) const = default;
};

// The note for an outline the user asked `asked` for and `drew` drew, or
// nothing when the chosen face drew it (a vertical "@" name, case, spaces
// and the platform's own stand-ins for Japanese face names are no change).
std::optional<FaceNote> faceNote(std::string_view asked, const FaceInfo& drew);

// The English wording of each kind, with its "%1" and "%2".
inline constexpr const char* kFaceLacksTextWording = "\"%1\" has no Japanese characters; they are drawn in %2";
inline constexpr const char* kFaceLacksTextUnnamedWording =
    "\"%1\" has no Japanese characters; they are drawn in another face";
inline constexpr const char* kOtherFaceWording = "no face \"%1\"; the outline is drawn in %2";
const char* faceNoteWording(FaceNoteKind kind);

// `wording` with "%1" and "%2" replaced by the note's names.
std::string fillFaceNote(std::string_view wording, const FaceNote& note);

// The note in English, as the command line warns.
inline std::string faceNoteText(const FaceNote& note) { return fillFaceNote(faceNoteWording(note.kind), note); }

} // namespace lw
