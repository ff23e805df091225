#include "form/run_mode.hpp"

#include "base/failure.hpp"
#include "export/byte_files.hpp"

#include <filesystem>

namespace lw {
namespace {

std::string upperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

// What a mode's command line must hold, for a start that lacks a path.
std::string missingWord(std::size_t word, const std::string& mode)
{
    const std::string holds = mode == "JW" ? "a command file and an output file: JW COMMAND-FILE OUTPUT-FILE"
                                           : "an output file: WIT OUTPUT-FILE";
    return "command line, word " + std::to_string(word) + " missing; mode " + mode + " needs " + holds;
}

bool isFolder(const std::string& utf8Path)
{
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end())),
                                         error);
}

void checkJwFiles(const RunMode& run)
{
    try {
        InputFile readable(run.inputPath);
    } catch (const Failure& failure) {
        throw Failure(failure.kind(), "JW command file " + failure.where());
    }
    std::string target;
    try {
        target = fileio::outputTarget(run.outputPath);
    } catch (const Failure& failure) {
        throw Failure(failure.kind(), "JW output file " + failure.where());
    }
    const std::string folder = fileio::folderOf(target);
    if (!isFolder(folder))
        throw Failure(FailureKind::PathNotFound, "JW output file " + run.outputPath + " (no folder " + folder + ")");
}

} // namespace

RunMode parseRunMode(const std::vector<std::string>& word)
{
    RunMode run;
    // A mode name alone would start a preview the user works in for
    // nothing; it says what the command line must hold.
    if (word.size() == 1) {
        const std::string mode = upperAscii(word[0]);
        if (mode == "JW" || mode == "WIT")
            throw Failure(FailureKind::SubscriptOutOfRange, missingWord(2, mode));
    }
    if (word.size() >= 2) {
        // Only "JW" and "WIT" mean anything, so ASCII upper-casing decides
        // every mode the system code page can even spell.
        run.mode = upperAscii(word[0]);
        if (run.mode == "JW") {
            run.inputPath = word[1];
            if (word.size() < 3)
                throw Failure(FailureKind::SubscriptOutOfRange, missingWord(3, run.mode));
            run.outputPath = word[2];
            checkJwFiles(run);
        } else if (run.mode == "WIT") {
            run.outputPath = word[1];
        }
    }
    return run;
}

} // namespace lw
