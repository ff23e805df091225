#pragma once
// Where stroke fonts are found and how they are opened: the folders listed
// in LETTERWIRE_STROKE_FONTS (separated by ':' on POSIX, ';' on Windows),
// then the folders Debian's packages install them in. A face is asked for
// by its name (the file's name without its extension, any letter case, the
// first found) or by a path.
//
//   StrokeFontShelf shelf(installedStrokeFaces());
//   const StrokeFont& f = shelf.chosen("romans");
//   const StrokeFont* other = shelf.fallbackFor(U'口'); // kst32b, or nullptr

#include "outline/stroke_font.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lw {

struct StrokeFaceFile {
    std::string name;
    std::string file;
};

// The stroke faces in the folders above, each folder's sorted by name.
std::vector<StrokeFaceFile> installedStrokeFaces();

// Whether `nameOrPath` is meant as a path: it holds a slash or ends in
// .jhf or .lff.
bool isStrokeFontPath(const std::string& nameOrPath);

// Reads and checks the font at `path`; the failures of opening the file,
// or the reader's.
StrokeFont loadStrokeFont(const std::string& path);

class StrokeFontShelf {
public:
    explicit StrokeFontShelf(std::vector<StrokeFaceFile> installed);

    // The face asked for, loaded once; nullopt-like nullptr when no
    // installed face has that name. A path is always loaded (its failures
    // are thrown).
    const StrokeFont* chosen(const std::string& nameOrPath);

    // The first installed face, other than those loaded as chosen, that
    // has `c`; faces are loaded as they are needed. A face that cannot be
    // read is passed over.
    const StrokeFont* fallbackFor(char32_t c);

private:
    const StrokeFont* loaded(std::size_t index);
    std::vector<StrokeFaceFile> installed_;
    std::vector<std::unique_ptr<StrokeFont>> fonts_; // per installed face, once loaded
    std::vector<bool> tried_;
    std::vector<std::unique_ptr<StrokeFont>> paths_;
    std::vector<const StrokeFont*> chosen_;
};

} // namespace lw
