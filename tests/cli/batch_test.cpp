// letterwire-cli batch: the rows of a CSV file, and the run over them.
#include "cli/batch.hpp"
#include "cli/batch_rows.hpp"

#include "shell_run.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct RowCase {
    const char* name;
    std::string bytes;
    std::vector<std::vector<std::string>> fields; // of each row read
    std::vector<std::size_t> lines;
    std::size_t badColumn = 0; // of the first row
    const char* problem = "";
};

TEST(BatchRows, ReadsCsvAsWritten)
{
    const RowCase cases[] = {
        {"plain", "a.dxf,AB\nb.svg,CD,12\n", {{"a.dxf", "AB"}, {"b.svg", "CD", "12"}}, {1, 2}},
        {"crlf and no last line end", "a.dxf,AB\r\nb.svg,CD", {{"a.dxf", "AB"}, {"b.svg", "CD"}}, {1, 2}},
        {"byte order mark", "\xEF\xBB\xBF" "a.dxf,編集\n", {{"a.dxf", "編集"}}, {1}},
        {"comments and empty lines keep the line count", "# out,text\n\na.dxf,X\n", {{"a.dxf", "X"}}, {3}},
        {"quoted comma and quote", "a.dxf,\"1,5\"\"\"\n", {{"a.dxf", "1,5\""}}, {1}},
        {"empty fields", "a.dxf,,,,,\n", {{"a.dxf", "", "", "", "", ""}}, {1}},
        {"quoted empty text", "a.dxf,\"\"\n", {{"a.dxf", ""}}, {1}},
        {"unclosed quote", "a.dxf,\"AB\nb.dxf,C\n", {{"a.dxf"}, {"b.dxf", "C"}}, {1, 2}, 2, "not closed"},
        // A text broken across lines is one bad row, never a row of its own.
        {"quoted text broken across lines", "a.dxf,\"AB\nCD\",12\nb.dxf,E\n", {{"a.dxf"}, {"b.dxf", "E"}}, {1, 3},
         2, "runs on to line 2"},
        {"broken over lines with blank and comment-like ones", "a.dxf,\"A\n\n# B\r\nC\"\"D\",1\nb.dxf,E",
         {{"a.dxf"}, {"b.dxf", "E"}}, {1, 5}, 2, "runs on to line 4"},
        {"broken to the last line", "a.dxf,\"A\nB\"", {{"a.dxf"}}, {1}, 2, "runs on to line 2"},
        {"a next row with its own quotes stays a row", "a.dxf,\"AB\nb.dxf,\"C\"\n", {{"a.dxf"}, {"b.dxf", "C"}},
         {1, 2}, 2, "not closed"},
        {"text after a closing quote", "a.dxf,\"AB\"C\n", {{"a.dxf"}}, {1}, 2, "after the closing quote"},
        {"no text", "a.dxf\n", {{"a.dxf"}}, {1}, 2, "text is missing"},
        {"too many columns", "a,b,c,d,e,f,g,h,i\n", {{"a", "b", "c", "d", "e", "f", "g", "h", "i"}}, {1}, 9, "at most 8"},
        {"tab in the text", "a.dxf,A\tB\n", {{"a.dxf", "A\tB"}}, {1}, 2, "a tab at character 2"},
        {"lone carriage return", "a.dxf,編\rB\n", {{"a.dxf", "編\rB"}}, {1}, 2, "carriage return at character 2"},
        {"control character in the font", "a.dxf,A,,F\x01\n", {{"a.dxf", "A", "", "F\x01"}}, {1}, 4,
         "control character 0x01 at character 2"},
        {"broken UTF-8", "a.dxf,編\xE7\n", {{"a.dxf", "編\xE7"}}, {1}, 2, "not UTF-8 at character 2"},
        {"overlong UTF-8", "a.dxf,\xC0\xAF\n", {{"a.dxf", "\xC0\xAF"}}, {1}, 2, "not UTF-8 at character 1"},
        {"surrogate in UTF-8", "\xED\xA0\x80.dxf,A\n", {{"\xED\xA0\x80.dxf", "A"}}, {1}, 1, "not UTF-8"},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto rows = lw::cli::readBatchRows(c.bytes);
        ASSERT_EQ(rows.size(), c.fields.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].fields, c.fields[i]);
            EXPECT_EQ(rows[i].line, c.lines[i]);
        }
        EXPECT_EQ(rows[0].badColumn, c.badColumn);
        EXPECT_NE(rows[0].problem.find(c.problem), std::string::npos) << rows[0].problem;
        if (c.badColumn == 0) {
            EXPECT_TRUE(rows[0].problem.empty());
        }
    }
}

