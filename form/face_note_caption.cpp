#include "form/face_note_caption.hpp"

namespace lw {

const char* faceNoteCaption(FaceNoteKind kind)
{
    switch (kind) {
    case FaceNoteKind::LacksText: return kFaceLacksTextCaption;
    case FaceNoteKind::LacksTextUnnamed: return kFaceLacksTextUnnamedCaption;
    case FaceNoteKind::OtherFace: return kOtherFaceCaption;
    }
    return "";
}

std::string faceNoteFor(const FaceNote& note, Language language)
{
    return fillFaceNote(caption(faceNoteCaption(note.kind), language), note);
}

} // namespace lw
