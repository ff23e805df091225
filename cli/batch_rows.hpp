#pragma once
// The rows of a batch file: UTF-8 CSV, one output a line.
//
//   output,text[,size[,font[,angle[,styles[,stroke font]]]]]
//
// Fields are separated by commas; a field in double quotes may hold commas,
// and "" in it is one quote. A quoted field ends on its own line (a text is
// one line anyway); one broken across lines makes the lines up to the one
// closing it a single bad row, so no part of it is written as a row. Lines
// end at LF or CR LF; a UTF-8 byte order mark at the start, empty lines and
// lines starting with '#' are skipped.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lw::cli {

// The columns in order, for messages: "column 3 (size)".
inline constexpr std::string_view kBatchColumns[] = {"output", "text", "size", "font", "angle", "styles",
                                                     "stroke font", "check"};

struct BatchRow {
    std::size_t line = 0;            // 1-based line of the file
    std::vector<std::string> fields; // at least one
    std::size_t badColumn = 0;       // 1-based; 0 when the row could be read
    std::string problem;             // what is wrong at badColumn
};

// Every row of `bytes`, readable or not, so that one bad row never hides
// the others.
std::vector<BatchRow> readBatchRows(std::string_view bytes);

// "column 3 (size)"
std::string columnName(std::size_t column);

} // namespace lw::cli