// The single run a row stands for: the batch's options in place, the row's after.
// Letters of many curves: their outline grows with the size.
std::string curvedLetters(int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += "Sog8";
    return out;
}

TEST(BatchRows, RowArgumentsReplaceCommandAndFileAndNameTheBadColumn)
{
    const std::vector<std::string> args = {"--italic", "batch", "--font", "batch", "rows.csv", "--size", "30"};
    const lw::cli::Options batch = lw::cli::parseOptions(args);
    const auto row = [](std::vector<std::string> fields) {
        lw::cli::BatchRow r;
        r.line = 1;
        r.fields = std::move(fields);
        return r;
    };
    EXPECT_EQ(lw::cli::rowArguments(batch, args, row({"x.DXF", "AB", "12", "", "", ""})),
              (std::vector<std::string>{"--italic", "dxf", "--font", "batch", "x.DXF", "--size", "30", "--text",
                                        "AB", "--size", "12"}));
    EXPECT_EQ(lw::cli::rowArguments(batch, args, row({"x.svg", "AB", "", "F", "", "underline regular"})),
              (std::vector<std::string>{"svg", "--font", "batch", "x.svg", "--size", "30", "--text", "AB", "--font",
                                        "F", "--underline"}));
    // Bold is a style as the others are: the row's words replace the command line's.
    EXPECT_EQ(lw::cli::rowArguments(batch, args, row({"x.svg", "AB", "", "", "", "Bold"})),
              (std::vector<std::string>{"svg", "--font", "batch", "x.svg", "--size", "30", "--text", "AB", "--bold"}));
    const std::pair<std::vector<std::string>, std::size_t> bad[] = {
        {{"x.txt", "AB"}, 1},       {{"", "AB"}, 1},           {{"-", "AB"}, 1},
        {{".dxf", "AB"}, 1},        {{"x.dxf", "AB", "0"}, 3}, {{"x.dxf", "AB", "big"}, 3},
        {{"x.dxf", "AB", "", "", "1.5"}, 5}, {{"x.dxf", "AB", "", "", "", "heavy"}, 6},
        // The text alone is fine at 30 pt; at 16384 pt it is beyond the work bound.
        {{"x.dxf", curvedLetters(5000), "16384"}, 3},
    };
    for (const auto& [fields, column] : bad) {
        SCOPED_TRACE(fields[0] + " " + (fields.size() > 2 ? fields[2] : ""));
        try {
            (void)lw::cli::rowArguments(batch, args, row(fields));
            ADD_FAILURE() << "accepted";
        } catch (const lw::cli::BatchColumnError& e) {
            EXPECT_EQ(e.column, column) << e.what();
        }
    }
}

using Result = lw::test::ShellResult; // stdout, and stderr too where the command joins it
using lw::test::runShell;

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class BatchRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("lw-batch-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    Result cli(const std::string& args)
    {
        return runShell("cd '" + dir_.string() + "' && " + LETTERWIRE_CLI + " " + args + " 2>&1");
    }
    void write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    fs::path dir_;
};

