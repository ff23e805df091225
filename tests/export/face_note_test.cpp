// Why the face that drew is not the face chosen: the one decision and
// wording the command line's warning and the window's note share.

#include "export/face_note.hpp"
#include "form/face_note_caption.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lw {
namespace {

struct NoteCase {
    const char* name;
    const char* asked;
    FaceInfo drew;
    std::optional<std::string> said; // in English; nothing: no note
};

TEST(FaceNote, SaysWhyTheFaceThatDrewDiffersAndOnlyThen)
{
    const NoteCase cases[] = {
        {"same family", "IPAGothic", {"IPAGothic", "/f/ipag.ttf"}, std::nullopt},
        {"case and spaces", "ipa gothic", {"IPAGothic", ""}, std::nullopt},
        {"vertical name", "@IPAMincho", {"IPAMincho", ""}, std::nullopt},
        {"stand-in for a usual name", "ＭＳ ゴシック", {"IPAGothic", ""}, std::nullopt},
        {"vertical stand-in", "@ＭＳ 明朝", {"IPAMincho", ""}, std::nullopt},
        {"platform names no family", "Anything", {"", ""}, std::nullopt},
        // The locale picks which of the face's names the platform reports.
        {"name in another language", "IPA P明朝", {"IPAPMincho", "", false, "", {"IPAPMincho", "IPA P明朝"}},
         std::nullopt},
        {"stand-in reported by its Japanese name", "ＭＳ Ｐゴシック",
         {"IPA Pゴシック", "", false, "", {"IPAPGothic", "IPA Pゴシック"}}, std::nullopt},
        {"names of another face", "IPAPGothic", {"IPA P明朝", "", false, "", {"IPAPMincho", "IPA P明朝"}},
         "no face \"IPAPGothic\"; the outline is drawn in IPA P明朝"},
        {"missing face", "No Such Face", {"DejaVu Sans", ""},
         "no face \"No Such Face\"; the outline is drawn in DejaVu Sans"},
        {"stand-in name drawn by another family", "ＭＳ ゴシック", {"IPAMincho", ""},
         "no face \"ＭＳ ゴシック\"; the outline is drawn in IPAMincho"},
        {"face lacks the text", "DejaVu Sans", {"DejaVu Sans", "", true, "IPAGothic"},
         "\"DejaVu Sans\" has no Japanese characters; they are drawn in IPAGothic"},
        {"fallback unnamed", "Arial", {"Arial", "", true, ""},
         "\"Arial\" has no Japanese characters; they are drawn in another face"},
    };
    for (const NoteCase& c : cases) {
        const std::optional<FaceNote> note = faceNote(c.asked, c.drew);
        ASSERT_EQ(note.has_value(), c.said.has_value()) << c.name;
        if (note) {
            EXPECT_EQ(faceNoteText(*note), *c.said) << c.name;
        }
    }
}

TEST(FaceNote, NamesAreFilledInOnceAsGiven)
{
    // A face name holding a placeholder or a quote is text, not wording.
    const FaceNote note{FaceNoteKind::OtherFace, "Odd %2 \"Face\"", "100% Sans %1"};
    EXPECT_EQ(faceNoteText(note), "no face \"Odd %2 \"Face\"\"; the outline is drawn in 100% Sans %1");
    EXPECT_EQ(fillFaceNote("%", note), "%");
    EXPECT_EQ(fillFaceNote("%3 %%1", note), "%3 %Odd %2 \"Face\"");
}

TEST(FaceNote, TheWindowSaysWhatTheCommandLineSaysInEitherLanguage)
{
    for (FaceNoteKind kind : {FaceNoteKind::LacksText, FaceNoteKind::LacksTextUnnamed, FaceNoteKind::OtherFace}) {
        const FaceNote note{kind, "Asked", kind == FaceNoteKind::LacksTextUnnamed ? "" : "Drew"};
        EXPECT_EQ(faceNoteFor(note, Language::English), faceNoteText(note));
        const std::string japanese = faceNoteFor(note, Language::Japanese);
        EXPECT_NE(japanese, faceNoteText(note));
        EXPECT_NE(japanese.find("「Asked」"), std::string::npos) << japanese;
        EXPECT_EQ(japanese.find("Drew") != std::string::npos, kind != FaceNoteKind::LacksTextUnnamed) << japanese;
        EXPECT_EQ(japanese.find('%'), std::string::npos) << japanese;
    }
}

} // namespace
} // namespace lw
