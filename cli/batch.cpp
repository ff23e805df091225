#include "cli/batch.hpp"

#include "base/failure.hpp"
#include "base/shown_input.hpp"
#include "export/byte_files.hpp"

#include <algorithm>
#include <map>
#include <new>
#include <stdexcept>

namespace lw::cli {
namespace {

constexpr std::size_t kOutput = 1, kText = 2, kSize = 3, kFont = 4, kAngle = 5, kStyles = 6, kStrokeFont = 7,
                      kCheck = 8;

std::string lowered(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// The single run's command for an output: its extension, in any case.
std::string formatOf(const std::string& output)
{
    const std::string lower = lowered(output);
    for (const char* format : {"dxf", "svg", "pdf"})
        if (lower.size() > 4 && lower.ends_with(std::string(".") + format))
            return format;
    // Plotter files go by either name.
    for (const char* extension : {".plt", ".hpgl"})
        if (lower.size() > std::string_view(extension).size() && lower.ends_with(extension))
            return "hpgl";
    throw BatchColumnError(kOutput, quotedInput(output) +
                                        " must end in .dxf, .svg, .pdf, .plt or .hpgl (the format it is written in)");
}

bool isStyle(const std::string& a)
{
    return a == "--bold" || a == "--italic" || a == "--underline" || a == "--strikeout" || a == "--centreline" ||
           a == "--centerline";
}

// "bold italic", "regular": the options that replace the command line's styles.
std::vector<std::string> styleOptions(const std::string& field)
{
    std::vector<std::string> options;
    std::size_t i = 0;
    while (i < field.size()) {
        const std::size_t end = std::min(field.find(' ', i), field.size());
        const std::string word = lowered(field.substr(i, end - i));
        i = end + 1;
        if (word.empty() || word == "regular")
            continue;
        if (word != "bold" && word != "italic" && word != "underline" && word != "strikeout" && word != "centreline" &&
            word != "centerline")
            throw BatchColumnError(kStyles, quotedInput(word) + " is not a style (bold, italic, underline, "
                                                                "strikeout, centreline or regular)");
        options.push_back("--" + word);
    }
    return options;
}

} // namespace

std::vector<std::string> rowArguments(const Options& batch, const std::vector<std::string>& args,
                                      const BatchRow& row)
{
    const std::string& output = row.fields[kOutput - 1];
    if (output.empty())
        throw BatchColumnError(kOutput, "the output path is empty");
    if (output == "-")
        throw BatchColumnError(kOutput, "every row needs a file of its own; standard output cannot take many drawings");
    const auto field = [&](std::size_t column) -> const std::string* {
        return column <= row.fields.size() && !row.fields[column - 1].empty() ? &row.fields[column - 1] : nullptr;
    };
    const bool stylesGiven = field(kStyles) != nullptr;
    std::vector<std::string> run;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i == batch.commandAt)
            run.push_back(formatOf(output));
        else if (i == batch.positionalAt.front())
            run.push_back(output);
        else if (batch.encodingAt != 0 && (i == batch.encodingAt || i == batch.encodingAt + 1))
            continue; // the list's, not the drawing's
        else if (!(stylesGiven && isStyle(args[i])))
            run.push_back(args[i]);
    }
    // Each column is tried on what came before it, so a refusal names the
    // column that caused it.
    run.insert(run.end(), {"--text", row.fields[kText - 1]});
    const auto tryColumn = [&](std::size_t column) {
        try {
            (void)parseOptions(run);
        } catch (const BatchColumnError&) {
            throw;
        } catch (const UsageError& e) {
            throw BatchColumnError(column, e.what());
        }
    };
    tryColumn(kText);
    const std::pair<std::size_t, const char*> valued[] = {{kSize, "--size"}, {kFont, "--font"}, {kAngle, "--angle"}};
    for (const auto& [column, option] : valued) {
        if (const std::string* value = field(column)) {
            run.insert(run.end(), {option, *value});
            tryColumn(column);
        }
    }
    if (stylesGiven) {
        for (std::string& option : styleOptions(*field(kStyles)))
            run.push_back(std::move(option));
        tryColumn(kStyles);
    }
    if (const std::string* value = field(kStrokeFont)) {
        run.insert(run.end(), {"--stroke-font", *value});
        tryColumn(kStrokeFont);
    }
    // The row's own tool, in place of the command line's --check.
    if (const std::string* tool = field(kCheck)) {
        run.insert(run.end(), {"--check", *tool});
        tryColumn(kCheck);
    }
    return run;
}

int runBatch(const Options& batch, const std::vector<std::string>& args, const RunRow& runRow, ByteSink& err)
{
    if (batch.positional.size() != 1)
        throw UsageError("usage: letterwire-cli " + synopsis("batch"));
    if (batch.textGiven)
        throw UsageError("batch: the text comes from each row; --text does not apply");
    const std::string& file = batch.positional.front();
    InputFile input(file);
    const ListText list = [&] {
        try {
            return listAsUtf8(input.readAll(), batch.encoding);
        } catch (const UsageError& e) {
            throw UsageError(file + ": " + e.what());
        }
    }();
    if (!list.note.empty())
        err << "letterwire-cli: note: " + file + ": " + list.note + "\n";
    const std::vector<BatchRow> rows = readBatchRows(list.utf8);
    // The file each row writes -> its row, whatever spelling named it.
    std::map<std::string, std::pair<std::size_t, std::string>> written;
    std::size_t failed = 0, done = 0;
    for (const BatchRow& row : rows) {
        const std::string where = file + ": line " + std::to_string(row.line);
        try {
            if (row.badColumn != 0)
                throw BatchColumnError(row.badColumn, row.problem);
            const std::vector<std::string> run = rowArguments(batch, args, row);
            const std::string& output = row.fields[kOutput - 1];
            // A later row would silently replace an earlier one's drawing, or
            // the list itself: compared as files, since "./x.dxf", "d/../x.dxf"
            // or a link to it (on Windows "X.DXF") write the same one.
            std::string identity = fileio::outputIdentity(output);
            if (const auto earlier = written.find(identity); !identity.empty() && earlier != written.end())
                throw BatchColumnError(kOutput, quotedInput(output) + " is already the output of line " +
                                               std::to_string(earlier->second.first) +
                                               (earlier->second.second == output
                                                    ? std::string()
                                                    : " (as " + quotedInput(earlier->second.second) + ")"));
            if (input.isSameFileAs(output))
                throw BatchColumnError(kOutput, quotedInput(output) + " is the batch file itself");
            if (!identity.empty())
                written.emplace(std::move(identity), std::make_pair(row.line, output));
            runRow(parseOptions(run), where);
            ++done;
        } catch (const BatchColumnError& e) {
            err << "letterwire-cli: " + where + ", " + columnName(e.column) + ": " + e.what() + "\n";
            ++failed;
        } catch (const UsageError& e) {
            err << "letterwire-cli: " + where + ": " + e.what() + "\n";
            ++failed;
        } catch (const Failure& e) {
            err << "letterwire-cli: " + where + ": " + e.what() + "\n";
            ++failed;
        } catch (const std::bad_alloc&) {
            // In pieces: nothing more to allocate.
            err << "letterwire-cli: " << where << ": out of memory\n";
            ++failed;
        }
    }
    if (rows.empty())
        err << "letterwire-cli: warning: " + file + " has no rows\n";
    if (failed != 0)
        err << "letterwire-cli: " + std::to_string(failed) + " of " + std::to_string(rows.size()) +
               " rows failed; " + (done == 0 ? std::string("none") : std::to_string(done)) + " written\n";
    return failed == 0 ? 0 : 1;
}

} // namespace lw::cli
