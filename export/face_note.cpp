#include "export/face_note.hpp"

#include "platform/family_names.hpp"

#include <algorithm>

namespace lw {
namespace {

// Family names as fontconfig and GDI compare them: no case, no spaces; "@"
// asks for vertical writing in the same family.
std::string letters(std::string_view s)
{
    if (s.starts_with('@'))
        s.remove_prefix(1);
    return comparableFamily(s);
}

} // namespace

std::optional<FaceNote> faceNote(std::string_view asked, const FaceInfo& drew)
{
    if (drew.lacksText) {
        if (drew.fallback.empty())
            return FaceNote{FaceNoteKind::LacksTextUnnamed, std::string(asked), {}};
        return FaceNote{FaceNoteKind::LacksText, std::string(asked), drew.fallback};
    }
    // The face goes by a name in each language the font names it in, and the
    // locale decides which one the platform reports: any of them is the face.
    const auto isAsked = [&](std::string_view name) { return letters(name) == letters(asked); };
    if (drew.family.empty() || isAsked(drew.family) || std::ranges::any_of(drew.names, isAsked)
        || isStandIn(asked, drew))
        return std::nullopt;
    return FaceNote{FaceNoteKind::OtherFace, std::string(asked), drew.family};
}

const char* faceNoteWording(FaceNoteKind kind)
{
    switch (kind) {
    case FaceNoteKind::LacksText: return kFaceLacksTextWording;
    case FaceNoteKind::LacksTextUnnamed: return kFaceLacksTextUnnamedWording;
    case FaceNoteKind::OtherFace: return kOtherFaceWording;
    }
    return "";
}

std::string fillFaceNote(std::string_view wording, const FaceNote& note)
{
    std::string out;
    for (std::size_t i = 0; i < wording.size(); ++i) {
        if (wording[i] == '%' && i + 1 < wording.size() && (wording[i + 1] == '1' || wording[i + 1] == '2')) {
            out += wording[i + 1] == '1' ? note.asked : note.drawnIn;
            ++i;
        } else {
            out += wording[i];
        }
    }
    return out;
}

} // namespace lw
