#pragma once
// Command lines for programs started on Windows, where a process gets one
// string and splits it itself. Each argument is quoted so that the usual C
// runtime split (and, for batch files, cmd.exe) gives it back exactly.
//
//   programCommandLine({L"tool", L"a b", L"x\\\"y"}) -> tool "a b" "x\\\"y"
//
// Pure functions, so they build and are tested on every platform.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// `arg` as the C runtime's argument split reads it back: quoted only when it
// is empty or holds a blank, tab, line break or double quote; backslashes
// doubled only where they precede a double quote.
std::wstring quoteArgument(std::wstring_view arg);

// The words quoted one by one and joined with single blanks.
std::wstring programCommandLine(const std::vector<std::wstring>& words);

// What follows "cmd.exe" to run `script` with `args`, each of which the batch
// file gets back whole from %~1, %~2, ..., with nothing in them run or
// expanded by cmd and no backslash doubled. Nothing when an argument holds a
// line break, NUL or "%", or the script path a double quote: cmd cannot carry
// those unchanged.
std::optional<std::wstring> batchCommandLine(std::wstring_view script, const std::vector<std::wstring>& args);

// Whether `path` names a batch file (".bat" or ".cmd", any case), which only
// cmd.exe can run.
bool isBatchFile(std::wstring_view path);

} // namespace launcher
