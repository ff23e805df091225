// CAD single-line fonts (.lff): glyphs of polylines with bulges, and
// references to other glyphs.
#include "outline/stroke_font.hpp"

#include "outline/stroke_font_reading.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <numbers>
#include <optional>
#include <span>

namespace lw {
namespace {

using namespace stroke_reading;

std::optional<double> decimal(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A hexadecimal digit's value, or -1.
int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Hexadecimal digits only, no sign or prefix, as std::from_chars reads them
// in base 16; read by hand as every glyph of a large font has one.
std::optional<char32_t> hexCode(std::string_view text)
{
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | std::uint32_t(digit);
    }
    if (value > 0x10FFFF)
        return std::nullopt;
    return char32_t(value);
}

// Chords of an arc stay within this many font units of it (a letter is 9
// high), and no arc takes more than kArcMostChords.
constexpr double kArcTolerance = 0.002;
constexpr int kArcMostChords = 64;

// The arc from `from` to `to` whose bulge is tan(a quarter of its angle),
// counter-clockwise when positive, as points after `from`.
void addArc(std::vector<StrokePoint>& stroke, StrokePoint from, StrokePoint to, double bulge)
{
    const double dx = to.x - from.x, dy = to.y - from.y, chord = std::hypot(dx, dy);
    if (chord == 0 || bulge == 0) {
        addPoint(stroke, to);
        return;
    }
    const double angle = 4 * std::atan(bulge);
    const double radius = chord / (2 * std::fabs(std::sin(angle / 2)));
    // The centre lies off the chord's middle, to the left for a positive bulge.
    const double off = (1 - bulge * bulge) / (4 * bulge);
    const double cx = (from.x + to.x) / 2 - dy * off, cy = (from.y + to.y) / 2 + dx * off;
    const double step = radius > kArcTolerance ? 2 * std::acos(1 - kArcTolerance / radius) : std::numbers::pi;
    const int chords = std::clamp(int(std::ceil(std::fabs(angle) / step)), 1, kArcMostChords);
    const double start = std::atan2(from.y - cy, from.x - cx);
    for (int k = 1; k < chords; ++k) {
        const double a = start + angle * k / chords;
        addPoint(stroke, {cx + radius * std::cos(a), cy + radius * std::sin(a)});
    }
    addPoint(stroke, to);
}

// Where a refusal points: the line `at` stands on, counted from 1. Only a
// refusal counts lines, so the look through a large file counts none.
std::size_t lineAt(std::string_view bytes, std::size_t at)
{
    return 1 + std::size_t(std::count(bytes.begin(), bytes.begin() + std::ptrdiff_t(at), '\n'));
}

// A reference as written: the glyph it names, where it stands and the
// header of the glyph it stands in.
struct ReferenceText {
    std::uint32_t in;
    char32_t glyph;
    std::size_t at;
};

// Every glyph's header, by code: sealed once all are added, the first of a
// code given twice kept. One sorted array of (code, header) numbers, as
// fonts need not list codes in order: sorting plain numbers costs a
// fraction of sorting records, and a large font holds few references.
class GlyphIndex {
public:
    void add(char32_t code, std::size_t at)
    {
        keys_.push_back(std::uint64_t(code) << 32 | at);
        last_ = at;
    }
    void addReference(char32_t glyph, std::size_t at) { references_.push_back({std::uint32_t(last_), glyph, at}); }
    void seal()
    {
        // By code, equal codes in the file's order (so the first given
        // stays): two passes of 11 bits of a stable counting sort, as codes
        // lie below 2^21; a font in order costs one look.
        if (!std::is_sorted(keys_.begin(), keys_.end())) {
            std::vector<std::uint64_t> sorted(keys_.size());
            for (const int shift : {32, 43}) {
                std::vector<std::uint32_t> start((1u << 11) + 1);
                for (const std::uint64_t key : keys_)
                    ++start[(key >> shift & 0x7FF) + 1];
                for (std::size_t b = 1; b < start.size(); ++b)
                    start[b] += start[b - 1];
                for (const std::uint64_t key : keys_)
                    sorted[start[key >> shift & 0x7FF]++] = key;
                keys_.swap(sorted);
            }
        }
        keys_.erase(std::unique(keys_.begin(), keys_.end(),
                                [](std::uint64_t a, std::uint64_t b) { return a >> 32 == b >> 32; }),
                    keys_.end());
    }
    // The header of the glyph `code`, if the file has it.
    std::optional<std::size_t> find(char32_t code) const
    {
        const auto it = std::lower_bound(keys_.begin(), keys_.end(), std::uint64_t(code) << 32);
        if (it == keys_.end() || *it >> 32 != code)
            return std::nullopt;
        return std::size_t(*it & 0xFFFFFFFFu);
    }
    bool contains(char32_t code) const { return find(code).has_value(); }
    std::size_t at(char32_t code) const { return *find(code); }
    // The references of the glyph whose header is at `at`, as written.
    std::span<const ReferenceText> references(std::size_t at) const
    {
        const auto in = [](const ReferenceText& r, std::size_t a) { return r.in < a; };
        const auto first = std::lower_bound(references_.begin(), references_.end(), at, in);
        auto last = first;
        while (last != references_.end() && last->in == at)
            ++last;
        return {first, last};
    }
    bool anyReferences() const { return !references_.empty(); }
    std::size_t size() const { return keys_.size(); }
    bool empty() const { return keys_.empty(); }
    // The codes, ascending, each once, with their headers.
    template <class F> void forEach(F f) const
    {
        for (const std::uint64_t key : keys_)
            f(char32_t(key >> 32), std::size_t(key & 0xFFFFFFFFu));
    }

private:
    std::vector<std::uint64_t> keys_;
    std::vector<ReferenceText> references_; // in the file's order, so by header
    std::size_t last_ = 0;
};

struct LffGlyph {
    StrokeGlyph glyph;
    struct Reference {
        char32_t glyph;
        std::size_t at;    // where it is named
        std::size_t place; // the strokes before it, so its strokes go where it is written
    };
    std::vector<Reference> references;
    std::size_t at = 0; // the header
    bool blank = true; // no strokes of its own
};

// The file's bytes and name, to refuse at a place in them.
struct Source {
    std::string_view bytes;
    const std::string& file;