// Every row's file is the bytes of the single run with the same options.
TEST_F(BatchRun, EachFileIsTheSingleRunsBytes)
{
    write("rows.csv", "a.dxf,ABC\n"
                      "b.svg,編集 8\n"
                      "c.dxf,\"1,5\"\"\",36,IPAGothic,30,italic underline\n"
                      "d.svg,Og,,,-15,strikeout\n"
                      "e.dxf,,,,,\n");
    const Result batch = cli("batch rows.csv --precision 0.1 --no-merge --size 20");
    ASSERT_EQ(batch.status, 0) << batch.out;
    const std::pair<const char*, std::string> single[] = {
        {"a.dxf", "dxf a1.dxf --text ABC"},
        {"b.svg", "svg b1.svg --text '編集 8'"},
        {"c.dxf", "dxf c1.dxf --text '1,5\"' --size 36 --font IPAGothic --angle 30 --italic --underline"},
        {"d.svg", "svg d1.svg --text Og --angle -15 --strikeout"},
        {"e.dxf", "dxf e1.dxf --text ''"},
    };
    for (const auto& [file, args] : single) {
        SCOPED_TRACE(file);
        // The batch's options stand before the row's, as in the batch.
        const Result one = cli("--precision 0.1 --no-merge --size 20 " + std::string(args));
        ASSERT_EQ(one.status, 0) << one.out;
        const std::string bytes = slurp(dir_ / file);
        EXPECT_GT(bytes.size(), 1000u);
        EXPECT_TRUE(bytes == slurp(dir_ / (std::string(file, 1) + "1" + std::string(file + 1))));
    }
    // The empty text warns, named by its line.
    EXPECT_NE(batch.out.find("rows.csv: line 5: warning: the text is empty"), std::string::npos) << batch.out;
}

TEST_F(BatchRun, BadRowsAreNamedAndTheOthersWritten)
{
    write("rows.csv", "ok1.dxf,A\n"
                      "bad.txt,B\n"
                      "ok2.svg,C,12\n"
                      "bad2.dxf,D,-3\n"
                      "bad3.dxf,E\tF\n"
                      "ok1.dxf,G\n"
                      "link.dxf,H\n"
                      "nofolder/x.dxf,I\n"
                      "ok3.dxf,J,,,,regular\n");
    // Written through, the link would replace the list being read.
    fs::create_symlink("rows.csv", dir_ / "link.dxf");
    const Result r = cli("batch rows.csv");
    EXPECT_EQ(r.status, 1);
    const char* expected[] = {
        "rows.csv: line 2, column 1 (output): \"bad.txt\" must end in .dxf, .svg, .pdf, .plt or .hpgl",
        "rows.csv: line 4, column 3 (size): --size must be above 0",
        "rows.csv: line 5, column 2 (text): a tab at character 2; a field is one line",
        "rows.csv: line 6, column 1 (output): \"ok1.dxf\" is already the output of line 1",
        "rows.csv: line 7, column 1 (output): \"link.dxf\" is the batch file itself",
        "rows.csv: line 8: Path not found",
        "6 of 9 rows failed; 3 written",
    };
    for (const char* line : expected)
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
    for (const char* file : {"ok1.dxf", "ok2.svg", "ok3.dxf"})
        EXPECT_TRUE(fs::is_regular_file(dir_ / file)) << file;
    EXPECT_EQ(slurp(dir_ / "rows.csv").substr(0, 9), "ok1.dxf,A");
    EXPECT_FALSE(fs::exists(dir_ / "bad2.dxf"));
}

TEST_F(BatchRun, CommandLineMistakesAreUsageErrors)
{
    write("rows.csv", "a.dxf,A\n");
    const std::pair<const char*, const char*> cases[] = {
        {"batch", "usage: letterwire-cli batch FILE"},
        {"batch rows.csv more.csv", "usage: letterwire-cli batch FILE"},
        {"batch rows.csv --text X", "--text does not apply"},
        {"batch rows.csv --units mm", "--units applies to capture only"},
    };
    for (const auto& [args, said] : cases) {
        const Result r = cli(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.out.find(said), std::string::npos) << args << "\n" << r.out;
    }
    const Result missing = cli("batch none.csv");
    EXPECT_EQ(missing.status, 1) << missing.out;
    EXPECT_NE(missing.out.find("none.csv"), std::string::npos) << missing.out;
}

} // namespace
