#pragma once
// A font from a file that is not installed: one face of a TrueType or
// OpenType file (a collection's by its index), made drawable for this
// process by its family name, as the platform adds a private font.
//
//   lw::FontFileFace face = lw::addFontFile("/home/me/logo.otf", 0);
//   if (face.refusal.empty()) windowFont.faceName = face.family;

#include <cstdint>
#include <string>

namespace lw {

struct FontFileFace {
    std::string family;  // the face's family (name table, name 1, English where it has one)
    std::string refusal; // why the file cannot serve; empty when it can
    bool missing = false; // no file at the path
    std::uint32_t faces = 0; // the faces the file holds, when it is a font
};

// A font file chosen by a user: PATH or PATH#INDEX, as the options and the
// remembered settings write it. A file that exists is the path whole, so a
// "#" in a file's name stays; otherwise a whole number after the last "#"
// is the face's index. `refusal` says why the text names no face.
struct FontFileChoice {
    std::string path;
    std::uint32_t index = 0;
    std::string refusal;
};
FontFileChoice fontFileChoice(const std::string& text);
// fontFileChoice, then addFontFile; a refusal names the path.
FontFileFace addFontFileChoice(const std::string& text);

// The text fontFileChoice reads back as that path and index.
std::string fontFileChoiceText(const std::string& path, std::uint32_t index);

// Reads the file's header and the face's names: a folder, a missing or
// unreadable file, a file that is no font, an index beyond its faces, a
// face without a family name each give a refusal in words for the user.
FontFileFace readFontFileFace(const std::string& path, std::uint32_t index);

// readFontFileFace, then the face registered with the platform, so that a
// font description of that family draws from the file for the rest of the
// process (the file wins over an installed face of the same name). Adding
// the same face twice is harmless.
FontFileFace addFontFile(const std::string& path, std::uint32_t index);

} // namespace lw