    [[noreturn]] void refuseAt(std::size_t at, const std::string& why) const { refuse(file, lineAt(bytes, at), why); }
    std::size_t lineStartOf(std::size_t p) const
    {
        const std::size_t end = bytes.rfind('\n', p);
        return end == std::string_view::npos ? 0 : end + 1;
    }
    // The first `c` from `from` that is the first of its line but blanks,
    // or `to`; its line's start in `line`. A hit within a line skips the
    // rest of that line, so each line is looked back along once however
    // many such characters it holds.
    std::size_t nextStarting(char c, std::size_t from, std::size_t to, std::size_t& line) const
    {
        while (from < to) {
            const void* hit = std::memchr(bytes.data() + from, c, to - from);
            if (!hit)
                break;
            const std::size_t p = std::size_t(static_cast<const char*>(hit) - bytes.data());
            line = lineStartOf(p);
            std::size_t first = line;
            while (bytes[first] == ' ' || bytes[first] == '\t')
                ++first;
            if (first == p)
                return p;
            const std::size_t end = bytes.find('\n', p);
            from = end == std::string_view::npos ? to : end + 1;
        }
        line = to;
        return to;
    }
    std::size_t nextStarting(char c, std::size_t from, std::size_t to) const
    {
        std::size_t line = 0;
        return nextStarting(c, from, to, line);
    }
    // The lines after the header at `at`, up to the next glyph's header.
    std::pair<std::size_t, std::size_t> body(std::size_t at) const
    {
        const std::size_t begin = std::min(bytes.find('\n', at), bytes.size() - 1) + 1;
        std::size_t end = 0;
        nextStarting('[', begin, bytes.size(), end);
        return {begin, end};
    }
};

std::string codeText(char32_t c)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "U+%04X", unsigned(c));
    return digits;
}

