#pragma once
// The JW command file as the export reads it: lines ending at CR, CR LF or LF
// (files from Unix editors and scripts end lines with LF alone; the last line
// needs no end), copied byte for byte except "hq" lines, each with CR LF, and
// the export parameters taken from "hp1", "hs" and "lg" lines. A UTF-8 byte
// order mark at the start is kept in the copy but not read as part of word 1.
//
//   JwParameters p;
//   copyCommandFile("hp1 100 50\rhs 1 2\rlg0\r", "cmd.txt", out, p);
//   // out holds the three lines with CR LF; p.baseX 100, p.chosenScale 1

#include "base/byte_sink.hpp"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace lw {

// What one export takes from its command file; every run starts from zero.
struct JwParameters {
    double baseX = 0;
    double baseY = 0;
    // Indices 0 to 16: 17 entries.
    std::array<double, 17> scales{};
    // A copy of the entry the last "lg" line chose, not a reference to it.
    double chosenScale = 0;
    // The lines that set the base point and the chosen scale; 0 for none.
    std::size_t baseLine = 0;
    std::size_t scaleLine = 0;
};

// Walks the lines of a command file's bytes.
class CommandLines {
public:
    // The bytes must outlive the walk.
    explicit CommandLines(std::string_view bytes) : rest_(bytes) {}
    // The next line without its end; false at the end of the bytes.
    bool next(std::string_view& line);
    // 1 for the first line, after next() has returned it.
    std::size_t lineNumber() const { return number_; }

private:
    std::string_view rest_;
    std::size_t number_ = 0;
};

// The part of line `number` that is read: the line without the UTF-8 byte
// order mark Windows editors put at the start of a file.
std::string_view readablePart(std::string_view line, std::size_t number);

// Copies every line but those whose word 1 is exactly "hq" to `out`, each with
// CR LF, and interprets it into `parameters`. A failure names `fileName`, the
// line number and the word; lines copied before it stay in `out`.
void copyCommandFile(std::string_view bytes, std::string_view fileName, ByteSink& out,
                     JwParameters& parameters);

} // namespace lw
