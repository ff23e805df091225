#include "cli/batch_rows.hpp"

#include "base/utf8.hpp"
#include "cli/options.hpp"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace lw::cli {
namespace {

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
        if (const std::size_t at = firstBadUtf8Character(row.fields[c])) {
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
