#include "outline/stroke_font_files.hpp"

#include "base/failure.hpp"
#include "platform/file_io.hpp"

#include <algorithm>
#include <optional>
#include <string_view>
#include <tuple>

namespace lw {
namespace {

#ifdef _WIN32
constexpr char kListSeparator = ';';
constexpr const char* kPathSeparator = "\\";
#else
constexpr char kListSeparator = ':';
constexpr const char* kPathSeparator = "/";
#endif

// Debian's packages: hershey-fonts-data, librecad-data.
constexpr const char* kInstalledFolders[] = {"/usr/share/hershey-fonts", "/usr/share/librecad/fonts"};

std::string lowered(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return s;
}

bool strokeExtension(std::string_view name)
{
    const std::string low = lowered(std::string(name));
    return low.size() > 4 && (low.ends_with(".jhf") || low.ends_with(".lff"));
}

void addFolder(const std::string& folder, std::vector<StrokeFaceFile>& faces)
{
    // Each name lowered once, not at every comparison.
    std::vector<std::pair<std::string, StrokeFaceFile>> found;
    const std::string separator = folder.ends_with('/') || folder.ends_with('\\') ? "" : kPathSeparator;
    for (const std::string& name : fileio::regularFiles(folder, strokeExtension)) {
        std::string base = name.substr(0, name.size() - 4);
        std::string key = lowered(base);
        found.emplace_back(std::move(key), StrokeFaceFile{std::move(base), folder + separator + name});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::tie(a.first, a.second.file) < std::tie(b.first, b.second.file);
    });
    for (auto& [key, face] : found)
        faces.push_back(std::move(face));
}

// The file's bytes, mapped where the platform maps them, given to `read`.
template <class Read> StrokeFont loadWith(const std::string& path, const Read& read)
{
    const fileio::Handle handle = fileio::openInput(path);
    std::string bytes, error;
    std::size_t mappedSize = 0;
    if (const char* mapped = fileio::mapWhole(handle, mappedSize)) {
        struct Unmap {
            const char* data;
            std::size_t size;
            fileio::Handle handle;
            ~Unmap()
            {
                fileio::unmapWhole(data, size);
                std::string ignored;
                fileio::close(handle, ignored);
            }
        } unmap{mapped, mappedSize, handle};
        // Beyond the limit is refused by the reader without looking further.
        return read(std::string_view(mapped, std::min(mappedSize, kStrokeFontMaxBytes + 1)));
    }
    // Room for the whole file at once: growing by doubling copied and
    // faulted in a large font's bytes several times over.
    if (const std::optional<std::uint64_t> size = fileio::regularSize(handle))
        bytes.reserve(std::size_t(std::min<std::uint64_t>(*size, kStrokeFontMaxBytes + 1)));
    char buffer[1 << 16];
    for (;;) {
        std::size_t got = 0;
        if (!fileio::read(handle, buffer, sizeof buffer, got, error)) {
            fileio::close(handle, error);
            throw Failure(FailureKind::PathFileAccess, path + ": " + error);
        }
        if (got == 0)
            break;
        // Refused by the reader as too large, without reading the rest.
        if (bytes.size() + got > kStrokeFontMaxBytes + 1) {
            bytes.append(buffer, kStrokeFontMaxBytes + 1 - bytes.size());
            break;
        }
        bytes.append(buffer, got);
    }
    std::string ignored;
    fileio::close(handle, ignored);
    return read(std::string_view(bytes));
}

} // namespace

std::vector<StrokeFaceFile> installedStrokeFaces()
{
    std::vector<StrokeFaceFile> faces;
    if (const std::optional<std::string> listed = fileio::environmentText("LETTERWIRE_STROKE_FONTS")) {
        std::string_view rest = *listed;
        while (!rest.empty()) {
            const std::size_t end = rest.find(kListSeparator);
            if (const std::string folder(rest.substr(0, end)); !folder.empty())
                addFolder(folder, faces);
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        }
    }
    for (const char* folder : kInstalledFolders)
        addFolder(folder, faces);
    return faces;
}

bool isStrokeFontPath(const std::string& nameOrPath)
{
    return nameOrPath.find_first_of("/\\") != std::string::npos || strokeExtension(nameOrPath);
}

StrokeFont loadStrokeFont(const std::string& path, const GlyphsWanted& wanted)
{
    return loadWith(path, [&](std::string_view bytes) { return readStrokeFont(bytes, path, wanted); });
}

StrokeFont loadStrokeFont(const std::string& path, std::u32string_view characters)
{
    return loadWith(path, [&](std::string_view bytes) { return readStrokeFont(bytes, path, characters); });
}

StrokeFontShelf::StrokeFontShelf(std::vector<StrokeFaceFile> installed, StrokeFontCache& cache)
    : installed_(std::move(installed)), cache_(cache)
{
}

StrokeFontShelf::StrokeFontShelf(std::vector<StrokeFaceFile> (*list)(), StrokeFontCache& cache)
    : list_(list), cache_(cache)
{
}

const std::vector<StrokeFaceFile>& StrokeFontShelf::installed()
{
    if (list_) {
        installed_ = list_();
        list_ = nullptr;
    }
    return installed_;
}

const StrokeFont* StrokeFontShelf::chosen(const std::string& nameOrPath, std::u32string_view text)
{
    std::string file;
    if (isStrokeFontPath(nameOrPath)) {
        file = nameOrPath;
    } else {
        const std::string wanted = lowered(nameOrPath);
        const auto it = std::find_if(installed().begin(), installed().end(),
                                     [&](const StrokeFaceFile& f) { return lowered(f.name) == wanted; });
        if (it == installed().end())
            return nullptr;
        file = it->file;
    }
    chosen_ = &cache_.read(file, text);

    std::u32string lacking;
    for (const char32_t c : text)
        if (c != U' ' && !chosen_->glyphs.contains(c) && lacking.find(c) == std::u32string::npos)
            lacking += c;
    if (lacking.empty())
        return chosen_;
    for (const StrokeFaceFile& face : installed()) {
        if (lacking.empty())
            break;
        if (face.file == file)
            continue;
        try {
            const StrokeFont& found = cache_.read(face.file, lacking);
            std::u32string still;
            for (const char32_t c : lacking)
                if (!found.glyphs.contains(c))
                    still += c;
            if (still.size() == lacking.size())
                continue;
            lacking = std::move(still);
            fallbacks_.push_back(&found);
        } catch (const Failure&) {
            // A broken installed face is no reason to fail a text it was not asked for.
        }
    }
    return chosen_;
}

const StrokeFont* StrokeFontShelf::fallbackFor(char32_t c) const
{
    for (const StrokeFont* font : fallbacks_)
        if (font->glyphs.contains(c))
            return font;
    return nullptr;
}

} // namespace lw