void polyline(std::string_view text, LffGlyph& g, const Source& source, std::size_t at)
{
    std::vector<StrokePoint> stroke;
    while (!text.empty()) {
        const std::size_t end = text.find(';');
        std::string_view vertex = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::size_t comma = vertex.find(',');
        // A vertex of one number draws nothing; installed fonts have them.
        if (comma == std::string_view::npos) {
            if (!decimal(vertex) && !vertex.empty())
                source.refuseAt(at, "\"" + std::string(vertex.substr(0, 40)) + "\" is not a coordinate");
            continue;
        }
        // y ends at a comma before the bulge, or (in installed fonts) at its A.
        const std::string_view rest = vertex.substr(comma + 1);
        const std::size_t yEnd = rest.find_first_of(",A");
        const auto x = decimal(vertex.substr(0, comma));
        const auto y = decimal(rest.substr(0, yEnd));
        if (!x || !y)
            source.refuseAt(at, "\"" + std::string(vertex.substr(0, 40)) + "\" is not a coordinate");
        if (std::fabs(*x) > kStrokeFontMaxCoordinate || std::fabs(*y) > kStrokeFontMaxCoordinate)
            source.refuseAt(at, "a coordinate lies beyond " + std::to_string(int(kStrokeFontMaxCoordinate)) + " units");
        std::optional<double> bulge;
        if (yEnd != std::string_view::npos) {
            const std::string_view extra = rest.substr(rest[yEnd] == ',' ? yEnd + 1 : yEnd);
            if (extra.empty() || extra.front() != 'A' || !(bulge = decimal(extra.substr(1))) ||
                std::fabs(*bulge) > 1000)
                source.refuseAt(at, "\"" + std::string(extra.substr(0, 40)) + "\" is not an arc's bulge (A and a number)");
        }
        const StrokePoint p{*x, *y};
        if (bulge && !stroke.empty())
            addArc(stroke, stroke.back(), p, *bulge);
        else
            addPoint(stroke, p);
    }
    if (stroke.size() >= 2)
        g.blank = false;
    keepStroke(g.glyph, stroke);
}

double header(std::string_view line, std::string_view key, double current, const std::string& file,
              std::size_t number)
{
    const std::size_t at = line.find(key);
    if (at == std::string_view::npos)
        return current;
    std::string_view value = line.substr(at + key.size());
    const auto read = decimal(value);
    if (!read || *read < 0 || *read > kStrokeFontMaxCoordinate)
        refuse(file, number, std::string(key) + " is not a length");
    return *read;
}

constexpr std::size_t kDeepestReference = 64;

// Follows the references of every glyph asked for, reading each glyph
// once; a loop, or one that names a glyph the file lacks, is refused where
// it is written.
class References {
public:
    using Read = std::function<LffGlyph(char32_t)>;
    References(std::map<char32_t, LffGlyph>& glyphs, const GlyphIndex& index, Read read, const Source& source)
        : glyphs_(glyphs), index_(index), read_(std::move(read)), source_(source)
    {
    }
    void resolve(char32_t code, std::size_t depth = 0)
    {
        if (state_[code] == 2)
            return;
        LffGlyph& g = glyphs_.try_emplace(code, read_(code)).first->second;
        // Followed by recursion: a chain as long as the file would take the stack.
        if (depth > kDeepestReference)
            source_.refuseAt(g.at, codeText(code) + " is reached through more than " +
                                      std::to_string(kDeepestReference) + " references in a row");
        state_[code] = 1;
        std::size_t held = 0;
        for (const auto& s : g.glyph.strokes)
            held += s.size();
        // From the last, so the places of those before stay as written.
        for (auto ref = g.references.rbegin(); ref != g.references.rend(); ++ref) {
            const char32_t target = ref->glyph;
            const std::size_t at = ref->at;
            if (!index_.contains(target))
                source_.refuseAt(at, codeText(code) + " refers to " + codeText(target) + ", which the file lacks");
            if (state_[target] == 1)
                source_.refuseAt(at, codeText(code) + " refers to " + codeText(target) +
                                        " and so, through a loop of references, to itself");
            resolve(target, depth + 1);
            const LffGlyph& found = glyphs_.at(target);
            std::size_t copied = 0;
            for (const auto& s : found.glyph.strokes)
                copied += s.size();
            held += copied;
            if (held > kStrokeGlyphMaxPoints)
                source_.refuseAt(at, codeText(code) + " would hold more than " +
                                        std::to_string(kStrokeGlyphMaxPoints) + " points");
            // References may copy copies: the whole font is bounded too, by
            // what each copy adds.
            total_ += found.glyph.strokes.size() + copied;
            if (total_ > kStrokeFontMaxPoints)
                source_.refuseAt(at, "the references make the font hold more than " +
                                        std::to_string(kStrokeFontMaxPoints) + " points");
            const auto& more = found.glyph.strokes;
            g.glyph.strokes.insert(g.glyph.strokes.begin() + std::ptrdiff_t(ref->place), more.begin(), more.end());
            g.blank = g.blank && found.blank;
        }
        g.references.clear();
        state_[code] = 2;
    }

private:
    std::map<char32_t, LffGlyph>& glyphs_;
    const GlyphIndex& index_;
    Read read_;
    const Source& source_;
    std::map<char32_t, int> state_; // 1: being followed, 2: done
    std::size_t total_ = 0;
};

