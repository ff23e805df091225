#include "platform/font_file.hpp"

#include "base/codepage.hpp"
#include "base/failure.hpp"
#include "base/shown_input.hpp"
#include "platform/file_io.hpp"

#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

namespace lw {
namespace {

// The file's bytes, read at offsets; beyond its end there is nothing.
class Bytes {
public:
    explicit Bytes(std::string data) : data_(std::move(data)) {}

    std::optional<std::uint32_t> number(std::uint64_t at, int size) const
    {
        if (at > data_.size() || data_.size() - at < std::uint64_t(size))
            return std::nullopt;
        std::uint32_t v = 0;
        for (int i = 0; i < size; ++i)
            v = v << 8 | static_cast<unsigned char>(data_[std::size_t(at) + std::size_t(i)]);
        return v;
    }
    bool read(std::uint64_t at, void* to, std::size_t size) const
    {
        if (at > data_.size() || data_.size() - at < size)
            return false;
        std::memcpy(to, data_.data() + at, size);
        return true;
    }

private:
    std::string data_;
};

// The whole file, through the platform's own reading (wide paths on
// Windows); empty with `error` set when it cannot be read, and `missing`
// when there is no such file.
std::string wholeFile(const std::string& path, std::string& error, bool& missing)
{
    std::string data;
    fileio::Handle handle = fileio::kNoHandle;
    try {
        handle = fileio::openInput(path);
    } catch (const Failure& failure) {
        missing = failure.kind() == FailureKind::FileNotFound || failure.kind() == FailureKind::PathNotFound;
        error = failure.what();
        return {};
    }
    char buffer[65536];
    std::size_t got = 0;
    while (fileio::read(handle, buffer, sizeof buffer, got, error) && got > 0)
        data.append(buffer, got);
    std::string closing;
    fileio::close(handle, closing);
    if (!error.empty())
        data.clear();
    return data;
}

constexpr std::uint32_t tag(const char (&t)[5])
{
    return std::uint32_t(std::uint8_t(t[0])) << 24 | std::uint32_t(std::uint8_t(t[1])) << 16 |
           std::uint32_t(std::uint8_t(t[2])) << 8 | std::uint8_t(t[3]);
}

std::string latin1ToUtf8(std::string_view bytes)
{
    std::u16string wide(bytes.begin(), bytes.end());
    for (char16_t& c : wide)
        c = char16_t(static_cast<unsigned char>(c));
    return utf16ToUtf8(wide);
}

// Name 1 of the face whose table directory starts at `face`: Windows'
// English name first, then any Windows or Unicode name, then the Macintosh
// Roman one.
std::string familyOf(const Bytes& file, std::uint64_t face)
{
    const auto tables = file.number(face + 4, 2);
    if (!tables)
        return {};
    std::uint64_t name = 0;
    for (std::uint32_t i = 0; i < *tables && !name; ++i)
        if (file.number(face + 12 + 16 * i, 4) == tag("name"))
            name = file.number(face + 12 + 16 * i + 8, 4).value_or(0);
    const auto count = file.number(name + 2, 2);
    const auto strings = file.number(name + 4, 2);
    if (!name || !count || !strings)
        return {};
    std::string best;
    int bestRank = 0;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const std::uint64_t r = name + 6 + 12 * i;
        const auto platform = file.number(r, 2), language = file.number(r + 4, 2), id = file.number(r + 6, 2),
                   length = file.number(r + 8, 2), offset = file.number(r + 10, 2);
        if (!platform || !language || !id || !length || !offset || *id != 1 || *length == 0)
            continue;
        const bool wide = *platform == 3 || *platform == 0;
        const int rank = *platform == 3 && *language == 0x409 ? 4 : *platform == 3 ? 3 : *platform == 0 ? 2
                       : *platform == 1 && *language == 0        ? 1
                                                                 : 0;
        if (rank <= bestRank)
            continue;
        std::string raw(*length, '\0');
        if (!file.read(name + *strings + *offset, raw.data(), raw.size()))
            continue;
        if (wide) {
            std::u16string units(raw.size() / 2, u'\0');
            for (std::size_t k = 0; k < units.size(); ++k)
                units[k] = char16_t(static_cast<unsigned char>(raw[2 * k]) << 8 | static_cast<unsigned char>(raw[2 * k + 1]));
            best = utf16ToUtf8(units);
        } else {
            best = latin1ToUtf8(raw);
        }
        bestRank = rank;
    }
    return best;
}

std::string facesWording(std::uint32_t faces)
{
    return faces == 1 ? "the file holds 1 face (index 0)"
                      : "the file holds " + std::to_string(faces) + " faces (index 0 to " + std::to_string(faces - 1) + ")";
}

} // namespace

FontFileFace readFontFileFace(const std::string& path, std::uint32_t index)
{
    if (fileio::isUsableFolder(path))
        return {{}, "is a folder, not a font file"};
    std::string unread;
    bool missing = false;
    std::string data = wholeFile(path, unread, missing);
    if (missing)
        return {{}, "does not exist (no such file)", true};
    if (!unread.empty())
        return {{}, "cannot be read (" + unread + ")"};
    const Bytes bytes(std::move(data));
    const auto head = bytes.number(0, 4);
    std::uint32_t faces = 1;
    std::uint64_t face = 0;
    if (head == tag("ttcf")) {
        faces = bytes.number(8, 4).value_or(0);
        if (faces == 0)
            return {{}, "is not a font (a collection of no faces)"};
        if (index >= faces)
            return {{}, "face index " + std::to_string(index) + " is out of range: " + facesWording(faces)};
        face = bytes.number(12 + 4 * std::uint64_t(index), 4).value_or(0);
    } else if (head != 0x00010000u && head != tag("OTTO") && head != tag("true")) {
        return {{}, "is not a font (no TrueType or OpenType header)"};
    } else if (index >= faces) {
        return {{}, "face index " + std::to_string(index) + " is out of range: " + facesWording(faces)};
    }
    std::string family = familyOf(bytes, face);
    if (family.empty())
        return {{}, "is not a font this program can use (its face names no family)"};
    return {std::move(family), {}, false, faces};
}

FontFileChoice fontFileChoice(const std::string& text)
{
    FontFileChoice choice{text, 0, {}};
    const std::size_t hash = text.rfind('#');
    if (hash != std::string::npos && readFontFileFace(text, 0).missing) {
        const std::string digits = text.substr(hash + 1);
        auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), choice.index);
        if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size())
            choice.refusal = "the face index " + quotedInput(digits) + " after # is not a whole number (PATH#0 is the first face)";
        choice.path = text.substr(0, hash);
    }
    if (choice.path.empty() && choice.refusal.empty())
        choice.refusal = "the path is empty";
    return choice;
}

FontFileFace addFontFileChoice(const std::string& text)
{
    const FontFileChoice choice = fontFileChoice(text);
    if (!choice.refusal.empty())
        return {{}, choice.refusal};
    FontFileFace face = addFontFile(choice.path, choice.index);
    if (!face.refusal.empty())
        face.refusal = quotedInput(choice.path) + " " + face.refusal;
    return face;
}

std::string fontFileChoiceText(const std::string& path, std::uint32_t index)
{
    return index == 0 && path.find('#') == std::string::npos ? path : path + "#" + std::to_string(index);
}

} // namespace lw
