#pragma once
// Where stroke fonts are found and how they are opened: the folders listed
// in LETTERWIRE_STROKE_FONTS (separated by ':' on POSIX, ';' on Windows),
// then the folders Debian's packages install them in. A face is asked for
// by its name (the file's name without its extension, any letter case, the
// first found) or by a path.
//
//   StrokeFontCache cache;
//   StrokeFontShelf shelf(installedStrokeFaces(), cache);
//   const StrokeFont* f = shelf.chosen("romans", U"Room 12 出口");
//   const StrokeFont* other = shelf.fallbackFor(U'口'); // kst32b, or nullptr

#include "outline/stroke_font.hpp"
#include "outline/stroke_font_cache.hpp"

#include <memory>
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

// Reads and checks the font at `path` (with `wanted`, only those glyphs;
// see GlyphsWanted); the failures of opening the file, or the reader's.
StrokeFont loadStrokeFont(const std::string& path, const GlyphsWanted& wanted = {});
// The same for the glyphs of `characters` only (see readLff).
StrokeFont loadStrokeFont(const std::string& path, std::u32string_view characters);

// The faces one text is drawn in: the one asked for, and installed faces
// for the characters it lacks. Each is read through `cache` for the text's
// characters (and those texts before it read), so the cache must outlive
// the shelf.
class StrokeFontShelf {
public:
    StrokeFontShelf(std::vector<StrokeFaceFile> installed, StrokeFontCache& cache);
    // The installed faces listed by `list` only when a name is asked for or
    // a character is lacking: a path to a face that has the text looks in
    // no folder.
    StrokeFontShelf(std::vector<StrokeFaceFile> (*list)(), StrokeFontCache& cache);

    // The face asked for, read for `text`, and the faces for the characters
    // of `text` it lacks: installed faces in order, each read for those
    // still lacking (a face that cannot be read is passed over). nullptr
    // when no installed face has that name; a path is always read (its
    // failures are thrown, as are those of a face named).
    const StrokeFont* chosen(const std::string& nameOrPath, std::u32string_view text);

    // The face found for `c`, which the chosen one lacks, or nullptr.
    const StrokeFont* fallbackFor(char32_t c) const;

private:
    const std::vector<StrokeFaceFile>& installed();

    std::vector<StrokeFaceFile> (*list_)() = nullptr;
    std::vector<StrokeFaceFile> installed_;
    StrokeFontCache& cache_;
    const StrokeFont* chosen_ = nullptr;
    std::vector<const StrokeFont*> fallbacks_;
};

} // namespace lw