// Every reference of the file names a glyph it has, and none leads back to
// where it started or runs on longer than kDeepestReference.
void checkReferences(const GlyphIndex& index, const Source& source)
{
    std::map<char32_t, int> state; // 1: being followed, 2: done
    const auto follow = [&](const auto& self, char32_t code, std::size_t depth) -> void {
        const std::size_t g = index.at(code);
        if (depth > kDeepestReference)
            source.refuseAt(g, codeText(code) + " is reached through more than " +
                                     std::to_string(kDeepestReference) + " references in a row");
        state[code] = 1;
        for (const auto& [in, target, at] : index.references(g)) {
            if (!index.contains(target))
                source.refuseAt(at, codeText(code) + " refers to " + codeText(target) + ", which the file lacks");
            if (state[target] == 1)
                source.refuseAt(at, codeText(code) + " refers to " + codeText(target) +
                                       " and so, through a loop of references, to itself");
            if (state[target] == 0)
                self(self, target, depth + 1);
        }
        state[code] = 2;
    };
    if (!index.anyReferences())
        return;
    index.forEach([&](char32_t code, std::size_t at) {
        if (!index.references(at).empty() && state[code] == 0)
            follow(follow, code, 0);
    });
}

// A glyph's lines read: its strokes and where its references stand.
LffGlyph readGlyph(std::size_t header, const Source& source)
{
    LffGlyph g;
    g.at = header;
    const auto [begin, end] = source.body(header);
    Lines lines(source.bytes.substr(begin, end - begin));
    std::string_view whole;
    while (lines.next(whole)) {
        const std::size_t at = std::size_t(whole.data() - source.bytes.data());
        const std::size_t first = whole.find_first_not_of(" \t");
        if (first == std::string_view::npos || whole[first] == '#')
            continue;
        const std::string_view line = whole.substr(first);
        if (line.front() == 'C') {
            const auto target = hexCode(line.substr(1));
            if (!target)
                source.refuseAt(at, "a reference is C and a code in hexadecimal (C0041)");
            g.references.push_back({*target, at, g.glyph.strokes.size()});
            continue;
        }
        polyline(line, g, source, at);
    }
    return g;
}

// The glyphs to read: those a predicate takes, or those of a list.
class Wanted {
public:
    explicit Wanted(const GlyphsWanted& predicate) : predicate_(&predicate) {}
    explicit Wanted(std::u32string_view characters) : characters_(characters.begin(), characters.end())
    {
        std::sort(characters_.begin(), characters_.end());
        characters_.erase(std::unique(characters_.begin(), characters_.end()), characters_.end());
    }
    bool operator()(char32_t c) const
    {
        if (predicate_)
            return !*predicate_ || (*predicate_)(c);
        return std::binary_search(characters_.begin(), characters_.end(), c);
    }
    // `f` for each code of the index wanted, ascending: a list is looked up
    // rather than every code of a large font asked about.
    template <class F> void forEach(const GlyphIndex& index, F f) const
    {
        if (predicate_) {
            index.forEach([&](char32_t code, std::size_t) {
                if ((*this)(code))
                    f(code);
            });
            return;
        }
        for (const char32_t c : characters_)
            if (index.contains(c))
                f(c);
    }

private:
    const GlyphsWanted* predicate_ = nullptr;
    std::vector<char32_t> characters_;
};

StrokeFont readLffWanted(std::string_view bytes, const std::string& file, const Wanted& wanted);

} // namespace

StrokeFont readLff(std::string_view bytes, const std::string& file, const GlyphsWanted& wanted)
{
    return readLffWanted(bytes, file, Wanted(wanted));
}

StrokeFont readLff(std::string_view bytes, const std::string& file, std::u32string_view characters)
{
    return readLffWanted(bytes, file, Wanted(characters));
}

