#pragma once
// The window's note on the face that drew: the design's Japanese wording of
// each kind of note, whose English in the caption table is the command
// line's own warning, so both say the same.
//
//   fillFaceNote(caption(faceNoteCaption(note.kind), language), note);

#include "export/face_note.hpp"
#include "form/captions.hpp"

#include <string>

namespace lw {

// With "%1" for the face chosen and "%2" for the face that drew.
inline constexpr const char* kFaceLacksTextCaption = "「%1」には日本語の文字がありません。日本語の文字は %2 で描きます";
inline constexpr const char* kFaceLacksTextUnnamedCaption =
    "「%1」には日本語の文字がありません。日本語の文字はほかのフォントで描きます";
inline constexpr const char* kOtherFaceCaption = "フォント「%1」がありません。アウトラインは %2 で描きます";
const char* faceNoteCaption(FaceNoteKind kind);

// The note as a user of `language` reads it.
std::string faceNoteFor(const FaceNote& note, Language language);

} // namespace lw
