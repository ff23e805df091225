#pragma once
// letterwire-cli batch FILE: one drawing per row of a CSV file (see
// batch_rows.hpp), in one process, so faces are loaded once. Each row is
// the command line of a single run, `dxf|svg OUTPUT [options] --text TEXT
// [--size ..] [--font ..] [--angle ..] [styles]`, so its file has the same
// bytes; the format is the output's extension.

#include "base/byte_sink.hpp"
#include "cli/batch_rows.hpp"
#include "cli/options.hpp"

#include <functional>
#include <string>
#include <vector>

namespace lw::cli {

// A row refused before any work, and the column that caused it.
struct BatchColumnError : UsageError {
    BatchColumnError(std::size_t column, const std::string& what) : UsageError(what), column(column) {}
    std::size_t column;
};

// Writes one row's drawing; `where` ("line 4") goes before its warnings.
// Throws lw::Failure or UsageError as a single run would.
using RunRow = std::function<void(const Options& row, const std::string& where)>;

// The arguments of the single run that row `row` stands for, from the
// batch's own (`args`, parsed into `batch`); a UsageError names the column.
std::vector<std::string> rowArguments(const Options& batch, const std::vector<std::string>& args,
                                      const BatchRow& row);

// Every row, a bad one reported on `err` by its line and column while the
// others still run; 0 when every row was written, else 1.
int runBatch(const Options& batch, const std::vector<std::string>& args, const RunRow& runRow, ByteSink& err);

} // namespace lw::cli
