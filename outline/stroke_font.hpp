#pragma once
// Single-line (stroke) fonts: each glyph a few open polylines a pen draws
// once, read from the two formats people have: Hershey's ".jhf" and the CAD
// single-line ".lff". The readers take the file's bytes, check before they
// keep anything, and either return the whole font or throw one lw::Failure
// that names the file, the line and why; the work is bounded by the size of
// the bytes whatever they hold.
//
//   StrokeFont f = readLff(bytes, "/usr/share/librecad/fonts/kst32b.lff");
//   f.glyphs.at(U'口').strokes.size(); // 3

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

struct StrokePoint {
    double x = 0;
    double y = 0;
    bool operator==(const StrokePoint&) const = default;
};

// One glyph in font units, y up, the pen's start at x = 0 and the baseline
// at y = 0. Every stroke has at least two points; arcs are already points.
struct StrokeGlyph {
    double advance = 0;
    std::vector<std::vector<StrokePoint>> strokes;
};

// The em and the box are the design's own line box: Hershey's 32 units
// (25 above the baseline, 7 below), the CAD fonts' 12 (the 9 of their
// letter height above, 3 below), so a size means what it means for an
// outline face.
struct StrokeFont {
    std::string name; // the file's name without its extension
    std::string file;
    double em = 1;
    double ascent = 0;
    double descent = 0;
    std::map<char32_t, StrokeGlyph> glyphs; // those read (see GlyphsWanted)
    std::vector<char32_t> codes;            // every glyph the file has, ascending
};

// Which glyphs to read of a font that has many; empty: all of them. The
// file is still checked whole for its glyphs' places and codes, but a
// glyph not read is not checked, as a face's glyph is not until drawn.
using GlyphsWanted = std::function<bool(char32_t)>;

// Bounds the readers keep to, whatever the bytes say.
inline constexpr std::size_t kStrokeFontMaxBytes = 64u << 20;
inline constexpr std::size_t kStrokeFontMaxGlyphs = 65536;
// Points of one glyph after its references are followed.
inline constexpr std::size_t kStrokeGlyphMaxPoints = 100000;
// Points the references of a whole font may add.
inline constexpr std::size_t kStrokeFontMaxPoints = 4000000;
// A coordinate of a CAD font beyond this many units is no letter.
inline constexpr double kStrokeFontMaxCoordinate = 10000;

// Hershey: one glyph a record ("number, count, then pairs of characters
// around 'R'"), a record may run over lines; glyph k is character 32 + k.
// The files are small: every glyph is read.
StrokeFont readJhf(std::string_view bytes, const std::string& file);

// CAD single-line: "[hex] c" starts a glyph, then one polyline a line
// ("x,y;x,y,A<bulge>;..."), "C<hex>" takes another glyph's strokes where
// it stands, up to the next glyph; comments before the first glyph,
// "# LetterSpacing:" and "# WordSpacing:" among them, set the spaces. A glyph's advance is its right-most point plus the letter
// spacing; one without strokes takes the word spacing.
StrokeFont readLff(std::string_view bytes, const std::string& file, const GlyphsWanted& wanted = {});
// The same for the glyphs of `characters` only, which are looked up rather
// than every code of the file asked about.
StrokeFont readLff(std::string_view bytes, const std::string& file, std::u32string_view characters);

// The reader the file's extension names (.jhf or .lff, any letter case);
// other extensions are the type mismatch failure.
StrokeFont readStrokeFont(std::string_view bytes, const std::string& file, const GlyphsWanted& wanted = {});
StrokeFont readStrokeFont(std::string_view bytes, const std::string& file, std::u32string_view characters);

} // namespace lw
