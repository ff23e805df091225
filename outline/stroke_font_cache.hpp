#pragma once
// Stroke fonts read once for many texts, as a batch's rows ask for them:
// each file's glyphs are read as texts first need them and then kept, so a
// row costs a read only for characters no row before it had. The caller
// owns the cache and keeps it as long as the fonts it handed out are used.
//
//   StrokeFontCache cache;
//   for (const Row& row : rows) {
//       StrokeFontShelf shelf(installedStrokeFaces(), cache);
//       draw(shelf.chosen(row.face, row.text));
//   }

#include "outline/stroke_font.hpp"

#include <map>
#include <string>
#include <string_view>

namespace lw {

class StrokeFontCache {
public:
    // The font at `path` with (at least) those glyphs of `characters` it
    // has, read and checked as loadStrokeFont reads them; its failures are
    // thrown and nothing of them is kept. The reference stays valid while
    // the cache lives.
    const StrokeFont& read(const std::string& path, std::u32string_view characters);

private:
    struct Read {
        StrokeFont font;
        std::u32string asked; // every character a text asked of the file so far
    };
    std::map<std::string, Read> fonts_;
};

} // namespace lw
