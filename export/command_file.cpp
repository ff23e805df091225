#include "export/command_file.hpp"

#include "export/line_sink.hpp"
#include "base/codepage.hpp"
#include "base/failure.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"

#include <string>
#include <vector>

namespace lw {
namespace {

constexpr std::size_t kLastScale = 16;

// "cmd.txt, line 3, word "lg17"". The word is shown as text (it is code page
// 932 in the file), control bytes escaped, and cut short when it is long; an
// empty word, which shows nothing, by its position (1 for the first).
std::string where(std::string_view fileName, std::size_t lineNumber, std::size_t position, std::string_view word)
{
    std::string text(fileName);
    text += ", line ";
    text += std::to_string(lineNumber);
    if (word.empty())
        return text + ", word " + std::to_string(position) + " (empty)";
    text += ", word \"";
    constexpr std::size_t kShown = 60;
    std::string shown = cp932ToUtf8(word.substr(0, kShown));
    for (unsigned char c : shown) {
        if (c < 0x20 || c == 0x7F) {
            static const char hex[] = "0123456789ABCDEF";
            text += "\\x";
            text += hex[c >> 4];
            text += hex[c & 15];
        } else {
            text += char(c);
        }
    }
    if (word.size() > kShown)
        text += "...";
    text += '"';
    return text;
}

// The first `most` words of a line whose runs of blanks each count as one:
// "hp1   10  20" -> {"hp1", "10", "20"}; a run at the end gives an empty
// last word, as a single blank does. Nothing past them is looked at.
std::vector<std::string_view> wordsBetweenRuns(std::string_view line, std::size_t most)
{
    std::vector<std::string_view> out;
    if (line.empty())
        return out;
    std::size_t start = 0;
    while (out.size() < most) {
        const std::size_t space = line.find(' ', start);
        if (space == std::string_view::npos) {
            out.push_back(line.substr(start));
            break;
        }
        out.push_back(line.substr(start, space - start));
        start = line.find_first_not_of(' ', space);
        if (start == std::string_view::npos) {
            if (out.size() < most)
                out.emplace_back();
            break;
        }
    }
    return out;
}

// Words 1 to 19 of a line tell all that is read from it: an "hs" line's
// scales are words 2 to 18, and a 19th word before the last is too many.
constexpr std::size_t kWordsRead = 20;

class Interpreter {
public:
    Interpreter(std::string_view fileName, JwParameters& parameters)
        : fileName_(fileName), p_(parameters)
    {
    }

    void basePoint(std::string_view line, std::size_t number)
    {
        const auto w = wordsBetweenRuns(line, 3);
        if (w.size() < 2)
            fail(FailureKind::SubscriptOutOfRange, number, 1, w[0]);
        p_.baseX = parseDecimal(w[1], where(fileName_, number, 2, w[1]));
        if (w.size() < 3)
            fail(FailureKind::SubscriptOutOfRange, number, 1, w[0]);
        p_.baseY = parseDecimal(w[2], where(fileName_, number, 3, w[2]));
        p_.baseLine = number;
    }

    void scaleTable(const std::vector<std::string_view>& w, std::size_t number)
    {
        // Words 2 to the second-to-last; the last word is never read.
        for (std::size_t k = 1; k + 1 < w.size(); ++k) {
            if (k - 1 > kLastScale)
                fail(FailureKind::SubscriptOutOfRange, number, k + 1, w[k]);
            p_.scales[k - 1] = parseDecimal(w[k], where(fileName_, number, k + 1, w[k]));
        }
    }

    void chooseScale(std::string_view word1, std::size_t number)
    {
        const std::string at = where(fileName_, number, 1, word1);
        const std::int32_t group = roundToInt32(leadingNumberValue(word1.substr(2)), at);
        if (group < 0 || std::size_t(group) > kLastScale)
            throw Failure(FailureKind::SubscriptOutOfRange, at);
        p_.chosenScale = p_.scales[std::size_t(group)];
        p_.scaleLine = number;
    }

private:
    [[noreturn]] void fail(FailureKind kind, std::size_t number, std::size_t position, std::string_view word)
    {
        throw Failure(kind, where(fileName_, number, position, word));
    }

    std::string_view fileName_;
    JwParameters& p_;
};

} // namespace

bool CommandLines::next(std::string_view& line)
{
    if (rest_.empty())
        return false;
    const std::size_t end = rest_.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        line = rest_;
        rest_ = {};
    } else {
        line = rest_.substr(0, end);
        const bool crLf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
        rest_.remove_prefix(end + 1 + crLf);
    }
    ++number_;
    return true;
}

std::string_view readablePart(std::string_view line, std::size_t number)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (number == 1 && line.starts_with(kByteOrderMark))
        line.remove_prefix(kByteOrderMark.size());
    return line;
}

void copyCommandFile(std::string_view bytes, std::string_view fileName, ByteSink& out,
                     JwParameters& parameters)
{
    LineSink sink(out);
    Interpreter interpret(fileName, parameters);
    CommandLines lines(bytes);
    std::string_view copied;
    while (lines.next(copied)) {
        const std::size_t number = lines.lineNumber();
        const std::string_view line = readablePart(copied, number);
        const auto w = firstWords(line, kWordsRead);
        // An empty line has no words; it is copied and means nothing.
        if (w.empty()) {
            sink.line(copied);
            continue;
        }
        if (w[0] == "hq") {
            // The mark belongs to the file, not to the dropped line.
            sink.text() += copied.substr(0, copied.size() - line.size());
            continue;
        }
        sink.line(copied);
        if (w[0] == "hp1")
            interpret.basePoint(line, number);
        else if (w[0] == "hs")
            interpret.scaleTable(w, number);
        else if (w[0].starts_with("lg"))
            interpret.chooseScale(w[0], number);
    }
}

} // namespace lw
