#include "cli/batch_rows.hpp"

#include "cli/options.hpp"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace lw::cli {
namespace {

// Length of the well-formed UTF-8 sequence at s[i], or 0.
std::size_t utf8Length(std::string_view s, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    std::size_t n = 0;
    char32_t value = 0;
    if (c < 0x80)
        return 1;
    if ((c & 0xE0) == 0xC0)
        n = 2, value = c & 0x1F;
    else if ((c & 0xF0) == 0xE0)
        n = 3, value = c & 0x0F;
    else if ((c & 0xF8) == 0xF0)
        n = 4, value = c & 0x07;
    else
        return 0;
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not text.
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kLeast[n] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    return n;
}

// False when a quoted field is still open at the end of the line.
bool splitFields(std::string_view line, BatchRow& row)
{
    std::size_t i = 0;
    while (true) {
        std::string field;
        const std::size_t column = row.fields.size() + 1;
        if (i < line.size() && line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                field += line[i++];
            }
            if (!closed) {
                row.badColumn = column;
                row.problem = "the quote is not closed on this line";
                return false;
            }
            if (i < line.size() && line[i] != ',') {
                row.badColumn = column;
                row.problem = "text after the closing quote (a quote inside a quoted field is written \"\")";
                return true;
            }
        } else {
            const std::size_t end = std::min(line.find(',', i), line.size());
            field.assign(line.substr(i, end - i));
            i = end;
        }
        row.fields.push_back(std::move(field));
        if (i >= line.size())
            return true;
        ++i; // the comma
    }
}

// A quoted field left open is taken on into the lines after it when the
// first of them holding a quote has an odd number (the one closing it): all
// those lines are then that row's, so no piece of a broken text becomes a row
// of its own. A next line with balanced quotes is a row of its own, as is
// every line when no quote follows. The bytes of the lines taken, or 0.
std::size_t brokenFieldRest(std::string_view rest)
{
    std::size_t taken = 0;
    while (taken < rest.size()) {
        const std::size_t end = rest.find('\n', taken);
        const std::string_view line = rest.substr(taken, end == std::string_view::npos ? rest.size() - taken : end - taken);
        taken = end == std::string_view::npos ? rest.size() : end + 1;
        if (const auto quotes = std::count(line.begin(), line.end(), '"'); quotes != 0)
            return quotes % 2 == 1 ? taken : 0;
    }
    return 0;
}

void check(BatchRow& row)
{
    if (row.badColumn != 0)
        return;
    for (std::size_t c = 0; c < row.fields.size(); ++c) {
        if (const std::size_t at = badUtf8At(row.fields[c])) {
            row.badColumn = c + 1;
            row.problem = "not UTF-8 at character " + std::to_string(at) + " (a Shift-JIS list: --encoding cp932)";
            return;
        }
        if (const std::string control = controlCharacterIn(row.fields[c]); !control.empty()) {
            row.badColumn = c + 1;
            row.problem = control + "; a field is one line";
            return;
        }
    }
    if (row.fields.size() > std::size(kBatchColumns)) {
        row.badColumn = std::size(kBatchColumns) + 1;
        row.problem = "a row has at most " + std::to_string(std::size(kBatchColumns)) +
                      " columns (output, text, size, font, angle, styles, stroke font, check)";
    } else if (row.fields.size() < 2) {
        row.badColumn = 2;
        row.problem = "the text is missing (a row is output,text[,size,font,angle,styles,stroke font,check])";
    }
}

} // namespace

std::size_t badUtf8At(std::string_view field)
{
    std::size_t character = 0;
    for (std::size_t i = 0; i < field.size();) {
        ++character;
        const std::size_t n = utf8Length(field, i);
        if (n == 0)
            return character;
        i += n;
    }
    return 0;
}

std::string columnName(std::size_t column)
{
    std::string name = "column " + std::to_string(column);
    if (column >= 1 && column <= std::size(kBatchColumns))
        name += " (" + std::string(kBatchColumns[column - 1]) + ")";
    return name;
}

std::vector<BatchRow> readBatchRows(std::string_view bytes)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());
    std::vector<BatchRow> rows;
    std::size_t lineNumber = 0;
    while (!bytes.empty()) {
        ++lineNumber;
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        BatchRow row;
        row.line = lineNumber;
        if (!splitFields(line, row)) {
            if (const std::size_t taken = brokenFieldRest(bytes)) {
                const std::string_view more = bytes.substr(0, taken);
                lineNumber += std::size_t(std::count(more.begin(), more.end(), '\n')) + (more.ends_with('\n') ? 0 : 1);
                bytes.remove_prefix(taken);
                row.problem = "a quoted field runs on to line " + std::to_string(lineNumber) +
                              "; a field is one line, and none of these lines is written";
            }
        }
        check(row);
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace lw::cli