namespace {

StrokeFont readLffWanted(std::string_view bytes, const std::string& file, const Wanted& wanted)
{
    checkSize(bytes, file);
    double letterSpacing = 3, wordSpacing = 6.75;
    // First every glyph's place, cheaply; then only the glyphs wanted (and
    // those they refer to) are read: a CAD font may hold thousands.
    GlyphIndex index;
    // The header: comments (with the spacings) and empty lines up to the
    // first glyph.
    Lines lines(bytes);
    std::string_view line;
    std::size_t at = bytes.size();
    while (lines.next(line)) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos)
            continue;
        if (line[first] == '[') {
            at = std::size_t(line.data() - bytes.data());
            break;
        }
        if (line[first] != '#')
            refuse(file, lines.number(), "a line of strokes outside a glyph (a glyph starts with [code])");
        letterSpacing = header(line, "LetterSpacing:", letterSpacing, file, lines.number());
        wordSpacing = header(line, "WordSpacing:", wordSpacing, file, lines.number());
    }
    // Then each glyph from its header to the next line that starts with
    // "[": only the headers and the references are looked at here, found
    // by searching, as a CAD font may hold thousands of glyphs.
    const Source source{bytes, file};
    // The next reference, found once for many glyphs: a large font has few.
    std::size_t reference = 0;
    while (at < bytes.size()) {
        // The header, "[code]" after blanks, read by hand: a large font has
        // thousands. Installed fonts write "[#0041]" and, once, "[[0041]".
        std::size_t q = at;
        while (bytes[q] != '[')
            ++q;
        ++q;
        if (q < bytes.size() && (bytes[q] == '#' || bytes[q] == '['))
            ++q;
        std::uint32_t code = 0;
        std::size_t digits = 0;
        for (int digit = 0; q < bytes.size() && digits <= 8 && (digit = hexDigit(bytes[q])) >= 0; ++q, ++digits)
            code = code << 4 | std::uint32_t(digit);
        if (q == bytes.size() || bytes[q] != ']' || digits == 0 || digits > 8 || code > 0x10FFFF)
            source.refuseAt(at, "a glyph starts with its code in hexadecimal in brackets ([0041])");
        if (index.size() >= kStrokeFontMaxGlyphs)
            source.refuseAt(at, "more than " + std::to_string(kStrokeFontMaxGlyphs) + " glyphs");
        while (q < bytes.size() && bytes[q] != '\n')
            ++q;
        const std::size_t bodyStart = std::min(q + 1, bytes.size());
        std::size_t bodyEnd = 0;
        const std::size_t next = source.nextStarting('[', bodyStart, bytes.size(), bodyEnd);
        index.add(char32_t(code), at);
        // References are few: every one is checked, read or not.
        // No line starting with C lies between a body's end and the next
        // body: that is the header's line.
        if (reference < bodyStart)
            reference = source.nextStarting('C', bodyStart, bytes.size());
        for (std::size_t r = reference; r < bodyEnd; r = reference = source.nextStarting('C', r + 1, bytes.size())) {
            const std::size_t refEnd = std::min(bytes.find('\n', r), bytes.size());
            std::string_view target = bytes.substr(r + 1, refEnd - r - 1);
            if (target.ends_with('\r'))
                target.remove_suffix(1);
            const auto to = hexCode(target);
            if (!to)
                source.refuseAt(r, "a reference is C and a code in hexadecimal (C0041)");
            index.addReference(*to, r);
        }
        at = next;
    }
    if (index.empty())
        refuse(file, 0, "the file holds no glyph");
    index.seal();
    checkReferences(index, source);

    std::map<char32_t, LffGlyph> glyphs;
    const auto read = [&](char32_t code) { return readGlyph(index.at(code), source); };
    References references(glyphs, index, read, source);
    StrokeFont font{.name = nameOf(file), .file = file, .em = 12, .ascent = 9, .descent = 3, .glyphs = {}, .codes = {}};
    font.codes.reserve(index.size());
    index.forEach([&](char32_t code, std::size_t) { font.codes.push_back(code); });
    wanted.forEach(index, [&](char32_t code) { references.resolve(code); });
    for (auto& [code, g] : glyphs) {
        if (!wanted(code))
            continue;
        double right = 0;
        for (const auto& s : g.glyph.strokes)
            for (const StrokePoint& p : s)
                right = std::max(right, p.x);
        g.glyph.advance = g.blank ? wordSpacing : right + letterSpacing;
        font.glyphs.emplace(code, std::move(g.glyph));
    }
    return font;
}

} // namespace
} // namespace lw
