// Bytes as a batch list through the row reader. Whatever the bytes, the
// reader must return: rows in the order of their lines, a readable one with
// a field, a bad one with its column and problem, no field holding a line's
// end.
#include "cli/batch_rows.hpp"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t lines = 1;
    for (const char c : bytes)
        lines += c == '\n';
    std::size_t previous = 0;
    for (const lw::cli::BatchRow& row : lw::cli::readBatchRows(bytes)) {
        if (row.line <= previous || row.line > lines || (row.badColumn == 0 && row.fields.empty()))
            std::abort();
        if ((row.badColumn == 0) != row.problem.empty())
            std::abort();
        for (const std::string& field : row.fields)
            if (field.find('\n') != std::string::npos)
                std::abort();
        previous = row.line;
    }
    return 0;
}
