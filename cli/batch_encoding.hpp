#pragma once
// The text of a batch list as UTF-8, whichever of the two encodings its
// writer used: spreadsheets on Japanese Windows save CSV in code page 932
// (Shift-JIS) unless told otherwise.
//
//   ListText list = listAsUtf8(bytes, ListEncoding::Detect);
//   if (!list.note.empty()) warn(list.note);

#include <string>
#include <string_view>

namespace lw::cli {

// --encoding: utf-8 or cp932; Detect without it.
enum class ListEncoding { Detect, Utf8, Cp932 };

struct ListText {
    std::string utf8;
    // Said once when the list was read as code page 932 without being told to.
    std::string note;
};

// Detect reads a list as code page 932 only when it is not UTF-8, every
// byte of it is valid code page 932, and no line holding other than ASCII
// is itself UTF-8: a UTF-8 list with one broken row stays UTF-8 (that row
// is refused), never read whole as something else. Utf8 leaves the bytes
// as they are; Cp932 converts, and a byte sequence it cannot hold is a
// UsageError naming the line.
ListText listAsUtf8(std::string_view bytes, ListEncoding encoding);

// The 1-based line of the first byte sequence that is not code page 932,
// or 0 when all of it is.
std::size_t firstLineNotCp932(std::string_view bytes);

} // namespace lw::cli
