#include "windows_command_line.hpp"

#include <cwctype>

namespace launcher {

namespace {

// Backslashes that end up before a double quote are doubled, so the split
// takes them as text; elsewhere they stand as they are.
void appendQuoted(std::wstring& out, std::wstring_view arg)
{
    out += L'"';
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            out += c;
            continue;
        }
        if (c == L'"') {
            out.append(backslashes, L'\\');
            out += L'\\';
        }
        backslashes = 0;
        out += c;
    }
    out.append(backslashes, L'\\');
    out += L'"';
}

// cmd gives a batch file its arguments as typed, quotes and all, and %~1
// only takes the outer quotes off: a backslash is plain text there, and a
// double quote is written as a pair.
void appendQuotedForCmd(std::wstring& out, std::wstring_view arg)
{
    out += L'"';
    for (wchar_t c : arg) {
        if (c == L'"')
            out += L'"';
        out += c;
    }
    out += L'"';
}

// "%" cannot be escaped inside quotes; "%%cd:~,%" expands to a lone "%" (an
// empty slice of %cd%), so no %NAME% in the text expands.
std::wstring percentsKept(std::wstring_view text)
{
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'%')
            out += L"%%cd:~,";
        out += c;
    }
    return out;
}

} // namespace

std::wstring quoteArgument(std::wstring_view arg)
{
    std::wstring out;
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
        out = arg;
        return out;
    }
    appendQuoted(out, arg);
    return out;
}

std::wstring programCommandLine(const std::vector<std::wstring>& words)
{
    std::wstring line;
    for (const std::wstring& word : words) {
        if (!line.empty())
            line += L' ';
        line += quoteArgument(word);
    }
    return line;
}

std::optional<std::wstring> batchCommandLine(std::wstring_view script, const std::vector<std::wstring>& args)
{
    if (script.find(L'"') != std::wstring_view::npos)
        return std::nullopt;
    // /d: no AutoRun commands; /e:on /v:off: the same command extensions and
    // no delayed "!" expansion whatever the registry says; /s /c: the outer
    // pair of quotes is taken off and the rest run as it stands.
    std::wstring line = L"/e:on /v:off /d /s /c \"\"";
    line += percentsKept(script);
    line += L'"';
    for (const std::wstring& arg : args) {
        // No quoting keeps cmd from expanding a "%" in an argument on every
        // cmd (Wine's expands even the empty-slice form used for the path).
        if (arg.find_first_of(std::wstring_view(L"\r\n\0%", 4)) != std::wstring::npos)
            return std::nullopt;
        // Inside double quotes cmd leaves &|<>^() alone; anything but a few
        // harmless ASCII characters is quoted rather than listing the
        // dangerous ones. cmd also splits batch arguments at , ; = and blanks.
        bool quote = arg.empty();
        for (wchar_t c : arg) {
            if (c < 0x80 && !std::iswalnum(static_cast<wint_t>(c)) &&
                std::wstring_view(L"#$*+-./:?@\\_").find(c) == std::wstring_view::npos)
                quote = true;
        }
        line += L' ';
        if (!quote) {
            line += arg;
            continue;
        }
        appendQuotedForCmd(line, arg);
    }
    line += L'"';
    return line;
}

bool isBatchFile(std::wstring_view path)
{
    if (path.size() < 4)
        return false;
    std::wstring ext;
    for (wchar_t c : path.substr(path.size() - 4))
        ext += static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return ext == L".bat" || ext == L".cmd";
}

} // namespace launcher
